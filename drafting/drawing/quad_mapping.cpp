#include "drawing/quad_mapping.h"

#include <cmath>

#include "drawing/angles.h"
#include "drawing/entity_geometry.h"

namespace linework {

namespace {

Point Along(Point from, double direction, double length = 1) {
    return {from.x + length * std::cos(direction), from.y + length * std::sin(direction)};
}

// The distance of p from the line through 'start' in 'direction', positive on its left.
double LeftDistance(Point start, double direction, Point p) {
    return (p.y - start.y) * std::cos(direction) - (p.x - start.x) * std::sin(direction);
}

// An angle folded into (-pi/2, pi/2]: a direction and its opposite are the same line.
double Folded(double angle) { return std::atan(std::sin(angle) / std::cos(angle)); }

// The pair of sides f1->f2 and g1->g2.
std::optional<SidePair> PrepareSides(Point f1, Point f2, Point g1, Point g2, double tolerance) {
    SidePair pair;
    pair.direction = DirectionAngle(f2.x - f1.x, f2.y - f1.y);
    const double between = DirectionAngle(g2.x - g1.x, g2.y - g1.y) - pair.direction;
    if (std::fabs(std::sin(between)) > tolerance) {
        pair.converging = true;
        if (!IntersectLines(f1, f2, g1, g2, 0, pair.apex)) return std::nullopt;
        pair.total = Folded(between);
    } else {
        pair.start = f1;
        pair.total = LeftDistance(f1, pair.direction, g1);
    }
    if (pair.total == 0 || !std::isfinite(pair.total)) return std::nullopt;
    return pair;
}

// Where the point lies between the pair's sides, in the pair's own measure.
double Parameter(const SidePair& pair, Point p) {
    if (pair.converging) return Folded(DirectionAngle(p.x - pair.apex.x, p.y - pair.apex.y) - pair.direction);
    return LeftDistance(pair.start, pair.direction, p);
}

// The line of the pair at that parameter, as two points on it.
std::array<Point, 2> LineAt(const SidePair& pair, double parameter) {
    if (pair.converging) return {pair.apex, Along(pair.apex, pair.direction + parameter)};
    const Point shifted = Along(pair.start, pair.direction + kHalfPi, parameter);
    return {shifted, Along(shifted, pair.direction)};
}

}  // namespace

std::optional<QuadTransform> SetupQuadTransform(const Quad& s, const Quad& t, double parallelTolerance) {
    auto first = [&](const Quad& q) { return PrepareSides(q[0], q[1], q[3], q[2], parallelTolerance); };
    auto second = [&](const Quad& q) { return PrepareSides(q[1], q[2], q[0], q[3], parallelTolerance); };
    auto s1 = first(s), t1 = first(t), s2 = second(s), t2 = second(t);
    if (!s1 || !t1 || !s2 || !t2) return std::nullopt;
    return QuadTransform{{*s1, *s2}, {*t1, *t2}};
}

bool MapPointThroughQuads(const QuadTransform& transform, Point& point) {
    std::array<std::array<Point, 2>, 2> lines;
    for (size_t i = 0; i < 2; ++i) {
        const SidePair& from = transform.source[i];
        const SidePair& to = transform.target[i];
        lines[i] = LineAt(to, Parameter(from, point) * to.total / from.total);
    }
    Point at;
    if (!IntersectLines(lines[0][0], lines[0][1], lines[1][0], lines[1][1], 0, at)) return false;
    if (!std::isfinite(at.x) || !std::isfinite(at.y)) return false;
    point = at;
    return true;
}

void MapEntityThroughQuads(const QuadTransform& transform, EntityRecord& record) {
    ForEachPointOffset(record, [&](size_t offset) {
        Point point{record.Double(offset), record.Double(offset + 8)};
        if (!MapPointThroughQuads(transform, point)) return;
        record.SetDouble(offset, point.x);
        record.SetDouble(offset + 8, point.y);
    });
}

}  // namespace linework
