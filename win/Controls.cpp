#include "win/Controls.h"

#include <algorithm>
#include <string>

#include "core/Errors.h"
#include "core/WordWrap.h"
#include "win/Form.h"
#include "win/Handles.h"
#include "win/Text.h"

namespace siborang::win {
namespace {

constexpr wchar_t kGroupBoxClass[] = L"TGroupBox";
constexpr wchar_t kPanelClass[] = L"TPanel";

struct RegisteredKind {
    std::wstring name;
    CustomControlFactory factory;
};
std::vector<RegisteredKind>& RegisteredKinds() {
    static std::vector<RegisteredKind> kinds;
    return kinds;
}

void BeepOnce() noexcept { ::MessageBeep(MB_OK); }

}  // namespace

void (*RefusalBeep)() noexcept = &BeepOnce;

void RegisterControlKind(const wchar_t* name, CustomControlFactory factory) {
    for (auto& kind : RegisteredKinds()) {
        if (kind.name == name) {
            kind.factory = factory;
            return;
        }
    }
    RegisteredKinds().push_back({name, factory});
}

COLORREF ResolveColor(Color color) {
    if (color & 0x80000000u) return ::GetSysColor(static_cast<int>(color & 0xFFu));
    return static_cast<COLORREF>(color);
}

Control::Control(Form& form, Control* parent, const ControlProps& props)
    : form_(form),
      parent_(parent),
      name_(props.name),
      kind_(props.kind),
      tag_(props.tag),
      options_(props.options),
      bounds_{props.left, props.top, props.left + props.width, props.top + props.height},
      caption_(props.caption),
      tabOrder_(props.tabOrder),
      textLimit_(props.textLimit) {
    const HFONT inherited = parent ? parent->FontHandle() : form.FontHandle();
    font_ = form.FontFor(props.font, inherited);
    const COLORREF inheritedColor = parent ? parent->TextColor() : form.TextColor();
    textColor_ = props.font.color == kParentColor ? inheritedColor : ResolveColor(props.font.color);
    enabled_ = !(options_ & kDisabled);
    if (props.color != kParentColor) {
        backColor_ = ResolveColor(props.color);
        backBrush_.Reset(::CreateSolidBrush(backColor_));
    }
    if (props.picture) LoadPicture(props.picture);
    if (!IsGraphic()) CreateWindowFor(props);
    // Stacked as designed, a later control over an earlier one it overlaps (a new child window
    // would go underneath its siblings); Tab follows the tab order instead (Form::TabFrom).
    if (Handle() && form.OverlapsWindowedControl(parent, bounds_))
        ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FitToText();
}

Control::~Control() { Unbind(); }

void Control::Unbind() noexcept {
    Detach();
    custom_.reset();  // a custom control destroys its own window
}

void Control::CreateWindowFor(const ControlProps& props) {
    const HINSTANCE instance = form_.App().ModuleInstance();
    const wchar_t* cls = L"";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    if (props.tabOrder >= 0) style |= WS_TABSTOP;
    if (!enabled_) style |= WS_DISABLED;
    switch (kind_) {
    case ControlKind::Button:
        cls = WC_BUTTONW;
        style |= BS_PUSHBUTTON;
        break;
    case ControlKind::CheckBox:
        cls = WC_BUTTONW;
        style |= BS_AUTOCHECKBOX;
        break;
    case ControlKind::Edit:
        cls = WC_EDITW;
        style |= ES_AUTOHSCROLL;
        exStyle |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::HotKey:
        cls = HOTKEY_CLASSW;
        exStyle |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Custom:
        CreateCustom(props);
        return;
    case ControlKind::ComboBox:
        cls = WC_COMBOBOXW;
        style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
        break;
    case ControlKind::GroupBox:
    case ControlKind::Panel:
        // Containers of our own, so that their children's notifications reach their
        // handlers and their graphic controls are drawn and get the mouse.
        cls = kind_ == ControlKind::GroupBox ? kGroupBoxClass : kPanelClass;
        RegisterWindowClass(instance, {.name = cls});
        style &= ~static_cast<DWORD>(WS_TABSTOP);
        style |= WS_CLIPCHILDREN;
        exStyle |= WS_EX_CONTROLPARENT;
        break;
    default:
        return;
    }
    const auto id = static_cast<INT_PTR>(form_.NextControlId());
    // A drop-down combo box's window height includes its list, eight entries long.
    const int height = kind_ == ControlKind::ComboBox ? props.height + 8 * (props.itemHeight > 0 ? props.itemHeight : 16) + 2
                                                      : props.height;
    if (IsContainer()) {
        CreateHandle(exStyle, cls, caption_.c_str(), style, props.left, props.top, props.width, height, ParentHandle(),
                     reinterpret_cast<HMENU>(id));
    } else {
        const HWND hwnd = ::CreateWindowExW(exStyle, cls, caption_.c_str(), style, props.left, props.top, props.width,
                                            height, ParentHandle(), reinterpret_cast<HMENU>(id), instance, nullptr);
        if (!hwnd) throw AppError("Error creating control " + name_);
        Attach(hwnd);
    }
    const HWND hwnd = Handle();
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    switch (kind_) {
    case ControlKind::CheckBox:
        ::SendMessageW(hwnd, BM_SETCHECK, (options_ & kChecked) ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ControlKind::Edit:
        // Never fewer characters than bytes, so the box's own limit can stand beside ours.
        if (props.textLimit > 0) ::SendMessageW(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(props.textLimit), 0);
        acceptedText_ = caption_;
        break;
    case ControlKind::ComboBox:
        if (props.itemHeight > 0) ::SendMessageW(hwnd, CB_SETITEMHEIGHT, 0, props.itemHeight);
        break;
    case ControlKind::HotKey:
        ::SendMessageW(hwnd, HKM_SETRULES, props.invalidCombinations, MAKELPARAM(props.fallbackModifiers, 0));
        SetHotKeyValue(props.hotKey);
        break;
    default:
        break;
    }
}

void Control::CreateCustom(const ControlProps& props) {
    const auto& kinds = RegisteredKinds();
    const auto kind = std::find_if(kinds.begin(), kinds.end(), [&](const RegisteredKind& k) {
        return props.customKind && k.name == props.customKind;
    });
    if (kind == kinds.end()) throw AppError("Control kind not registered: " + name_);
    const CustomPlacement placement{props,     ParentHandle(), form_.NextControlId(), font_,
                                    textColor_, props.tabOrder >= 0, enabled_};
    custom_ = kind->factory(*this, placement);
    if (!custom_ || !custom_->Handle()) throw AppError("Error creating control " + name_);
}

HWND Control::ParentHandle() const noexcept { return parent_ ? parent_->Handle() : form_.Handle(); }

Control* Control::FromHandle(HWND hwnd) noexcept { return dynamic_cast<Control*>(WindowBase::FromHandle(hwnd)); }

std::wstring Control::Text() const {
    if (!Handle()) return caption_;
    const int n = ::GetWindowTextLengthW(Handle());
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = ::GetWindowTextW(Handle(), text.data(), n + 1);
    text.resize(static_cast<std::size_t>(got));
    return text;
}

void Control::SetText(std::wstring_view text) {
    if (!Handle()) Invalidate();  // where the old text stood
    caption_.assign(text);
    // Text put in by the program stands as it is, unchecked (a memo line stored elsewhere may
    // be longer than a box lets the user type).
    acceptedText_ = caption_;
    if (Handle()) {
        settingText_ = true;
        ::SetWindowTextW(Handle(), caption_.c_str());
        settingText_ = false;
    } else {
        FitToText();
        Invalidate();
    }
}

RECT Control::Bounds() const noexcept {
    if (fitPending_) FitNow();
    return bounds_;
}

void Control::FitToText() {
    // Measured when the size is first needed: a window that starts out of sight need not
    // realise the label's font at start-up.
    if (kind_ == ControlKind::Label && (options_ & kAutoSize)) fitPending_ = true;
}

void Control::FitNow() const noexcept {
    fitPending_ = false;
    // A self-sizing label takes the size of its text on one line.
    WindowDc screen(nullptr);
    SelectGuard select(screen.Get(), font_);
    RECT rc{0, 0, 0, 0};
    ::DrawTextW(screen.Get(), caption_.c_str(), static_cast<int>(caption_.size()), &rc, DT_CALCRECT | DT_SINGLELINE);
    bounds_.right = bounds_.left + rc.right;
    bounds_.bottom = bounds_.top + rc.bottom;
}

bool Control::Enabled() const noexcept { return Handle() ? ::IsWindowEnabled(Handle()) != FALSE : enabled_; }

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (Handle()) {
        // Disabled, the control would drop the focus to nothing (a button that disables
        // itself when pressed); the form holds it instead, and the next control is not
        // pressed by a second Space.
        const HWND focus = ::GetFocus();
        if (!enabled && focus && (focus == Handle() || ::IsChild(Handle(), focus))) form_.KeepFocusOnForm();
        ::EnableWindow(Handle(), enabled);
    } else {
        Invalidate();
    }
}

void Control::SetVisible(bool visible) {
    visible_ = visible;
    if (Handle()) {
        ::ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
    } else {
        Invalidate();
    }
}

bool Control::Checked() const noexcept {
    return Handle() && ::SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Control::SetChecked(bool checked) {
    if (Checked() == checked) return;
    ::SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick) OnClick(*this);
}

std::uint16_t Control::HotKeyValue() const noexcept {
    const auto raw = static_cast<std::uint32_t>(::SendMessageW(Handle(), HKM_GETHOTKEY, 0, 0));
    // Key code in the low byte, HOTKEYF_* in the next; the extended-key flag falls off.
    return static_cast<std::uint16_t>((raw & 0xFFu) | (((raw >> 8) & 0xFFu) * 0x2000u));
}

void Control::SetHotKeyValue(std::uint16_t value) {
    const WORD key = value & 0xFFu;
    WORD flags = (value >> 13) & 0x7u;
    // A key found only on the extended part of the keyboard is named as such ("Left", not
    // "Num 4"); reading the value back drops the flag again.
    const bool extended = (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE ||
                          key == VK_DIVIDE || key == VK_NUMLOCK || (key >= VK_LWIN && key <= VK_APPS);
    if (extended) flags |= HOTKEYF_EXT;
    ::SendMessageW(Handle(), HKM_SETHOTKEY, MAKEWORD(key, flags), 0);
}

void Control::SetFocus() {
    if (Handle()) ::SetFocus(Handle());
}

void Control::Click() {
    if (kind_ == ControlKind::Button && OnClick) OnClick(*this);
}

int Control::ItemCount() const noexcept { return static_cast<int>(::SendMessageW(Handle(), CB_GETCOUNT, 0, 0)); }

std::wstring Control::Item(int index) const {
    const LRESULT n = ::SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == CB_ERR) throw AppError("List index out of bounds (" + std::to_string(index) + ")");
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const LRESULT got =
        ::SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
    return text;
}

void Control::AddItem(std::wstring_view text) {
    const std::wstring item(text);
    ::SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void Control::SetItem(int index, std::wstring_view text) {
    // Replacing keeps the selection where it was; one past the last entry adds an entry.
    const int selected = ItemIndex();
    if (index < ItemCount()) DeleteItem(index);
    const std::wstring item(text);
    ::SendMessageW(Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.c_str()));
    if (selected == index) SetItemIndex(index);
}

// An index outside the list deletes nothing.
void Control::DeleteItem(int index) { ::SendMessageW(Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0); }

void Control::ClearItems() { ::SendMessageW(Handle(), CB_RESETCONTENT, 0, 0); }

int Control::ItemIndex() const noexcept { return static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0)); }

