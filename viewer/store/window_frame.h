// A rectangle taken from a window's client area to the screen space its frame covers.
#ifndef LECT32_STORE_WINDOW_FRAME_H
#define LECT32_STORE_WINDOW_FRAME_H

#include "winplat/user.h"

namespace lect32 {

// Moves the left and right edges by 1 - SM_CXFRAME - origin.x and the top and bottom edges up
// by the returned amount, SM_CYCAPTION + SM_CYFRAME + origin.y - 1.
int AdjustRectForFrame(POINT origin, RECT& rect);

}  // namespace lect32

#endif
