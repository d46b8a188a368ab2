#include "win/GraphicControls.h"

#include "core/WordWrap.h"
#include "win/Application.h"
#include "win/Form.h"
#include "win/GraphicHost.h"
#include "win/Text.h"

namespace siborang::win {
namespace {

GraphicHost& HostOf(Form& form, Control* parent) {
    GraphicHost* host = parent ? parent->Host() : &form.Graphics();
    if (!host) throw AppError("A graphic control needs a form or container as parent: " + parent->Name());
    return *host;
}

}  // namespace

GraphicControl::GraphicControl(Form& form, Control* parent, const ControlProps& props)
    : Control(form, parent, props), host_(HostOf(form, parent)) {
    host_.Add(*this);
}

void GraphicControl::NotifyFactsChanged(DWORD event) const {
    // Not even counted out of sight: the items measure their texts.
    if (!::IsWindowVisible(ParentHandle())) return;
    if (const LONG id = host_.ItemId(*this)) NotifyAccessible(event, ParentHandle(), id);
}

COLORREF GraphicControl::DrawnTextColor() const noexcept {
    return Enabled() ? TextColor() : ::GetSysColor(COLOR_GRAYTEXT);
}

Label::Label(Form& form, Control* parent, const ControlProps& props)
    : GraphicControl(form, parent, props), fitPending_((props.options & kAutoSize) != 0) {}

RECT Label::Bounds() const noexcept {
    if (fitPending_) FitNow();
    return bounds_;
}

void Label::SetText(std::wstring_view text) {
    const bool changed = text != caption_;
    Control::SetText(text);
    if (Options() & kAutoSize) {
        fitPending_ = true;
        Invalidate();  // where the new size reaches
    }
    if (changed) NotifyFactsChanged(EVENT_OBJECT_NAMECHANGE);
}

void Label::ApplyDpi() {
    GraphicControl::ApplyDpi();
    fitPending_ = (Options() & kAutoSize) != 0;
}

void Label::FitNow() const noexcept {
    fitPending_ = false;
    // The size of the text on one line.
    WindowDc screen(nullptr);
    SelectGuard select(screen.Get(), FontHandle());
    RECT rc{0, 0, 0, 0};
    ::DrawTextW(screen.Get(), caption_.c_str(), static_cast<int>(caption_.size()), &rc, DT_CALCRECT | DT_SINGLELINE);
    bounds_.right = bounds_.left + rc.right;
    bounds_.bottom = bounds_.top + rc.bottom;
}

std::optional<AccessibleItem> Label::AccessibleFacts() const {
    // An item even without text, so that the ids of the items after it stay as they are when
    // the program empties it (the editor's old-memo mark).
    AccessibleItem item;
    item.name = WithoutMnemonic(caption_);
    if (item.name.empty()) item.state |= STATE_SYSTEM_INVISIBLE;
    item.bounds = Bounds();
    return item;
}

void Label::Paint(HDC dc) const {
    RECT rc = Bounds();
    SelectGuard select(dc, FontHandle());
    ::SetTextColor(dc, DrawnTextColor());
    if (Options() & kTransparent) {
        ::SetBkMode(dc, TRANSPARENT);
    } else {
        ::SetBkMode(dc, OPAQUE);
        ::SetBkColor(dc, BackColor());
        ::FillRect(dc, &rc, BackBrush());
    }
    const UINT align = (Options() & kCentered) ? DT_CENTER : DT_LEFT;
    // A fixed-size label cuts off rows that do not fit. A self-sizing one already fits its
    // text, and some fonts draw their underline just below the cell they measure.
    const int saved = ::SaveDC(dc);
    if (!(Options() & kAutoSize)) ::IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
    if (Options() & kWrapAtSpaces) {
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
        const UINT lines = (Options() & kWordWrap) ? DT_WORDBREAK : DT_SINGLELINE;
        ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &rc, DT_EXPANDTABS | lines | align);
    }
    ::RestoreDC(dc, saved);
}

Image::Image(Form& form, Control* parent, const ControlProps& props)
    : GraphicControl(form, parent, props), picture_(props.picture) {
    if (!picture_) return;
    if (props.options & kIconPicture) {
        LoadIcon();
    } else {
        bitmap_ = form.App().Gdi().SharedBitmap(picture_);
    }
}

void Image::LoadIcon() {
    iconSize_ = Owner().CurrentDpi().Scale(kIconSize);
    icon_ = Owner().App().Gdi().SharedIcon(picture_, iconSize_);
}

