// The shadow of tables and frames: a band darkened by ANDing a 16 x 16 halftone picture over it.
#ifndef LECT32_PAGE_SHADOW_H
#define LECT32_PAGE_SHADOW_H

#include "winplat/draw.h"

namespace lect32 {

// Darkens the rectangle with the program's "SHADEBM_T" picture in 16-pixel tiles on a grid that
// starts at (0, 0) of the device, its rows one pixel higher when originY is odd, so that the
// halftone keeps its place under content scrolled by an odd number of rows. False when the
// picture cannot be had.
bool DrawShadow(HDC device, const RECT& rect, int originX, int originY);

}  // namespace lect32

#endif
