#pragma once
// The form base: one window class per form class, one window procedure that derived forms
// override, controls built from a layout table, showing, modal showing (a ModalLoop) and
// closing. The form is its controls' site; the graphic controls on it are drawn by its
// GraphicHost, its keyboard kept by its DialogKeyboard.
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "win/Accessible.h"
#include "win/Control.h"
#include "win/DialogKeyboard.h"
#include "win/GraphicHost.h"
#include "win/Window.h"

namespace siborang::win {

class Application;
class ModalLoop;

enum class FormBorder { Dialog, Sizeable };
enum class CloseAction { None, Hide, Free };
inline constexpr int kModalCancel = 2;

struct FormSpec {
    const wchar_t* className;  // the Win32 window class, named after the form class
    const wchar_t* caption;
    int left, top;
    int clientWidth, clientHeight;  // ignored when the outer size is given
    FontSpec font;
    Color color = kButtonFaceColor;
    FormBorder border = FormBorder::Dialog;
    bool screenCenter = false;
    int outerWidth = 0, outerHeight = 0;  // the window's own size, frame included; 0: from the client size
    // The label whose text names the form for a screen reader (a borderless form's title);
    // nullptr: the caption does.
    const char* titleLabel = nullptr;
};

// A screen reader reads the form by its title label (else its caption), its graphic controls
// as its object's items, and its window object as a dialog of that name; a form of its own
// kind (a note) says more.
class Form : public WindowBase, public AccessibleSource, public ControlSite {
public:
    Form(Application& app, const FormSpec& design);
    ~Form() override;

    Application& App() const noexcept { return app_; }

    AccessibleSource* Accessible() noexcept override { return this; }
    AccessibleSource* AccessibleFrame() noexcept override { return &frame_; }
    std::optional<std::wstring> AccessibleName() const override;
    // The graphic controls, then the last alert.
    std::vector<AccessibleItem> AccessibleItems() const override;
    bool DoItemDefaultAction(std::size_t index) override { return graphics_.PressItem(Handle(), index); }
    // Tells readers `text` at once, wherever the focus is: a reader speaks an alert, not the
    // change of a control it is not on. The text stays readable as the form's last item.
    void Alert(std::wstring text);

    // Every message of the window passes through here. Overrides call this for the
    // framework's normal handling.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Shows the form in front, active, the focus on its active control (a form placed at the
    // screen's centre is centred by the size it has now).
    void Show();
    // Shows the form where it stands without taking the keyboard from the window in front.
    void ShowNoActivate();
    void Hide();
    bool Visible() const noexcept;
    // The framework's close: asks DoClose, then hides, frees, or ends the program when
    // this is the main form; a modal form ends its modal loop instead.
    void Close();
    // Shows the form with the rest of the application disabled until it closes.
    int ShowModal();
    bool Modal() const noexcept { return modal_ != nullptr; }

    // The window text, which Alt+Tab, Task View and Task Manager show for the form.
    void SetCaption(std::wstring caption);

    RECT BoundsRect() const noexcept;  // outer rectangle in screen coordinates
    void SetLeft(int left);
    void SetTop(int top);
    // Top and Left in one move.
    void MoveTo(int left, int top);

    Control* FindControl(std::string_view name) const noexcept override;
    const std::vector<std::unique_ptr<Control>>& Controls() const noexcept override { return controls_; }
    Control* ControlOf(HWND window) const noexcept override;
    static Form* FromHandle(HWND hwnd) noexcept;

    // What its controls see of it.
    HWND SiteWindow() const noexcept override { return Handle(); }
    HINSTANCE SiteModule() const noexcept override;
    HFONT FontHandle() const noexcept override { return font_; }
    COLORREF TextColor() const noexcept override { return textColor_; }
    COLORREF BackColor() const noexcept override { return backColor_; }
    HBRUSH BackBrush() const noexcept override { return backBrush_.Get(); }
    HFONT FontFor(const FontSpec& font, HFONT inherited) override;
    GdiCache& Pictures() noexcept override;

    // The DPI the form is laid out for: its window's when it was made, then each new one
    // Windows gives it (moved to a monitor of another scale). Its rows' 96-dpi places, fonts
    // and pictures are scaled to it.
    Dpi CurrentDpi() const noexcept override { return dpi_; }
    // Lays the form and every control out again from its design at `dpi`, the window's top-left
    // corner put at `at` (screen coordinates): WM_DPICHANGED does this with the corner of the
    // system's suggestion. The window's size is the design's at that DPI, so that a trip through
    // monitors of other scales brings it back to the pixel.
    void ChangeDpi(Dpi dpi, POINT at);
    // The outer size the design gives at `dpi`, with the frame the window's style has now.
    SIZE DesignedSize(Dpi dpi) const noexcept;
    // From now on the design is a client area of this size at 96 dpi, framed as the window's
    // style now says; the window takes it at the form's DPI.
    void Redesign(SIZE client96);

