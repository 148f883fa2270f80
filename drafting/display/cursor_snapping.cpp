#include "display/cursor_snapping.h"

#include <cmath>

#include "drawing/angles.h"

namespace linework {

namespace {
bool Usable(double step) { return step > 0 && std::isfinite(step); }
}  // namespace

double SnapToGridAxis(double value, double spacing, double origin) {
    if (!Usable(spacing)) return value;
    const double sign = value - origin < 0 ? -1.0 : 1.0;
    return std::trunc((value + 0.5 * spacing * sign - origin) / spacing) * spacing + origin;
}

GridSnap SnapToGrid(Point& point, const GridSnapRequest& request) {
    if (!Usable(request.spacingX) || !Usable(request.spacingY) || !Usable(request.scale)) return GridSnap::Off;
    if (request.spacingX / request.scale < request.minimumPitch || request.spacingY / request.scale < request.minimumPitch) {
        return GridSnap::TooFine;
    }
    point.x = SnapToGridAxis(point.x, request.spacingX, request.origin.x);
    point.y = SnapToGridAxis(point.y, request.spacingY, request.origin.y);
    return GridSnap::Snapped;
}

Point OrthoSnap(Point cursor, Point reference) {
    if (std::fabs(cursor.x - reference.x) < std::fabs(cursor.y - reference.y)) return {reference.x, cursor.y};
    return {cursor.x, reference.y};
}

Point AngleSnap(Point cursor, Point reference, double origin, double step) {
    if (!Usable(step) || !std::isfinite(origin)) return cursor;
    const double dx = cursor.x - reference.x, dy = cursor.y - reference.y;
    const double distance = std::hypot(dx, dy);
    const double difference = DirectionAngle(dx, dy) - origin;
    // The nearest multiple, counted at once rather than a step at a time: the difference may be
    // many steps when the step is tiny.
    const double steps = std::ceil(std::fabs(difference) / step - 0.5);
    const double angle = origin + std::copysign(steps, difference) * step;
    return {reference.x + distance * std::cos(angle), reference.y + distance * std::sin(angle)};
}

}  // namespace linework
