#include "gdi/region.h"

#include <climits>
#include <cstdint>

namespace winplat::gdi {
namespace {

// The spans of one band of a region.
void bandSpans(std::span<const DeviceRect> band, std::vector<Span>& spans) {
    spans.clear();
    for (const DeviceRect& r : band) spans.push_back(Span{r.left, r.right});
}

bool keeps(RegionOp op, bool inA, bool inB) {
    switch (op) {
        case RegionOp::And:
            return inA && inB;
        case RegionOp::Or:
            return inA || inB;
        case RegionOp::Xor:
            return inA != inB;
        case RegionOp::Diff:
            return inA && !inB;
        case RegionOp::Copy:
            return inA;
    }
    return false;
}

// The spans of one row where 'op' of the two rows' spans holds: one sweep over the edges of both,
// each edge switching its side in or out; a span opens or closes only after every edge at that
// column has switched, so spans come out apart.
void combineSpans(std::span<const Span> a, std::span<const Span> b, RegionOp op, std::vector<Span>& out) {
    out.clear();
    size_t i = 0, j = 0;
    bool inA = false, inB = false, inside = false;
    int start = 0;
    while (i < a.size() || j < b.size()) {
        const int xa = i < a.size() ? (inA ? a[i].right : a[i].left) : INT_MAX;
        const int xb = j < b.size() ? (inB ? b[j].right : b[j].left) : INT_MAX;
        const int x = std::min(xa, xb);
        if (xa == x) {
            inA = !inA;
            if (!inA) ++i;
        }
        if (xb == x) {
            inB = !inB;
            if (!inB) ++j;
        }
        const bool now = keeps(op, inA, inB);
        if (now == inside) continue;
        if (now) {
            start = x;
        } else {
            out.push_back(Span{start, x});
        }
        inside = now;
    }
}

// A region's bands one after the other, for the sweep.
class BandCursor {
  public:
    explicit BandCursor(std::span<const DeviceRect> rects) : rects_(rects) { load(); }
    bool done() const { return first_ >= rects_.size(); }
    int top() const { return done() ? INT_MAX : rects_[first_].top; }
    int bottom() const { return rects_[first_].bottom; }
    std::span<const Span> spans() const { return spans_; }
    void next() {
        first_ = end_;
        load();
    }

