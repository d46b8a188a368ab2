#pragma once
// The base of the controls with a window of their own: system controls (buttons, check boxes,
// edits, the hotkey box, the combo box), subclassed so that they are bound like every window
// of the program, and the containers of our own (Container.h).
#include <optional>
#include <string>

#include "win/Accessible.h"
#include "win/Control.h"
#include "win/Window.h"

namespace siborang::win {

// A screen reader gets the system's answer for the window, with the name the layout gives it.
class WindowedControl : public Control, public WindowBase, public AccessibleSource {
public:
    HWND Handle() const noexcept override { return WindowBase::Handle(); }
    void Unbind() noexcept override { Detach(); }
    AccessibleSource* Accessible() noexcept override { return this; }
    std::optional<std::wstring> AccessibleName() const override { return LayoutAccessibleName(); }
    // The control of this program behind a window; nullptr for any other window.
    static WindowedControl* FromHandle(HWND hwnd) noexcept;
    // Moves the window to its new place and gives it its new font.
    void ApplyDpi() override;

protected:
    using Control::Control;
    // Creates and binds a window of a system class, with the row's place (scaled), state and
    // font.
    void CreateSystemWindow(const wchar_t* className, DWORD style, DWORD exStyle);
    // What the window has below its bounds: a drop-down combo box's list.
    virtual int ExtraHeight() const noexcept { return 0; }
    // The window styles every windowed control of a row has.
    static DWORD RowStyle(const ControlRow& row);
};

class GraphicHost;

// What a window that holds controls (a form, a container) does first with each message: what
// a child window reports to it (commands, colours) goes to the child's control, the mouse and
// a reader's presses to its graphic controls. True when that used the message up; `result`
// is then the message's result.
bool HandleForControls(GraphicHost& graphics, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result);

}  // namespace siborang::win
