#include "win/TitleChrome.h"

namespace siborang::win {

void TitleMouseDown(TitleDrag& drag, Form& window) {
    drag.Dragging = true;
    POINT cursor;
    ::GetCursorPos(&cursor);
    const RECT bounds = window.BoundsRect();
    drag.DragOffset = {cursor.x - bounds.left, cursor.y - bounds.top};
}

void TitleMouseMove(TitleDrag& drag, Form& window) {
    if (!drag.Dragging) return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    window.SetLeft(cursor.x - drag.DragOffset.x);
    window.SetTop(cursor.y - drag.DragOffset.y);
}

void TitleMouseUp(TitleDrag& drag) { drag.Dragging = false; }

}  // namespace siborang::win
