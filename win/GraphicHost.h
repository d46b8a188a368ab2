#pragma once
// The surface that graphic controls are drawn on: a form or a container. It paints them and
// routes the mouse to the one under it (or, while a button is held, to the one it went down
// on), and else to the container itself.
#include <vector>

#include "win/Win32.h"

namespace siborang::win {

class Control;
class GraphicControl;

class GraphicHost {
public:
    // `owner`: the container that gets the mouse where no graphic control lies (nullptr: a form).
    explicit GraphicHost(Control* owner) noexcept : owner_(owner) {}
    GraphicHost(const GraphicHost&) = delete;
    GraphicHost& operator=(const GraphicHost&) = delete;

    void Add(GraphicControl& control) { children_.push_back(&control); }
    // In creation order, the last made on top.
    const std::vector<GraphicControl*>& Children() const noexcept { return children_; }

    void Paint(HDC dc) const;
    // Mouse input on `window` (the host's own); true when it was used up here.
    bool RouteMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    GraphicControl* ChildAt(POINT at) const noexcept;

    Control* owner_;
    std::vector<GraphicControl*> children_;
    Control* capture_ = nullptr;  // the control a held button went down on
};

}  // namespace siborang::win
