#include "win/Button.h"

namespace siborang::win {

Button::Button(ControlSite& site, Control* parent, const ControlRow& row, const Args& args)
    : WindowedControl(site, parent, row), args_(args) {
    CreateSystemWindow(WC_BUTTONW, RowStyle(row) | BS_PUSHBUTTON, 0);
}

bool Button::PressedBy(PressKey key) const noexcept {
    return key == PressKey::Cancel ? args_.cancel : args_.helpKey;
}

void Button::Click() {
    if (OnClick) OnClick(*this);
}

void Button::Press() {
    if (Enabled()) Click();
}

std::optional<LRESULT> Button::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND) return WindowedControl::HandleReflected(message, wParam, lParam);
    if (HIWORD(wParam) == BN_CLICKED) Click();
    return 0;
}

bool Button::DoAccessibleDefaultAction() {
    return Enabled() && ::PostMessageW(Handle(), AccessiblePressMessage(), 0, 0);
}

LRESULT Button::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != AccessiblePressMessage() || message == 0)
        return WindowedControl::WindowProc(message, wParam, lParam);
    Press();
    return 0;
}

}  // namespace siborang::win
