#include <string>

#include "core/Errors.h"
#include "win/Form.h"
#include "win/WindowedControls.h"

namespace siborang::win {

WindowedControl* WindowedControl::FromHandle(HWND hwnd) noexcept {
    return dynamic_cast<WindowedControl*>(WindowBase::FromHandle(hwnd));
}

DWORD WindowedControl::RowStyle(const ControlProps& props) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if (props.tabOrder >= 0) style |= WS_TABSTOP;
    if (props.options & kDisabled) style |= WS_DISABLED;
    return style;
}

void WindowedControl::CreateSystemWindow(const wchar_t* className, DWORD style, DWORD exStyle) {
    const auto id = static_cast<INT_PTR>(Owner().NextControlId());
    const RECT rc = Bounds();
    const HWND hwnd = ::CreateWindowExW(exStyle, className, caption_.c_str(), style, rc.left, rc.top,
                                        rc.right - rc.left, rc.bottom - rc.top + ExtraHeight(), ParentHandle(),
                                        reinterpret_cast<HMENU>(id), Owner().App().ModuleInstance(), nullptr);
    if (!hwnd) throw AppError("Error creating control " + Name());
    Attach(hwnd);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
}

void WindowedControl::ApplyDpi() {
    Control::ApplyDpi();
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
    const RECT rc = Bounds();
    ::SetWindowPos(Handle(), nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top + ExtraHeight(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

bool ReflectChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (Control* c = lParam ? WindowedControl::FromHandle(reinterpret_cast<HWND>(lParam)) : nullptr) {
            c->HandleCommand(HIWORD(wParam));
            result = 0;
            return true;
        }
        return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (Control* c = WindowedControl::FromHandle(reinterpret_cast<HWND>(lParam))) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, c->TextColor());
            ::SetBkColor(dc, c->BackColor());
            result = reinterpret_cast<LRESULT>(c->BackBrush());
            return true;
        }
        return false;
    case WM_CTLCOLOREDIT:
        if (Control* c = WindowedControl::FromHandle(reinterpret_cast<HWND>(lParam))) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, c->TextColor());
            ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
            result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
            return true;
        }
        return false;
    default:
        return false;
    }
}

Button::Button(Form& form, Control* parent, const ControlProps& props) : WindowedControl(form, parent, props) {
    CreateSystemWindow(WC_BUTTONW, RowStyle(props) | BS_PUSHBUTTON, 0);
}

void Button::Click() {
    if (OnClick) OnClick(*this);
}

void Button::Press() {
    if (Enabled()) Click();
}

void Button::HandleCommand(WORD code) {
    if (code == BN_CLICKED) Click();
}

bool Button::DoAccessibleDefaultAction() {
    return Enabled() && ::PostMessageW(Handle(), AccessiblePressMessage(), 0, 0);
}

LRESULT Button::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != AccessiblePressMessage() || message == 0) return WindowedControl::WindowProc(message, wParam, lParam);
    Press();
    return 0;
}

CheckBox::CheckBox(Form& form, Control* parent, const ControlProps& props) : WindowedControl(form, parent, props) {
    CreateSystemWindow(WC_BUTTONW, RowStyle(props) | BS_AUTOCHECKBOX, 0);
    ::SendMessageW(Handle(), BM_SETCHECK, (props.options & kChecked) ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::Checked() const noexcept { return ::SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
    if (Checked() == checked) return;
    ::SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick) OnClick(*this);
}

void CheckBox::HandleCommand(WORD code) {
    if (code == BN_CLICKED && OnClick) OnClick(*this);
}

ComboBox::ComboBox(Form& form, Control* parent, const ControlProps& props)
    : WindowedControl(form, parent, props), itemHeight96_(props.itemHeight) {
    CreateSystemWindow(WC_COMBOBOXW, RowStyle(props) | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0);
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

void ComboBox::HandleCommand(WORD code) {
    // Only the user's choice of an entry; typing in the edit part does nothing.
    if (code == CBN_SELCHANGE && OnClick) OnClick(*this);
}

}  // namespace siborang::win
