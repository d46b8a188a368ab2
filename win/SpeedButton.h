#pragma once
// A flat button: a face of its own, raised under the mouse, sunk while held; a press and
// release on it is a click.
#include <optional>

#include "win/GraphicControl.h"

namespace siborang::win {

class SpeedButton final : public GraphicControl {
public:
    struct Args {
        bool helpKey = false;  // F1 anywhere in the form presses it, as the key for help
    };

    SpeedButton(ControlSite& site, Control* parent, const ControlRow& row, const Args& args)
        : GraphicControl(site, parent, row), helpKey_(args.helpKey) {}
    void Paint(HDC dc) const override;
    // A push button that a reader presses as a click does; Press is the click itself.
    std::optional<AccessibleItem> AccessibleFacts() const override;
    void Press() override;
    bool PressedBy(PressKey key) const noexcept override { return key == PressKey::Help && helpKey_; }
    void MouseDown(MouseButton button, unsigned shift, POINT at) override;
    void MouseMove(unsigned shift, POINT at) override;
    void MouseUp(MouseButton button, unsigned shift, POINT at) override;
    void MouseLeave() override;

private:
    bool helpKey_;
    bool pressed_ = false;
    bool hot_ = false;
};

}  // namespace siborang::win
