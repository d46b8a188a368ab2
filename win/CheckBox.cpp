#include "win/CheckBox.h"

namespace siborang::win {

CheckBox::CheckBox(ControlSite& site, Control* parent, const ControlRow& row, const Args& args)
    : WindowedControl(site, parent, row) {
    CreateSystemWindow(WC_BUTTONW, RowStyle(row) | BS_AUTOCHECKBOX, 0);
    ::SendMessageW(Handle(), BM_SETCHECK, args.checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::Checked() const noexcept { return ::SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
    if (Checked() == checked) return;
    ::SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick) OnClick(*this);
}

std::optional<LRESULT> CheckBox::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND) return WindowedControl::HandleReflected(message, wParam, lParam);
    if (HIWORD(wParam) == BN_CLICKED && OnClick) OnClick(*this);
    return 0;
}

}  // namespace siborang::win