void Image::ApplyDpi() {
    GraphicControl::ApplyDpi();
    if (icon_) LoadIcon();
}

void Image::Paint(HDC dc) const {
    const RECT rc = Bounds();
    const bool centered = (Options() & kCentered) != 0;
    if (icon_) {
        int x = rc.left, y = rc.top;
        if (centered) {
            x += (rc.right - rc.left - iconSize_) / 2;
            y += (rc.bottom - rc.top - iconSize_) / 2;
        }
        ::DrawIconEx(dc, x, y, icon_, iconSize_, iconSize_, 0, nullptr, DI_NORMAL);
        return;
    }
    if (!bitmap_) return;
    BITMAP info{};
    ::GetObjectW(bitmap_, sizeof info, &info);
    const Dpi dpi = Owner().CurrentDpi();
    int x = rc.left, y = rc.top;
    int width = dpi.Scale(info.bmWidth), height = dpi.Scale(info.bmHeight);
    if (Options() & kStretch) {
        width = rc.right - rc.left;
        height = rc.bottom - rc.top;
    } else if (centered) {
        x += (rc.right - rc.left - width) / 2;
        y += (rc.bottom - rc.top - height) / 2;
    }
    MemoryDc memory(dc);
    SelectGuard select(memory.Get(), bitmap_);
    if (width == info.bmWidth && height == info.bmHeight) {
        ::BitBlt(dc, x, y, width, height, memory.Get(), 0, 0, SRCCOPY);
        return;
    }
    // At 96 dpi the pictures keep the look they were drawn with; enlarged for a larger scale
    // they are smoothed, where dropping and doubling pixels would make them blocky.
    const bool design = dpi.Value() == kDesignDpi;
    const int saved = ::SaveDC(dc);
    ::SetStretchBltMode(dc, design ? COLORONCOLOR : HALFTONE);
    if (!design) ::SetBrushOrgEx(dc, 0, 0, nullptr);  // as halftone stretching requires
    ::StretchBlt(dc, x, y, width, height, memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    ::RestoreDC(dc, saved);
}

void Bevel::Paint(HDC dc) const {
    RECT rc = Bounds();
    if (Options() & kTopLine) {
        RECT line{rc.left, rc.top, rc.right, rc.top + 2};
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    } else {
        ::DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
    }
}

void SpeedButton::Paint(HDC dc) const {
    RECT rc = Bounds();
    // A button face of its own, whatever it stands on.
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    if (pressed_) {
        ::DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
    } else if (hot_) {
        ::DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
    }
    SelectGuard select(dc, FontHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, DrawnTextColor());
    if (pressed_) ::OffsetRect(&rc, 1, 1);
    ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

std::optional<AccessibleItem> SpeedButton::AccessibleFacts() const {
    AccessibleItem item;
    item.name = WithoutMnemonic(caption_);
    item.role = ROLE_SYSTEM_PUSHBUTTON;
    item.state = (Enabled() ? 0 : STATE_SYSTEM_UNAVAILABLE) | (pressed_ ? STATE_SYSTEM_PRESSED : 0) |
                 (hot_ ? STATE_SYSTEM_HOTTRACKED : 0);
    item.defaultAction = kPressAction;
    item.bounds = Bounds();
    return item;
}

void SpeedButton::Press() {
    if (Enabled() && OnClick) OnClick(*this);
}

void SpeedButton::MouseDown(MouseButton button, unsigned shift, POINT at) {
    if (button == MouseButton::Left && Enabled()) {
        pressed_ = true;
        Invalidate();
    }
    GraphicControl::MouseDown(button, shift, at);
}

void SpeedButton::MouseMove(unsigned shift, POINT at) {
    if (!hot_) {
        hot_ = true;
        Invalidate();
    }
    GraphicControl::MouseMove(shift, at);
}

void SpeedButton::MouseUp(MouseButton button, unsigned shift, POINT at) {
    // A click is a press that began on the button and ends inside it, whichever button.
    const RECT bounds = Bounds();
    const bool inside = at.x >= 0 && at.y >= 0 && at.x < bounds.right - bounds.left && at.y < bounds.bottom - bounds.top;
    const bool click = pressed_ && inside;
    if (pressed_) {
        pressed_ = false;
        Invalidate();
    }
    if (OnMouseUp) OnMouseUp(*this, button, shift, at.x, at.y);
    if (click) Press();
}

void SpeedButton::MouseLeave() {
    if (hot_) {
        hot_ = false;
        Invalidate();
    }
}

}  // namespace siborang::win