void Control::SetItemIndex(int index) { ::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

bool Control::KeepWithinCp949Limit() {
    const std::wstring now = Text();
    bool lossless = true;
    const std::size_t bytes = ToCp949(now, &lossless).size();
    // Only growth past the limit is refused: an over-long line stored elsewhere can still be
    // shortened a character at a time.
    const bool fits = textLimit_ <= 0 || bytes <= static_cast<std::size_t>(textLimit_) ||
                      bytes <= ToCp949(acceptedText_).size();
    if (lossless && fits) {
        acceptedText_ = now;
        return true;
    }
    // Refused: the text before this change comes back, the caret where the input began.
    DWORD caret = 0;
    ::SendMessageW(Handle(), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    const std::size_t grown = now.size() > acceptedText_.size() ? now.size() - acceptedText_.size() : 0;
    const auto at = static_cast<WPARAM>(std::min<std::size_t>(caret > grown ? caret - grown : 0, acceptedText_.size()));
    restoring_ = true;
    ::SetWindowTextW(Handle(), acceptedText_.c_str());
    restoring_ = false;
    ::SendMessageW(Handle(), EM_SETSEL, at, static_cast<LPARAM>(at));
    RefusalBeep();
    return false;
}

COLORREF Control::BackColor() const noexcept {
    if (backBrush_) return backColor_;
    return parent_ ? parent_->BackColor() : form_.BackColor();
}

HBRUSH Control::BackBrush() const noexcept {
    if (backBrush_) return backBrush_.Get();
    return parent_ ? parent_->BackBrush() : form_.BackBrush();
}

void Control::LoadPicture(const wchar_t* name) {
    if (options_ & kIconPicture) {
        icon_ = form_.App().SharedIcon(name);
    } else {
        bitmap_ = form_.App().SharedBitmap(name);
    }
}

void Control::Invalidate() const {
    if (Handle()) {
        ::InvalidateRect(Handle(), nullptr, TRUE);
    } else {
        // A little beyond the bounds: an underline may stand just below them.
        RECT area = Bounds();
        ::InflateRect(&area, 2, 2);
        ::InvalidateRect(ParentHandle(), &area, TRUE);
    }
}

void Control::HandleCommand(WORD code) {
    switch (kind_) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
        if (code == BN_CLICKED && OnClick) OnClick(*this);
        break;
    case ControlKind::ComboBox:
        // Only the user's choice of an entry; typing in the edit part does nothing.
        if (code == CBN_SELCHANGE && OnClick) OnClick(*this);
        break;
    case ControlKind::Edit:
        if (restoring_) break;
        if (code == EN_CHANGE && (settingText_ || !(options_ & kCp949Limit) || KeepWithinCp949Limit()) && OnChange)
            OnChange(*this);
        if (code == EN_KILLFOCUS && OnExit) {
            // Leaving for another control of the same form; deactivating the form is no exit.
            HWND focus = ::GetFocus();
            if (focus && (focus == form_.Handle() || ::IsChild(form_.Handle(), focus))) OnExit(*this);
        }
        break;
    default:
        break;
    }
}

void Control::MouseDown(MouseButton button, unsigned shift, POINT at) {
    if (kind_ == ControlKind::SpeedButton && button == MouseButton::Left && enabled_) {
        pressed_ = true;
        Invalidate();
    }
    if (OnMouseDown) OnMouseDown(*this, button, shift, at.x, at.y);
}

void Control::MouseMove(unsigned shift, POINT at) {
    if (kind_ == ControlKind::SpeedButton && !hot_) {
        hot_ = true;
        Invalidate();
    }
    if (OnMouseMove) OnMouseMove(*this, MouseButton::Left, shift, at.x, at.y);
}

void Control::MouseUp(MouseButton button, unsigned shift, POINT at) {
    const RECT bounds = Bounds();
    const bool inside = at.x >= 0 && at.y >= 0 && at.x < bounds.right - bounds.left && at.y < bounds.bottom - bounds.top;
    const bool click = kind_ == ControlKind::SpeedButton ? pressed_ && inside : button == MouseButton::Left && inside;
    if (pressed_) {
        pressed_ = false;
        Invalidate();
    }
    if (OnMouseUp) OnMouseUp(*this, button, shift, at.x, at.y);
    if (click && enabled_ && OnClick) OnClick(*this);
}

void Control::MouseLeave() {
    if (hot_) {
        hot_ = false;
        Invalidate();
    }
}

void Control::PaintGraphic(HDC dc) const {
    RECT rc = Bounds();
    switch (kind_) {
    case ControlKind::Label: {
        SelectGuard select(dc, font_);
        ::SetTextColor(dc, enabled_ ? textColor_ : ::GetSysColor(COLOR_GRAYTEXT));
        if (options_ & kTransparent) {
            ::SetBkMode(dc, TRANSPARENT);
        } else {
            ::SetBkMode(dc, OPAQUE);
            ::SetBkColor(dc, BackColor());
            ::FillRect(dc, &rc, BackBrush());
        }
        const UINT align = (options_ & kCentered) ? DT_CENTER : DT_LEFT;
        // A fixed-size label cuts off rows that do not fit. A self-sizing one already fits its
        // text, and some fonts draw their underline just below the cell they measure.
        const int saved = ::SaveDC(dc);
        if (!(options_ & kAutoSize)) ::IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
        if (options_ & kWrapAtSpaces) {
            const UINT format = DT_EXPANDTABS | DT_SINGLELINE | align;
            const auto measure = [dc, format](std::wstring_view piece) {
                RECT extent{0, 0, 0, 0};
                ::DrawTextW(dc, piece.data(), static_cast<int>(piece.size()), &extent, format | DT_CALCRECT);
                return static_cast<int>(extent.right);
            };
            TEXTMETRICW tm{};
            ::GetTextMetricsW(dc, &tm);
            const std::wstring_view text = caption_;
            RECT row{rc.left, rc.top, rc.right, rc.top + tm.tmHeight};
            for (const LineSpan& line : WrapAtSpaces(text, rc.right - rc.left, measure)) {
                if (row.top >= rc.bottom) break;
                ::DrawTextW(dc, text.data() + line.start, static_cast<int>(line.length), &row, format);
                ::OffsetRect(&row, 0, tm.tmHeight);
            }
        } else {
            const UINT lines = (options_ & kWordWrap) ? DT_WORDBREAK : DT_SINGLELINE;
            ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &rc, DT_EXPANDTABS | lines | align);
        }
        ::RestoreDC(dc, saved);
        break;
    }
    case ControlKind::Image:
        if (icon_) {
            int x = rc.left, y = rc.top;
            if (options_ & kCentered) {
                x += (rc.right - rc.left - 32) / 2;
                y += (rc.bottom - rc.top - 32) / 2;
            }
            ::DrawIconEx(dc, x, y, icon_, 32, 32, 0, nullptr, DI_NORMAL);
        } else if (bitmap_) {
            BITMAP info{};
            ::GetObjectW(bitmap_, sizeof info, &info);
            MemoryDc memory(dc);
            SelectGuard select(memory.Get(), bitmap_);
            if (options_ & kStretch) {
                ::SetStretchBltMode(dc, COLORONCOLOR);
                ::StretchBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, memory.Get(), 0, 0,
                             info.bmWidth, info.bmHeight, SRCCOPY);
            } else {
                int x = rc.left, y = rc.top;
                if (options_ & kCentered) {
                    x += (rc.right - rc.left - info.bmWidth) / 2;
                    y += (rc.bottom - rc.top - info.bmHeight) / 2;
                }
                ::BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY);
            }
        }
        break;
    case ControlKind::Bevel:
        if (options_ & kTopLine) {
            RECT line{rc.left, rc.top, rc.right, rc.top + 2};
            ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        } else {
            ::DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
        }
        break;
    case ControlKind::SpeedButton: {
        // A button face of its own, whatever it stands on.
        ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
        if (pressed_) {
            ::DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
        } else if (hot_) {
            ::DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
        }
        SelectGuard select(dc, font_);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, enabled_ ? textColor_ : ::GetSysColor(COLOR_GRAYTEXT));
        if (pressed_) ::OffsetRect(&rc, 1, 1);
        ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        break;
    }
    default:
        break;
    }
}

