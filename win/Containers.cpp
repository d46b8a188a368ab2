#include "win/Form.h"
#include "win/WindowedControls.h"

namespace siborang::win {

Container::Container(Form& form, Control* parent, const ControlProps& props, const wchar_t* className)
    : WindowedControl(form, parent, props), graphics_(this) {
    RegisterWindowClass(form.App().ModuleInstance(), {.name = className});
    const DWORD style = (RowStyle(props) & ~static_cast<DWORD>(WS_TABSTOP)) | WS_CLIPCHILDREN;
    const auto id = static_cast<INT_PTR>(form.NextControlId());
    const RECT rc = Bounds();
    CreateHandle(WS_EX_CONTROLPARENT, className, caption_.c_str(), style, rc.left, rc.top, rc.right - rc.left,
                 rc.bottom - rc.top, ParentHandle(), reinterpret_cast<HMENU>(id));
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
    if (ReflectChildMessage(message, wParam, lParam, result)) return result;
    if (graphics_.Route(Handle(), message, wParam, lParam)) return 0;
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

GroupBox::GroupBox(Form& form, Control* parent, const ControlProps& props)
    : Container(form, parent, props, L"TGroupBox") {}

std::optional<std::wstring> GroupBox::AccessibleName() const {
    // The blanks that keep the caption off the frame's line are not read.
    const std::wstring caption = Text();
    const auto first = caption.find_first_not_of(L' ');
    if (first == std::wstring::npos) return std::nullopt;
    return caption.substr(first, caption.find_last_not_of(L' ') - first + 1);
}

void GroupBox::PaintFrame(HDC dc, RECT client) const {
    SelectGuard select(dc, FontHandle());
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    RECT frame = client;
    frame.top = tm.tmHeight / 2;
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const std::wstring caption = Text();
    if (caption.empty()) return;
    const int inset = Owner().CurrentDpi().Scale(kCaptionInset);
    RECT text{inset, 0, 0, 0};
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_CALCRECT | DT_SINGLELINE);
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, BackColor());
    ::SetTextColor(dc, TextColor());
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE);
}

Panel::Panel(Form& form, Control* parent, const ControlProps& props) : Container(form, parent, props, L"TPanel") {}

void Panel::PaintFrame(HDC dc, RECT client) const {
    ::DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    ::InflateRect(&client, -1, -1);
    ::DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
}

}  // namespace siborang::win
