#pragma once
// The title-panel chrome shared by the main window and the memo editor: a press on the
// black title panel, its bitmap or its label, then moving, drags the whole window. The
// cursor's screen position is used, never the event's own coordinates, so the drag follows
// the cursor wherever it goes, off the screen too.
#include "win/ControlRow.h"
#include "win/Win32.h"

namespace siborang::win {

class Control;
class Form;

// A form dragged by its title panel derives from this; the rows of the panel, its bitmap and
// its label name these three as their mouse handlers.
class TitleDragged {
public:
    void Panel1MouseDown(Control& sender, MouseButton button, unsigned shift, int x, int y);
    void Panel1MouseMove(Control& sender, MouseButton button, unsigned shift, int x, int y);
    void Panel1MouseUp(Control& sender, MouseButton button, unsigned shift, int x, int y);

protected:
    explicit TitleDragged(Form& window) noexcept : window_(window) {}

private:
    Form& window_;
    bool Dragging = false;
    POINT DragOffset{};  // cursor position minus the window's top-left corner
};

}  // namespace siborang::win
