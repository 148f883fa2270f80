// Reference pictures for the region tests, worked out pixel by pixel from the shapes' definitions
// (a pixel belongs to a shape when its centre does), and a per-pixel boolean model of a region
// to compare HRGNs and drawing with.
#ifndef WINPLAT_TESTS_GDI_REGION_MODEL_H
#define WINPLAT_TESTS_GDI_REGION_MODEL_H

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "winplat/region.h"

namespace regiontest {

// The pixels of the window [left, left + width) x [top, top + height), row by row.
class PixelSet {
  public:
    PixelSet(int left, int top, int width, int height)
        : left_(left), top_(top), width_(width), height_(height),
          bits_(static_cast<size_t>(width) * static_cast<size_t>(height), false) {}

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool at(int x, int y) const {
        if (x < left_ || y < top_ || x >= left_ + width_ || y >= top_ + height_) return false;
        return bits_[index(x, y)];
    }
    void set(int x, int y, bool on) { bits_[index(x, y)] = on; }

    template <class Inside>
    static PixelSet of(int left, int top, int width, int height, Inside inside) {
        PixelSet set(left, top, width, height);
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x) set.set(x, y, inside(x, y));
        return set;
    }

    // Rows of '#' and '.' for failure messages.
    std::string picture() const {
        std::string text;
        for (int y = top_; y < top_ + height_; ++y) {
            for (int x = left_; x < left_ + width_; ++x) text += at(x, y) ? '#' : '.';
            text += '\n';
        }
        return text;
    }
    bool operator==(const PixelSet& other) const = default;

  private:
    size_t index(int x, int y) const {
        return static_cast<size_t>(y - top_) * static_cast<size_t>(width_) + static_cast<size_t>(x - left_);
    }
    int left_, top_, width_, height_;
    std::vector<bool> bits_;
};

// The window's pixels as PtInRegion sees them.
inline PixelSet pixelsOf(HRGN region, int left, int top, int width, int height) {
    return PixelSet::of(left, top, width, height, [&](int x, int y) { return PtInRegion(region, x, y) != FALSE; });
}

// Whether pixel (x, y)'s centre lies inside or on the ellipse inscribed in [l, r) x [t, b): with
// offsets doubled to stay whole, (2x + 1 - l - r)^2 / w^2 + (2y + 1 - t - b)^2 / h^2 <= 1.
inline bool inEllipse(int64_t l, int64_t t, int64_t r, int64_t b, int64_t x, int64_t y) {
    const int64_t w = r - l, h = b - t;
    if (w <= 0 || h <= 0) return false;
    const int64_t u = 2 * x + 1 - l - r, v = 2 * y + 1 - t - b;
    return u * u * h * h + v * v * w * w <= w * w * h * h;
}

// Whether pixel (x, y)'s centre is inside the polygon by a ray cast to the right: each edge
// crossing the centre's row strictly right of the centre counts (its direction for WINDING, one
// for ALTERNATE). A centre on an edge is then inside exactly when the edge bounds the shape on
// the left, the top-left rule.
inline bool inPolygon(const std::vector<POINT>& points, int fillMode, int64_t x, int64_t y) {
    int winding = 0, crossings = 0;
    const int64_t cx2 = 2 * x + 1, cy2 = 2 * y + 1;  // doubled centre
    for (size_t i = 0; i < points.size(); ++i) {
        POINT a = points[i], b = points[(i + 1) % points.size()];
        int direction = 1;
        if (a.y > b.y) {
            std::swap(a, b);
            direction = -1;
        }
        if (!(2 * int64_t{a.y} < cy2 && cy2 < 2 * int64_t{b.y})) continue;
        // Crossing x = a.x + (cy - a.y)(b.x - a.x)/(b.y - a.y) > cx, times 2(b.y - a.y) > 0.
        const int64_t dy = int64_t{b.y} - a.y, dx = int64_t{b.x} - a.x;
        if (2 * int64_t{a.x} * dy + (cy2 - 2 * int64_t{a.y}) * dx > cx2 * dy) {
            winding += direction;
            ++crossings;
        }
    }
    return fillMode == WINDING ? winding != 0 : (crossings & 1) != 0;
}

}  // namespace regiontest

#endif
