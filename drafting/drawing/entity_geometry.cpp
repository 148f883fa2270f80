#include "drawing/entity_geometry.h"

#include <algorithm>
#include <cmath>

#include "drawing/angles.h"

namespace linework {
namespace {

using namespace entity_field;

void Widen(Box& box, Point p) {
    box.x1 = std::min(box.x1, p.x);
    box.y1 = std::min(box.y1, p.y);
    box.x2 = std::max(box.x2, p.x);
    box.y2 = std::max(box.y2, p.y);
}

Box Around(Point p) { return {p.x, p.y, p.x, p.y}; }

// Whether the counter-clockwise sweep from a0 to a1 (both in [0, 2pi)) passes direction d.
bool SweepPasses(double a0, double a1, double d) {
    return a0 <= a1 ? (d >= a0 && d <= a1) : (d >= a0 || d <= a1);
}

Box ArcBox(const ArcView& arc) {
    Point c = arc.Centre();
    double r = arc.Radius();
    if (arc.IsCircle()) return {c.x - r, c.y - r, c.x + r, c.y + r};
    Box box = Around(arc.Start());
    Widen(box, arc.End());
    double a0 = DirectionAngle(arc.Start().x - c.x, arc.Start().y - c.y);
    double a1 = DirectionAngle(arc.End().x - c.x, arc.End().y - c.y);
    const Point extremes[] = {{c.x + r, c.y}, {c.x, c.y + r}, {c.x - r, c.y}, {c.x, c.y - r}};
    for (int quarter = 0; quarter < 4; ++quarter) {
        if (SweepPasses(a0, a1, quarter * kHalfPi)) Widen(box, extremes[quarter]);
    }
    return box;
}

Box ImageBox(const RasterImageView& image) {
    Box box = Around(image.TopLeft());
    Widen(box, {image.RightX(), image.BottomY()});
    return box;
}

Box PointsBox(const EntityRecord& record) {
    bool first = true;
    Box box;
    ForEachPointOffset(record, [&](size_t offset) {
        Point p{record.Double(offset), record.Double(offset + 8)};
        if (first) box = Around(p);
        Widen(box, p);
        first = false;
    });
    return box;
}

}  // namespace

bool HasFiniteGeometry(const EntityRecord& record) {
    bool finite = true;
    ForEachPointOffset(record, [&](size_t offset) {
        finite = finite && std::isfinite(record.Double(offset)) && std::isfinite(record.Double(offset + 8));
    });
    if (!finite) return false;
    return visitEntity(record, Overloaded{
        [](const Polyline3DView& view) {
            for (int i = 0; i < view.VertexCount(); ++i) {
                if (!std::isfinite(view.Vertex(i).z)) return false;
            }
            return true;
        },
        [](const TextFieldsView& view) {
            return std::isfinite(view.Height()) && std::isfinite(view.CharWidth()) && std::isfinite(view.Angle());
        },
        [](const InsertView& view) {
            return std::isfinite(view.XScale()) && std::isfinite(view.YScale()) && std::isfinite(view.Rotation());
        },
        [](const RasterImageView& view) {
            return std::isfinite(view.PixelWidth()) && std::isfinite(view.PixelHeight());
        },
        [](const EntityView&) { return true; },
    });
}

std::optional<Box> EntityBounds(const EntityRecord& record) {
    if (!HasFiniteGeometry(record)) return std::nullopt;
    return visitEntity(record, Overloaded{
        [](const ArcView& arc) { return ArcBox(arc); },
        [](const RasterImageView& image) { return ImageBox(image); },
        [](const TextFieldsView& text) { return Around(text.Insertion()); },
        [](const InsertView& insert) { return Around(insert.Insertion()); },
        [&](const EntityView&) { return PointsBox(record); },
    });
}

void MoveEntity(EntityRecord& record, double dx, double dy) {
    ForEachPointOffset(record, [&](size_t offset) {
        record.SetDouble(offset, record.Double(offset) + dx);
        record.SetDouble(offset + 8, record.Double(offset + 8) + dy);
    });
}

}  // namespace linework
