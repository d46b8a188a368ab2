#pragma once
// Fonts and pictures made once per process and shared by every window that asks for the same
// one (each memo note would otherwise make and realise its own). The application keeps the
// cache, declared before its forms, so it outlives every window that uses it.
#include <string>
#include <vector>

#include "win/Handles.h"
#include "win/Layout.h"
#include "win/Win32.h"

namespace siborang::win {

class GdiCache {
public:
    GdiCache() = default;
    GdiCache(const GdiCache&) = delete;
    GdiCache& operator=(const GdiCache&) = delete;

    void SetModule(HINSTANCE instance) noexcept { instance_ = instance; }
    HFONT SharedFont(const FontSpec& font);
    HICON SharedIcon(const wchar_t* name);  // 32 x 32, from the program's resources
    HBITMAP SharedBitmap(const wchar_t* name);

private:
    struct CachedFont {
        std::wstring face;
        int height;
        bool bold, underline;
        Font font;
    };
    template <class Owner>
    struct CachedPicture {
        std::wstring name;
        Owner picture;
    };

    HINSTANCE instance_ = nullptr;
    std::vector<CachedFont> fonts_;
    std::vector<CachedPicture<Icon>> icons_;
    std::vector<CachedPicture<Bitmap>> bitmaps_;
};

}  // namespace siborang::win
