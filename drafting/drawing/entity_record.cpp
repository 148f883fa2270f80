#include "drawing/entity_record.h"

#include <algorithm>
#include <new>

#include "winplat/byte_reader.h"

namespace linework {
namespace {

using namespace entity_field;

// A record size made of a fixed part and the short string at 'offset'; 0 when the length byte
// lies beyond the bytes.
size_t WithShortString(std::span<const uint8_t> bytes, size_t offset) {
    return offset < bytes.size() ? offset + 1 + bytes[offset] : 0;
}

// Skips 'count' short strings from 'offset'; the offset after them, or 0 when one runs past the
// bytes.
size_t AfterShortStrings(std::span<const uint8_t> bytes, size_t offset, int count) {
    winplat::ByteReader reader(bytes);
    reader.seek(offset);
    for (int i = 0; i < count; ++i) reader.skip(reader.u8());
    return reader.ok() ? reader.position() : 0;
}

size_t AttributeDefinitionSize(std::span<const uint8_t> bytes) {
    size_t end = AfterShortStrings(bytes, kText, 3);  // tag, default value, prompt
    return end == 0 ? 0 : end + 2;                    // and the 16-bit flag word
}

size_t BlockInsertSize(std::span<const uint8_t> bytes) {
    if (bytes.size() <= kAttributeCount) return 0;
    int count = bytes[kAttributeCount];
    if (count > kMaxAttributes) return 0;
    return AfterShortStrings(bytes, kAttributePositions + 16 * static_cast<size_t>(count), count);
}

size_t PolylineSize(std::span<const uint8_t> bytes, size_t fixed, size_t perVertex) {
    return bytes.size() > kLastVertex ? fixed + perVertex * bytes[kLastVertex] : 0;
}

}  // namespace

bool IsEntityKind(uint8_t kindAndFlags) {
    switch (static_cast<EntityKind>(kindAndFlags & 0xF0)) {
        case EntityKind::Polyline:
        case EntityKind::Arc:
        case EntityKind::Text:
        case EntityKind::Dimension:
        case EntityKind::AttributeDefinition:
        case EntityKind::Polyline3D:
        case EntityKind::BlockInsert:
        case EntityKind::DrawingReference:
        case EntityKind::RasterImage:
            return true;
    }
    return false;
}

size_t EntityRecordSize(std::span<const uint8_t> bytes) {
    if (bytes.size() < kEntityHeadSize) return 0;
    switch (static_cast<EntityKind>(bytes[kKindAndFlags] & 0xF0)) {
        case EntityKind::Polyline: return PolylineSize(bytes, 36, 16);
        case EntityKind::Polyline3D: return PolylineSize(bytes, 44, 24);
        case EntityKind::Arc: return kArcRecordSize;
        case EntityKind::Text: return WithShortString(bytes, kText);
        case EntityKind::AttributeDefinition: return AttributeDefinitionSize(bytes);
        case EntityKind::Dimension: return WithShortString(bytes, kDimensionText);
        case EntityKind::BlockInsert: return BlockInsertSize(bytes);
        case EntityKind::DrawingReference: return WithShortString(bytes, kReferenceName);
        case EntityKind::RasterImage: return WithShortString(bytes, kImageName);
    }
    return 0;
}

EntityRecord::EntityRecord(EntityKind kind, size_t size) {
    if (size < kEntityHeadSize || size > UINT32_MAX || !IsEntityKind(static_cast<uint8_t>(kind))) return;
    bytes_ = new (std::nothrow) uint8_t[size]();
    if (!bytes_) return;
    size_ = static_cast<uint32_t>(size);
    bytes_[kKindAndFlags] = static_cast<uint8_t>(kind);
}

EntityRecord EntityRecord::FromBytes(std::span<const uint8_t> bytes) {
    size_t size = EntityRecordSize(bytes);
    if (size == 0 || size != bytes.size()) return {};
    EntityRecord record(static_cast<EntityKind>(bytes[kKindAndFlags] & 0xF0), size);
    std::copy(bytes.begin(), bytes.end(), record.bytes_);
    return record;
}

std::string_view EntityRecord::ShortString(size_t offset) const {
    if (offset >= size_) return {};
    size_t length = std::min<size_t>(bytes_[offset], size_ - offset - 1);
    return {reinterpret_cast<const char*>(bytes_ + offset + 1), length};
}

std::vector<uint8_t> StoredBytes(const EntityRecord& record) {
    std::vector<uint8_t> bytes(record.Bytes().begin(), record.Bytes().end());
    auto clear = [&](size_t offset) { std::fill_n(bytes.begin() + static_cast<ptrdiff_t>(offset), 4, 0); };
    clear(kNext);
    if (record.Kind() == EntityKind::BlockInsert) clear(kBlock);
    if (record.Kind() == EntityKind::RasterImage) clear(kRowTable);
    return bytes;
}

bool IsCircle(const EntityRecord& arc) {
    if (arc.Size() < kArcRecordSize) return false;
    auto bytes = arc.Bytes();
    return std::equal(bytes.begin() + kArcStart, bytes.begin() + kArcStart + 16, bytes.begin() + kArcEnd);
}

}  // namespace linework
