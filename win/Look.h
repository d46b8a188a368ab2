#pragma once
// What a row says of a control's look: colours and fonts.
#include <cstdint>

#include "win/Win32.h"

namespace siborang::win {

// Colours: an RGB value, or one of the system's colours, or "as the parent".
using Color = std::uint32_t;
inline constexpr Color kParentColor = 0xFF000000u;
constexpr Color SystemColor(int index) { return 0x80000000u | static_cast<Color>(index); }
inline constexpr Color kWindowTextColor = SystemColor(COLOR_WINDOWTEXT);
inline constexpr Color kButtonFaceColor = SystemColor(COLOR_BTNFACE);
COLORREF ResolveColor(Color color);

// A font by face name and character height in pixels (at 96 dpi).
struct FontSpec {
    const wchar_t* face = nullptr;  // nullptr: the parent's font
    int height = 0;
    bool bold = false;
    bool underline = false;
    Color color = kParentColor;
};

}  // namespace siborang::win
