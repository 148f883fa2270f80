#include "drawing/entity_builders.h"

#include <algorithm>

namespace linework {
namespace {

using namespace entity_field;

EntityRecord WithHead(EntityKind kind, size_t size, HeadFields head) {
    EntityRecord record(kind, size);
    if (!record) return record;
    record.SetByte(kLayer, head.layer);
    record.SetByte(kColour, head.colour);
    record.SetByte(kWidth, head.width);
    return record;
}

void StorePoint(EntityRecord& record, size_t offset, Point p) {
    record.SetDouble(offset, p.x);
    record.SetDouble(offset + 8, p.y);
}

std::string_view Cut(std::string_view text) { return text.substr(0, 255); }

void StoreShortString(EntityRecord& record, size_t offset, std::string_view text) {
    record.SetByte(offset, static_cast<uint8_t>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) record.SetByte(offset + 1 + i, static_cast<uint8_t>(text[i]));
}

}  // namespace

EntityRecord MakePolyline(std::span<const Point> vertices, HeadFields head, uint8_t endSymbol, uint8_t style,
                          float auxiliarySize) {
    if (vertices.empty()) return {};
    vertices = vertices.first(std::min<size_t>(vertices.size(), kMaxPolylineVertices));
    EntityRecord record = WithHead(EntityKind::Polyline, PolylineRecordSize(static_cast<int>(vertices.size())), head);
    if (!record) return record;
    record.Store<float>(kAuxiliarySize, auxiliarySize);
    record.SetByte(kEndSymbol, endSymbol);
    record.SetByte(kStyle, style);
    record.SetByte(kLastVertex, static_cast<uint8_t>(vertices.size() - 1));
    for (size_t i = 0; i < vertices.size(); ++i) StorePoint(record, kVertices + 16 * i, vertices[i]);
    return record;
}

EntityRecord MakePolyline3D(std::span<const Point3> vertices, HeadFields head, uint8_t style) {
    if (vertices.empty()) return {};
    vertices = vertices.first(std::min<size_t>(vertices.size(), kMaxPolylineVertices));
    EntityRecord record =
        WithHead(EntityKind::Polyline3D, Polyline3DRecordSize(static_cast<int>(vertices.size())), head);
    if (!record) return record;
    record.SetByte(kStyle, style);
    record.SetByte(kLastVertex, static_cast<uint8_t>(vertices.size() - 1));
    for (size_t i = 0; i < vertices.size(); ++i) {
        size_t at = kVertices + 24 * i;
        record.SetDouble(at, vertices[i].x);
        record.SetDouble(at + 8, vertices[i].y);
        record.SetDouble(at + 16, vertices[i].z);
    }
    return record;
}

EntityRecord MakeArc(Point centre, Point start, Point end, HeadFields head, uint8_t lineType) {
    EntityRecord record = WithHead(EntityKind::Arc, kArcRecordSize, head);
    if (!record) return record;
    StorePoint(record, kCentre, centre);
    StorePoint(record, kArcStart, start);
    StorePoint(record, kArcEnd, end);
    record.SetByte(kArcLineType, lineType);
    return record;
}

EntityRecord MakeText(std::string_view text, Point at, HeadFields head, double height, double charWidth, double angle,
                      uint8_t justifyAndFont) {
    text = Cut(text);
    EntityRecord record = WithHead(EntityKind::Text, 57 + text.size(), head);
    if (!record) return record;
    StorePoint(record, kTextX, at);
    record.SetDouble(kTextHeight, height);
    record.SetDouble(kCharWidth, charWidth);
    record.SetDouble(kTextAngle, angle);
    record.SetByte(kJustifyAndFont, justifyAndFont);
    StoreShortString(record, kText, text);
    return record;
}

EntityRecord MakeDimension(std::span<const Point, 5> points, double value, uint8_t style, std::string_view text,
                           HeadFields head) {
    text = Cut(text);
    EntityRecord record = WithHead(EntityKind::Dimension, 105 + text.size(), head);
    if (!record) return record;
    for (size_t i = 0; i < points.size(); ++i) StorePoint(record, kDimensionPoints + 16 * i, points[i]);
    record.SetDouble(kDimensionValue, value);
    record.SetByte(kDimensionStyle, style);
    StoreShortString(record, kDimensionText, text);
    return record;
}

EntityRecord MakeInsert(BlockHandle block, Point at, HeadFields head) {
    EntityRecord record = WithHead(EntityKind::BlockInsert, 60, head);
    if (!record) return record;
    record.SetDouble(kXScale, 1);
    record.SetDouble(kYScale, 1);
    record.Store<uint32_t>(kBlock, block);
    StorePoint(record, kInsertX, at);
    return record;
}

EntityRecord MakeReference(std::string_view fileName, Point at, HeadFields head) {
    fileName = Cut(fileName);
    EntityRecord record = WithHead(EntityKind::DrawingReference, 53 + fileName.size(), head);
    if (!record) return record;
    record.SetDouble(kXScale, 1);
    record.SetDouble(kYScale, 1);
    StorePoint(record, kReferenceX, at);
    StoreShortString(record, kReferenceName, fileName);
    return record;
}

EntityRecord MakeRasterImage(std::string_view fileName, Point topLeft, int lastColumn, int lastRow, double pixelWidth,
                             double pixelHeight, uint16_t flags, HeadFields head) {
    fileName = Cut(fileName);
    EntityRecord record = WithHead(EntityKind::RasterImage, 57 + fileName.size(), head);
    if (!record) return record;
    record.Store<int16_t>(kLastColumn, static_cast<int16_t>(std::clamp(lastColumn, 0, 32767)));
    record.Store<int16_t>(kLastRow, static_cast<int16_t>(std::clamp(lastRow, 0, 32767)));
    record.Store<uint16_t>(kImageFlags, flags);
    StorePoint(record, kImageX, topLeft);
    record.SetDouble(kPixelWidth, pixelWidth);
    record.SetDouble(kPixelHeight, pixelHeight);
    StoreShortString(record, kImageName, fileName);
    return record;
}

}  // namespace linework
