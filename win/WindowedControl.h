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

// What a child window reports to its parent (commands, colours) handled by the child's
// control; true when it was one of ours. Forms and containers call it first.
bool ReflectChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace siborang::win
