#pragma once
// The graphic controls: windowless, drawn on their parent's surface by its GraphicHost.
#include <optional>

#include "win/Accessible.h"
#include "win/Control.h"

namespace siborang::win {

class GraphicControl : public Control {
public:
    virtual void Paint(HDC dc) const = 0;
    // What a screen reader is told of it, as an item of its surface's object, in the surface's
    // coordinates; nullopt: nothing (a picture, a line).
    virtual std::optional<AccessibleItem> AccessibleFacts() const { return std::nullopt; }

protected:
    // Placed on its parent's surface: the form's, or a container's.
    GraphicControl(Form& form, Control* parent, const ControlProps& props);
    COLORREF DrawnTextColor() const noexcept;
    // Tells listening readers that what AccessibleFacts says has changed.
    void NotifyFactsChanged(DWORD event) const;

private:
    GraphicHost& host_;
};

// Text, one line or wrapped; a self-sizing label takes the size of its text.
class Label final : public GraphicControl {
public:
    Label(Form& form, Control* parent, const ControlProps& props);
    RECT Bounds() const noexcept override;
    void SetText(std::wstring_view text) override;
    void Paint(HDC dc) const override;
    // A self-sizing label measures itself again, in its new font.
    void ApplyDpi() override;
    // Static text, passed over by readers while it shows none; a new text is a new name.
    std::optional<AccessibleItem> AccessibleFacts() const override;

private:
    void FitNow() const noexcept;
    // Measured when the size is first needed: a window that starts out of sight need not
    // realise the label's font at start-up.
    mutable bool fitPending_;
};

// An icon or a bitmap from the program's resources, at the form's scale: the icon from its
// image of the size the DPI asks for, the bitmap drawn enlarged with halftone.
class Image final : public GraphicControl {
public:
    Image(Form& form, Control* parent, const ControlProps& props);
    void Paint(HDC dc) const override;
    // The icon of the new size.
    void ApplyDpi() override;
    // An icon's side at 96 dpi.
    static constexpr int kIconSize = 32;

private:
    void LoadIcon();

    const wchar_t* picture_;
    HBITMAP bitmap_ = nullptr;  // shared pictures, not owned
    HICON icon_ = nullptr;
    int iconSize_ = kIconSize;
};

// A sunken box or an etched line.
class Bevel final : public GraphicControl {
public:
    Bevel(Form& form, Control* parent, const ControlProps& props) : GraphicControl(form, parent, props) {}
    void Paint(HDC dc) const override;
};

// A flat button: a face of its own, raised under the mouse, sunk while held; a press and
// release on it is a click.
class SpeedButton final : public GraphicControl {
public:
    SpeedButton(Form& form, Control* parent, const ControlProps& props) : GraphicControl(form, parent, props) {}
    void Paint(HDC dc) const override;
    // A push button that a reader presses as a click does; Press is the click itself.
    std::optional<AccessibleItem> AccessibleFacts() const override;
    void Press() override;
    void MouseDown(MouseButton button, unsigned shift, POINT at) override;
    void MouseMove(unsigned shift, POINT at) override;
    void MouseUp(MouseButton button, unsigned shift, POINT at) override;
    void MouseLeave() override;

private:
    bool pressed_ = false;
    bool hot_ = false;
};

}  // namespace siborang::win
