// The marks the page painter draws around a selected object. Each is drawn by inverting pixels
// (R2_NOTXORPEN with a black pen and brush), so drawing the same mark a second time takes it off
// again and restores every pixel; each call gives back the device's raster operation, pen and
// brush as they were. Rectangles are left, top, right, bottom.
#ifndef LECT32_PAGE_SELECTION_FRAMES_H
#define LECT32_PAGE_SELECTION_FRAMES_H

#include "winplat/types.h"

namespace lect32 {

// 45-degree lines 4 pixels apart inside the rectangle (right and bottom left out), each from
// the left or bottom edge up to the top or right edge. The first line starts the larger of
// left mod 4 and top mod 4 pixels down the left edge.
void DrawHatch(HDC device, int left, int top, int right, int bottom);
// Inverts the 7 x 7 square centred on (x, y).
void InvertHandle(HDC device, int x, int y);
// The sides on the lines x = left, x = right, y = top, y = bottom, broken around eight handles
// (the corners and the middle of each side), and the handles themselves.
void DrawSizingFrame(HDC device, int left, int top, int right, int bottom);
// A dotted outline of the rectangle (right and bottom left out).
void DrawDottedFrame(HDC device, int left, int top, int right, int bottom);
// Hatched bands 4 pixels wide outside the rectangle: above, left, right and below it.
void DrawHatchedBorder(HDC device, int left, int top, int right, int bottom);

}  // namespace lect32

#endif
