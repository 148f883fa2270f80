#include "drawing/geometry.h"

#include <algorithm>
#include <cmath>

#include "drawing/angles.h"

namespace linework {

namespace {

bool Between(double value, double a, double b) { return value >= std::min(a, b) && value <= std::max(a, b); }

bool InBox(Point p, Point a, Point b) { return Between(p.x, a.x, b.x) && Between(p.y, a.y, b.y); }

struct Slope {
    double m;
    double b;
};

Slope SlopeOf(Point a, Point b) {
    double m = (b.y - a.y) / (b.x - a.x);
    return {m, a.y - a.x * m};
}

// NaN sorts last, so that a NaN in the array never breaks the sort's ordering.
bool Less(double a, double b) { return a < b || (std::isnan(b) && !std::isnan(a)); }

bool ValidRange(size_t size, int32_t low, int32_t high) {
    return low >= 0 && high >= 0 && static_cast<size_t>(high) < size;
}

}  // namespace

bool IntersectLines(Point p1, Point p2, Point p3, Point p4, uint32_t flags, Point& at) {
    bool firstVertical = p1.x == p2.x;
    bool secondVertical = p3.x == p4.x;
    if (firstVertical && secondVertical) return false;
    if (firstVertical) {
        Slope second = SlopeOf(p3, p4);
        at = {p1.x, second.b + p1.x * second.m};
    } else if (secondVertical) {
        Slope first = SlopeOf(p1, p2);
        at = {p3.x, first.b + first.m * p3.x};
    } else {
        Slope first = SlopeOf(p1, p2);
        Slope second = SlopeOf(p3, p4);
        if (first.m == second.m) return false;
        double d = first.m - second.m;
        at = {(second.b - first.b) / d, (first.m * second.b - first.b * second.m) / d};
    }
    if ((flags & kOnFirstSegment) && !InBox(at, p1, p2)) return false;
    if ((flags & kOnSecondSegment) && !InBox(at, p3, p4)) return false;
    return true;
}

Crossings IntersectLineCircle(Point p1, Point p2, Point centre, double radius, bool onSegment) {
    Crossings found;
    double s;
    if (p1.x != p2.x) {
        double m = (p2.y - p1.y) / (p2.x - p1.x);
        double a = m * m + 1;
        double u = p1.y - centre.y - (p1.x - centre.x) * m;
        double d = radius * radius * a - u * u;
        if (d < 0) return found;
        s = std::sqrt(d);
        found.points[0] = {centre.x + (s - u * m) / a, centre.y + (u + m * s) / a};
        found.points[1] = {centre.x + (-u * m - s) / a, centre.y + (u - m * s) / a};
    } else {
        double u = p1.x - centre.x;
        double d = radius * radius - u * u;
        if (d < 0) return found;
        s = std::sqrt(d);
        found.points[0] = {p1.x, centre.y - s};
        found.points[1] = {p1.x, centre.y + s};
    }
    int candidates = s > 0 ? 2 : 1;
    for (int i = 0; i < candidates; ++i) {
        if (!onSegment || InBox(found.points[static_cast<size_t>(i)], p1, p2))
            found.points[static_cast<size_t>(found.count++)] = found.points[static_cast<size_t>(i)];
    }
    return found;
}

Crossings IntersectCircles(Point c1, double r1, Point c2, double r2) {
    Crossings found;
    double dx = c2.x - c1.x;
    double dy = c2.y - c1.y;
    double d = std::hypot(dx, dy);
    if (d == 0) return found;
    double h = (d + (r1 * r1 - r2 * r2) / d) / 2;
    double o = r1 * r1 - h * h;
    if (o < 0) return found;
    double alpha = DirectionAngle(h, std::sqrt(o));
    double t = DirectionAngle(dx, dy);
    found.points[0] = {c1.x + r1 * std::cos(t + alpha), c1.y + r1 * std::sin(t + alpha)};
    found.count = 1;
    if (o > 0) {
        found.points[1] = {c1.x + r1 * std::cos(t - alpha), c1.y + r1 * std::sin(t - alpha)};
        found.count = 2;
    }
    return found;
}

void SortNumberArray(std::span<double> numbers, int32_t low, int32_t high) {
    if (low >= high || !ValidRange(numbers.size(), low, high)) return;
    std::sort(numbers.begin() + low, numbers.begin() + high + 1, Less);
}

void SortPoints(std::span<Point> points, int32_t low, int32_t high, bool byY) {
    if (low >= high || !ValidRange(points.size(), low, high)) return;
    std::sort(points.begin() + low, points.begin() + high + 1,
              [byY](const Point& a, const Point& b) { return byY ? Less(a.y, b.y) : Less(a.x, b.x); });
}

void NormalizeIntRect(IntRect& rect) {
    if (rect.left > rect.right) std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
}

void NormalizeBox(Box& box) {
    if (box.x1 > box.x2) std::swap(box.x1, box.x2);
    if (box.y1 > box.y2) std::swap(box.y1, box.y2);
}

}  // namespace linework
