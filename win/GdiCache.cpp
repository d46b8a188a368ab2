#include "win/GdiCache.h"

#include <utility>

#include "core/Errors.h"
#include "core/FontFace.h"
#include "win/StartupTrace.h"
#include "win/Text.h"

namespace siborang::win {
namespace {

// The first face the enumeration finds ends it.
int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) noexcept {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

}  // namespace

HFONT GdiCache::SharedFont(const FontSpec& font, Dpi dpi) {
    const int height = dpi.Scale(font.height);
    for (const auto& f : fonts_) {
        if (f.face == font.face && f.height == height && f.bold == font.bold && f.underline == font.underline)
            return f.font.Get();
    }
    const FaceChoice face =
        ChooseFace(font.face, dpi.Value(), [this](std::wstring_view name) { return Installed(name); });
    LOGFONTW lf{};
    lf.lfHeight = face.byLineHeight ? height : -height;  // a negative height asks for the letters' height
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = font.underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    face.face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    const startup::Section timing("fonts");
    Font made(::CreateFontIndirectW(&lf));
    if (!made) throw AppError("Error creating font " + Narrow(font.face));
    fonts_.push_back({font.face, height, font.bold, font.underline, std::move(made)});
    return fonts_.back().font.Get();
}

bool GdiCache::Installed(std::wstring_view face) {
    for (const auto& [name, there] : installed_) {
        if (name == face) return there;
    }
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.substr(0, LF_FACESIZE - 1).copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool there = false;
    WindowDc screen(nullptr);
    ::EnumFontFamiliesExW(screen.Get(), &wanted, &FoundFace, reinterpret_cast<LPARAM>(&there), 0);
    installed_.emplace_back(face, there);
    return there;
}

HICON GdiCache::SharedIcon(const wchar_t* name, int size) {
    for (const auto& i : icons_) {
        if (i.name == name && i.size == size) return i.picture.Get();
    }
    const startup::Section timing("pictures");
    Icon loaded(static_cast<HICON>(::LoadImageW(instance_, name, IMAGE_ICON, size, size, 0)));
    if (!loaded) throw AppError("Error loading picture " + Narrow(name));
    icons_.push_back({name, size, std::move(loaded)});
    return icons_.back().picture.Get();
}

HBITMAP GdiCache::SharedBitmap(const wchar_t* name) {
    for (const auto& b : bitmaps_) {
        if (b.name == name) return b.picture.Get();
    }
    const startup::Section timing("pictures");
    Bitmap loaded(static_cast<HBITMAP>(::LoadImageW(instance_, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!loaded) throw AppError("Error loading picture " + Narrow(name));
    bitmaps_.push_back({name, std::move(loaded)});
    return bitmaps_.back().picture.Get();
}

}  // namespace siborang::win
