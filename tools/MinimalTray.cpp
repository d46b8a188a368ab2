// The floor for the tray measurements: one hidden window that puts one icon into the tray.
#include <windows.h>
#include <shellapi.h>

static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"MinimalTray";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, L"MinimalTray", L"", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_USER + 1;
    data.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    Shell_NotifyIconA(NIM_ADD, &data);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    Shell_NotifyIconA(NIM_DELETE, &data);
    return 0;
}
