// The floor for the tray measurements: one hidden window that puts one icon into the tray.
#include "tools/FloorWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HWND window = CreateFloorWindow(instance, L"MinimalTray", 0, 0, 0);
    NOTIFYICONDATAA data = AddFloorIcon(window);
    RunFloorLoop();
    Shell_NotifyIconA(NIM_DELETE, &data);
    return 0;
}
