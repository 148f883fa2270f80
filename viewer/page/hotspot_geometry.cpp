#include "page/hotspot_geometry.h"

#include <cmath>
#include <vector>

#include "winplat/region.h"

namespace lect32 {

bool PointInShape(const HotspotShape& shape, int x, int y) {
    if (x < shape.left || x > shape.right || y < shape.top || y > shape.bottom) return false;
    if (shape.shape == HotspotShape::kRectangle) return true;
    const double a = (shape.right - shape.left) / 2.0;
    const double b = (shape.bottom - shape.top) / 2.0;
    if (a < 0.5 || b < 0.5) return false;
    const double dx = std::fabs(shape.left + a - x);
    const double dy = std::fabs(shape.top + b - y);
    return dy * dy <= (a * a * b * b - dx * dx * b * b) / (a * a);
}

bool PointInPolygon(std::span<const POINT> points, int x, int y) {
    if (points.size() < 3) return false;
    bool inside = false;
    POINT previous = points.back();
    for (const POINT& point : points) {
        if ((point.x < x) != (previous.x < x)) {
            const POINT& a = point.x < previous.x ? point : previous;
            const POINT& b = point.x < previous.x ? previous : point;
            // The point lies above the edge's line.
            if (int64_t{y - a.y} * (b.x - a.x) < int64_t{b.y - a.y} * (x - a.x)) inside = !inside;
        }
        previous = point;
    }
    return inside;
}

bool ShapeHolds(const HotspotShape& shape, int x, int y) {
    if (shape.IsPolygon()) return PointInPolygon(shape.Points(), x, y);
    return PointInShape(shape, x, y);
}

int HitTestHotspots(std::span<const uint8_t> list, int x, int y) {
    const HotspotList shapes(list);
    for (uint16_t i = 0; i < shapes.Count(); ++i) {
        if (ShapeHolds(shapes[i], x, y)) return i;
    }
    return -1;
}

bool HitTestHotspotLink(std::span<const uint8_t> list, int x, int y, const LinkDecoding& how, LinkTarget& link) {
    const HotspotList shapes(list);
    for (const HotspotShape& shape : shapes.Shapes()) {
        if (!shape.HasLink() || !ShapeHolds(shape, x, y)) continue;
        LinkTarget decoded;
        if (decoded.Decode(shape.link, false, how.sourceDocument, how.ownerIsMainPageWindow, how.resolver) < 0) continue;
        link = decoded;
        return true;
    }
    return false;
}

int BuildHotspotRegion(std::span<const uint8_t> list, uint16_t index, int x, int y, winplat::OwnedRegion& region,
                       int& top, int& bottom) {
    region.reset();
    const HotspotList shapes(list);
    if (index >= shapes.Count()) return 0;
    const HotspotShape& shape = shapes[index];
    top = shape.top;
    bottom = shape.bottom;
    if (shape.IsPolygon()) {
        std::vector<POINT> points = shape.Points();
        for (POINT& p : points) p.x += x, p.y += y;
        region.reset(CreatePolygonRgn(points.data(), static_cast<int>(points.size()), ALTERNATE));
        return region ? 1 : 0;
    }
    const int left = x + shape.left;
    const int right = x + shape.right;
    const int upper = y + shape.top;
    const int lower = y + shape.bottom;
    region.reset(shape.shape == HotspotShape::kRectangle ? CreateRectRgn(left, upper, right, lower)
                                                         : CreateEllipticRgn(left, upper, right, lower));
    return region ? -1 : 0;
}

}  // namespace lect32
