#include "win/WindowedControl.h"

#include "core/Errors.h"
#include "win/GraphicHost.h"

namespace siborang::win {

WindowedControl* WindowedControl::FromHandle(HWND hwnd) noexcept {
    return dynamic_cast<WindowedControl*>(WindowBase::FromHandle(hwnd));
}

DWORD WindowedControl::RowStyle(const ControlRow& row) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if (row.tabOrder >= 0) style |= WS_TABSTOP;
    if (row.disabled) style |= WS_DISABLED;
    return style;
}

void WindowedControl::CreateSystemWindow(const wchar_t* className, DWORD style, DWORD exStyle) {
    const auto id = static_cast<INT_PTR>(Owner().NextControlId());
    const RECT rc = Bounds();
    const HWND hwnd = ::CreateWindowExW(exStyle, className, caption_.c_str(), style, rc.left, rc.top,
                                        rc.right - rc.left, rc.bottom - rc.top + ExtraHeight(), ParentHandle(),
                                        reinterpret_cast<HMENU>(id), Owner().SiteModule(), nullptr);
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
}

namespace {

// What a child window reports to its parent, handled by the child's control; true when it
// was one of ours.
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

}  // namespace

bool HandleForControls(GraphicHost& graphics, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) {
    if (ReflectChildMessage(message, wParam, lParam, result)) return true;
    result = 0;
    return graphics.Route(window, message, wParam, lParam);
}

}  // namespace siborang::win
