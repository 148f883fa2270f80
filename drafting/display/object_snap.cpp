#include "display/object_snap.h"

#include <algorithm>
#include <cmath>

#include "drawing/angles.h"
#include "drawing/entity_views.h"

namespace linework {

namespace {

// A straight piece or an arc under the cursor.
struct Piece {
    bool arc = false;
    Point a, b;          // segment ends; an arc's start and end
    Point centre;
    double radius = 0;
    bool circle = false;
};

double Distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Whether p lies on the arc's sweep (counter-clockwise from start to end).
bool OnSweep(const Piece& arc, Point p) {
    if (arc.circle) return true;
    const double a0 = DirectionAngle(arc.a.x - arc.centre.x, arc.a.y - arc.centre.y);
    double a1 = DirectionAngle(arc.b.x - arc.centre.x, arc.b.y - arc.centre.y);
    double t = DirectionAngle(p.x - arc.centre.x, p.y - arc.centre.y);
    if (a1 < a0) a1 += kTwoPi;
    if (t < a0) t += kTwoPi;
    return t <= a1;
}

bool ArcMeets(const Piece& arc, const PickBox& box) {
    const double d = Distance(arc.centre, box.centre);
    if (std::fabs(d - arc.radius) > box.half * std::numbers::sqrt2) return false;
    if (arc.circle || d == 0) return true;
    const Point nearest{arc.centre.x + (box.centre.x - arc.centre.x) * arc.radius / d,
                        arc.centre.y + (box.centre.y - arc.centre.y) * arc.radius / d};
    return OnSweep(arc, nearest) || box.Contains(arc.a) || box.Contains(arc.b);
}

bool Findable(const EntityRecord& entity, const LayerTable& layers) {
    return !entity.Erased() && !layers.Has(entity.Layer(), layer_flag::kNotDrawn);
}

// Calls visit(piece) for each segment or arc of the list under the box, in list order, until it
// returns true.
template <class Visit>
void ForEachPieceUnder(const Drawing& drawing, const LayerTable& layers, const PickBox& box, Visit&& visit) {
    for (EntityHandle at = drawing.head; at != 0; at = drawing[at].Next()) {
        const EntityRecord& entity = drawing[at];
        if (!Findable(entity, layers)) continue;
        bool done = false;
        visitEntity(entity, Overloaded{
            [&](const PolylineView& polyline) {
                for (int i = 1; i <= polyline.SegmentCount() && !done; ++i) {
                    Piece piece{false, polyline.Vertex(i - 1), polyline.Vertex(i), {}, 0, false};
                    if (box.Meets(piece.a, piece.b)) done = visit(piece);
                }
            },
            [&](const ArcView& arc) {
                Piece piece{true, arc.Start(), arc.End(), arc.Centre(), arc.Radius(), arc.IsCircle()};
                if (ArcMeets(piece, box)) done = visit(piece);
            },
            [](const EntityView&) {},
        });
        if (done) return;
    }
}

// The point of a single entity for modes 1, 7 and 11; none when the entity has none there.
std::optional<Point> PointOfKind(int mode, const EntityRecord& entity) {
    return visitEntity(entity, Overloaded{
        [&](const InsertView& insert) -> std::optional<Point> {
            if (mode == 1) return insert.Insertion();
            return std::nullopt;
        },
        [&](const ReferenceView& reference) -> std::optional<Point> {
            if (mode == 1) return reference.Insertion();
            return std::nullopt;
        },
        [&](const RasterImageView& image) -> std::optional<Point> {
            if (mode == 1) return image.TopLeft();
            return std::nullopt;
        },
        [&](const PolylineView& polyline) -> std::optional<Point> {
            if (mode == 7 && polyline.IsPoint()) return polyline.Vertex(0);
            return std::nullopt;
        },
        [&](const TextFieldsView& text) -> std::optional<Point> {
            if (mode == 11) return text.Insertion();
            return std::nullopt;
        },
        [&](const DimensionView& dimension) -> std::optional<Point> {
            if (mode == 11) return dimension.DimensionPoint(4);
            return std::nullopt;
        },
        [](const EntityView&) -> std::optional<Point> { return std::nullopt; },
    });
}

std::optional<Point> PointOfEntityUnder(int mode, const Drawing& drawing, const LayerTable& layers, const PickBox& box) {
    for (EntityHandle at = drawing.head; at != 0; at = drawing[at].Next()) {
        const EntityRecord& entity = drawing[at];
        if (!Findable(entity, layers)) continue;
        std::optional<Point> point = PointOfKind(mode, entity);
        if (point && box.Contains(*point)) return point;
    }
    return std::nullopt;
}

std::optional<Point> NearerEnd(const Drawing& drawing, const LayerTable& layers, const PickBox& box) {
    std::optional<Point> found;
    ForEachPieceUnder(drawing, layers, box, [&](const Piece& piece) {
        if (piece.arc && piece.circle) return false;  // a circle has no ends
        found = Distance(piece.a, box.centre) <= Distance(piece.b, box.centre) ? piece.a : piece.b;
        return true;
    });
    return found;
}

std::optional<Point> Middle(const Drawing& drawing, const LayerTable& layers, const PickBox& box) {
    std::optional<Point> found;
    ForEachPieceUnder(drawing, layers, box, [&](const Piece& piece) {
        if (piece.arc) return false;
        found = Point{(piece.a.x + piece.b.x) / 2, (piece.a.y + piece.b.y) / 2};
        return true;
    });
    return found;
}

Crossings Cross(const Piece& p, const Piece& q) {
    Crossings crossings;
    if (!p.arc && !q.arc) {
        Point at;
        if (IntersectLines(p.a, p.b, q.a, q.b, kOnFirstSegment | kOnSecondSegment, at)) crossings = {{at, {}}, 1};
        return crossings;
    }
    if (p.arc && q.arc) {
        crossings = IntersectCircles(p.centre, p.radius, q.centre, q.radius);
    } else {
        const Piece& line = p.arc ? q : p;
        const Piece& arc = p.arc ? p : q;
        crossings = IntersectLineCircle(line.a, line.b, arc.centre, arc.radius, true);
    }
    // Points off an arc's sweep are no crossing of the arc.
    Crossings kept;
    for (int i = 0; i < crossings.count; ++i) {
        const Point at = crossings.points[static_cast<size_t>(i)];
        if ((p.arc && !OnSweep(p, at)) || (q.arc && !OnSweep(q, at))) continue;
        kept.points[static_cast<size_t>(kept.count++)] = at;
    }
    return kept;
}

std::optional<Point> Intersection(const Drawing& drawing, const LayerTable& layers, const PickBox& box) {
    std::vector<Piece> pieces;
    ForEachPieceUnder(drawing, layers, box, [&](const Piece& piece) {
        pieces.push_back(piece);
        return pieces.size() == 2;
    });
    if (pieces.size() < 2) return std::nullopt;
    const Crossings crossings = Cross(pieces[0], pieces[1]);
    std::optional<Point> best;
    for (int i = 0; i < crossings.count; ++i) {
        const Point at = crossings.points[static_cast<size_t>(i)];
        if (!best || Distance(at, box.centre) < Distance(*best, box.centre)) best = at;
    }
    return best;
}

}  // namespace

bool PickBox::Contains(Point p) const {
    return std::fabs(p.x - centre.x) <= half && std::fabs(p.y - centre.y) <= half;
}

bool PickBox::Meets(Point a, Point b) const {
    // Liang-Barsky: the part of the segment inside the box is not empty.
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - (centre.x - half), (centre.x + half) - a.x, a.y - (centre.y - half),
                         (centre.y + half) - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) return false;
    }
    return true;
}

