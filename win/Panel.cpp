#include "win/Panel.h"

namespace siborang::win {

Panel::Panel(ControlSite& site, Control* parent, const ControlRow& row, const Args&)
    : Container(site, parent, row, L"TPanel") {}

void Panel::PaintFrame(HDC dc, RECT client) const {
    ::DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    ::InflateRect(&client, -1, -1);
    ::DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
}

}  // namespace siborang::win
