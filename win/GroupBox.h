#pragma once
// An etched frame with a caption; a reader's grouping, named by the caption.
#include <optional>
#include <string>

#include "win/Container.h"

namespace siborang::win {

class GroupBox final : public Container {
public:
    struct Args {};

    GroupBox(ControlSite& site, Control* parent, const ControlRow& row, const Args& args);
    // Where the caption begins, from the frame's left edge (at 96 dpi).
    static constexpr int kCaptionInset = 8;
    std::optional<long> AccessibleRole() const override { return ROLE_SYSTEM_GROUPING; }
    std::optional<std::wstring> AccessibleName() const override;

protected:
    void PaintFrame(HDC dc, RECT client) const override;
};

}  // namespace siborang::win
