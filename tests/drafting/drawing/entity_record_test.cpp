#include "drawing/entity_record.h"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/entity_builders.h"

namespace linework {
namespace {

// A record image of 'size' bytes with the kind byte and the given (offset, byte) fields set.
std::vector<uint8_t> Image(uint8_t kind, size_t size, std::initializer_list<std::pair<size_t, uint8_t>> fields) {
    std::vector<uint8_t> bytes(size, 0);
    bytes[entity_field::kKindAndFlags] = kind;
    for (auto [offset, value] : fields) bytes.at(offset) = value;
    return bytes;
}

struct SizeCase {
    const char* what;
    std::vector<uint8_t> bytes;
    size_t size;
};

TEST(EntityRecordSize, PerKind) {
    const SizeCase cases[] = {
        {"point", Image(0x10, 36, {}), 36},
        {"line", Image(0x10, 52, {{19, 1}}), 52},
        {"256 vertices, the most", Image(0x10, 4116, {{19, 255}}), 4116},
        {"3-D polyline of 3 vertices", Image(0x70, 92, {{19, 2}}), 92},
        {"arc", Image(0x20, 64, {}), 64},
        {"text of 5", Image(0x30, 62, {{56, 5}}), 62},
        {"empty text", Image(0x30, 57, {}), 57},
        // tag "AB", default "", prompt "P", flag word
        {"attribute definition", Image(0x50, 64, {{56, 2}, {59, 0}, {60, 1}}), 56 + 3 + 1 + 2 + 2},
        {"dimension text of 3", Image(0x40, 108, {{104, 3}}), 108},
        {"insert, no attributes", Image(0xA0, 60, {}), 60},
        // two positions, values "X" and "YZ"
        {"insert, two values", Image(0xA0, 97, {{43, 2}, {92, 1}, {94, 2}}), 60 + 32 + 2 + 3},
        {"16 attribute values, the most", Image(0xA0, 60 + 16 * 16 + 16, {{43, 16}}), 332},
        {"drawing reference", Image(0xE0, 60, {{52, 7}}), 60},
        {"raster image", Image(0xF0, 61, {{56, 4}}), 61},
        {"selected and erased line keep their size", Image(0x1B, 52, {{19, 1}}), 52},
    };
    for (const auto& c : cases) EXPECT_EQ(EntityRecordSize(c.bytes), c.size) << c.what;
}

TEST(EntityRecordSize, RefusesWhatCannotBeARecord) {
    const SizeCase cases[] = {
        {"kind 0", Image(0x00, 64, {}), 0},
        {"kind 0x60", Image(0x60, 64, {}), 0},
        {"head cut short", Image(0x20, 11, {}), 0},
        {"text length byte missing", Image(0x30, 56, {}), 0},
        {"17 attribute values", Image(0xA0, 60 + 16 * 17 + 17, {{43, 17}}), 0},
        // The second value's length reaches past the bytes.
        {"insert value beyond the record", Image(0xA0, 95, {{43, 2}, {92, 1}, {94, 2}}), 0},
        {"prompt beyond the record", Image(0x50, 62, {{56, 2}, {59, 0}, {60, 9}}), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(EntityRecordSize(c.bytes), c.size) << c.what;
}

TEST(EntityRecord, FromBytesTakesOnlyWholeRecords) {
    auto line = Image(0x10, 52, {{19, 1}});
    line[20] = 0x3F;  // a vertex byte survives the copy
    EntityRecord record = EntityRecord::FromBytes(line);
    ASSERT_TRUE(record);
    EXPECT_TRUE(std::equal(line.begin(), line.end(), record.Bytes().begin()));
    line.push_back(0);
    EXPECT_FALSE(EntityRecord::FromBytes(line)) << "a byte more than the record";
    line.resize(51);
    EXPECT_FALSE(EntityRecord::FromBytes(line)) << "a byte less";
    EXPECT_FALSE(EntityRecord::FromBytes(Image(0x90, 64, {})));
    EXPECT_FALSE(EntityRecord(static_cast<EntityKind>(0x60), 64)) << "no record of an unknown kind";
}

// The head's fields are read without a bound check each, so no record is made smaller than its
// head, and the head of an empty record is never read.
TEST(EntityRecord, NoRecordIsSmallerThanItsHead) {
    for (size_t size : {size_t{0}, size_t{1}, kEntityHeadSize - 1}) {
        EXPECT_FALSE(EntityRecord(EntityKind::Arc, size)) << size;
    }
    EntityRecord smallest(EntityKind::Arc, kEntityHeadSize);
    ASSERT_TRUE(smallest);
    EXPECT_EQ(smallest.Size(), kEntityHeadSize);
    smallest.SetNext(0x01020304);
    smallest.SetByte(entity_field::kWidth, 3);
    EXPECT_EQ(smallest.Next(), 0x01020304u);
    EXPECT_EQ(smallest.Kind(), EntityKind::Arc);
    EXPECT_EQ(smallest.Width(), 3);
}

TEST(EntityRecordDeathTest, TheHeadOfAnEmptyRecordStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const EntityRecord empty;
    EXPECT_DEATH(empty.Next(), "");
    EXPECT_DEATH(empty.KindAndFlags(), "");
    EXPECT_DEATH(empty.Level(), "");
    EntityRecord moved(EntityKind::Arc, kArcRecordSize);
    EntityRecord taker(std::move(moved));
    EXPECT_EQ(taker.Kind(), EntityKind::Arc);
    EXPECT_FALSE(moved) << "a record moved from is empty";
    EXPECT_EQ(moved.Size(), 0u);
    EXPECT_DEATH(moved.SetNext(1), "");
    EntityRecord assigned(EntityKind::Text, 57);
    assigned = std::move(taker);
    EXPECT_EQ(assigned.Kind(), EntityKind::Arc);
    EXPECT_EQ(assigned.Size(), kArcRecordSize);
    EXPECT_FALSE(taker) << "a record moved from by assignment is empty";
    EXPECT_EQ(taker.Size(), 0u);
}

TEST(EntityRecord, UnalignedDoublesAndTheHandleField) {
    EntityRecord record = test::Polyline({{1.5, -2.25}, {1e300, 3}});
    EXPECT_EQ(record.Size(), 52u);
    EXPECT_EQ(record.Double(entity_field::kVertices + 8), -2.25);
    EXPECT_EQ(record.Double(entity_field::kVertices + 16), 1e300);
    double stored;
    std::memcpy(&stored, record.Bytes().data() + 20, 8);
    EXPECT_EQ(stored, 1.5) << "the double lies at byte 20, unaligned";
    record.SetNext(0x01020304);
    EXPECT_EQ(record.Bytes()[0], 0x04);
    EXPECT_EQ(record.Bytes()[3], 0x01);
    EXPECT_EQ(record.Next(), 0x01020304u);
}

TEST(EntityRecord, ShortStringsStayInsideTheRecord) {
    EntityRecord text = test::Text("door");
    EXPECT_EQ(text.ShortString(entity_field::kText), "door");
    text.SetByte(entity_field::kText, 200);  // a length beyond the record
    EXPECT_EQ(text.ShortString(entity_field::kText), "door");
}

TEST(EntityRecord, StoredBytesCarryNoHandles) {
    EntityRecord insert = test::Insert(0x0A0B0C0D, {2, 3});
    insert.SetNext(0x11223344);
    insert.SetByte(entity_field::kLayer, 9);
    auto stored = StoredBytes(insert);
    ASSERT_EQ(stored.size(), 60u);
    for (size_t offset : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, size_t{36}, size_t{37}, size_t{38}, size_t{39}}) {
        EXPECT_EQ(stored[offset], 0) << offset;
    }
    EXPECT_EQ(stored[entity_field::kLayer], 9);
    EXPECT_TRUE(std::equal(stored.begin() + 44, stored.end(), insert.Bytes().begin() + 44)) << "the rest as it is";
    EntityRecord image(EntityKind::RasterImage, 57);
    image.Store<uint32_t>(entity_field::kRowTable, 7);
    image.Store<uint16_t>(entity_field::kLastColumn, 0x1234);
    stored = StoredBytes(image);
    EXPECT_EQ(stored[12], 0);
    EXPECT_EQ(stored[16], 0x34);
    // Other kinds keep bytes 12..15 and 36..39: they are coordinates there.
    EntityRecord arc = test::Arc({0.1, 0}, {-1, 0.1}, {0, 1});  // no zero byte at 12..15 or 36..39
    EXPECT_TRUE(std::equal(arc.Bytes().begin() + 4, arc.Bytes().end(), StoredBytes(arc).begin() + 4));
}

TEST(EntityRecord, CircleOnlyOnByteEqualEnds) {
    EXPECT_TRUE(IsCircle(test::Arc({0, 0}, {1, 0}, {1, 0})));
    EXPECT_FALSE(IsCircle(test::Arc({0, 0}, {1, 0}, {std::nextafter(1.0, 2.0), 0})));
    // 0.0 and -0.0 are equal numbers but not equal bytes: a nearly full arc.
    EXPECT_FALSE(IsCircle(test::Arc({0, 0}, {1, 0.0}, {1, -0.0})));
}

}  // namespace
}  // namespace linework
