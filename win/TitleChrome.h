#pragma once
// The title-panel chrome shared by the main window and the memo editor: a press on the
// black title panel, its bitmap or its label, then moving, drags the whole window. The
// cursor's screen position is used, never the event's own coordinates, so the drag follows
// the cursor wherever it goes, off the screen too.
#include "win/Form.h"

namespace siborang::win {

struct TitleDrag {
    bool Dragging = false;
    POINT DragOffset{};  // cursor position minus the window's top-left corner
};

void TitleMouseDown(TitleDrag& drag, Form& window);
void TitleMouseMove(TitleDrag& drag, Form& window);
void TitleMouseUp(TitleDrag& drag);

}  // namespace siborang::win
