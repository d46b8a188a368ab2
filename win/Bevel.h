#pragma once
// A sunken box or an etched line.
#include "win/GraphicControl.h"

namespace siborang::win {

class Bevel final : public GraphicControl {
public:
    struct Args {
        bool topLine = false;  // only the top edge, else a box
    };

    Bevel(ControlSite& site, Control* parent, const ControlRow& row, const Args& args)
        : GraphicControl(site, parent, row), topLine_(args.topLine) {}
    void Paint(HDC dc) const override;

private:
    bool topLine_;
};

}  // namespace siborang::win
