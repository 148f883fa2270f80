// The pen's pixels along lines: one-pixel lines (styled or solid) and wide round-ended segments,
// shared by every call that outlines with a pen (lines, rectangles, polygons, ellipses).
//
// Callers hold the GDI lock.
#ifndef WINPLAT_SRC_GDI_PEN_LINES_H
#define WINPLAT_SRC_GDI_PEN_LINES_H

#include <cstdint>
#include <vector>

#include "gdi/clip_area.h"
#include "gdi/objects.h"
#include "gdi/surface.h"

namespace winplat::gdi {

struct Dashes;

// A pen resolved against a surface.
struct PenPaint {
    bool visible = false;
    int width = 1;
    int style = PS_SOLID;
    const Dashes* dashes = nullptr;  // one-pixel styled pens only
    uint32_t value = 0;
    uint32_t gapValue = 0;
    bool opaqueGaps = false;
    uint8_t rop = 0xF0;
};

PenPaint resolvePen(const DeviceContextObject& dc, const Surface& surface);

// One pixel through the pen's raster operation (the caller has clipped).
void plot(Surface& surface, int x, int y, uint32_t value, uint8_t rop);

// A one-pixel line without its end point, in device coordinates; 'step' is where the dash pattern
// stands, and moves on by the line's length.
void cosmeticLine(Surface& surface, const ClipArea& clip, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                  const PenPaint& pen, uint32_t& step);

struct Segment {
    double ax, ay, bx, by;
};

// Pixels of a wide pen along the segments, each pixel once however many segments cover it: those
// whose centre lies closer than half the width to a segment (round ends and joins).
void wideSegments(Surface& surface, const ClipArea& clip, const std::vector<Segment>& segments,
                  const PenPaint& pen);

}  // namespace winplat::gdi

#endif
