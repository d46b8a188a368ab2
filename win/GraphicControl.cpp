#include "win/GraphicControl.h"

#include "core/Errors.h"
#include "win/GraphicHost.h"

namespace siborang::win {
namespace {

GraphicHost& HostOf(ControlSite& site, Control* parent) {
    GraphicHost* host = parent ? parent->Host() : &site.Graphics();
    if (!host) throw AppError("A graphic control needs a form or container as parent: " + parent->Name());
    return *host;
}

}  // namespace

GraphicControl::GraphicControl(ControlSite& site, Control* parent, const ControlRow& row)
    : Control(site, parent, row), host_(HostOf(site, parent)) {
    host_.Add(*this);
}

void GraphicControl::NotifyFactsChanged(DWORD event) const {
    // Not even counted out of sight: the items measure their texts.
    if (!::IsWindowVisible(ParentHandle())) return;
    if (const LONG id = host_.ItemId(*this)) NotifyAccessible(event, ParentHandle(), id);
}

COLORREF GraphicControl::DrawnTextColor() const noexcept {
    return Enabled() ? TextColor() : ::GetSysColor(COLOR_GRAYTEXT);
}

}  // namespace siborang::win
