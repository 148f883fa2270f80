#include "drawing/entity_copy.h"

#include <vector>

#include "drawing/entity_geometry.h"
#include "drawing/entity_views.h"
#include "drawing/layer_table.h"
#include "drawing/saved_properties.h"

namespace linework {
namespace {

using namespace entity_field;
using Property = CurrentProperties::Property;

constexpr uint16_t kProtectedImage = 0x0400;

Point Moved(Point p, double dx, double dy) { return {p.x + dx, p.y + dy}; }

void TakeHeadProperties(CurrentProperties& properties, const EntityRecord& record, const CopyKeepSwitches& keep) {
    if (keep.layer) properties.Set(Property::Layer, record.Layer());
    if (keep.colour) properties.Set(Property::Colour, record.Colour());
    if (keep.width) properties.Set(Property::Width, record.Width());
}

EntityHandle CopyPolyline(AdderContext& context, const PolylineView& view, double dx, double dy,
                          const CopyKeepSwitches& keep) {
    std::vector<Point> vertices;
    vertices.reserve(static_cast<size_t>(view.VertexCount()));
    for (int i = 0; i < view.VertexCount(); ++i) vertices.push_back(Moved(view.Vertex(i), dx, dy));
    CurrentProperties properties(context.variables);
    context.variables.SetDouble(CurrentProperties::kMarkerSize, view.AuxiliarySize());
    context.variables.SetDouble(CurrentProperties::kPatternScale, view.AuxiliarySize());
    if (keep.endSymbol) properties.Set(Property::EndSymbol, view.EndSymbol());
    if (keep.lineType) properties.Set(Property::LineType, view.Style() & 7);
    properties.Set(Property::MarkerStyle, view.Style());
    properties.Set(Property::Pattern, view.Style() >> 3);
    return AddPolyline(context, vertices, view.Style() >= 8, true);
}

// An insert keeps its block and values: a byte copy with the head of a new entity.
EntityHandle CopyInsert(AdderContext& context, const EntityRecord& original, double dx, double dy) {
    EntityRecord copy = EntityRecord::FromBytes(original.Bytes());
    if (!copy) {
        context.drawing.memoryError = true;
        return 0;
    }
    CurrentProperties properties(context.variables);
    copy.Store<float>(kLevel, 0.0f);
    copy.SetByte(kKindAndFlags, static_cast<uint8_t>(copy.KindAndFlags() & ~(entity_flag::kSelected |
                                                                               entity_flag::kPreviousSelection)));
    copy.SetByte(kLayer, static_cast<uint8_t>(properties.Get(Property::Layer)));
    copy.SetByte(kColour, static_cast<uint8_t>(properties.Get(Property::Colour)));
    copy.SetByte(kWidth, static_cast<uint8_t>(properties.Get(Property::Width)));
    MoveEntity(copy, dx, dy);
    EntityHandle entity = PushEntity(context.drawing, std::move(copy));
    if (entity != 0) context.draw.DrawEntity(context.drawing, context.drawing[entity], context.drawMode);
    return entity;
}

EntityHandle CopyOne(AdderContext& context, EntityHandle source, double dx, double dy, const CopyKeepSwitches& keep) {
    // Adders may move the drawing's records in memory: work on a copy of the bytes.
    EntityRecord original = EntityRecord::FromBytes(context.drawing[source].Bytes());
    if (!original) return 0;
    CurrentProperties properties(context.variables);
    TakeHeadProperties(properties, original, keep);
    return visitEntity(original, Overloaded{
        [&](const PolylineView& view) { return CopyPolyline(context, view, dx, dy, keep); },
        [&](const ArcView& view) {
            if (keep.lineType) properties.Set(Property::LineType, view.LineType());
            return AddArc(context, Moved(view.Centre(), dx, dy), Moved(view.Start(), dx, dy), Moved(view.End(), dx, dy));
        },
        [&](const TextView& view) {
            return AddText(context, view.Text(), view.JustifyAndFont(), Moved(view.Insertion(), dx, dy), view.Height(),
                           view.CharWidth(), view.Angle());
        },
        [&](const AttributeDefinitionView& view) {
            AttributeStrings strings{std::string(view.Tag()), std::string(view.Default()), std::string(view.Prompt()),
                                     view.Flags()};
            return AddAttributeDefinition(context, strings, view.JustifyAndFont(), Moved(view.Insertion(), dx, dy),
                                          view.Height(), view.CharWidth(), view.Angle());
        },
        [&](const DimensionView& view) {
            DimensionGeometry geometry;
            for (int i = 0; i < DimensionView::kPointCount; ++i) {
                geometry.points[static_cast<size_t>(i)] = Moved(view.DimensionPoint(i), dx, dy);
            }
            geometry.value = view.Value();
            return AddDimension(context, geometry, view.Style(), view.Text());
        },
        [&](const InsertView&) { return CopyInsert(context, original, dx, dy); },
        [&](const ReferenceView& view) {
            return AddDrawingReference(context, view.FileName(), view.XScale(), view.YScale(), view.Rotation(),
                                       Moved(view.Insertion(), dx, dy));
        },
        [&](const RasterImageView& view) {
            return AddRasterImage(context, view.Flags(), view.FileName(), Moved(view.TopLeft(), dx, dy),
                                  view.PixelWidth(), view.PixelHeight());
        },
        [&](const EntityView&) { return EntityHandle{0}; },
    });
}

bool Copyable(const EntityRecord& record) {
    if ((record.KindAndFlags() & entity_flag::kSelected) == 0) return false;
    return record.Kind() != EntityKind::RasterImage || (record.Load<uint16_t>(kImageFlags) & kProtectedImage) == 0;
}

// Reverses the records from the head down to (not including) 'stop', so the run pushed newest
// first stands oldest first.
void ReverseRun(Drawing& drawing, EntityHandle stop) {
    EntityHandle reversed = stop;
    EntityHandle at = drawing.head;
    while (at != stop) {
        EntityHandle next = drawing[at].Next();
        drawing[at].SetNext(reversed);
        reversed = at;
        at = next;
    }
    drawing.head = reversed;
}

}  // namespace

int AddEntityFromRecord(AdderContext& context, double dx, double dy, const CopyKeepSwitches& keep) {
    Drawing& drawing = context.drawing;
    const EntityHandle start = drawing.head;
    int copies = 0;
    {
        SavedProperties saved(context.variables);
        for (EntityHandle at = start; at != 0 && !drawing.memoryError; at = drawing[at].Next()) {
            if (!Copyable(drawing[at])) continue;
            if (CopyOne(context, at, dx, dy, keep) != 0) ++copies;
        }
    }
    ReverseRun(drawing, start);
    context.undo.SetUndoOperation(undo_code::kCopy);
    return copies;
}

}  // namespace linework
