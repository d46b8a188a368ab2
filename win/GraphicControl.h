#pragma once
// The base of the graphic controls: windowless, drawn on their parent's surface (the form's or
// a container's) by its GraphicHost.
#include <optional>

#include "win/Accessible.h"
#include "win/Control.h"

namespace siborang::win {

class GraphicControl : public Control {
public:
    virtual void Paint(HDC dc) const = 0;
    // What a screen reader is told of it, as an item of its surface's object, in the surface's
    // coordinates; nullopt: nothing (a picture, a line).
    virtual std::optional<AccessibleItem> AccessibleFacts() const { return std::nullopt; }

protected:
    GraphicControl(ControlSite& site, Control* parent, const ControlRow& row);
    COLORREF DrawnTextColor() const noexcept;
    // Tells listening readers that what AccessibleFacts says has changed.
    void NotifyFactsChanged(DWORD event) const;

private:
    GraphicHost& host_;
};

}  // namespace siborang::win
