#pragma once
// What a control sees of the form it stands on. The form is the site; a control knows no
// more of it than this: the window and module it is made in, the scale and fonts, the shared
// pictures, the surface its graphic controls are drawn on, the keyboard unit it hands the
// focus to, and the form's controls: every one, by name, by window. The keyboard unit sees the
// form through this too.
#include <memory>
#include <string_view>
#include <vector>

#include "win/Dpi.h"
#include "win/Look.h"
#include "win/Win32.h"

namespace siborang::win {

class Control;
class DialogKeyboard;
class GdiCache;
class GraphicHost;

class ControlSite {
public:
    // The form's window, and the module whose window classes its controls use.
    virtual HWND SiteWindow() const noexcept = 0;
    virtual HINSTANCE SiteModule() const noexcept = 0;
    // Child-window identifiers, unique within the form.
    virtual int NextControlId() noexcept = 0;

    virtual Dpi CurrentDpi() const noexcept = 0;
    // The font a row asks for at the form's DPI, or `inherited` when it names none; shared
    // process-wide.
    virtual HFONT FontFor(const FontSpec& font, HFONT inherited) = 0;
    virtual GdiCache& Pictures() noexcept = 0;
    // What a control without a parent inherits.
    virtual HFONT FontHandle() const noexcept = 0;
    virtual COLORREF TextColor() const noexcept = 0;
    virtual COLORREF BackColor() const noexcept = 0;
    virtual HBRUSH BackBrush() const noexcept = 0;

    // The surface of the graphic controls that stand on the form itself.
    virtual GraphicHost& Graphics() noexcept = 0;
    virtual DialogKeyboard& Keyboard() noexcept = 0;
    virtual Control* FindControl(std::string_view name) const noexcept = 0;
    // In creation order.
    virtual const std::vector<std::unique_ptr<Control>>& Controls() const noexcept = 0;
    // The control of the form that holds `window` (a combo box for its edit part); nullptr
    // when it is none of them.
    virtual Control* ControlOf(HWND window) const noexcept = 0;

protected:
    ~ControlSite() = default;
};

}  // namespace siborang::win