void Control::PaintContainer(HDC dc) const {
    RECT rc;
    ::GetClientRect(Handle(), &rc);
    ::FillRect(dc, &rc, BackBrush());
    if (kind_ == ControlKind::Panel) {
        // A raised outer and a lowered inner bevel, one pixel each.
        ::DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
        ::InflateRect(&rc, -1, -1);
        ::DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
    } else {
        SelectGuard select(dc, font_);
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc, &tm);
        RECT frame = rc;
        frame.top = tm.tmHeight / 2;
        ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        if (!caption_.empty()) {
            RECT text{8, 0, 0, 0};
            ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text, DT_CALCRECT | DT_SINGLELINE);
            ::SetBkMode(dc, OPAQUE);
            ::SetBkColor(dc, BackColor());
            ::SetTextColor(dc, textColor_);
            ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text, DT_SINGLELINE);
        }
    }
    form_.PaintGraphicChildren(dc, this);
}

LRESULT Control::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsContainer()) return DefaultProc(message, wParam, lParam);
    // Containers pass on what their children report and route the mouse to their graphic
    // children, as the form does for its own.
    LRESULT result = 0;
    if (form_.HandleChildMessage(message, wParam, lParam, result)) return result;
    if (form_.RouteMouse(Handle(), this, message, wParam, lParam)) return 0;
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT fills the whole surface
    case WM_PAINT: {
        PaintDc dc(Handle());
        PaintContainer(dc.Get());
        return 0;
    }
    case WM_SETTEXT:
        caption_ = reinterpret_cast<const wchar_t*>(lParam);
        ::InvalidateRect(Handle(), nullptr, TRUE);
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace siborang::win
