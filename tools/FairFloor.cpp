// The fair floor for start-up measurements: the platform work the clock cannot do without at
// start, done once, in the clock's order, and nothing of its own. The library search is
// restricted first, comctl32 is loaded from the system directory with its hotkey class, one
// hidden window holds one hotkey box, one icon goes into the tray and the global hotkey
// (Ctrl+Alt+W) is registered.
#include "tools/FloorWindow.h"

#include <commctrl.h>

template <class F>
static F Function(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    if (auto restrict = Function<SetDirectories>(kernel, "SetDefaultDllDirectories"))
        restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
    HMODULE comctl = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    using InitControls = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (auto init = Function<InitControls>(comctl, "InitCommonControlsEx")) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_HOTKEY_CLASS};
        init(&icc);
    }

    HWND window = CreateFloorWindow(instance, L"FairFloor", WS_POPUP, 320, 240);
    CreateWindowExW(WS_EX_CLIENTEDGE, HOTKEY_CLASSW, L"", WS_CHILD | WS_VISIBLE, 80, 24, 201, 19, window, nullptr,
                    instance, nullptr);
    NOTIFYICONDATAA data = AddFloorIcon(window);
    RegisterHotKey(window, 1, MOD_CONTROL | MOD_ALT, 'W');
    RunFloorLoop();
    Shell_NotifyIconA(NIM_DELETE, &data);
    UnregisterHotKey(window, 1);
    if (comctl) FreeLibrary(comctl);
    return 0;
}
