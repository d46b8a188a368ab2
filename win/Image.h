#pragma once
// An icon or a bitmap from the program's resources, at the form's scale: the icon from its
// image of the size the DPI asks for, the bitmap drawn enlarged with halftone.
#include "win/GraphicControl.h"

namespace siborang::win {

class Image final : public GraphicControl {
public:
    struct Args {
        const wchar_t* picture = nullptr;  // the resource name
        bool icon = false;                 // an icon resource, else a bitmap
        bool centered = false;
        bool stretch = false;              // the bitmap fills the control
    };

    Image(ControlSite& site, Control* parent, const ControlRow& row, const Args& args);
    void Paint(HDC dc) const override;
    // The icon of the new size.
    void ApplyDpi() override;
    // An icon's side at 96 dpi.
    static constexpr int kIconSize = 32;

private:
    void LoadIcon();

    Args args_;
    HBITMAP bitmap_ = nullptr;  // shared pictures, not owned
    HICON icon_ = nullptr;
    int iconSize_ = kIconSize;
};

}  // namespace siborang::win
