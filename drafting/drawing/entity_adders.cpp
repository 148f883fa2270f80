#include "drawing/entity_adders.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "drawing/angles.h"
#include "drawing/file_names.h"
#include "drawing/layer_table.h"
#include "drawing/pcx_row_index.h"
#include "winplat/byte_reader.h"

namespace linework {
namespace {

using namespace entity_field;
using Property = CurrentProperties::Property;

constexpr size_t kMaxAttributeBytes = 256;
constexpr size_t kMaxShortString = 255;

uint8_t PropertyByte(const CurrentProperties& properties, Property property) {
    return static_cast<uint8_t>(properties.Get(property));
}

// The record with its head filled from the current properties; empty when memory is short.
EntityRecord NewRecord(AdderContext& context, EntityKind kind, size_t size) {
    EntityRecord record(kind, size);
    if (!record) return record;
    CurrentProperties properties(context.variables);
    record.SetByte(kLayer, PropertyByte(properties, Property::Layer));
    record.SetByte(kColour, PropertyByte(properties, Property::Colour));
    record.SetByte(kWidth, PropertyByte(properties, Property::Width));
    return record;
}

void SetPoint(EntityRecord& record, size_t offset, Point p) {
    record.SetDouble(offset, p.x);
    record.SetDouble(offset + 8, p.y);
}

// Writes the short string at 'offset'; the offset after it.
size_t SetShortString(EntityRecord& record, size_t offset, std::string_view text) {
    record.SetByte(offset, static_cast<uint8_t>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) record.SetByte(offset + 1 + i, static_cast<uint8_t>(text[i]));
    return offset + 1 + text.size();
}

std::string_view Cut(std::string_view text) { return text.substr(0, kMaxShortString); }

// Links, draws and records: the common end of every adder. An empty record (no memory) only sets
// the memory-error flag.
EntityHandle Finish(AdderContext& context, EntityRecord record, uint8_t undoCode, bool draw = true) {
    if (!record) {
        context.drawing.memoryError = true;
        return 0;
    }
    EntityHandle entity = PushEntity(context.drawing, std::move(record));
    if (entity == 0) return 0;
    if (draw) context.draw.DrawEntity(context.drawing, context.drawing[entity], context.drawMode);
    context.undo.SetUndoOperation(undoCode);
    return entity;
}

void SetTextFields(EntityRecord& record, uint8_t justifyAndFont, Point at, double height, double charWidth,
                   double angle) {
    SetPoint(record, kTextX, at);
    record.SetDouble(kTextHeight, height);
    record.SetDouble(kCharWidth, charWidth);
    record.SetDouble(kTextAngle, NormalizeAngle(angle));
    record.SetByte(kJustifyAndFont, justifyAndFont);
}

// The values an insert gives the block's leading attribute definitions; false when they would
// not fit the 256 bytes.
struct InsertAttributes {
    std::vector<Point> definitionPoints;
    std::string values;  // consecutive short strings
};

bool CollectAttributes(AdderContext& context, const BlockDef& block, InsertAttributes& out) {
    const Drawing& drawing = context.drawing;
    int index = 0;
    for (EntityHandle at = block.head; at != 0 && index < kMaxAttributes; at = drawing[at].Next()) {
        const EntityRecord& member = drawing[at];
        if (member.Kind() != EntityKind::AttributeDefinition) break;
        ++index;
        winplat::ByteReader reader(member.Bytes());
        reader.seek(kText);
        for (int skipped = 0; skipped < 3; ++skipped) reader.skip(reader.u8());
        uint16_t flags = reader.u16();
        std::string value = (flags & 0x7F) != 0 && context.textLine ? context.textLine(index) : std::string();
        value = std::string(Cut(value));
        if (out.values.size() + value.size() + 1 > kMaxAttributeBytes) return false;
        out.values += static_cast<char>(value.size());
        out.values += value;
        out.definitionPoints.push_back({member.Double(kTextX), member.Double(kTextY)});
    }
    return true;
}

}  // namespace

EntityHandle AddPolyline(AdderContext& context, std::span<const Point> vertices, bool patterned, bool draw) {
    if (vertices.empty() || vertices.size() > static_cast<size_t>(kMaxPolylineVertices)) return 0;
    const int last = static_cast<int>(vertices.size()) - 1;
    EntityRecord record = NewRecord(context, EntityKind::Polyline, PolylineRecordSize(last + 1));
    if (!record) return Finish(context, std::move(record), 0);
    CurrentProperties properties(context.variables);
    uint8_t code = undo_code::kPolyline;
    if (last == 0) {
        record.Store<float>(kAuxiliarySize, static_cast<float>(properties.MarkerSize()));
        record.SetByte(kStyle, PropertyByte(properties, Property::MarkerStyle));
        code = undo_code::kPoint;
    } else {
        uint8_t lineType = PropertyByte(properties, Property::LineType);
        record.SetByte(kStyle, lineType);
        if (last == 1) {
            code = undo_code::kLine;  // two vertices are never hatched
        } else if (patterned) {
            record.Store<float>(kAuxiliarySize, static_cast<float>(properties.PatternScale()));
            record.SetByte(kStyle, static_cast<uint8_t>(lineType + 8 * PropertyByte(properties, Property::Pattern)));
            code = undo_code::kHatch;
        }
    }
    record.SetByte(kEndSymbol, PropertyByte(properties, Property::EndSymbol));
    record.SetByte(kLastVertex, static_cast<uint8_t>(last));
    size_t at = kVertices;
    for (Point p : vertices) {
        SetPoint(record, at, p);
        at += 16;
    }
    return Finish(context, std::move(record), code, draw);
}

EntityHandle AddArc(AdderContext& context, Point centre, Point start, Point end) {
    EntityRecord record = NewRecord(context, EntityKind::Arc, kArcRecordSize);
    if (!record) return Finish(context, std::move(record), 0);
    SetPoint(record, kCentre, centre);
    SetPoint(record, kArcStart, start);
    SetPoint(record, kArcEnd, end);
    record.SetByte(kArcLineType, PropertyByte(CurrentProperties(context.variables), Property::LineType));
    uint8_t code = IsCircle(record) ? undo_code::kCircle : undo_code::kArc;
    return Finish(context, std::move(record), code);
}

EntityHandle AddText(AdderContext& context, std::string_view text, uint8_t justifyAndFont, Point at, double height,
                     double charWidth, double angle) {
    text = Cut(text);
    EntityRecord record = NewRecord(context, EntityKind::Text, kText + 1 + text.size());
    if (!record) return Finish(context, std::move(record), 0);
    SetTextFields(record, justifyAndFont, at, height, charWidth, angle);
    SetShortString(record, kText, text);
    return Finish(context, std::move(record), undo_code::kText);
}

EntityHandle AddAttributeDefinition(AdderContext& context, const AttributeStrings& strings, uint8_t justifyAndFont,
                                    Point at, double height, double charWidth, double angle) {
    size_t joined = strings.tag.size() + 1 + strings.defaultValue.size() + 1 + strings.prompt.size() + 1 + 2;
    if (joined > kMaxAttributeBytes) return 0;
    EntityRecord record = NewRecord(context, EntityKind::AttributeDefinition, kText + joined);
    if (!record) return Finish(context, std::move(record), 0);
    SetTextFields(record, justifyAndFont, at, height, charWidth, angle);
    size_t offset = SetShortString(record, kText, strings.tag);
    offset = SetShortString(record, offset, strings.defaultValue);
    offset = SetShortString(record, offset, strings.prompt);
    record.Store<uint16_t>(offset, strings.flags);
    return Finish(context, std::move(record), undo_code::kAttributeDefinition);
}

EntityHandle AddDimension(AdderContext& context, const DimensionGeometry& geometry, uint8_t style,
                          std::string_view text) {
    text = Cut(text);
    EntityRecord record = NewRecord(context, EntityKind::Dimension, kDimensionText + 1 + text.size());
    if (!record) return Finish(context, std::move(record), 0);
    for (size_t i = 0; i < geometry.points.size(); ++i) SetPoint(record, kDimensionPoints + 16 * i, geometry.points[i]);
    record.SetDouble(kDimensionValue, geometry.value);
    record.SetByte(kDimensionStyle, style);
    SetShortString(record, kDimensionText, text);
    return Finish(context, std::move(record), undo_code::kDimension);
}

EntityHandle AddBlockInsert(AdderContext& context, BlockHandle block, double xScale, double yScale, double rotation,
                            Point at) {
    const BlockDef& definition = context.drawing.Block(block);
    InsertAttributes attributes;
    if (!CollectAttributes(context, definition, attributes)) {
        context.draw.ClearOverlay();
        context.variables.SetByte(kInsertOverflowSwitch, 1);
        return 0;
    }
    const size_t count = attributes.definitionPoints.size();
    EntityRecord record = NewRecord(context, EntityKind::BlockInsert, kAttributePositions + 16 * count +
                                                                          attributes.values.size());
    if (!record) {
        context.draw.ClearOverlay();
        return Finish(context, std::move(record), 0);
    }
    record.SetDouble(kXScale, xScale);
    record.SetDouble(kYScale, yScale);
    record.SetDouble(kRotation, rotation);
    record.Store<uint32_t>(kBlock, block);
    record.SetByte(kAttributeCount, static_cast<uint8_t>(count));
    SetPoint(record, kInsertX, at);
    for (size_t i = 0; i < count; ++i) {
        double dx = (attributes.definitionPoints[i].x - definition.base.x) * xScale;
        double dy = (attributes.definitionPoints[i].y - definition.base.y) * yScale;
        double angle = DirectionAngle(dx, dy) + rotation;
        double r = std::hypot(dx, dy);
        SetPoint(record, kAttributePositions + 16 * i, {at.x + r * std::cos(angle), at.y + r * std::sin(angle)});
    }
    size_t offset = kAttributePositions + 16 * count;
    for (char c : attributes.values) record.SetByte(offset++, static_cast<uint8_t>(c));
    return Finish(context, std::move(record), undo_code::kInsert);
}

EntityHandle AddDrawingReference(AdderContext& context, std::string_view fileName, double xScale, double yScale,
                                 double rotation, Point at) {
    if (xScale * yScale == 0) return 0;
    std::string name(Cut(CompleteFileName(".LKD", fileName, context.programFolder)));
    EntityRecord record = NewRecord(context, EntityKind::DrawingReference, kReferenceName + 1 + name.size());
    if (!record) return Finish(context, std::move(record), 0);
    record.SetDouble(kXScale, xScale);
    record.SetDouble(kYScale, yScale);
    record.SetDouble(kRotation, NormalizeAngle(rotation));
    SetPoint(record, kReferenceX, at);
    SetShortString(record, kReferenceName, name);
    return Finish(context, std::move(record), undo_code::kDrawingReference);
}

EntityHandle AddRasterImage(AdderContext& context, uint16_t flags, std::string_view fileName, Point topLeft,
                            double pixelWidth, double pixelHeight) {
    std::string name(Cut(CompleteFileName("", fileName, context.programFolder)));
    PcxImageInfo info = ReadPcxImage(name, true, flags);
    if (!info.rows && (info.flags & image_source::kMask) == image_source::kNotLoaded) return 0;
    if (!(pixelWidth > 0) || !(pixelHeight > 0)) return 0;
    EntityRecord record = NewRecord(context, EntityKind::RasterImage, kImageName + 1 + name.size());
    if (!record) return Finish(context, std::move(record), 0);
    record.Store<int16_t>(kLastColumn, info.lastColumn);
    record.Store<int16_t>(kLastRow, info.lastRow);
    record.Store<uint16_t>(kImageFlags, info.flags);
    SetPoint(record, kImageX, topLeft);
    record.SetDouble(kPixelWidth, pixelWidth);
    record.SetDouble(kPixelHeight, pixelHeight);
    SetShortString(record, kImageName, name);
    if (info.rows) AttachRowTable(context.drawing, record, std::move(*info.rows));
    return Finish(context, std::move(record), undo_code::kRasterImage);
}

EntityDrawHook& NoDrawing() {
    static EntityDrawHook none;
    return none;
}

}  // namespace linework
