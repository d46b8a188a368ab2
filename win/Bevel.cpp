#include "win/Bevel.h"

namespace siborang::win {

void Bevel::Paint(HDC dc) const {
    RECT rc = Bounds();
    if (topLine_) {
        RECT line{rc.left, rc.top, rc.right, rc.top + 2};
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    } else {
        ::DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
    }
}

}  // namespace siborang::win
