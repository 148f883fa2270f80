#include "store/window_frame.h"

namespace lect32 {

int AdjustRectForFrame(POINT origin, RECT& rect) {
    const int across = 1 - GetSystemMetrics(SM_CXFRAME) - origin.x;
    const int up = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME) + origin.y - 1;
    rect.left += across;
    rect.right += across;
    rect.top -= up;
    rect.bottom -= up;
    return up;
}

}  // namespace lect32
