#pragma once
// A check box; a click, Space, or a change of its state from the program runs OnClick.
#include "win/WindowedControl.h"

namespace siborang::win {

class CheckBox final : public WindowedControl {
public:
    struct Args {
        bool checked = false;
    };

    CheckBox(ControlSite& site, Control* parent, const ControlRow& row, const Args& args);
    bool Checked() const noexcept;
    // Changing the state runs OnClick, as a click would.
    void SetChecked(bool checked);
    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace siborang::win
