#include "win/Control.h"

#include "core/Mnemonic.h"
#include "win/DialogKeyboard.h"
#include "win/Text.h"
#include "win/Window.h"

namespace siborang::win {
namespace {

void BeepOnce() noexcept { ::MessageBeep(MB_OK); }

}  // namespace

void (*RefusalBeep)() noexcept = &BeepOnce;

COLORREF ResolveColor(Color color) {
    if (color & 0x80000000u) return ::GetSysColor(static_cast<int>(color & 0xFFu));
    return static_cast<COLORREF>(color);
}

Control::Control(ControlSite& site, Control* parent, const ControlRow& row)
    : caption_(row.caption),
      bounds_(site.CurrentDpi().Edges(row.left, row.top, row.width, row.height)),
      site_(site),
      parent_(parent),
      left96_(row.left),
      top96_(row.top),
      width96_(row.width),
      height96_(row.height),
      fontSpec_(row.font),
      name_(row.name),
      labelledBy_(row.labelledBy ? row.labelledBy : ""),
      accessibleName_(row.accessibleName ? row.accessibleName : L""),
      tag_(row.tag),
      tabOrder_(row.tabOrder),
      enabled_(!row.disabled) {
    font_ = DesignedFont();
    const COLORREF inheritedColor = parent ? parent->TextColor() : site.TextColor();
    textColor_ = row.font.color == kParentColor ? inheritedColor : ResolveColor(row.font.color);
    if (row.color != kParentColor) {
        backColor_ = ResolveColor(row.color);
        backBrush_.Reset(::CreateSolidBrush(backColor_));
    }
}

HFONT Control::DesignedFont() const {
    return site_.FontFor(fontSpec_, parent_ ? parent_->FontHandle() : site_.FontHandle());
}

RECT Control::DesignedBounds() const noexcept {
    return site_.CurrentDpi().Edges(left96_, top96_, width96_, height96_);
}

bool Control::Inside(POINT at) const noexcept {
    const RECT bounds = Bounds();
    return at.x >= 0 && at.y >= 0 && at.x < bounds.right - bounds.left && at.y < bounds.bottom - bounds.top;
}

void Control::ApplyDpi() {
    bounds_ = DesignedBounds();
    font_ = DesignedFont();
}

HWND Control::ParentHandle() const noexcept { return parent_ ? parent_->Handle() : site_.SiteWindow(); }

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
    if (Handle()) {
        ::SetWindowTextW(Handle(), caption_.c_str());
    } else {
        Invalidate();
    }
}

bool Control::Enabled() const noexcept { return Handle() ? ::IsWindowEnabled(Handle()) != FALSE : enabled_; }

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (Handle()) {
        // Disabled, the control drops the focus to nothing (a button that disables itself when
        // pressed); the form hands it on as Tab would.
        if (!enabled && FocusWithin(Handle())) site_.Keyboard().HandFocusOnFrom(*this);
        ::EnableWindow(Handle(), enabled);
    } else {
        Invalidate();
    }
}

bool Control::Visible() const noexcept {
    return Handle() ? (::GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0 : visible_;
}

void Control::SetVisible(bool visible) {
    if (Handle()) {
        ::ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
    } else {
        visible_ = visible;
        Invalidate();
    }
}

void Control::SetFocus() {
    if (Handle()) ::SetFocus(Handle());
}

COLORREF Control::BackColor() const noexcept {
    if (backBrush_) return backColor_;
    return parent_ ? parent_->BackColor() : site_.BackColor();
}

HBRUSH Control::BackBrush() const noexcept {
    if (backBrush_) return backBrush_.Get();
    return parent_ ? parent_->BackBrush() : site_.BackBrush();
}

void Control::Invalidate() const {
    if (Handle()) {
        ::InvalidateRect(Handle(), nullptr, TRUE);
    } else {
        // A little beyond the bounds: an underline may stand just below them.
        RECT area = Bounds();
        const int margin = site_.CurrentDpi().Scale(2);
        ::InflateRect(&area, margin, margin);
        ::InvalidateRect(ParentHandle(), &area, TRUE);
    }
}

std::optional<std::wstring> Control::LayoutAccessibleName() const {
    if (!labelledBy_.empty()) {
        if (const Control* label = site_.FindControl(labelledBy_)) return WithoutMnemonic(label->Text());
    }
    if (!accessibleName_.empty()) return accessibleName_;
    return std::nullopt;
}

void Control::MouseDown(MouseButton button, unsigned shift, POINT at) {
    if (OnMouseDown) OnMouseDown(*this, button, shift, at.x, at.y);
}

void Control::MouseMove(unsigned shift, POINT at) {
    if (OnMouseMove) OnMouseMove(*this, MouseButton::Left, shift, at.x, at.y);
}

void Control::MouseUp(MouseButton button, unsigned shift, POINT at) {
    const bool inside = Inside(at);
    if (OnMouseUp) OnMouseUp(*this, button, shift, at.x, at.y);
    if (button == MouseButton::Left && inside && Enabled() && OnClick) OnClick(*this);
}

}  // namespace siborang::win
