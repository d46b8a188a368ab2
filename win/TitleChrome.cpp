#include "win/TitleChrome.h"

#include "win/Form.h"

namespace siborang::win {

void TitleDragged::Panel1MouseDown(Control&, MouseButton, unsigned, int, int) {
    Dragging = true;
    POINT cursor;
    ::GetCursorPos(&cursor);
    const RECT bounds = window_.BoundsRect();
    DragOffset = {cursor.x - bounds.left, cursor.y - bounds.top};
}

void TitleDragged::Panel1MouseMove(Control&, MouseButton, unsigned, int, int) {
    if (!Dragging) return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    window_.SetLeft(cursor.x - DragOffset.x);
    window_.SetTop(cursor.y - DragOffset.y);
}

void TitleDragged::Panel1MouseUp(Control&, MouseButton, unsigned, int, int) { Dragging = false; }

}  // namespace siborang::win
