#pragma once
// A window of our own that holds controls: their notifications reach their handlers through
// it, and its graphic controls are drawn on it and get the mouse.
#include <cstddef>
#include <string_view>
#include <vector>

#include "win/GraphicHost.h"
#include "win/WindowedControl.h"

namespace siborang::win {

class Container : public WindowedControl {
public:
    GraphicHost* Host() noexcept override { return &graphics_; }
    void SetText(std::wstring_view text) override;
    // Its graphic controls are its object's items.
    std::vector<AccessibleItem> AccessibleItems() const override { return graphics_.AccessibleItems(Handle()); }
    bool DoItemDefaultAction(std::size_t index) override { return graphics_.PressItem(Handle(), index); }

protected:
    Container(ControlSite& site, Control* parent, const ControlRow& row, const wchar_t* className);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The container's own look, under its graphic children.
    virtual void PaintFrame(HDC dc, RECT client) const = 0;

private:
    GraphicHost graphics_;
};

}  // namespace siborang::win
