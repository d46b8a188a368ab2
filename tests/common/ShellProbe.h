#pragma once
// Shared by the Windows and the process-level tests: asks the shell about a tray icon.
#include "win/Win32.h"

namespace siborang::probes {

// Whether the shell holds an icon (identifier 0) of this window: only a held icon can be modified.
inline bool ShellHolds(HWND window) {
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = window;
    probe.uID = 0;
    return ::Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

}  // namespace siborang::probes
