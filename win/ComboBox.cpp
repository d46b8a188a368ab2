#include "win/ComboBox.h"

#include <string>

#include "core/Errors.h"

namespace siborang::win {

ComboBox::ComboBox(ControlSite& site, Control* parent, const ControlRow& row, const Args& args)
    : WindowedControl(site, parent, row), itemHeight96_(args.itemHeight) {
    CreateSystemWindow(WC_COMBOBOXW, RowStyle(row) | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0);
    if (itemHeight96_ > 0)
        ::SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, Owner().CurrentDpi().Scale(itemHeight96_));
}

int ComboBox::ExtraHeight() const noexcept {
    // A drop-down combo box's window height includes its list, eight entries long.
    return Owner().CurrentDpi().Scale(8 * (itemHeight96_ > 0 ? itemHeight96_ : 16) + 2);
}

void ComboBox::ApplyDpi() {
    WindowedControl::ApplyDpi();
    if (itemHeight96_ > 0)
        ::SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, Owner().CurrentDpi().Scale(itemHeight96_));
}

int ComboBox::ItemCount() const noexcept { return static_cast<int>(::SendMessageW(Handle(), CB_GETCOUNT, 0, 0)); }

std::wstring ComboBox::Item(int index) const {
    const LRESULT n = ::SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == CB_ERR) throw AppError("List index out of bounds (" + std::to_string(index) + ")");
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const LRESULT got =
        ::SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
    return text;
}

void ComboBox::AddItem(std::wstring_view text) {
    const std::wstring item(text);
    ::SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ComboBox::SetItem(int index, std::wstring_view text) {
    const int selected = ItemIndex();
    if (index < ItemCount()) DeleteItem(index);
    const std::wstring item(text);
    ::SendMessageW(Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.c_str()));
    if (selected == index) SetItemIndex(index);
}

void ComboBox::DeleteItem(int index) { ::SendMessageW(Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0); }

void ComboBox::ClearItems() { ::SendMessageW(Handle(), CB_RESETCONTENT, 0, 0); }

int ComboBox::ItemIndex() const noexcept { return static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0)); }

void ComboBox::SetItemIndex(int index) { ::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

std::optional<LRESULT> ComboBox::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND) return WindowedControl::HandleReflected(message, wParam, lParam);
    // Only the user's choice of an entry; typing in the edit part does nothing.
    if (HIWORD(wParam) == CBN_SELCHANGE && OnClick) OnClick(*this);
    return 0;
}

}  // namespace siborang::win
