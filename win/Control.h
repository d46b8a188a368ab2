#pragma once
// The control base: what every control of a form has, whether it owns a window (buttons,
// edits, containers) or is drawn on its parent's surface (labels, images): name, place,
// parent, tab order, tag, font and colours, enabled and visible, and its events. Each kind is
// a class of its own, in a file pair of its own, that adds its calls and takes the arguments
// of its kind (its Args) beside the row's common fields.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "win/ControlRow.h"
#include "win/ControlSite.h"
#include "win/Handles.h"
#include "win/Win32.h"

namespace siborang::win {

class GraphicHost;

// The keys a form presses a control for, wherever the focus is (DialogKeyboard).
enum class PressKey { Cancel, Help };

using NotifyEvent = std::function<void(Control& sender)>;
// Sender, button, shift state (MK_* bits), position in the sender's coordinates.
using MouseEvent = std::function<void(Control& sender, MouseButton button, unsigned shift, int x, int y)>;

// A refused keystroke beeps through here, so that a test can count the beeps.
extern void (*RefusalBeep)() noexcept;

class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    ControlSite& Owner() const noexcept { return site_; }
    Control* Parent() const noexcept { return parent_; }
    const std::string& Name() const noexcept { return name_; }
    int Tag() const noexcept { return tag_; }
    int TabOrder() const noexcept { return tabOrder_; }
    // The control's own window; graphic controls have none.
    virtual HWND Handle() const noexcept { return nullptr; }
    // The window this control is drawn on or lives in.
    HWND ParentHandle() const noexcept;
    // In the coordinates of the window it lives in.
    virtual RECT Bounds() const noexcept { return bounds_; }
    // Containers paint and route the mouse for the graphic controls on them.
    virtual GraphicHost* Host() noexcept { return nullptr; }

    virtual std::wstring Text() const;
    virtual void SetText(std::wstring_view text);
    bool Enabled() const noexcept;
    virtual void SetEnabled(bool enabled);
    // The window's own visible bit for windowed controls (what the focus rules read too).
    bool Visible() const noexcept;
    void SetVisible(bool visible);
    void SetFocus();
    // The focus arrives through Tab.
    virtual void FocusByTab() { SetFocus(); }
    // Pressed as a click presses it (by a reader, by a key); nothing for a kind that cannot be.
    virtual void Press() {}
    // Whether its row makes it the form's control for Escape (cancel) or F1 (help).
    virtual bool PressedBy(PressKey) const noexcept { return false; }
    // Whether Enter presses it while it has the focus, and Alt with the letter its caption
    // marks presses it wherever the focus is, as they do a push button.
    virtual bool PressedByEnter() const noexcept { return false; }
    virtual bool PressedByMnemonic() const noexcept { return false; }
    // Whether it takes every key typed into it as its value (a hotkey box records F1 too).
    virtual bool RecordsKeys() const noexcept { return false; }

    HFONT FontHandle() const noexcept { return font_; }
    COLORREF TextColor() const noexcept { return textColor_; }
    // The background the control stands on: its own (panels) or its parent's.
    COLORREF BackColor() const noexcept;
    HBRUSH BackBrush() const noexcept;

    NotifyEvent OnClick;
    NotifyEvent OnChange;
    NotifyEvent OnExit;
    MouseEvent OnMouseDown;
    MouseEvent OnMouseMove;
    MouseEvent OnMouseUp;

    // What a screen reader calls it by the layout (the text of the label the row names, or the
    // row's own name); nullopt: the layout names it not.
    std::optional<std::wstring> LayoutAccessibleName() const;

    // Mouse input routed to the control, at a point in its own coordinates. A left press and
    // release inside an enabled control is a click.
    virtual void MouseDown(MouseButton button, unsigned shift, POINT at);
    virtual void MouseMove(unsigned shift, POINT at);
    virtual void MouseUp(MouseButton button, unsigned shift, POINT at);
    virtual void MouseLeave() {}
    // Lets go of the window without destroying it, as the form does before it goes.
    virtual void Unbind() noexcept {}
    // Lays the control out again from its row at the form's DPI now: its place, its font and
    // whatever else of its kind was scaled (the form's own ChangeDpi calls it).
    virtual void ApplyDpi();

protected:
    Control(ControlSite& site, Control* parent, const ControlRow& row);

    // Repaints the control: its window, or where it stands on its parent.
    void Invalidate() const;
    // Whether a point in its own coordinates lies on it (a press let go there is a click).
    bool Inside(POINT at) const noexcept;
    // The row's place (at 96 dpi), scaled to the form's DPI edge by edge.
    RECT DesignedBounds() const noexcept;
    // Graphic controls keep their text here.
    std::wstring caption_;
    mutable RECT bounds_;

private:
    HFONT DesignedFont() const;

    ControlSite& site_;
    Control* parent_;
    int left96_, top96_, width96_, height96_;
    FontSpec fontSpec_;
    std::string name_;
    std::string labelledBy_;
    std::wstring accessibleName_;
    int tag_;
    int tabOrder_;
    HFONT font_ = nullptr;  // shared, owned by the application's GDI cache
    COLORREF textColor_ = 0;
    COLORREF backColor_ = 0;  // with a colour of its own
    Brush backBrush_;
    bool visible_ = true;  // graphic controls
    bool enabled_ = true;
};

}  // namespace siborang::win
