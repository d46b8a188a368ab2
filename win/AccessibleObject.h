#pragma once
// The object a screen reader is given for a window of ours, its client object or a top-level
// window's own: the system's standard object, wrapped, with what the window's source says and
// the source's items as the first children (core/AccessChildren.h numbers them).
#include "win/AccessLibraries.h"
#include "win/Accessible.h"
#include "win/Win32.h"

namespace siborang::win {

// IAccessible's id; mingw's IID_* symbols would need libraries the program does not link.
inline constexpr GUID kIidAccessible{0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// An object for `window` around `standard`, which it holds a reference to. It asks `lookup` for
// the window's source again on every question and answers while it finds `source` there (then
// RPC_E_DISCONNECTED). Holds one reference, the caller's; nullptr when memory runs out.
IAccessible* NewAccessibleObject(HWND window, AccessibleLookup lookup, const AccessibleSource* source,
                                 IAccessible* standard, const AccessLibraries& libraries) noexcept;

}  // namespace siborang::win
