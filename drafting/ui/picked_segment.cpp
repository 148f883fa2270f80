#include "ui/picked_segment.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "drawing/entity_views.h"

namespace linework {

namespace {

double DistanceToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0;
    if (lengthSquared > 0) t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

std::optional<std::pair<Point, Point>> NearestPolylineSegment(const Drawing& drawing, EntityHandle entity, Point at) {
    if (entity == 0 || !drawing.entities.Holds(entity)) return std::nullopt;
    const EntityRecord& record = drawing[entity];
    if (record.Kind() != EntityKind::Polyline) return std::nullopt;
    const PolylineView line(record);
    const int segments = line.SegmentCount();
    if (segments < 1) return std::nullopt;
    int best = 0;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int i = 0; i < segments; ++i) {
        const double d = DistanceToSegment(at, line.Vertex(i), line.Vertex(i + 1));
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return std::pair{line.Vertex(best), line.Vertex(best + 1)};
}

}  // namespace linework
