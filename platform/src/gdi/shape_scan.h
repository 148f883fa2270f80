// The pixels a filled ellipse, round rectangle or polygon covers, row by row: the one scan
// conversion behind the regions made from those shapes and the calls that fill them.
//
// Pixel (x, y) is covered when its centre (x + 1/2, y + 1/2) lies inside the shape.
//
// Ellipse: the ellipse inscribed in the box [left, right) x [top, bottom), so the box's right and
// bottom edges stay outside as they do for rectangles. A centre exactly on the curve counts as
// inside, which keeps the pixels symmetric about both axes of the box. A 1 x 1 or 2 x 2 box is
// covered whole; a 3 x 3 box too (its corner centres lie inside the circle), a 4 x 4 box loses
// its four corner pixels.
//
// Round rectangle: the box with each corner cut by a quarter of the ellipse whose box is the
// corner size (clamped to the box), that ellipse's rows split at its middle and the rows between
// the halves covering the box's full width.
//
// Polygon: vertices are whole numbers, the last joined to the first. A pixel centre is inside by
// the fill mode: ALTERNATE when a ray from it crosses the outline an odd number of times, WINDING
// when the outline winds round it a non-zero number of times. Several polygons scanned together
// (each closed on its own) count as one outline: under WINDING their winding numbers add, so a
// ring inside another that runs the other way cuts a hole and one that runs the same way does not. A centre exactly on an edge belongs
// to the side to the right of the edge (the top-left rule: left edges are in, right edges out);
// no centre lies on a horizontal edge, since centres sit at half-pixel heights.
//
// All arithmetic is exact for coordinates within +-2^27.
#ifndef WINPLAT_SRC_GDI_SHAPE_SCAN_H
#define WINPLAT_SRC_GDI_SHAPE_SCAN_H

#include <cstdint>
#include <span>
#include <vector>

#include "gdi/device_rect.h"
#include "winplat/draw.h"

namespace winplat::gdi {

// Pixels [left, right) of one row.
struct Span {
    int left = 0;
    int right = 0;
    bool operator==(const Span&) const = default;
};

// Row 'row' (0 at the top) of the ellipse inscribed in a width x height box covers the box's
// columns [inset, width - inset); the row is empty when 2 * inset >= width. Both sizes positive.
int64_t ellipseRowInset(int64_t width, int64_t height, int64_t row);

// The same for a rectangle of width x height whose corners are rounded by an ellipse of
// cornerWidth x cornerHeight (each clamped to 0 .. the box size; 0 leaves the corner square).
int64_t roundRectRowInset(int64_t width, int64_t height, int64_t cornerWidth, int64_t cornerHeight,
                          int64_t row);

// A polygon scanned one row at a time, top to bottom.
class PolygonScan {
  public:
    // fillMode: ALTERNATE or WINDING.
    PolygonScan(std::span<const POINT> points, int fillMode);
    // Polygons one after another in 'points', counts[i] points each (the counts add up to at
    // most points.size()).
    PolygonScan(std::span<const POINT> points, std::span<const int> counts, int fillMode);

    // The rows [top(), bottom()) any edge reaches; top() == bottom() when no edge crosses a row.
    int top() const { return top_; }
    int bottom() const { return bottom_; }

    // The spans of row y, sorted and apart (never touching). Rows are asked for in increasing
    // order.
    void row(int y, std::vector<Span>& spans);

  private:
    void addRing(std::span<const POINT> ring);
    void finish();

    struct Edge {
        int64_t x0, y0;  // upper end
        int64_t x1, y1;  // lower end, y1 > y0
        int direction;   // +1 when the outline runs downwards along it, -1 upwards
    };
    struct Crossing {
        int64_t column;  // the first pixel whose centre is on the edge or right of it
        int direction;
    };

    std::vector<Edge> edges_;  // by upper end
    std::vector<size_t> active_;
    std::vector<Crossing> crossings_;
    size_t next_ = 0;  // the first edge not yet active
    bool winding_ = false;
    int top_ = 0;
    int bottom_ = 0;
};

}  // namespace winplat::gdi

#endif
