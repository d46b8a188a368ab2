// The floor for the tray measurements: one hidden window that puts one icon into the tray.
#include "tools/FloorWindow.h"

#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HWND window = CreateFloorWindow(instance, L"MinimalTray", 0, 0, 0);
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_USER + 1;
    data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    Shell_NotifyIconA(NIM_ADD, &data);
    RunFloorLoop();
    Shell_NotifyIconA(NIM_DELETE, &data);
    return 0;
}