    GraphicHost& Graphics() noexcept override { return graphics_; }
    DialogKeyboard& Keyboard() noexcept override { return keyboard_; }
    // The active control: the one with the focus while the form is active, else the one that
    // had it when the form was left; it gets the focus back when the form is activated. Until
    // one had it, the first tab stop takes the focus.
    Control* ActiveControl() const noexcept { return keyboard_.ActiveControl(); }

    // Child-window identifiers, unique within the form.
    int NextControlId() noexcept override { return nextControlId_++; }

protected:
    // The close handler: may change the action.
    virtual void DoClose(CloseAction& action);
    friend class ModalLoop;  // which asks it before the loop ends

    // Creates the table's controls in order, each of its member's kind and kept there, then
    // binds the events (so that designed values never run a handler).
    template <class F>
    void BuildLayout(F& self, std::span<const Row<F>> table) {
        std::vector<Control*> made;
        made.reserve(table.size());
        for (const auto& row : table) made.push_back(&Add(row.make(self, ParentOf(row.control), row.control)));
        for (std::size_t i = 0; i < table.size(); ++i) {
            const Events<F>& on = table[i].on;
            Control& c = *made[i];
            if (on.click) c.OnClick = Bind(self, on.click);
            if (on.change) c.OnChange = Bind(self, on.change);
            if (on.exit) c.OnExit = Bind(self, on.exit);
            if (on.mouseDown) c.OnMouseDown = BindMouse(self, on.mouseDown);
            if (on.mouseMove) c.OnMouseMove = BindMouse(self, on.mouseMove);
            if (on.mouseUp) c.OnMouseUp = BindMouse(self, on.mouseUp);
        }
    }

private:
    template <class F>
    static NotifyEvent Bind(F& self, void (F::*handler)(Control&)) {
        return [&self, handler](Control& sender) { (self.*handler)(sender); };
    }
    template <class F>
    static MouseEvent BindMouse(F& self, void (F::*handler)(Control&, MouseButton, unsigned, int, int)) {
        return [&self, handler](Control& sender, MouseButton button, unsigned shift, int x, int y) {
            (self.*handler)(sender, button, shift, x, y);
        };
    }
    // The control a row names as its parent; nullptr for the form. Raises for a name no
    // control of the form has (yet).
    Control* ParentOf(const ControlRow& row) const;
    Control& Add(std::unique_ptr<Control> made);
    // Whether a windowed control already on `parent` (nullptr: the form) overlaps `rect`.
    bool OverlapsWindowedControl(const Control* parent, const RECT& rect) const noexcept;
    void CenterOnScreen();
    // The window takes the design's size at the form's DPI, its top-left corner at `at` (where
    // it is: nullptr).
    void TakeDesignedSize(const POINT* at, UINT flags);
    // The outer size the design gives at `dpi` for a window of that style.
    SIZE OuterSize(Dpi dpi, DWORD style, DWORD exStyle) const noexcept;

    Application& app_;
    // What the design says of the form's size and font, kept to lay it out at any DPI.
    int clientWidth96_, clientHeight96_, outerWidth96_, outerHeight96_;
    FontSpec fontSpec_;
    Dpi dpi_;
    std::vector<std::unique_ptr<Control>> controls_;
    GraphicHost graphics_{nullptr};
    DialogKeyboard keyboard_{*this};
    HFONT font_ = nullptr;
    COLORREF textColor_ = 0;
    COLORREF backColor_ = 0;
    Brush backBrush_;
    int nextControlId_ = 100;
    WindowFrame frame_{*this};
    std::wstring caption_;  // the window text: the title Alt+Tab and Task View show
    std::wstring alert_;
    const char* titleLabel_ = nullptr;
    bool screenCenter_ = false;
    ModalLoop* modal_ = nullptr;  // while shown modally
};

// The caption removal every borderless form of the program does at creation: clear the
// title bar bits of the style (WS_BORDER and WS_DLGFRAME, together WS_CAPTION), then make
// the client height the outer height minus 46. The rule is worked out at 96 dpi, with the title
// bar and frame a window has there, and its result scaled with the rest of the design: at
// another scale those have sizes of their own, which would count in the client otherwise.
void RemoveCaption(Form& form);

}  // namespace siborang::win
