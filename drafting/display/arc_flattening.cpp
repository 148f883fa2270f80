#include "display/arc_flattening.h"

#include <algorithm>
#include <cmath>

#include "drawing/angles.h"
#include "drawing/entity_builders.h"
#include "drawing/view_transform.h"

namespace linework {
namespace {

// The square root of the radius in pixels from which a circle gets the most segments.
constexpr double kFinestRoot = 62.5;

double Sweep(const ArcView& arc) {
    if (arc.IsCircle()) return kTwoPi;
    Point c = arc.Centre(), start = arc.Start(), end = arc.End();
    double a0 = DirectionAngle(start.x - c.x, start.y - c.y);
    double a1 = DirectionAngle(end.x - c.x, end.y - c.y);
    if (a1 < a0) a0 -= kTwoPi;
    return a1 - a0;
}

}  // namespace

int CircleSegmentCount(double radius, double pixelSize, int fixedCount) {
    if (fixedCount != 0) return std::clamp(fixedCount, 1, kMaxArcSegments);
    if (!(pixelSize > 0) || !std::isfinite(pixelSize)) return kMaxArcSegments;
    double root = std::sqrt(radius / pixelSize);
    if (root >= kFinestRoot) return kMaxArcSegments;
    int count = 4 * RoundToPixel(root);
    return count == 4 ? 6 : count;
}

int FlattenArc(const ArcView& arc, double pixelSize, int fixedCount, ArcPoints& points) {
    double sweep = Sweep(arc);
    int full = CircleSegmentCount(arc.Radius(), pixelSize, fixedCount);
    int count = std::clamp(RoundToPixel(full * sweep / kTwoPi), 1, kMaxArcSegments);
    Point c = arc.Centre();
    points[0] = arc.Start();
    // Turned step by step: one sine and cosine per arc instead of per point.
    double cs = std::cos(sweep / count), sn = std::sin(sweep / count);
    double vx = points[0].x - c.x, vy = points[0].y - c.y;
    for (int i = 1; i < count; ++i) {
        double turned = vx * cs - vy * sn;
        vy = vx * sn + vy * cs;
        vx = turned;
        points[static_cast<size_t>(i)] = {c.x + vx, c.y + vy};
    }
    points[static_cast<size_t>(count)] = arc.End();
    return count;
}

EntityRecord ArcToPolyline(const ArcView& arc, double pixelSize, int fixedCount) {
    ArcPoints points;
    int count = FlattenArc(arc, pixelSize, fixedCount, points);
    HeadFields head{arc.Layer(), arc.Colour(), arc.Width()};
    return MakePolyline(std::span<const Point>(points.data(), static_cast<size_t>(count) + 1), head, 0,
                        static_cast<uint8_t>(arc.LineType() & 7));
}

}  // namespace linework
