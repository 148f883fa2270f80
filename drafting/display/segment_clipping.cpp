#include "display/segment_clipping.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace linework {
namespace {

struct Pixel {
    int32_t column = 0, row = 0;
};

int32_t Step(int32_t delta) { return delta < 0 ? -1 : 1; }

// An end point outside the window of a vertical segment: its own column, the edge row.
Pixel VerticalEnd(const ClipWindow& w, double x, double y) {
    int32_t row = y > w.worldTop ? 0 : y < w.originY ? w.bottomPixel : w.Row(y);
    return {w.Column(x), row};
}

// An end of a (nearly) horizontal segment: its own column or the edge column, the row of the
// segment's first end kept within the window.
Pixel HorizontalEnd(const ClipWindow& w, double x, int32_t row) {
    int32_t column = x > w.worldRight ? w.rightPixel : x < w.originX ? 0 : w.Column(x);
    return {column, row};
}

enum class Edge { Left, Right, Top, Bottom };

// Where the line meets one edge, in pixels: the edge's own pixel on one axis.
Pixel Crossing(const ClipWindow& w, Edge edge, double x1, double y1, double m, double yL, double yR) {
    switch (edge) {
        case Edge::Left: return {0, std::clamp(w.Row(yL), 0, w.bottomPixel)};
        case Edge::Right: return {w.rightPixel, std::clamp(w.Row(yR), 0, w.bottomPixel)};
        case Edge::Top: return {std::clamp(w.Column(x1 + (w.worldTop - y1) / m), 0, w.rightPixel), 0};
        case Edge::Bottom: break;
    }
    return {std::clamp(w.Column(x1 + (w.originY - y1) / m), 0, w.rightPixel), w.bottomPixel};
}

std::optional<PixelSegment> ClipSlanted(const ClipWindow& w, double x1, double y1, double x2, double y2) {
    // Halved first: the differences of far-off coordinates would overflow.
    double m = (y2 / 2 - y1 / 2) / (x2 / 2 - x1 / 2);
    double yL = y1 + (w.originX - x1) * m;
    double yR = y1 + (w.worldRight - x1) * m;
    bool rising = m > 0;
    if (rising ? (yL >= w.worldTop || yR <= w.originY) : (yL <= w.originY || yR >= w.worldTop)) return std::nullopt;
    // The line enters the window on the left (or through the bottom or top) and leaves it on the
    // right (or through the top or bottom), left to right.
    Edge entry = rising ? (yL >= w.originY ? Edge::Left : Edge::Bottom) : (yL <= w.worldTop ? Edge::Left : Edge::Top);
    Edge exit = rising ? (yR <= w.worldTop ? Edge::Right : Edge::Top) : (yR >= w.originY ? Edge::Right : Edge::Bottom);
    Pixel left = Crossing(w, entry, x1, y1, m, yL, yR);
    Pixel right = Crossing(w, exit, x1, y1, m, yL, yR);
    // An end inside the window keeps its own pixel in place of the crossing on its side: the left
    // end in place of the entry, the right end in place of the exit. (Taking the crossing nearer
    // to it instead goes wrong for an end close to the far edge: its own crossing lies further
    // away, beyond the near edge the line was extended to.)
    if (x1 > x2) std::swap(left, right);
    if (w.Contains(x1, y1)) left = {w.Column(x1), w.Row(y1)};
    if (w.Contains(x2, y2)) right = {w.Column(x2), w.Row(y2)};
    return PixelSegment{left.column, left.row, right.column, right.row};
}

std::optional<PixelSegment> Clip(const ClipWindow& w, double x1, double y1, double x2, double y2) {
    if (w.Contains(x1, y1) && w.Contains(x2, y2)) return PixelSegment{w.Column(x1), w.Row(y1), w.Column(x2), w.Row(y2)};
    if ((x1 < w.originX && x2 < w.originX) || (x1 > w.worldRight && x2 > w.worldRight) ||
        (y1 < w.originY && y2 < w.originY) || (y1 > w.worldTop && y2 > w.worldTop)) {
        return std::nullopt;
    }
    if (x1 == x2) {
        Pixel a = VerticalEnd(w, x1, y1), b = VerticalEnd(w, x2, y2);
        return PixelSegment{a.column, a.row, b.column, b.row};
    }
    if (std::abs((y2 / 2 - y1 / 2) / (x2 / 2 - x1 / 2)) < 1e-12) {
        int32_t row = std::clamp(w.Row(y1), 0, w.bottomPixel);
        Pixel a = HorizontalEnd(w, x1, row), b = HorizontalEnd(w, x2, row);
        return PixelSegment{a.column, a.row, b.column, b.row};
    }
    return ClipSlanted(w, x1, y1, x2, y2);
}

}  // namespace

ClipWindow ClipWindow::Of(const ViewState& view) {
    const ViewTransform& t = view.GetViewTransform();
    return {t.originX,          t.originY,           view.WorldRight(),   view.WorldTop(), t.scale,
            view.ScreenYOffset(), view.RightPixel(), view.BottomPixel()};
}

void ExtendLastPixel(PixelSegment& s) {
    int32_t dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    if (dy == 0) {
        s.x2 += Step(dx);
        return;
    }
    if (dx == 0) {
        s.y2 += Step(dy);
        return;
    }
    double slope = std::abs(static_cast<double>(dy) / dx);
    if (slope <= 0.5) {
        s.x2 += Step(dx);
    } else if (slope >= 2) {
        s.y2 += Step(dy);
    } else {
        s.x2 += Step(dx);
        s.y2 += Step(dy);
    }
}

std::optional<PixelSegment> ClipWorldSegment(const ClipWindow& window, double x1, double y1, double x2, double y2,
                                             bool extendLastPixel) {
    std::optional<PixelSegment> segment = Clip(window, x1, y1, x2, y2);
    if (segment && extendLastPixel) ExtendLastPixel(*segment);
    return segment;
}

}  // namespace linework
