#pragma once
// Fonts and pictures made once per process and shared by every window that asks for the same
// one (each memo note would otherwise make and realise its own). The application keeps the
// cache, declared before its forms, so it outlives every window that uses it.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "win/Dpi.h"
#include "win/Handles.h"
#include "win/Look.h"
#include "win/Win32.h"

namespace siborang::win {

class GdiCache {
public:
    GdiCache() = default;
    GdiCache(const GdiCache&) = delete;
    GdiCache& operator=(const GdiCache&) = delete;

    void SetModule(HINSTANCE instance) noexcept { instance_ = instance; }
    // Each raises when the system cannot make it, as a control that cannot be made does;
    // nothing is kept of a failure.
    // The font at the DPI: its 96-dpi character height scaled, in the face that stands in for
    // the one named where that one would be drawn poorly or is missing (core/FontFace.h).
    HFONT SharedFont(const FontSpec& font, Dpi dpi);
    // An icon of the program's resources at `size` pixels square, from the image of that size
    // when the icon has one.
    HICON SharedIcon(const wchar_t* name, int size);
    HBITMAP SharedBitmap(const wchar_t* name);

private:
    struct CachedFont {
        std::wstring face;
        int height;
        bool bold, underline;
        Font font;
    };
    struct CachedIcon {
        std::wstring name;
        int size;
        Icon picture;
    };
    struct CachedBitmap {
        std::wstring name;
        Bitmap picture;
    };

    // Whether the system has a face, asked once a face.
    bool Installed(std::wstring_view face);

    HINSTANCE instance_ = nullptr;
    std::vector<std::pair<std::wstring, bool>> installed_;
    std::vector<CachedFont> fonts_;
    std::vector<CachedIcon> icons_;
    std::vector<CachedBitmap> bitmaps_;
};

}  // namespace siborang::win
