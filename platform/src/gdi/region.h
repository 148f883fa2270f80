// A region: a set of pixels kept as y-x banded rectangles, the value behind HRGN objects, DC
// clipping and (in the window manager) update and visible regions.
//
// The form is canonical, so two regions hold the same pixels exactly when their rectangle lists
// are equal:
//   - rectangles are grouped in bands: a band is a run of rectangles with the same top and
//     bottom; bands follow each other downwards and never overlap;
//   - within a band rectangles are sorted left to right and apart: one's right is less than the
//     next one's left (touching rectangles are one);
//   - two bands that touch vertically (one's bottom is the other's top) never have the same
//     column spans (they would be one band);
//   - no rectangle is empty.
// A region of no rectangles is empty (NULLREGION), of one rectangle SIMPLEREGION, else
// COMPLEXREGION.
//
// Costs: building from a shape is linear in its rows; combining sweeps both band lists once
// (linear in their rectangles, never in pixels); a point test is a binary search; visiting the
// rectangles inside a clip rectangle finds the first band by binary search.
//
// Coordinates are device pixels. Callers keep them within +-2^27 (kMaxCoordinate), so offsets and
// sizes never overflow an int.
#ifndef WINPLAT_SRC_GDI_REGION_H
#define WINPLAT_SRC_GDI_REGION_H

#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

#include "gdi/device_rect.h"
#include "gdi/shape_scan.h"
#include "winplat/draw.h"

namespace winplat::gdi {

// The shapes scan-converted row by row (ellipses, round rectangles, polygons) may span at most this
// many rows: a region of every row of the whole coordinate range would not fit in memory.
constexpr int kMaxShapeRows = 1 << 20;

// How CombineRgn joins two regions (the RGN_ values).
enum class RegionOp { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

class Region {
  public:
    Region() = default;
    // The rectangle's pixels; empty for an empty rectangle.
    explicit Region(const DeviceRect& rect);

    // The shapes of shape_scan.h. The box must be normalised (left <= right, top <= bottom) and at
    // most kMaxShapeRows high; a polygon's points at most kMaxShapeRows apart vertically.
    static Region ellipse(const DeviceRect& box);
    static Region roundRect(const DeviceRect& box, int cornerWidth, int cornerHeight);
    static Region polygon(std::span<const POINT> points, int fillMode);

    static Region combine(const Region& a, const Region& b, RegionOp op);

    // Moves every pixel; the caller checks that the result stays within the coordinate range.
    void offset(int dx, int dy);

    bool empty() const { return rects_.empty(); }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int kind() const;
    // The smallest rectangle holding every pixel; all zero when empty.
    const DeviceRect& bounds() const { return bounds_; }
    std::span<const DeviceRect> rects() const { return rects_; }

    bool contains(int x, int y) const;
    // Whether any pixel of the rectangle is in the region.
    bool overlaps(const DeviceRect& rect) const;
    // The pixels of the region that a horizontal and vertical erosion by (width, height) removes:
    // those with a pixel outside the region within 'width' columns left or right of them, or
    // within 'height' rows above or below. Both non-negative.
    Region border(int width, int height) const;

    // Calls visit(rect) for each rectangle of the region cut to 'clip', top to bottom, left to
    // right within a band.
    template <class Visit>
    void forEachIn(const DeviceRect& clip, Visit&& visit) const;

    bool operator==(const Region& other) const { return rects_ == other.rects_; }

  private:
    friend class RegionBuilder;
    // Where band 'first' ends: the index of the first rectangle of the next band.
    size_t bandEnd(size_t first) const;
    // The first rectangle of the first band whose bottom is below row y.
    size_t firstBandBelow(int y) const;

    std::vector<DeviceRect> rects_;
    DeviceRect bounds_;
};

// Builds a region band by band, top to bottom, keeping the canonical form: bands that follow
// without a gap and have the same spans are merged, empty bands are dropped.
class RegionBuilder {
  public:
    // Appends the band [top, bottom) with the spans, which are sorted and apart; top is at or
    // below the previous band's bottom.
    void addBand(int top, int bottom, std::span<const Span> spans);
    Region finish();

  private:
    bool sameAsLastBand(int top, std::span<const Span> spans) const;

    Region region_;
    size_t lastBand_ = 0;  // the first rectangle of the last band
};

template <class Visit>
void Region::forEachIn(const DeviceRect& clip, Visit&& visit) const {
    if (clip.empty()) return;
    for (size_t band = firstBandBelow(clip.top); band < rects_.size();) {
        const size_t end = bandEnd(band);
        const DeviceRect& first = rects_[band];
        if (first.top >= clip.bottom) return;
        const int top = std::max(first.top, clip.top);
        const int bottom = std::min(first.bottom, clip.bottom);
        // Rectangles right of the clip's left edge begin here (they are sorted and apart).
        auto it = std::partition_point(rects_.begin() + static_cast<std::ptrdiff_t>(band),
                                       rects_.begin() + static_cast<std::ptrdiff_t>(end),
                                       [&](const DeviceRect& r) { return r.right <= clip.left; });
        for (; it != rects_.begin() + static_cast<std::ptrdiff_t>(end) && it->left < clip.right; ++it)
            visit(DeviceRect{std::max(it->left, clip.left), top, std::min(it->right, clip.right), bottom});
        band = end;
    }
}

}  // namespace winplat::gdi

#endif
