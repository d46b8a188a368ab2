#pragma once
// What the floor programs share: one window of a class of their own, which ends the program
// when it is closed (as the benchmark closes every program it starts), and a tray icon.
#include <windows.h>
#include <shellapi.h>

inline LRESULT CALLBACK FloorWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

inline HWND CreateFloorWindow(HINSTANCE instance, const wchar_t* className, DWORD style, int width, int height) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = FloorWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, L"", style, 0, 0, width, height, nullptr, nullptr, instance, nullptr);
}

// One icon of the window's in the tray, in the shell's first record layout as the clock's.
inline NOTIFYICONDATAA AddFloorIcon(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_USER + 1;
    data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    Shell_NotifyIconA(NIM_ADD, &data);
    return data;
}

inline void RunFloorLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
}
