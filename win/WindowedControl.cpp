#include "win/WindowedControl.h"

#include "core/Errors.h"
#include "win/GraphicHost.h"
#include "win/StartupTrace.h"
#include "win/SystemLibrary.h"

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

namespace {

// comctl32's classes registered so far; the library itself is loaded with the first.
void RegisterCommonClasses(DWORD classes) noexcept {
    static DWORD registered = 0;
    if ((registered & classes) == classes) return;
    const startup::Section timing("comctl32");
    if (InitCommonControlsFromSystem(classes)) registered |= classes;
}

}  // namespace

void WindowedControl::CreateSystemWindow(const wchar_t* className, DWORD style, DWORD exStyle,
                                         DWORD commonClasses) {
    if (commonClasses) RegisterCommonClasses(commonClasses);
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

std::optional<LRESULT> WindowedControl::HandleReflected(UINT message, WPARAM wParam, LPARAM) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        ::SetTextColor(dc, TextColor());
        ::SetBkColor(dc, BackColor());
        return reinterpret_cast<LRESULT>(BackBrush());
    case WM_CTLCOLOREDIT:
        ::SetTextColor(dc, TextColor());
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    default:
        return std::nullopt;
    }
}

namespace {

// The control of ours whose window sent `parent` a notification, found as each message names
// its sender; nullptr for any other message or sender (a menu's command or item, the parent's
// own scroll bars).
WindowedControl* SenderOf(const ControlSite& site, HWND parent, UINT message, LPARAM lParam) noexcept {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return WindowedControl::FromHandle(reinterpret_cast<HWND>(lParam));
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return WindowedControl::FromHandle(reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY:
        return WindowedControl::FromHandle(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom);
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item.CtlType == ODT_MENU ? nullptr : WindowedControl::FromHandle(item.hwndItem);
    }
    case WM_MEASUREITEM: {
        // Named by its identifier only, unique in the form. One asked while the window is being
        // made comes before its control is bound to it, and gets the default.
        const auto& item = *reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_MENU) return nullptr;
        for (const auto& c : site.Controls()) {
            const HWND child = c->Handle();
            const auto id = child ? static_cast<UINT>(::GetWindowLongPtrW(child, GWLP_ID)) : 0u;
            if (child && ::GetParent(child) == parent && id == item.CtlID) return WindowedControl::FromHandle(child);
        }
        return nullptr;
    }
    default:
        return nullptr;
    }
}

}  // namespace

bool HandleForControls(ControlSite& site, GraphicHost& graphics, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam, LRESULT& result) {
    if (WindowedControl* sender = SenderOf(site, window, message, lParam)) {
        if (const std::optional<LRESULT> answer = sender->HandleReflected(message, wParam, lParam)) {
            result = *answer;
            return true;
        }
    }
    result = 0;
    return graphics.Route(window, message, wParam, lParam);
}

}  // namespace siborang::win
