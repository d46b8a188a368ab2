#include "win/TitleChrome.h"

#include "win/Form.h"

namespace siborang::win {

void TitleDragged::Panel1MouseDown(Control&, MouseButton, unsigned, int, int) {
    dragging_ = true;
    POINT cursor;
    ::GetCursorPos(&cursor);
    const RECT bounds = window_.BoundsRect();
    dragOffset_ = {cursor.x - bounds.left, cursor.y - bounds.top};
}

void TitleDragged::Panel1MouseMove(Control&, MouseButton, unsigned, int, int) {
    if (!dragging_) return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    window_.SetLeft(cursor.x - dragOffset_.x);
    window_.SetTop(cursor.y - dragOffset_.y);
}

void TitleDragged::Panel1MouseUp(Control&, MouseButton, unsigned, int, int) { dragging_ = false; }

}  // namespace siborang::win
