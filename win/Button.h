#pragma once
// A push button: a click, Space or Enter while it has the focus, its mnemonic, or a screen
// reader's press runs OnClick.
#include "win/WindowedControl.h"

namespace siborang::win {

class Button final : public WindowedControl {
public:
    struct Args {
        bool cancel = false;   // Escape anywhere in the form presses it, as a dialog's cancel button
        bool helpKey = false;  // F1 anywhere in the form presses it, as the key for help
    };

    Button(ControlSite& site, Control* parent, const ControlRow& row, const Args& args);
    // A click, while it is enabled.
    void Press() override;
    bool PressedBy(PressKey key) const noexcept override;
    bool PressedByEnter() const noexcept override { return true; }
    bool PressedByMnemonic() const noexcept override { return true; }
    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<std::wstring> AccessibleDefaultAction() const override { return kPressAction; }
    bool DoAccessibleDefaultAction() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Runs OnClick as a click does.
    void Click();
    Args args_;
};

}  // namespace siborang::win
