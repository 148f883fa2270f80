#include "shape_drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "winplat/owners.h"
#include "winplat/region.h"

namespace vexmill {
namespace {

using Region = winplat::GdiObject<HRGN>;

void fill(HDC dc, const Region& region) {
    if (!region) return;
    FillRgn(dc, region.get(), static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
}

// The outline through the points, back to the first when closed; the DC's current position is
// left where it was, as the shape calls of GDI leave it.
void outline(HDC dc, std::span<const POINT> points, bool closed) {
    if (points.size() < 2) return;
    POINT before{};
    MoveToEx(dc, points[0].x, points[0].y, &before);
    for (size_t i = 1; i < points.size(); ++i) LineTo(dc, points[i].x, points[i].y);
    if (closed) LineTo(dc, points[0].x, points[0].y);
    MoveToEx(dc, before.x, before.y, nullptr);
}

struct Ellipse {
    double cx, cy, rx, ry;

    static Ellipse of(const RECT& box) {
        // The outline runs through the box's last pixels inside: right and bottom are outside.
        const double left = std::min(box.left, box.right), right = std::max(box.left, box.right) - 1;
        const double top = std::min(box.top, box.bottom), bottom = std::max(box.top, box.bottom) - 1;
        return {(left + right) / 2, (top + bottom) / 2, std::max(0.0, (right - left) / 2),
                std::max(0.0, (bottom - top) / 2)};
    }
    // The angle of the radial through a point, counterclockwise on the device (y grows downwards).
    double angleOf(POINT p) const {
        const double x = rx > 0 ? (p.x - cx) / rx : p.x - cx;
        const double y = ry > 0 ? (cy - p.y) / ry : cy - p.y;
        return std::atan2(y, x);
    }
    POINT at(double angle) const {
        return POINT{static_cast<LONG>(std::lround(cx + rx * std::cos(angle))),
                     static_cast<LONG>(std::lround(cy - ry * std::sin(angle)))};
    }
    // Points from one angle to another, a point every two pixels or so, both ends included.
    void trace(double from, double to, std::vector<POINT>& out) const {
        const double reach = std::max(rx, ry) * (to - from);
        const int steps = static_cast<int>(std::clamp(std::ceil(reach / 2), 4.0, 4096.0));
        for (int i = 0; i <= steps; ++i) {
            const POINT p = at(from + (to - from) * i / steps);
            if (out.empty() || out.back().x != p.x || out.back().y != p.y) out.push_back(p);
        }
    }
};

// The quarter of a corner ellipse, for rounded rectangles.
void corner(double cx, double cy, double rx, double ry, double from, std::vector<POINT>& out) {
    Ellipse{cx, cy, rx, ry}.trace(from, from + std::numbers::pi / 2, out);
}

}  // namespace

void drawPolygon(HDC dc, std::span<const POINT> points, int fillMode) {
    if (points.empty()) return;
    if (points.size() >= 3) fill(dc, Region(CreatePolygonRgn(points.data(), static_cast<int>(points.size()), fillMode)));
    outline(dc, points, true);
}

void drawPolyline(HDC dc, std::span<const POINT> points) {
    outline(dc, points, false);
}

void drawPolyPolygon(HDC dc, std::span<const POINT> points, std::span<const int> counts, int fillMode) {
    // A point is inside polygons of the alternate rule when it lies in an odd number of them: the
    // polygons' regions combined by XOR. For the winding rule their union stands in, which differs
    // only where polygons wind against each other to make holes.
    Region area;
    size_t at = 0;
    for (int count : counts) {
        const std::span<const POINT> polygon = points.subspan(at, size_t(count));
        at += size_t(count);
        if (count < 3) continue;
        Region one(CreatePolygonRgn(polygon.data(), count, fillMode));
        if (!one) continue;
        if (!area) {
            area = std::move(one);
        } else {
            CombineRgn(area.get(), area.get(), one.get(), fillMode == ALTERNATE ? RGN_XOR : RGN_OR);
        }
    }
    fill(dc, area);
    at = 0;
    for (int count : counts) {
        outline(dc, points.subspan(at, size_t(count)), true);
        at += size_t(count);
    }
}

void drawEllipse(HDC dc, const RECT& box) {
    fill(dc, Region(CreateEllipticRgn(box.left, box.top, box.right, box.bottom)));
    std::vector<POINT> points;
    const Ellipse e = Ellipse::of(box);
    e.trace(0, 2 * std::numbers::pi, points);
    outline(dc, points, true);
}

void drawRoundRect(HDC dc, const RECT& box, int cornerWidth, int cornerHeight) {
    fill(dc, Region(CreateRoundRectRgn(box.left, box.top, box.right, box.bottom, cornerWidth, cornerHeight)));
    const Ellipse e = Ellipse::of(box);
    const double rx = std::min(std::abs(cornerWidth) / 2.0, e.rx);
    const double ry = std::min(std::abs(cornerHeight) / 2.0, e.ry);
    const double left = e.cx - e.rx, right = e.cx + e.rx, top = e.cy - e.ry, bottom = e.cy + e.ry;
    std::vector<POINT> points;
    const double quarter = std::numbers::pi / 2;
    corner(right - rx, top + ry, rx, ry, 0, points);
    corner(left + rx, top + ry, rx, ry, quarter, points);
    corner(left + rx, bottom - ry, rx, ry, 2 * quarter, points);
    corner(right - rx, bottom - ry, rx, ry, 3 * quarter, points);
    outline(dc, points, true);
}

void drawArc(HDC dc, ArcKind kind, const RECT& box, POINT start, POINT end) {
    const Ellipse e = Ellipse::of(box);
    const double from = e.angleOf(start);
    double to = e.angleOf(end);
    if (to <= from) to += 2 * std::numbers::pi;
    std::vector<POINT> points;
    e.trace(from, to, points);
    if (kind == ArcKind::Arc) return outline(dc, points, false);
    if (kind == ArcKind::Pie) {
        points.push_back(POINT{static_cast<LONG>(std::lround(e.cx)), static_cast<LONG>(std::lround(e.cy))});
    }
    drawPolygon(dc, points, ALTERNATE);
}

}  // namespace vexmill
