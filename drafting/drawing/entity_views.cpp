#include "drawing/entity_views.h"

#include <algorithm>
#include <cmath>

#include "winplat/byte_reader.h"

namespace linework {
namespace {

// How many elements of 'width' bytes from 'offset' the record holds whole.
int WholeElements(const EntityRecord& record, size_t offset, size_t width) {
    return record.Size() < offset ? 0 : static_cast<int>((record.Size() - offset) / width);
}

std::string_view AsText(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

int PolylineView::SegmentCount() const {
    int stored = record_->Byte(entity_field::kLastVertex);
    return std::max(0, std::min(stored, WholeElements(*record_, entity_field::kVertices, 16) - 1));
}

int Polyline3DView::SegmentCount() const {
    int stored = record_->Byte(entity_field::kLastVertex);
    return std::max(0, std::min(stored, WholeElements(*record_, entity_field::kVertices, 24) - 1));
}

Point3 Polyline3DView::Vertex(int index) const {
    size_t at = entity_field::kVertices + 24 * static_cast<size_t>(index);
    return {record_->Double(at), record_->Double(at + 8), record_->Double(at + 16)};
}

double ArcView::Radius() const {
    Point centre = Centre(), start = Start();
    return std::hypot(start.x - centre.x, start.y - centre.y);
}

std::string_view AttributeDefinitionView::String(int index) const {
    winplat::ByteReader reader(record_->Bytes());
    reader.seek(entity_field::kText);
    for (int i = 0; i < index; ++i) reader.skip(reader.u8());
    auto text = reader.view(reader.u8());
    return reader.ok() ? AsText(text) : std::string_view{};
}

uint16_t AttributeDefinitionView::Flags() const {
    winplat::ByteReader reader(record_->Bytes());
    reader.seek(entity_field::kText);
    for (int i = 0; i < 3; ++i) reader.skip(reader.u8());
    uint16_t flags = reader.u16();
    return reader.ok() ? flags : 0;
}

int InsertView::AttributeCount() const {
    int stored = std::min<int>(record_->Byte(entity_field::kAttributeCount), kMaxAttributes);
    return std::min(stored, WholeElements(*record_, entity_field::kAttributePositions, 16));
}

std::string_view InsertView::AttributeValue(int index) const {
    int count = AttributeCount();
    if (index < 0 || index >= count) return {};
    winplat::ByteReader reader(record_->Bytes());
    reader.seek(entity_field::kAttributePositions + 16 * static_cast<size_t>(count));
    for (int i = 0; i < index; ++i) reader.skip(reader.u8());
    auto text = reader.view(reader.u8());
    return reader.ok() ? AsText(text) : std::string_view{};
}

}  // namespace linework
