// Small records for the drawing model's tests, built field by field as the adders will.
#ifndef TESTS_DRAFTING_SUPPORT_ENTITY_BUILDERS_H
#define TESTS_DRAFTING_SUPPORT_ENTITY_BUILDERS_H

#include <initializer_list>
#include <string_view>

#include "drawing/drawing.h"
#include "drawing/entity_record.h"

namespace linework::test {

inline EntityRecord Polyline(std::initializer_list<Point> vertices, uint8_t layer = 0, uint8_t endSymbol = 0,
                             uint8_t style = 0) {
    EntityRecord record(EntityKind::Polyline, PolylineRecordSize(static_cast<int>(vertices.size())));
    record.SetByte(entity_field::kLayer, layer);
    record.SetByte(entity_field::kEndSymbol, endSymbol);
    record.SetByte(entity_field::kStyle, style);
    record.SetByte(entity_field::kLastVertex, static_cast<uint8_t>(vertices.size() - 1));
    size_t at = entity_field::kVertices;
    for (Point p : vertices) {
        record.SetDouble(at, p.x);
        record.SetDouble(at + 8, p.y);
        at += 16;
    }
    return record;
}

inline EntityRecord Arc(Point centre, Point start, Point end) {
    EntityRecord record(EntityKind::Arc, kArcRecordSize);
    record.SetDouble(entity_field::kCentre, centre.x);
    record.SetDouble(entity_field::kCentre + 8, centre.y);
    record.SetDouble(entity_field::kArcStart, start.x);
    record.SetDouble(entity_field::kArcStart + 8, start.y);
    record.SetDouble(entity_field::kArcEnd, end.x);
    record.SetDouble(entity_field::kArcEnd + 8, end.y);
    return record;
}

inline EntityRecord Text(std::string_view text, Point at = {}) {
    EntityRecord record(EntityKind::Text, 57 + text.size());
    record.SetDouble(entity_field::kTextX, at.x);
    record.SetDouble(entity_field::kTextY, at.y);
    record.SetByte(entity_field::kText, static_cast<uint8_t>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) record.SetByte(entity_field::kText + 1 + i, static_cast<uint8_t>(text[i]));
    return record;
}

// An insert without attribute values.
inline EntityRecord Insert(BlockHandle block, Point at = {}) {
    EntityRecord record(EntityKind::BlockInsert, 60);
    record.SetDouble(entity_field::kXScale, 1);
    record.SetDouble(entity_field::kYScale, 1);
    record.Store<uint32_t>(entity_field::kBlock, block);
    record.SetDouble(entity_field::kInsertX, at.x);
    record.SetDouble(entity_field::kInsertY, at.y);
    return record;
}

}  // namespace linework::test

#endif
