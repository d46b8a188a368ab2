#include "win/SpeedButton.h"

#include "core/Mnemonic.h"
#include "win/Handles.h"
#include "win/Text.h"

namespace siborang::win {

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
    const bool click = pressed_ && Inside(at);
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
