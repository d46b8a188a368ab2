#pragma once
// The surface that graphic controls are drawn on: a form or a container. It paints them and
// routes the mouse to the one under it (or, while a button is held, to the one it went down
// on), and else to the container itself.
#include <cstddef>
#include <vector>

#include "win/Accessible.h"
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
    // Mouse input on `window` (the host's own), and a screen reader's press posted to it; true
    // when the message was used up here.
    bool Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The visible graphic controls a reader can read, in creation order, as items of
    // `window`'s object (in screen coordinates).
    std::vector<AccessibleItem> AccessibleItems(HWND window) const;
    // The child id of `control` among those items; 0 when it is none of them.
    LONG ItemId(const GraphicControl& control) const;
    // Presses item `index` of AccessibleItems once the reader has its answer: the click is
    // posted, since it may open a modal window while the reader waits. False when the item
    // cannot be pressed.
    bool PressItem(HWND window, std::size_t index) const;

private:
    // Calls visit(place among the children, facts) for each child a reader sees, in item
    // order, until it returns true; true when one did.
    template <class Visit>
    bool VisitItems(Visit visit) const;
    bool RouteMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    GraphicControl* ChildAt(POINT at) const noexcept;

    Control* owner_;
    std::vector<GraphicControl*> children_;
    Control* capture_ = nullptr;  // the control a held button went down on
};

}  // namespace siborang::win
