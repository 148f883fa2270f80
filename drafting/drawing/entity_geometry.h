// Bounds and transforms over the entity views: which points of a record a transform moves, whether
// every coordinate is a finite number, the world box of an entity's own geometry, and the move.
#ifndef LINEWORK_DRAWING_ENTITY_GEOMETRY_H
#define LINEWORK_DRAWING_ENTITY_GEOMETRY_H

#include <optional>

#include "drawing/entity_record.h"
#include "drawing/entity_views.h"
#include "drawing/geometry.h"

namespace linework {

// The offsets of the (x, y) pairs a transform moves, in record order: every vertex of a polyline
// (the x and y of a 3-D one), an arc's centre, start and end, the insertion point of a text,
// attribute definition, reference or image (its upper-left corner), a dimension's five points, an
// insert's insertion point and its attribute positions.
template <class Visit>
void ForEachPointOffset(const EntityRecord& record, Visit&& visit) {
    using namespace entity_field;
    auto series = [&](size_t first, int count, size_t stride) {
        for (int i = 0; i < count; ++i) visit(first + stride * static_cast<size_t>(i));
    };
    visitEntity(record, Overloaded{
        [&](const PolylineView& view) { series(kVertices, view.VertexCount(), 16); },
        [&](const Polyline3DView& view) { series(kVertices, view.VertexCount(), 24); },
        [&](const ArcView&) { series(kCentre, 3, 16); },
        [&](const TextFieldsView&) { visit(kTextX); },
        [&](const DimensionView&) { series(kDimensionPoints, DimensionView::kPointCount, 16); },
        [&](const InsertView& view) {
            visit(kInsertX);
            series(kAttributePositions, view.AttributeCount(), 16);
        },
        [&](const ReferenceView&) { visit(kReferenceX); },
        [&](const RasterImageView&) { visit(kImageX); },
        [&](const UnknownEntityView&) {},
    });
}

// False when any coordinate or size the entity is drawn from is NaN or infinite.
bool HasFiniteGeometry(const EntityRecord& record);

// The box of the entity's own geometry: vertices, an arc's swept extremes, an image's rectangle,
// the insertion point of a text, insert or reference (whose extents need their fonts or blocks).
// None for an entity that is not finite.
std::optional<Box> EntityBounds(const EntityRecord& record);

// Adds (dx, dy) to each point ForEachPointOffset names.
void MoveEntity(EntityRecord& record, double dx, double dy);

}  // namespace linework

#endif