std::optional<Point> ObjectSnapPoint(int mode, const Drawing& drawing, const LayerTable& layers, const PickBox& box) {
    switch (mode) {
        case 1:
        case 7:
        case 11: return PointOfEntityUnder(mode, drawing, layers, box);
        case 3: return NearerEnd(drawing, layers, box);
        case 4: return Intersection(drawing, layers, box);
        case 5: return Middle(drawing, layers, box);
        default: return std::nullopt;
    }
}

std::vector<Point> SnapPointsUnder(const Drawing& drawing, const LayerTable& layers, const PickBox& box) {
    std::vector<Point> points;
    for (EntityHandle at = drawing.head; at != 0; at = drawing[at].Next()) {
        const EntityRecord& entity = drawing[at];
        if (!Findable(entity, layers)) continue;
        visitEntity(entity, Overloaded{
            [&](const PolylineView& polyline) {
                bool under = polyline.IsPoint() && box.Contains(polyline.Vertex(0));
                for (int i = 1; i <= polyline.SegmentCount() && !under; ++i) {
                    under = box.Meets(polyline.Vertex(i - 1), polyline.Vertex(i));
                }
                if (!under) return;
                for (int i = 0; i < polyline.VertexCount(); ++i) points.push_back(polyline.Vertex(i));
            },
            [&](const ArcView& arc) {
                Piece piece{true, arc.Start(), arc.End(), arc.Centre(), arc.Radius(), arc.IsCircle()};
                if (!ArcMeets(piece, box)) return;
                points.push_back(arc.Centre());
                points.push_back(arc.Start());
                if (!arc.IsCircle()) points.push_back(arc.End());
            },
            [&](const EntityView&) {
                for (int mode : {1, 11}) {
                    std::optional<Point> point = PointOfKind(mode, entity);
                    if (point && box.Contains(*point)) points.push_back(*point);
                }
            },
        });
    }
    return points;
}

}  // namespace linework
