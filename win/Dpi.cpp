#include "win/Dpi.h"

#include "win/Handles.h"
#include "win/SystemLibrary.h"

namespace siborang::win {
namespace {

// Windows 10 1607's DPI calls in user32, which every process has loaded.
struct User32Dpi {
    UINT(WINAPI* forWindow)(HWND) = nullptr;
    UINT(WINAPI* forSystem)() = nullptr;
    BOOL(WINAPI* adjustForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;

    User32Dpi() noexcept {
        const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
        forWindow = FindExport<UINT WINAPI(HWND)>(user32, "GetDpiForWindow");
        forSystem = FindExport<UINT WINAPI()>(user32, "GetDpiForSystem");
        adjustForDpi = FindExport<BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT)>(user32, "AdjustWindowRectExForDpi");
    }
};

const User32Dpi& Calls() noexcept {
    static const User32Dpi calls;
    return calls;
}

// Windows 8.1's per-monitor DPI, from shcore; loaded only where user32 cannot say.
int MonitorDpi(HWND window) noexcept {
    static const SystemLibrary shcore(L"shcore.dll", true);
    static const auto forMonitor = shcore.Find<HRESULT WINAPI(HMONITOR, int, UINT*, UINT*)>("GetDpiForMonitor");
    if (!forMonitor) return 0;
    UINT x = 0, y = 0;
    const HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    return monitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) ? static_cast<int>(y) : 0;
}

}  // namespace

Dpi Dpi::System() noexcept {
    if (Calls().forSystem) return Dpi(static_cast<int>(Calls().forSystem()));
    WindowDc screen(nullptr);
    return Dpi(screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : kDesignDpi);
}

Dpi Dpi::OfWindow(HWND window) noexcept {
    if (Calls().forWindow) {
        const UINT dpi = window ? Calls().forWindow(window) : 0;
        return dpi ? Dpi(static_cast<int>(dpi)) : System();
    }
    if (const int dpi = window ? MonitorDpi(window) : 0) return Dpi(dpi);
    return System();
}

RECT OuterRect(RECT client, DWORD style, DWORD exStyle, Dpi dpi) noexcept {
    RECT outer = client;
    if (Calls().adjustForDpi && Calls().adjustForDpi(&outer, style, FALSE, exStyle, static_cast<UINT>(dpi.Value())))
        return outer;
    outer = client;
    ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    return outer;
}

}  // namespace siborang::win
