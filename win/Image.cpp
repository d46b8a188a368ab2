#include "win/Image.h"

#include "win/GdiCache.h"
#include "win/Handles.h"

namespace siborang::win {

Image::Image(ControlSite& site, Control* parent, const ControlRow& row, const Args& args)
    : GraphicControl(site, parent, row), args_(args) {
    if (!args_.picture) return;
    if (args_.icon) {
        LoadIcon();
    } else {
        bitmap_ = site.Pictures().SharedBitmap(args_.picture);
    }
}

void Image::LoadIcon() {
    iconSize_ = Owner().CurrentDpi().Scale(kIconSize);
    icon_ = Owner().Pictures().SharedIcon(args_.picture, iconSize_);
}

void Image::ApplyDpi() {
    GraphicControl::ApplyDpi();
    if (icon_) LoadIcon();
}

void Image::Paint(HDC dc) const {
    const RECT rc = Bounds();
    const bool centered = args_.centered;
    if (icon_) {
        int x = rc.left, y = rc.top;
        if (centered) {
            x += (rc.right - rc.left - iconSize_) / 2;
            y += (rc.bottom - rc.top - iconSize_) / 2;
        }
        ::DrawIconEx(dc, x, y, icon_, iconSize_, iconSize_, 0, nullptr, DI_NORMAL);
        return;
    }
    if (!bitmap_) return;
    BITMAP info{};
    ::GetObjectW(bitmap_, sizeof info, &info);
    const Dpi dpi = Owner().CurrentDpi();
    int x = rc.left, y = rc.top;
    int width = dpi.Scale(info.bmWidth), height = dpi.Scale(info.bmHeight);
    if (args_.stretch) {
        width = rc.right - rc.left;
        height = rc.bottom - rc.top;
    } else if (centered) {
        x += (rc.right - rc.left - width) / 2;
        y += (rc.bottom - rc.top - height) / 2;
    }
    MemoryDc memory(dc);
    SelectGuard select(memory.Get(), bitmap_);
    if (width == info.bmWidth && height == info.bmHeight) {
        ::BitBlt(dc, x, y, width, height, memory.Get(), 0, 0, SRCCOPY);
        return;
    }
    // At 96 dpi the pictures keep the look they were drawn with; enlarged for a larger scale
    // they are smoothed, where dropping and doubling pixels would make them blocky.
    const bool design = dpi.Value() == kDesignDpi;
    const int saved = ::SaveDC(dc);
    ::SetStretchBltMode(dc, design ? COLORONCOLOR : HALFTONE);
    if (!design) ::SetBrushOrgEx(dc, 0, 0, nullptr);  // as halftone stretching requires
    ::StretchBlt(dc, x, y, width, height, memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    ::RestoreDC(dc, saved);
}

}  // namespace siborang::win
