#include "display/pick_tests.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "display/arc_flattening.h"

namespace linework {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

bool BoxesOverlap(const Box& a, const Box& b) {
    return a.x1 <= b.x2 && b.x1 <= a.x2 && a.y1 <= b.y2 && b.y1 <= a.y2;
}

bool BoxInside(const Box& inner, const Box& outer) {
    return inner.x1 >= outer.x1 && inner.x2 <= outer.x2 && inner.y1 >= outer.y1 && inner.y2 <= outer.y2;
}

Box BoxAround(std::span<const Point> points) {
    Box box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (Point p : points.subspan(1)) {
        box.x1 = std::min(box.x1, p.x);
        box.x2 = std::max(box.x2, p.x);
        box.y1 = std::min(box.y1, p.y);
        box.y2 = std::max(box.y2, p.y);
    }
    return box;
}

// A single point: in the box; never for the fence.
bool LonePointPasses(Point p, const PickRegion& region) {
    return region.rule != PickRule::Fence && PointInBox(p, region.box);
}

enum class SegmentVerdict { Pass, Fail, Next };

// Whether the infinite line through P and Q meets the box's border within it (P and Q not on
// one outer side of the box, so the meeting lies on the segment).
bool LineMeetsBorder(Point p, Point q, const Box& box) {
    double k = (q.y - p.y) / (q.x - p.x);
    double off = p.y - k * p.x;
    auto yWithin = [&](double x) {
        double y = k * x + off;
        return y >= box.y1 && y <= box.y2;
    };
    auto xWithin = [&](double y) {
        double x = (y - off) / k;
        return x >= box.x1 && x <= box.x2;
    };
    return yWithin(box.x1) || xWithin(box.y1) || yWithin(box.x2) || xWithin(box.y2);
}

SegmentVerdict TestSegment(Point p, Point q, const PickRegion& region) {
    const Box& box = region.box;
    if (region.rule == PickRule::Fence) {
        Point at;
        return IntersectLines(p, q, region.fenceA, region.fenceB, kOnFirstSegment | kOnSecondSegment, at)
                   ? SegmentVerdict::Pass
                   : SegmentVerdict::Next;
    }
    const bool window = region.rule == PickRule::Window;
    if ((p.x < box.x1 && q.x < box.x1) || (p.x > box.x2 && q.x > box.x2) || (p.y < box.y1 && q.y < box.y1) ||
        (p.y > box.y2 && q.y > box.y2))
        return window ? SegmentVerdict::Fail : SegmentVerdict::Next;
    if (PointInBox(p, box) && PointInBox(q, box)) return window ? SegmentVerdict::Next : SegmentVerdict::Pass;
    if (window) return SegmentVerdict::Fail;
    if (p.x == q.x || p.y == q.y) return SegmentVerdict::Pass;
    return LineMeetsBorder(p, q, box) ? SegmentVerdict::Pass : SegmentVerdict::Next;
}

// The box round 'count' vertices that 'at' gives; none when a coordinate is not finite (the
// segment rules then decide alone, as they do for such values).
template <class VertexAt>
std::optional<Box> FiniteBoundsOf(size_t count, VertexAt&& at) {
    Box box{kInf, kInf, -kInf, -kInf};
    for (size_t i = 0; i < count; ++i) {
        const Point p = at(i);
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
        box.x1 = std::min(box.x1, p.x);
        box.x2 = std::max(box.x2, p.x);
        box.y1 = std::min(box.y1, p.y);
        box.y2 = std::max(box.y2, p.y);
    }
    return box;
}

// What the vertices' bounding box alone decides, before any segment is looked at: the window
// holds a chain exactly when every vertex lies in it; a chain whose box misses the region (or
// the fence's box) meets none of it; a chain wholly inside a crossing box meets it.
std::optional<bool> BoundsVerdict(const Box& bounds, size_t count, const PickRegion& region) {
    if (count == 0) return false;
    switch (region.rule) {
        case PickRule::Window:
            return BoxInside(bounds, region.box);
        case PickRule::Crossing:
            if (!BoxesOverlap(bounds, region.box)) return false;
            if (BoxInside(bounds, region.box)) return true;
            return std::nullopt;
        case PickRule::Fence: {
            if (count == 1) return false;
            const std::array<Point, 2> fence{region.fenceA, region.fenceB};
            if (!BoxesOverlap(bounds, BoxAround(fence))) return false;
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// An arc record with the given points, for the flattening the drawing uses.
EntityRecord ArcRecord(Point centre, Point start, Point end) {
    EntityRecord arc(EntityKind::Arc, kArcRecordSize);
    if (!arc) return arc;
    arc.SetDouble(entity_field::kCentre, centre.x);
    arc.SetDouble(entity_field::kCentre + 8, centre.y);
    arc.SetDouble(entity_field::kArcStart, start.x);
    arc.SetDouble(entity_field::kArcStart + 8, start.y);
    arc.SetDouble(entity_field::kArcEnd, end.x);
    arc.SetDouble(entity_field::kArcEnd + 8, end.y);
    return arc;
}

// The segment rules over 'count' vertices that 'at' gives one by one.
template <class VertexAt>
bool ChainPassesBy(size_t count, const PickRegion& region, VertexAt&& at) {
    if (count == 0) return false;
    Point p = at(0);
    if (count == 1) return LonePointPasses(p, region);
    for (size_t i = 1; i < count; ++i) {
        Point q = at(i);
        switch (TestSegment(p, q, region)) {
            case SegmentVerdict::Pass: return true;
            case SegmentVerdict::Fail: return false;
            case SegmentVerdict::Next: break;
        }
        p = q;
    }
    // Every segment went on: for the window all of them lay inside.
    return region.rule == PickRule::Window;
}

}  // namespace

bool PointInBox(Point p, const Box& box) {
    return p.x >= box.x1 && p.x <= box.x2 && p.y >= box.y1 && p.y <= box.y2;
}

bool PickTester::ChainPasses(std::span<const Point> chain, const PickRegion& region) {
    return ChainPassesBy(chain.size(), region, [&](size_t i) { return chain[i]; });
}

MemberPlacement MemberPlacement::Then(const InsertView& insert, Point base) const {
    double cs = std::cos(insert.Rotation()), sn = std::sin(insert.Rotation());
    double sx = insert.XScale(), sy = insert.YScale();
    MemberPlacement inner{cs * sx, -sn * sy, sn * sx, cs * sy, 0, 0};
    Point at = insert.Insertion();
    inner.tx = at.x - (inner.a * base.x + inner.b * base.y);
    inner.ty = at.y - (inner.c * base.x + inner.d * base.y);
    return {a * inner.a + b * inner.c, a * inner.b + b * inner.d, c * inner.a + d * inner.c,
            c * inner.b + d * inner.d, a * inner.tx + b * inner.ty + tx, c * inner.tx + d * inner.ty + ty};
}

bool PickTester::Passes(const EntityRecord& entity, const PickRegion& region) {
    open_.clear();
    placement_ = {};
    insert_ = nullptr;
    attribute_ = -1;
    return PassesPlaced(entity, region, 0).value_or(false);
}

Point PickTester::Placed(Point p) const { return placement_.Apply(p); }

std::optional<bool> PickTester::PassesPlaced(const EntityRecord& entity, const PickRegion& region, int depth) {
    if (settings_.only3D && entity.Kind() != EntityKind::Polyline3D) return false;
    return visitEntity(entity, Overloaded{
        [&](const PolylineView& view) -> std::optional<bool> {
            // Read in place: a pass tests every entity, and a copy each would cost more than the test.
            const int count = view.VertexCount();
            // A patterned polyline is an area: its closing side counts.
            if (count <= 0) return false;
            // Each vertex read (and placed) once: a pass over a large drawing spends its time here.
            vertices_.resize(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i) {
                const Point p = view.Vertex(i);
                vertices_[static_cast<size_t>(i)] = insert_ ? Placed(p) : p;
            }
            const bool close = view.PatternNumber() != 0 && count >= 3 && vertices_.back() != vertices_.front();
            const auto vertex = [&](size_t i) { return vertices_[i % static_cast<size_t>(count)]; };
            // Most entities of a large drawing lie far from the box: their bounds settle them.
            if (const std::optional<Box> bounds = FiniteBoundsOf(static_cast<size_t>(count), vertex)) {
                if (const std::optional<bool> verdict = BoundsVerdict(*bounds, static_cast<size_t>(count), region)) {
                    return *verdict;
                }
            }
            return ChainPassesBy(static_cast<size_t>(count + (close ? 1 : 0)), region, vertex);
        },
        [&](const Polyline3DView& view) -> std::optional<bool> { return Polyline3DPasses(view, region); },
        [&](const ArcView& view) -> std::optional<bool> { return ArcPasses(view, region); },
        [&](const TextView& view) -> std::optional<bool> { return LonePointPasses(Placed(view.Insertion()), region); },
        [&](const AttributeDefinitionView& view) -> std::optional<bool> {
            // Inside an insert an attribute stands where the insert keeps its value.
            if (insert_ && attribute_ >= 0) return LonePointPasses(insert_->AttributePosition(attribute_), region);
            return LonePointPasses(Placed(view.Insertion()), region);
        },
        [&](const DimensionView& view) -> std::optional<bool> { return DimensionPasses(view, region); },
        [&](const InsertView& view) -> std::optional<bool> { return InsertPasses(view, region, depth); },
        [&](const ReferenceView& view) -> std::optional<bool> { return LonePointPasses(Placed(view.Insertion()), region); },
        [&](const RasterImageView& view) -> std::optional<bool> { return ImagePasses(view, region); },
        [&](const UnknownEntityView&) -> std::optional<bool> { return false; },
    });
}

bool PickTester::Polyline3DPasses(const Polyline3DView& view, const PickRegion& region) const {
    std::vector<Point> chain;
    for (int i = 0; i < view.VertexCount(); ++i) {
        Point3 v = view.Vertex(i);
        Point at{v.x, v.y};
        // A vertex behind the eye has no place in the drawing plane: the chain breaks there.
        if (settings_.project && !settings_.project(v, at)) {
            if (chain.size() >= 1 && region.rule != PickRule::Window && ChainPasses(chain, region)) return true;
            if (region.rule == PickRule::Window) return false;
            chain.clear();
            continue;
        }
        chain.push_back(Placed(at));
    }
    return !chain.empty() && ChainPasses(chain, region);
}

bool PickTester::ArcPasses(const ArcView& arc, const PickRegion& region) {
    Point centre = Placed(arc.Centre()), start = Placed(arc.Start()), end = Placed(arc.End());
    // A mirroring placement turns the arc clockwise: its ends trade places.
    if (placement_.Mirrors()) std::swap(start, end);
    double r = std::hypot(start.x - centre.x, start.y - centre.y);
    Box square{centre.x - r, centre.y - r, centre.x + r, centre.y + r};
    if (!BoxesOverlap(square, region.box) && region.rule != PickRule::Fence) return false;
    if (!region.pointing && region.rule != PickRule::Fence && BoxInside(square, region.box)) return true;
    EntityRecord placed = ArcRecord(centre, start, end);
    if (!placed) return false;
    ArcPoints points;
    int segments = FlattenArc(ArcView(placed), settings_.pixelSize, settings_.fixedArcSegments, points);
    ++statistics_.arcsFlattened;
    return ChainPasses(std::span<const Point>(points.data(), static_cast<size_t>(segments) + 1), region);
}

bool PickTester::DimensionPasses(const DimensionView& dimension, const PickRegion& region) {
    Point text = Placed(dimension.DimensionPoint(4));
    if (region.rule != PickRule::Window && region.rule != PickRule::Fence && PointInBox(text, region.box)) return true;
    std::array<Point, 4> corners{};
    for (int i = 0; i < 4; ++i) corners[static_cast<size_t>(i)] = Placed(dimension.DimensionPoint(i));
    constexpr uint8_t kAngular = 0x0C;
    if ((dimension.Style() & kAngular) == kAngular) {
        // The arc between the two extension lines, centred where they meet.
        Point centre;
        if (IntersectLines(corners[0], corners[1], corners[3], corners[2], 0, centre)) {
            EntityRecord arc = ArcRecord(centre, corners[1], corners[2]);
            if (!arc) return false;
            ArcPoints points;
            int segments = FlattenArc(ArcView(arc), settings_.pixelSize, settings_.fixedArcSegments, points);
            ++statistics_.arcsFlattened;
            return ChainPasses(std::span<const Point>(points.data(), static_cast<size_t>(segments) + 1), region);
        }
    }
    return ChainPasses(corners, region);
}

bool PickTester::ImagePasses(const RasterImageView& image, const PickRegion& region) const {
    if (!settings_.imagesShown || region.rule == PickRule::Fence) return false;
    if (!(region.pointing ? settings_.imagePointing : settings_.imageSelection)) return false;
    Point top = image.TopLeft();
    std::array<Point, 4> corners{Placed(top), Placed({image.RightX(), top.y}), Placed({image.RightX(), image.BottomY()}),
                                 Placed({top.x, image.BottomY()})};
    Box rectangle = BoxAround(corners);
    return region.rule == PickRule::Window ? BoxInside(rectangle, region.box) : BoxesOverlap(rectangle, region.box);
}

std::optional<bool> PickTester::InsertPasses(const InsertView& insert, const PickRegion& region, int depth) {
    BlockHandle block = insert.Block();
    if (!drawing_.blocks.Holds(block)) return false;
    if (std::find(open_.begin(), open_.end(), block) != open_.end()) return std::nullopt;
    const BlockDef& def = drawing_.Block(block);
    const MemberPlacement savedPlacement = placement_;
    const InsertView* savedInsert = insert_;
    const uint8_t savedLayer = insertLayer_;
    const int savedAttribute = attribute_;
    const uint8_t layer = depth == 0 ? insert.Layer() : EffectiveLayer(insert.Record(), insertLayer_);
    placement_ = placement_.Then(insert, def.base);
    insert_ = &insert;
    insertLayer_ = layer;
    open_.push_back(block);
    const bool window = region.rule == PickRule::Window;
    bool anyTested = false, verdict = window;
    int attribute = 0;
    for (EntityHandle at = def.head; at != 0; at = drawing_[at].Next()) {
        const EntityRecord& member = drawing_[at];
        bool isAttribute = member.Kind() == EntityKind::AttributeDefinition;
        int index = isAttribute ? attribute++ : -1;
        if (member.Erased()) continue;
        // Attribute definitions beyond the insert's values are not shown.
        if (isAttribute && index >= insert.AttributeCount()) continue;
        if (!settings_.allLayers && layers_.Has(EffectiveLayer(member, layer), layer_flag::kNotDrawn)) continue;
        attribute_ = index;
        std::optional<bool> passes = PassesPlaced(member, region, depth + 1);
        if (!passes) continue;
        anyTested = true;
        if (*passes != window) {
            verdict = *passes;
            break;
        }
    }
    open_.pop_back();
    placement_ = savedPlacement;
    insert_ = savedInsert;
    insertLayer_ = savedLayer;
    attribute_ = savedAttribute;
    if (!anyTested) return std::nullopt;
    return verdict;
}

}  // namespace linework
