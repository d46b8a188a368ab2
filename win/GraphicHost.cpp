#include "win/GraphicHost.h"

#include <utility>

#include "win/GraphicControl.h"

namespace siborang::win {

// A press a reader asked for arrives with the control's place among the host's children (a
// place, not a pointer: the control may be gone when it arrives).
bool GraphicHost::Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != AccessiblePressMessage() || message == 0) return RouteMouse(window, message, wParam, lParam);
    if (wParam < children_.size() && children_[wParam]->Visible()) children_[wParam]->Press();
    return true;
}

template <class Visit>
bool GraphicHost::VisitItems(Visit visit) const {
    for (std::size_t i = 0; i < children_.size(); ++i) {
        if (!children_[i]->Visible()) continue;
        if (auto facts = children_[i]->AccessibleFacts(); facts && visit(i, *facts)) return true;
    }
    return false;
}

std::vector<AccessibleItem> GraphicHost::AccessibleItems(HWND window) const {
    std::vector<AccessibleItem> items;
    VisitItems([&](std::size_t, AccessibleItem& item) {
        ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&item.bounds), 2);
        items.push_back(std::move(item));
        return false;
    });
    return items;
}

LONG GraphicHost::ItemId(const GraphicControl& control) const {
    LONG id = 0;
    const bool found = VisitItems([&](std::size_t i, const AccessibleItem&) {
        ++id;
        return children_[i] == &control;
    });
    return found ? id : 0;
}

bool GraphicHost::PressItem(HWND window, std::size_t index) const {
    std::size_t item = 0;
    bool pressed = false;
    VisitItems([&](std::size_t i, const AccessibleItem& facts) {
        if (item++ != index) return false;
        pressed = !facts.defaultAction.empty() && !(facts.state & STATE_SYSTEM_UNAVAILABLE) &&
                  ::PostMessageW(window, AccessiblePressMessage(), i, 0);
        return true;
    });
    return pressed;
}

void GraphicHost::Paint(HDC dc) const {
    for (const GraphicControl* c : children_) {
        if (c->Visible()) c->Paint(dc);
    }
}

GraphicControl* GraphicHost::ChildAt(POINT at) const noexcept {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        if (!(*it)->Visible()) continue;
        const RECT rc = (*it)->Bounds();
        if (::PtInRect(&rc, at)) return *it;
    }
    return nullptr;
}

bool GraphicHost::RouteMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MouseButton button = MouseButton::Left;
    enum { Down, Up, Move } what;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: what = Down; break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: what = Down, button = MouseButton::Right; break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: what = Down, button = MouseButton::Middle; break;
    case WM_LBUTTONUP: what = Up; break;
    case WM_RBUTTONUP: what = Up, button = MouseButton::Right; break;
    case WM_MBUTTONUP: what = Up, button = MouseButton::Middle; break;
    case WM_MOUSEMOVE: what = Move; break;
    case WM_MOUSELEAVE:
        for (GraphicControl* c : children_) c->MouseLeave();
        return false;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-press: the press ends without a click.
        if (Control* held = std::exchange(capture_, nullptr)) held->MouseUp(button, 0, POINT{-1, -1});
        return false;
    default:
        return false;
    }
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const unsigned shift = LOWORD(wParam);
    GraphicControl* under = ChildAt(at);
    Control* target = capture_ ? capture_ : under;
    if (what == Move) {
        for (GraphicControl* c : children_) {
            if (c != target) c->MouseLeave();
        }
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        ::TrackMouseEvent(&track);
    }
    if (!target) target = owner_;
    if (!target) return false;
    POINT local = at;
    if (!target->Handle()) {
        local.x -= target->Bounds().left;
        local.y -= target->Bounds().top;
    }
    switch (what) {
    case Down:
        if (!capture_) {
            capture_ = target;
            ::SetCapture(window);
        }
        target->MouseDown(button, shift, local);
        break;
    case Up:
        if (capture_) {
            capture_ = nullptr;
            ::ReleaseCapture();
        }
        target->MouseUp(button, shift, local);
        break;
    case Move:
        target->MouseMove(shift, local);
        break;
    }
    return true;
}

}  // namespace siborang::win
