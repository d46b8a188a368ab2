#pragma once
// Lengths designed at 96 dots per inch, as every layout of the program is, put at another DPI.
// Portable: the window layer asks Windows for the DPI (win/Dpi.h) and scales through here.
#include <cstdint>

namespace siborang {

inline constexpr int kDesignDpi = 96;

// A 96-dpi length at `dpi`, to the nearest pixel, halves away from zero as MulDiv rounds, so
// that a layout scaled here and one scaled by Windows' own arithmetic agree.
constexpr int ScaleToDpi(int value, int dpi) noexcept {
    if (dpi == kDesignDpi) return value;
    const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
    const std::int64_t half = kDesignDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi));
}

// A line width (a grid's, a frame's) at `dpi`: whole multiples only, never thinner than at 96,
// so a 1-pixel line does not turn into a blurred 2-pixel one at 150%.
constexpr int ScaleLineToDpi(int width, int dpi) noexcept {
    const int times = dpi / kDesignDpi;
    return width * (times > 1 ? times : 1);
}

}  // namespace siborang
