// The clipped-segment primitive's geometry: a world segment cut to the visible window in floating
// point and only then turned into pixels, so a segment of any length or position gives pixel
// coordinates inside the paint box (an end outside the window lands on the window's edge pixel).
#ifndef LINEWORK_DISPLAY_SEGMENT_CLIPPING_H
#define LINEWORK_DISPLAY_SEGMENT_CLIPPING_H

#include <cstdint>
#include <optional>

#include "drawing/view_transform.h"

namespace linework {

// The visible window of a view in world units and its pixel limits.
struct ClipWindow {
    double originX = 0, originY = 0, worldRight = 0, worldTop = 0;
    double scale = 1, screenYOffset = 0;
    int32_t rightPixel = 0, bottomPixel = 0;

    static ClipWindow Of(const ViewState& view);
    bool Contains(double x, double y) const { return originX <= x && x <= worldRight && originY <= y && y <= worldTop; }
    int32_t Column(double x) const { return RoundToPixel((x - originX) / scale); }
    int32_t Row(double y) const { return RoundToPixel(screenYOffset - y / scale); }
};

struct PixelSegment {
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    friend bool operator==(const PixelSegment&, const PixelSegment&) = default;
};

// The part of (x1, y1)-(x2, y2) inside the window in pixels, first end first; none when the
// segment misses the window. With 'extendLastPixel' (a one-pixel solid pen, which leaves out the
// end point of what it draws) the second end moves one pixel further along the segment so that
// the last pixel is drawn.
std::optional<PixelSegment> ClipWorldSegment(const ClipWindow& window, double x1, double y1, double x2, double y2,
                                             bool extendLastPixel);

// Moves the second end one pixel on: along the row for a run within a row, along the column for
// one within a column, otherwise along the steeper axis only (pixel slope up to 0.5 or from 2) or
// along both.
void ExtendLastPixel(PixelSegment& segment);

}  // namespace linework

#endif
