// The drawing element: a variable-size record whose bytes are exactly those a drawing file stores.
// A 12-byte head (next link, level as a single, kind-and-flags byte with the kind in the high
// nibble, layer, colour and width, 0 meaning "the layer's") is followed by a payload per kind.
//
// Three fields of the image name something else: the next link (+0), a block insert's block
// definition (+36) and a raster image's row-offset table (+12). They hold 32-bit handles into the
// drawing's own tables (0 = none), so the image keeps its size and bytes on a 64-bit host. Doubles
// lie at unaligned offsets: every field is read and written through memcpy.
#ifndef LINEWORK_DRAWING_ENTITY_RECORD_H
#define LINEWORK_DRAWING_ENTITY_RECORD_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace linework {

enum class EntityKind : uint8_t {
    Polyline = 0x10,
    Arc = 0x20,
    Text = 0x30,
    Dimension = 0x40,
    AttributeDefinition = 0x50,
    Polyline3D = 0x70,
    BlockInsert = 0xA0,
    DrawingReference = 0xE0,
    RasterImage = 0xF0,
};

// Low nibble of the kind-and-flags byte.
namespace entity_flag {
inline constexpr uint8_t kSelected = 0x01;
inline constexpr uint8_t kPreviousSelection = 0x02;
inline constexpr uint8_t kErased = 0x08;
}  // namespace entity_flag

// Byte offsets from the start of a record.
namespace entity_field {
inline constexpr size_t kNext = 0;
inline constexpr size_t kLevel = 4;
inline constexpr size_t kKindAndFlags = 8;
inline constexpr size_t kLayer = 9;
inline constexpr size_t kColour = 10;
inline constexpr size_t kWidth = 11;
// Polylines (2-D and 3-D).
inline constexpr size_t kAuxiliarySize = 12;
inline constexpr size_t kEndSymbol = 17;
inline constexpr size_t kStyle = 18;
inline constexpr size_t kLastVertex = 19;
inline constexpr size_t kVertices = 20;
// Arc or circle.
inline constexpr size_t kCentre = 12;
inline constexpr size_t kArcStart = 28;
inline constexpr size_t kArcEnd = 44;
inline constexpr size_t kArcLineType = 63;
// Text and attribute definition.
inline constexpr size_t kTextX = 12;
inline constexpr size_t kTextY = 20;
inline constexpr size_t kTextHeight = 28;
inline constexpr size_t kCharWidth = 36;
inline constexpr size_t kTextAngle = 44;
inline constexpr size_t kJustifyAndFont = 55;
inline constexpr size_t kText = 56;  // of an attribute definition: the tag
// Dimension.
inline constexpr size_t kDimensionPoints = 12;
inline constexpr size_t kDimensionValue = 92;
inline constexpr size_t kDimensionStyle = 103;
inline constexpr size_t kDimensionText = 104;
// Block insert and drawing reference.
inline constexpr size_t kXScale = 12;
inline constexpr size_t kYScale = 20;
inline constexpr size_t kRotation = 28;
inline constexpr size_t kBlock = 36;
inline constexpr size_t kInsertDisplay = 40;
inline constexpr size_t kAttributeCount = 43;
inline constexpr size_t kInsertX = 44;
inline constexpr size_t kInsertY = 52;
inline constexpr size_t kAttributePositions = 60;
inline constexpr size_t kReferenceX = 36;
inline constexpr size_t kReferenceY = 44;
inline constexpr size_t kReferenceName = 52;
// Raster image.
inline constexpr size_t kRowTable = 12;
inline constexpr size_t kLastColumn = 16;
inline constexpr size_t kLastRow = 18;
inline constexpr size_t kImageFlags = 22;
inline constexpr size_t kImageX = 24;
inline constexpr size_t kImageY = 32;
inline constexpr size_t kPixelWidth = 40;
inline constexpr size_t kPixelHeight = 48;
inline constexpr size_t kImageName = 56;
}  // namespace entity_field

inline constexpr size_t kEntityHeadSize = 12;
inline constexpr int kMaxPolylineVertices = 256;
inline constexpr int kMaxAttributes = 16;
inline constexpr size_t kMaxEntityRecordSize = 36 + 16 * 255;  // the largest record a file may hold

// Whether the high nibble of a kind-and-flags byte is a kind records are made of.
bool IsEntityKind(uint8_t kindAndFlags);

// The size of the record whose bytes begin 'bytes', from its kind and its own count and length
// fields; 0 for an unknown kind and when a field the size depends on, or a string of an attribute
// definition or insert, lies beyond 'bytes' or beyond the size it gives. A record whose size is 0
// is never made or copied.
size_t EntityRecordSize(std::span<const uint8_t> bytes);

class EntityTable;

