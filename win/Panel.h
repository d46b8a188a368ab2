#pragma once
// A raised outer and a lowered inner bevel, in its own colour.
#include "win/Container.h"

namespace siborang::win {

class Panel final : public Container {
public:
    struct Args {};

    Panel(ControlSite& site, Control* parent, const ControlRow& row, const Args& args);

protected:
    void PaintFrame(HDC dc, RECT client) const override;
};

}  // namespace siborang::win
