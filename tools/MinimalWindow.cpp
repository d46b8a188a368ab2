// The floor for start-up measurements: one window class, one window, a message loop.
#include "tools/FloorWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    CreateFloorWindow(instance, L"MinimalWindow", WS_OVERLAPPEDWINDOW, 100, 100);
    RunFloorLoop();
    return 0;
}