// One record: exactly EntityRecordSize bytes, never fewer than its head. A record made here owns
// its bytes; one that a drawing holds lies in the drawing's arena (see EntityTable), which gives
// the bytes back when the drawing frees the record.
class EntityRecord {
public:
    EntityRecord() = default;
    EntityRecord(EntityRecord&& other) noexcept
        : bytes_(std::exchange(other.bytes_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          room_(std::exchange(other.room_, 0)) {}
    EntityRecord& operator=(EntityRecord&& other) noexcept {
        if (this != &other) {
            Release();
            bytes_ = std::exchange(other.bytes_, nullptr);
            size_ = std::exchange(other.size_, 0);
            room_ = std::exchange(other.room_, 0);
        }
        return *this;
    }
    EntityRecord(const EntityRecord&) = delete;
    EntityRecord& operator=(const EntityRecord&) = delete;
    ~EntityRecord() { Release(); }
    // A record of 'size' zero bytes with the bare kind in its head; empty for an unknown kind, a
    // size below the head or beyond 32 bits, or when the memory is not there.
    EntityRecord(EntityKind kind, size_t size);
    // A copy of bytes that form one whole record (EntityRecordSize equals their count and the
    // kind is known); empty otherwise.
    static EntityRecord FromBytes(std::span<const uint8_t> bytes);

    explicit operator bool() const { return bytes_ != nullptr; }
    size_t Size() const { return size_; }
    std::span<const uint8_t> Bytes() const { return {bytes_, size_}; }
    std::span<uint8_t> Bytes() { return {bytes_, size_}; }

    uint8_t KindAndFlags() const { return Head<uint8_t, entity_field::kKindAndFlags>(); }
    EntityKind Kind() const { return static_cast<EntityKind>(KindAndFlags() & 0xF0); }
    bool Erased() const { return (KindAndFlags() & entity_flag::kErased) != 0; }
    uint8_t Layer() const { return Head<uint8_t, entity_field::kLayer>(); }
    uint8_t Colour() const { return Head<uint8_t, entity_field::kColour>(); }
    uint8_t Width() const { return Head<uint8_t, entity_field::kWidth>(); }
    float Level() const { return Head<float, entity_field::kLevel>(); }
    uint32_t Next() const { return Head<uint32_t, entity_field::kNext>(); }
    void SetNext(uint32_t handle) { std::memcpy(HeadField<uint32_t, entity_field::kNext>(), &handle, sizeof handle); }

    // Fields by offset; an offset outside the record is a fault of our own code and stops here.
    uint8_t Byte(size_t offset) const { return bytes_[Checked(offset, 1)]; }
    void SetByte(size_t offset, uint8_t value) { bytes_[Checked(offset, 1)] = value; }
    template <class T>
    T Load(size_t offset) const {
        T value;
        std::memcpy(&value, bytes_ + Checked(offset, sizeof value), sizeof value);
        return value;
    }
    template <class T>
    void Store(size_t offset, T value) {
        std::memcpy(bytes_ + Checked(offset, sizeof value), &value, sizeof value);
    }
    double Double(size_t offset) const { return Load<double>(offset); }
    void SetDouble(size_t offset, double value) { Store(offset, value); }
    // The short string at 'offset' (length byte and characters), cut to the record.
    std::string_view ShortString(size_t offset) const;

    // Polylines: the vertex count (n + 1).
    int VertexCount() const { return Byte(entity_field::kLastVertex) + 1; }

private:
    friend class EntityTable;

    // A record over the first 'size' bytes of 'room', which someone else owns and outlives it.
    EntityRecord(std::span<uint8_t> room, size_t size)
        : bytes_(room.data()), size_(static_cast<uint32_t>(size)), room_(static_cast<uint32_t>(room.size())) {}
    // The owner's room of a placed record; empty for a record that owns its bytes.
    std::span<uint8_t> Room() const { return {room_ != 0 ? bytes_ : nullptr, room_}; }
    void Release() {
        if (room_ == 0) delete[] bytes_;
    }

    // A field of the head needs no bound check of its own: a record that is not empty holds its
    // whole head (the constructor makes no smaller one), so the test that it is not empty, which
    // a walk of the drawing list makes anyway, covers every head field.
    template <class T, size_t kOffset>
    uint8_t* HeadField() const {
        static_assert(kOffset + sizeof(T) <= kEntityHeadSize);
        if (!bytes_) __builtin_trap();
        return bytes_ + kOffset;
    }
    template <class T, size_t kOffset>
    T Head() const {
        T value;
        std::memcpy(&value, HeadField<T, kOffset>(), sizeof value);
        return value;
    }
    size_t Checked(size_t offset, size_t width) const {
        if (offset > size_ || width > size_ - offset) __builtin_trap();
        return offset;
    }

    // Sixteen bytes, as the drawing's handle table holds one per record: the bytes, their count,
    // and the room around them that an arena lent (0 when the record owns its bytes).
    uint8_t* bytes_ = nullptr;
    uint32_t size_ = 0;
    uint32_t room_ = 0;
};

// Fixed record sizes for a kind and its count or text length, as the adders make them.
constexpr size_t PolylineRecordSize(int vertices) { return 36 + 16 * static_cast<size_t>(vertices - 1); }
constexpr size_t Polyline3DRecordSize(int vertices) { return 44 + 24 * static_cast<size_t>(vertices - 1); }
inline constexpr size_t kArcRecordSize = 64;

// The bytes a drawing file stores for the record: its image with the next link, a block insert's
// block and a raster image's row table written as 0, since handles mean nothing outside memory.
std::vector<uint8_t> StoredBytes(const EntityRecord& record);

// A circle: the start point's 16 bytes equal the end point's.
bool IsCircle(const EntityRecord& arc);

}  // namespace linework

#endif
