#pragma once
// A form's keyboard as the dialog manager would keep it on a window that is no dialog:
// mnemonics, Enter on the focused push button, the Tab ring in tab order, and the focused
// control saved when the form is left and given back when it is activated again. It sees the
// form as its controls do, through the site (win/ControlSite.h).
#include <vector>

#include "win/Control.h"
#include "win/Win32.h"

namespace siborang::win {

// Shows the focus rectangle and the access keys' underlines in a top-level window and its
// controls. Windows hides them in a window opened by the mouse, while "underline access keys" is
// off, until the keyboard is used there; a window opened from the keyboard shows them at once.
void ShowKeyboardCues(HWND window) noexcept;

class DialogKeyboard {
public:
    explicit DialogKeyboard(ControlSite& form) noexcept : form_(form) {}
    DialogKeyboard(const DialogKeyboard&) = delete;
    DialogKeyboard& operator=(const DialogKeyboard&) = delete;

    // A key typed into the form, before it is dispatched. True when it was used up here. The
    // first Tab, arrow or Alt shows the form's keyboard cues, as in a dialog.
    bool PreTranslateKey(const MSG& msg);
    // Escape (cancel) or F1 (help): presses the enabled, visible control the form has for the
    // key. True when there is one.
    bool PressFor(PressKey key);
    // Alt+letter: clicks the enabled button whose caption marks that letter with "&", without
    // moving the focus (so the box being typed in is not left). True when one did.
    bool HandleMnemonic(wchar_t letter);
    // Tab and Shift+Tab: moves the focus from the control holding it to the next (previous)
    // enabled, visible control in tab order, depth first through the containers, as the
    // stacking order need not follow it. True when the focus moved.
    bool TabFrom(HWND focus, bool backward);
    // The first enabled, visible tab stop in tab order; nullptr when there is none.
    Control* FirstTabStop() const;

    // The active control: the one with the focus while the form is active, else the one that
    // had it when the form was left.
    Control* ActiveControl() const noexcept;
    // The form is left: the control with the focus is remembered.
    void SaveFocus() noexcept;
    // The focus goes to the active control, or to the first tab stop when there is none yet.
    // False when no control can take it.
    bool RestoreFocus();
    void Forget() noexcept { savedFocus_ = handFrom_ = nullptr; }
    // The focused `control` is being disabled, which drops the focus to nothing. Once the
    // message being handled is done (the handler may enable what follows: a "previous" button
    // that disables itself enables "next"), the focus goes on to the next control in tab order
    // that can take it, as Tab would go from there: to `control` itself if it was enabled
    // again, to the form when there is none.
    void HandFocusOnFrom(Control& control);
    // The hand-over posted by HandFocusOnFrom has come.
    void HandFocusOn();
    static constexpr UINT kHandFocusOnMessage = WM_APP + 2;
    // The keyboard focus on the form itself until Tab or a click gives it to a control (the
    // mnemonics work from there too): where it goes when the control holding it is disabled
    // and no other can take it, which would otherwise leave nothing focused and every key a
    // beep.
    void KeepFocusOnForm();
    bool FocusOnForm() const noexcept { return focusOnForm_; }
    // The focus left the form itself; for one of its controls it no longer holds it.
    void FormLostFocus(HWND to) noexcept;

private:
    void RevealCuesFor(const MSG& msg) noexcept;
    // `keep` is listed in its place even when it cannot take the focus.
    void CollectTabStops(const Control* container, std::vector<Control*>& stops, const Control* keep = nullptr) const;

    ControlSite& form_;
    Control* savedFocus_ = nullptr;  // had the focus when the form was last left
    Control* handFrom_ = nullptr;    // disabled while focused; the focus is handed on from it
    bool focusOnForm_ = false;       // the form itself holds the focus (KeepFocusOnForm)
};

}  // namespace siborang::win
