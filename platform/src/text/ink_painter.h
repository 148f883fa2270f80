// Glyph ink written straight into a surface's rows in one stored value: a direct path for the
// 32- and 24-bit depths, the row writer for the others. A glyph the clip's rectangle holds whole
// is written without looking at the clip again; any other is cut box by box to the clip (to each
// of its rectangles when it is a region). Callers hold the GDI lock.
#ifndef WINPLAT_SRC_TEXT_INK_PAINTER_H
#define WINPLAT_SRC_TEXT_INK_PAINTER_H

#include <cstddef>
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

    // Paints the glyph placed at its origin (x, y).
    void paint(int64_t x, int64_t y, const GlyphInk& glyph);

  private:
    // Whether the glyph's bounds placed at (x, y) lie inside the clip's rectangle.
    bool inside(int64_t x, int64_t y, const InkBox& bounds) const;
    // The boxes of a glyph inside the clip's rectangle, at the 32- or 24-bit depth.
    template <size_t kBytes>
    void paintWhole(int x, int y, const GlyphInk& glyph);
    void paintBox(int64_t x, int64_t y, const InkBox& box);
    void fillRows(int left, int top, int right, int bottom);
    // The box (already cut to the clip's box) cut to each rectangle of the clip's region. Kept
    // apart from paintBox so the common rectangular clip stays a short path.
    [[gnu::noinline]] void fillPieces(const gdi::DeviceRect& ink);

    gdi::Surface& surface_;
    const gdi::ClipArea& clip_;
    gdi::DeviceRect area_;  // the clip's box
    bool rectangular_;
    uint32_t value_;
    int bitsPerPixel_;
    ptrdiff_t rowStep_;             // from one row of the surface to the next one down
    std::vector<uint32_t> values_;  // a row of the value, for depths the direct paths do not take
};

}  // namespace winplat::text

#endif
