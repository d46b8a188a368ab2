#include "win/Control.h"

#include "win/Form.h"
#include "win/Text.h"

namespace siborang::win {
namespace {

void BeepOnce() noexcept { ::MessageBeep(MB_OK); }

}  // namespace

void (*RefusalBeep)() noexcept = &BeepOnce;

COLORREF ResolveColor(Color color) {
    if (color & 0x80000000u) return ::GetSysColor(static_cast<int>(color & 0xFFu));
    return static_cast<COLORREF>(color);
}

Control::Control(Form& form, Control* parent, const ControlProps& props)
    : caption_(props.caption),
      bounds_(form.CurrentDpi().Edges(props.left, props.top, props.width, props.height)),
      form_(form),
      parent_(parent),
      left96_(props.left),
      top96_(props.top),
      width96_(props.width),
      height96_(props.height),
      fontSpec_(props.font),
      name_(props.name),
      labelledBy_(props.labelledBy ? props.labelledBy : ""),
      accessibleName_(props.accessibleName ? props.accessibleName : L""),
      tag_(props.tag),
      tabOrder_(props.tabOrder),
      options_(props.options),
      enabled_(!(props.options & kDisabled)) {
    font_ = DesignedFont();
    const COLORREF inheritedColor = parent ? parent->TextColor() : form.TextColor();
    textColor_ = props.font.color == kParentColor ? inheritedColor : ResolveColor(props.font.color);
    if (props.color != kParentColor) {
        backColor_ = ResolveColor(props.color);
        backBrush_.Reset(::CreateSolidBrush(backColor_));
    }
}

HFONT Control::DesignedFont() const {
    return form_.FontFor(fontSpec_, parent_ ? parent_->FontHandle() : form_.FontHandle());
}

RECT Control::DesignedBounds() const noexcept {
    return form_.CurrentDpi().Edges(left96_, top96_, width96_, height96_);
}

void Control::ApplyDpi() {
    bounds_ = DesignedBounds();
    font_ = DesignedFont();
}

HWND Control::ParentHandle() const noexcept { return parent_ ? parent_->Handle() : form_.Handle(); }

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
        const HWND focus = ::GetFocus();
        if (!enabled && focus && (focus == Handle() || ::IsChild(Handle(), focus))) form_.Keyboard().HandFocusOnFrom(*this);
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
    return parent_ ? parent_->BackColor() : form_.BackColor();
}

HBRUSH Control::BackBrush() const noexcept {
    if (backBrush_) return backBrush_.Get();
    return parent_ ? parent_->BackBrush() : form_.BackBrush();
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

std::optional<std::wstring> Control::LayoutAccessibleName() const {
    if (!labelledBy_.empty()) {
        if (const Control* label = form_.FindControl(labelledBy_)) return WithoutMnemonic(label->Text());
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
    const RECT bounds = Bounds();
    const bool inside = at.x >= 0 && at.y >= 0 && at.x < bounds.right - bounds.left && at.y < bounds.bottom - bounds.top;
    if (OnMouseUp) OnMouseUp(*this, button, shift, at.x, at.y);
    if (button == MouseButton::Left && inside && Enabled() && OnClick) OnClick(*this);
}

}  // namespace siborang::win
