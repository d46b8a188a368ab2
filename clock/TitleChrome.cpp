#include "clock/TitleChrome.h"

namespace siborang {

void TitleMouseDown(TitleDrag& drag, win::Form& window) {
    drag.Dragging = true;
    POINT cursor;
    ::GetCursorPos(&cursor);
    const RECT bounds = window.BoundsRect();
    drag.DragOffset = {cursor.x - bounds.left, cursor.y - bounds.top};
}

void TitleMouseMove(TitleDrag& drag, win::Form& window) {
    if (!drag.Dragging) return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    window.SetLeft(cursor.x - drag.DragOffset.x);
    window.SetTop(cursor.y - drag.DragOffset.y);
}

void TitleMouseUp(TitleDrag& drag) { drag.Dragging = false; }

}  // namespace siborang