  private:
    void load() {
        if (done()) return;
        end_ = first_;
        while (end_ < rects_.size() && rects_[end_].top == rects_[first_].top) ++end_;
        bandSpans(rects_.subspan(first_, end_ - first_), spans_);
    }
    std::span<const DeviceRect> rects_;
    size_t first_ = 0;
    size_t end_ = 0;
    std::vector<Span> spans_;
};

// A shape whose rows are [inset, width - inset) of its box, built band by band.
template <class Inset>
Region fromRowInsets(const DeviceRect& box, Inset inset) {
    RegionBuilder builder;
    const int64_t width = box.right - box.left;
    const int64_t height = box.bottom - box.top;
    if (width <= 0 || height <= 0) return builder.finish();
    for (int64_t row = 0; row < height; ++row) {
        const int64_t cut = inset(width, height, row);
        if (2 * cut >= width) continue;
        const Span span{static_cast<int>(box.left + cut), static_cast<int>(box.right - cut)};
        const int y = static_cast<int>(box.top + row);
        builder.addBand(y, y + 1, std::span<const Span>(&span, 1));
    }
    return builder.finish();
}

// Pixels that stay when the region is eroded along one axis by 'radius': those whose neighbours
// within 'radius' along it are all in the region. A step intersects the region eroded so far (by
// d) with its copies shifted by s either way, which erodes it by d + s as long as s <= 2d + 1 (the
// three eroded intervals then join up); steps of 1, 2, 4, ... keep to that and need only
// logarithmically many combines.
Region erode(const Region& region, int radius, bool horizontal) {
    Region result = region;
    int done = 0;
    for (int step = 1; done < radius && !result.empty(); step *= 2) {
        const int by = std::min(step, radius - done);
        Region before = result;
        Region after = result;
        before.offset(horizontal ? -by : 0, horizontal ? 0 : -by);
        after.offset(horizontal ? by : 0, horizontal ? 0 : by);
        result = Region::combine(Region::combine(result, before, RegionOp::And), after, RegionOp::And);
        done += by;
    }
    return result;
}

}  // namespace

Region::Region(const DeviceRect& rect) {
    if (rect.empty()) return;
    rects_.push_back(rect);
    bounds_ = rect;
}

Region Region::ellipse(const DeviceRect& box) {
    return fromRowInsets(box, ellipseRowInset);
}

Region Region::roundRect(const DeviceRect& box, int cornerWidth, int cornerHeight) {
    return fromRowInsets(box, [&](int64_t width, int64_t height, int64_t row) {
        return roundRectRowInset(width, height, cornerWidth, cornerHeight, row);
    });
}

Region Region::polygon(std::span<const POINT> points, int fillMode) {
    RegionBuilder builder;
    if (points.size() < 3) return builder.finish();
    PolygonScan scan(points, fillMode);
    std::vector<Span> spans;
    for (int y = scan.top(); y < scan.bottom(); ++y) {
        scan.row(y, spans);
        builder.addBand(y, y + 1, spans);
    }
    return builder.finish();
}

Region Region::combine(const Region& a, const Region& b, RegionOp op) {
    // The cases that need no sweep.
    if (op == RegionOp::Copy) return a;
    if (a.empty() && b.empty()) return Region{};
    const bool apart = intersect(a.bounds_, b.bounds_).empty();
    switch (op) {
        case RegionOp::And:
            if (apart) return Region{};
            break;
        case RegionOp::Diff:
            if (apart) return a;
            break;
        case RegionOp::Or:
        case RegionOp::Xor:
            if (a.empty()) return b;
            if (b.empty()) return a;
            break;
        case RegionOp::Copy:
            break;
    }

    RegionBuilder builder;
    BandCursor ca(a.rects_);
    BandCursor cb(b.rects_);
    std::vector<Span> spans;
    int y = std::min(ca.top(), cb.top());
    while (!ca.done() || !cb.done()) {
        const bool inA = !ca.done() && ca.top() <= y;
        const bool inB = !cb.done() && cb.top() <= y;
        // The rows from y on where neither band starts nor ends.
        const int until = std::min(inA ? ca.bottom() : ca.top(), inB ? cb.bottom() : cb.top());
        if (inA || inB) {
            combineSpans(inA ? ca.spans() : std::span<const Span>{}, inB ? cb.spans() : std::span<const Span>{},
                         op, spans);
            builder.addBand(y, until, spans);
        }
        y = until;
        if (inA && ca.bottom() == y) ca.next();
        if (inB && cb.bottom() == y) cb.next();
        if ((ca.done() || ca.top() > y) && (cb.done() || cb.top() > y)) y = std::min(ca.top(), cb.top());
    }
    return builder.finish();
}

void Region::offset(int dx, int dy) {
    if (empty()) return;
    for (DeviceRect& r : rects_) r = DeviceRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    bounds_ = DeviceRect{bounds_.left + dx, bounds_.top + dy, bounds_.right + dx, bounds_.bottom + dy};
}

int Region::kind() const {
    if (rects_.empty()) return NULLREGION;
    return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

size_t Region::bandEnd(size_t first) const {
    const int top = rects_[first].top;
    const auto it = std::partition_point(rects_.begin() + static_cast<std::ptrdiff_t>(first), rects_.end(),
                                         [top](const DeviceRect& r) { return r.top == top; });
    return static_cast<size_t>(it - rects_.begin());
}

size_t Region::firstBandBelow(int y) const {
    // Bottoms never decrease from one rectangle to the next.
    const auto it = std::partition_point(rects_.begin(), rects_.end(),
                                         [y](const DeviceRect& r) { return r.bottom <= y; });
    return static_cast<size_t>(it - rects_.begin());
}

bool Region::contains(int x, int y) const {
    if (x < bounds_.left || x >= bounds_.right || y < bounds_.top || y >= bounds_.bottom) return false;
    const size_t band = firstBandBelow(y);
    if (band >= rects_.size() || rects_[band].top > y) return false;
    const auto end = rects_.begin() + static_cast<std::ptrdiff_t>(bandEnd(band));
    const auto it = std::partition_point(rects_.begin() + static_cast<std::ptrdiff_t>(band), end,
                                         [x](const DeviceRect& r) { return r.right <= x; });
    return it != end && it->left <= x;
}

bool Region::overlaps(const DeviceRect& rect) const {
    bool found = false;
    forEachIn(intersect(rect, bounds_), [&](const DeviceRect&) { found = true; });
    return found;
}

Region Region::border(int width, int height) const {
    const Region inner = erode(erode(*this, width, true), height, false);
    return combine(*this, inner, RegionOp::Diff);
}

void RegionBuilder::addBand(int top, int bottom, std::span<const Span> spans) {
    if (spans.empty() || top >= bottom) return;
    std::vector<DeviceRect>& rects = region_.rects_;
    if (sameAsLastBand(top, spans)) {
        for (size_t i = lastBand_; i < rects.size(); ++i) rects[i].bottom = bottom;
        region_.bounds_.bottom = bottom;
        return;
    }
    lastBand_ = rects.size();
    for (const Span& s : spans) rects.push_back(DeviceRect{s.left, top, s.right, bottom});
    DeviceRect& box = region_.bounds_;
    if (lastBand_ == 0) {
        box = DeviceRect{spans.front().left, top, spans.back().right, bottom};
        return;
    }
    box.left = std::min(box.left, spans.front().left);
    box.right = std::max(box.right, spans.back().right);
    box.bottom = bottom;
}

bool RegionBuilder::sameAsLastBand(int top, std::span<const Span> spans) const {
    const std::vector<DeviceRect>& rects = region_.rects_;
    if (rects.empty() || rects.back().bottom != top) return false;
    if (rects.size() - lastBand_ != spans.size()) return false;
    for (size_t i = 0; i < spans.size(); ++i) {
        const DeviceRect& r = rects[lastBand_ + i];
        if (r.left != spans[i].left || r.right != spans[i].right) return false;
    }
    return true;
}

Region RegionBuilder::finish() {
    Region done = std::move(region_);
    region_ = Region{};
    lastBand_ = 0;
    return done;
}

}  // namespace winplat::gdi
