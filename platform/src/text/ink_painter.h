// Glyph ink written straight into a surface's rows in one stored value: a direct path for the
// 32- and 24-bit depths, the row writer for the others. Every box is cut to the clip first (to
// each of its rectangles when it is a region). Callers hold the GDI lock.
#ifndef WINPLAT_SRC_TEXT_INK_PAINTER_H
#define WINPLAT_SRC_TEXT_INK_PAINTER_H

#include <cstdint>
#include <vector>

#include "gdi/clip_area.h"
#include "gdi/objects.h"
#include "gdi/surface.h"
#include "text/face.h"

namespace winplat::text {

class InkPainter {
  public:
    // The clip lies inside the surface.
    InkPainter(gdi::Surface& surface, const gdi::ClipArea& clip, uint32_t value);

    // Paints the box placed at the glyph origin (x, y).
    void paint(int64_t x, int64_t y, const InkBox& box);

  private:
    void fillRows(int left, int top, int right, int bottom);
    // The box (already cut to the clip's box) cut to each rectangle of the clip's region. Kept
    // apart from paint, which every glyph box passes through, so the common rectangular clip
    // stays a short path.
    [[gnu::noinline]] void fillPieces(const gdi::DeviceRect& ink);

    gdi::Surface& surface_;
    const gdi::ClipArea& clip_;
    gdi::DeviceRect area_;  // the clip's box
    bool rectangular_;
    uint32_t value_;
    int bitsPerPixel_;
    std::vector<uint32_t> values_;  // a row of the value, for depths the direct paths do not take
};

}  // namespace winplat::text

#endif
