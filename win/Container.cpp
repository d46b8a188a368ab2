#include "win/Container.h"

#include "win/Handles.h"

namespace siborang::win {

Container::Container(ControlSite& site, Control* parent, const ControlRow& row, const wchar_t* className)
    : WindowedControl(site, parent, row), graphics_(this) {
    RegisterWindowClass(site.SiteModule(), {.name = className});
    const DWORD style = (RowStyle(row) & ~static_cast<DWORD>(WS_TABSTOP)) | WS_CLIPCHILDREN;
    const auto id = static_cast<INT_PTR>(site.NextControlId());
    const RECT rc = Bounds();
    CreateHandle(site.SiteModule(), WS_EX_CONTROLPARENT, className, caption_.c_str(), style, rc.left, rc.top,
                 rc.right - rc.left, rc.bottom - rc.top, ParentHandle(), reinterpret_cast<HMENU>(id));
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
}

void Container::SetText(std::wstring_view text) {
    const bool changed = text != Text();
    Control::SetText(text);
    ::InvalidateRect(Handle(), nullptr, TRUE);
    if (changed) NotifyAccessible(EVENT_OBJECT_NAMECHANGE, Handle());
}

LRESULT Container::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Containers pass on what their children report and route the mouse to their graphic
    // children, as the form does for its own.
    LRESULT result = 0;
    if (HandleForControls(Owner(), graphics_, Handle(), message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT fills the whole surface
    case WM_PAINT: {
        PaintDc dc(Handle());
        RECT client;
        ::GetClientRect(Handle(), &client);
        ::FillRect(dc.Get(), &client, BackBrush());
        PaintFrame(dc.Get(), client);
        graphics_.Paint(dc.Get());
        return 0;
    }
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

}  // namespace siborang::win
