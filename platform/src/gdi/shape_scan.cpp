#include "gdi/shape_scan.h"

#include <algorithm>
#include <cmath>

#include "winplat/region.h"

namespace winplat::gdi {
namespace {

// floor(sqrt(n)), exactly.
uint64_t squareRoot(uint64_t n) {
    auto root = static_cast<uint64_t>(std::sqrt(static_cast<double>(n)));
    while (root > 0 && root * root > n) --root;
    while ((root + 1) * (root + 1) <= n) ++root;
    return root;
}

int64_t ceilDiv(int64_t n, int64_t d) {  // d > 0
    const int64_t q = n / d;
    return (n % d != 0 && n > 0) ? q + 1 : q;
}

}  // namespace

int64_t ellipseRowInset(int64_t width, int64_t height, int64_t row) {
    // With u = 2x + 1 - width and v = 2 * row + 1 - height (twice a centre's offset from the
    // middle of the box), pixel x is covered when u^2 h^2 + v^2 w^2 <= w^2 h^2, that is when
    // |u| <= m = floor(sqrt(w^2 (h^2 - v^2) / h^2)). The products need 112 bits.
    using Wide = unsigned __int128;
    const int64_t v = 2 * row + 1 - height;
    const Wide w = static_cast<uint64_t>(width);
    const Wide h = static_cast<uint64_t>(height);
    const Wide rest = h * h - static_cast<Wide>(static_cast<uint64_t>(v * v));
    auto m = static_cast<int64_t>(squareRoot(static_cast<uint64_t>(w * w * rest / (h * h))));
    // u has the parity of width + 1.
    if ((m & 1) != ((width + 1) & 1)) --m;
    if (m < 0) return (width + 1) / 2;
    return (width - 1 - m) / 2;
}

int64_t roundRectRowInset(int64_t width, int64_t height, int64_t cornerWidth, int64_t cornerHeight,
                          int64_t row) {
    cornerWidth = std::clamp<int64_t>(cornerWidth, 0, width);
    cornerHeight = std::clamp<int64_t>(cornerHeight, 0, height);
    if (cornerWidth == 0 || cornerHeight == 0) return 0;
    const int64_t half = cornerHeight / 2;
    if (row < half) return ellipseRowInset(cornerWidth, cornerHeight, row);
    if (row >= height - half) return ellipseRowInset(cornerWidth, cornerHeight, cornerHeight - (height - row));
    return 0;
}

PolygonScan::PolygonScan(std::span<const POINT> points, int fillMode) : winding_(fillMode == WINDING) {
    addRing(points);
    finish();
}

PolygonScan::PolygonScan(std::span<const POINT> points, std::span<const int> counts, int fillMode)
    : winding_(fillMode == WINDING) {
    size_t at = 0;
    for (int count : counts) {
        const auto size = static_cast<size_t>(std::max(count, 0));
        if (size > points.size() - at) break;
        addRing(points.subspan(at, size));
        at += size;
    }
    finish();
}

void PolygonScan::addRing(std::span<const POINT> ring) {
    for (size_t i = 0; i < ring.size(); ++i) {
        const POINT& a = ring[i];
        const POINT& b = ring[(i + 1) % ring.size()];
        if (a.y == b.y) continue;  // a horizontal edge crosses no row's centre line
        edges_.push_back(a.y < b.y ? Edge{a.x, a.y, b.x, b.y, 1} : Edge{b.x, b.y, a.x, a.y, -1});
    }
}

void PolygonScan::finish() {
    std::sort(edges_.begin(), edges_.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    if (edges_.empty()) return;
    int64_t top = INT64_MAX;
    int64_t bottom = INT64_MIN;
    for (const Edge& edge : edges_) {
        top = std::min(top, edge.y0);
        bottom = std::max(bottom, edge.y1);
    }
    top_ = static_cast<int>(top);
    bottom_ = static_cast<int>(bottom);
}

void PolygonScan::row(int y, std::vector<Span>& spans) {
    spans.clear();
    // An edge crosses the centre line y + 1/2 when y0 <= y < y1.
    while (next_ < edges_.size() && edges_[next_].y0 <= y) active_.push_back(next_++);
    std::erase_if(active_, [&](size_t i) { return edges_[i].y1 <= y; });
    crossings_.clear();
    for (size_t i : active_) {
        const Edge& e = edges_[i];
        if (e.y0 > y) continue;
        // The edge meets the centre line at x = x0 + (y + 1/2 - y0) dx / dy; the first pixel on
        // or right of it is ceil(x - 1/2) = ceil((2 x0 dy + (2y + 1 - 2 y0) dx - dy) / (2 dy)).
        const int64_t dx = e.x1 - e.x0;
        const int64_t dy = e.y1 - e.y0;
        const int64_t numerator = 2 * e.x0 * dy + (2 * static_cast<int64_t>(y) + 1 - 2 * e.y0) * dx - dy;
        crossings_.push_back(Crossing{ceilDiv(numerator, 2 * dy), e.direction});
    }
    std::sort(crossings_.begin(), crossings_.end(),
              [](const Crossing& a, const Crossing& b) { return a.column < b.column; });
    int count = 0;  // the winding number, or the crossings so far
    bool inside = false;
    int64_t start = 0;
    for (size_t i = 0; i < crossings_.size();) {
        const int64_t column = crossings_[i].column;
        for (; i < crossings_.size() && crossings_[i].column == column; ++i)
            count += winding_ ? crossings_[i].direction : 1;
        const bool now = winding_ ? count != 0 : (count & 1) != 0;
        if (now == inside) continue;
        if (now) {
            start = column;
        } else {
            spans.push_back(Span{static_cast<int>(start), static_cast<int>(column)});
        }
        inside = now;
    }
}

}  // namespace winplat::gdi
