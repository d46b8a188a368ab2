#pragma once
// The DPI of windows and the screen, and what depends on it. Layouts are written at 96 dpi
// and scaled through Dpi wherever they are put on the screen; the calls that Windows 7 lacks
// (GetDpiForWindow, GetDpiForSystem, AdjustWindowRectExForDpi, GetDpiForMonitor) are
// looked up at run time, with the system DPI and the plain calls in their place.
#include "core/Dpi.h"
#include "win/Win32.h"

namespace siborang::win {

// A DPI and the scaling of 96-dpi lengths to it.
class Dpi {
public:
    constexpr Dpi() noexcept = default;
    constexpr explicit Dpi(int value) noexcept : value_(value > 0 ? value : kDesignDpi) {}

    constexpr int Value() const noexcept { return value_; }
    constexpr int Scale(int length96) const noexcept { return ScaleToDpi(length96, value_); }
    constexpr int Line(int width96) const noexcept { return ScaleLineToDpi(width96, value_); }
    // Each edge scaled on its own, so that rectangles that touch at 96 dpi still touch.
    constexpr RECT Edges(int left, int top, int width, int height) const noexcept {
        return {Scale(left), Scale(top), Scale(left + width), Scale(top + height)};
    }
    friend constexpr bool operator==(Dpi, Dpi) = default;

    // The DPI the primary screen is drawn at (what a system-aware program gets everywhere).
    static Dpi System() noexcept;
    // The DPI Windows gives the window: its own (Windows 10), its monitor's (8.1), else the
    // system's.
    static Dpi OfWindow(HWND window) noexcept;

private:
    int value_ = kDesignDpi;
};

// The outer rectangle of a window whose client area is `client`, with its frame at the DPI.
RECT OuterRect(RECT client, DWORD style, DWORD exStyle, Dpi dpi) noexcept;

}  // namespace siborang::win
