#pragma once
// The base of the controls with a window of their own: system controls (buttons, check boxes,
// edits, the hotkey box, the combo box), subclassed so that they are bound like every window
// of the program, and the containers of our own (Container.h). A kind keeps to its own files:
// what its window reports to the parent comes back to it (HandleReflected), and the common
// controls it is made of are registered as it makes its first window.
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
    // A notification the control's window sent its parent (WM_COMMAND, WM_NOTIFY, WM_HSCROLL,
    // WM_VSCROLL, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*), handed back to it by the parent:
    // the message's result when the kind answers it; nullopt leaves it to the parent's default
    // handling. Here the colour messages: every windowed kind is drawn in its row's colours,
    // the field of an edit on the window colour.
    virtual std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    WindowedControl(ControlSite& site, Control* parent, const ControlRow& row)
        : Control(site, parent, row), WindowBase(0x10000) {}
    // Creates and binds a window of a system class, with the row's place (scaled), state and
    // font. `commonClasses`: the ICC_* flags of a class of comctl32's, registered (the library
    // loaded from the system directory) before the kind's first window; 0 for user32's classes.
    void CreateSystemWindow(const wchar_t* className, DWORD style, DWORD exStyle, DWORD commonClasses = 0);
    // What the window has below its bounds: a drop-down combo box's list.
    virtual int ExtraHeight() const noexcept { return 0; }
    // The window styles every windowed control of a row has.
    static DWORD RowStyle(const ControlRow& row);
};

class GraphicHost;

// What a window that holds controls (a form, a container of the form `site`) does first with
// each message: what a child window reports to it goes to the child's control
// (HandleReflected), the mouse and a reader's presses to its graphic controls. True when that
// used the message up; `result` is then the message's result.
bool HandleForControls(ControlSite& site, GraphicHost& graphics, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam, LRESULT& result);

}  // namespace siborang::win
