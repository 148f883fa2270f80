#include <cstdint>

#include <gtest/gtest.h>

#include "winplat/byte_reader.h"

namespace {

using winplat::ByteReader;

TEST(ByteReader, ReadsLittleEndianFieldsInOrder) {
    const uint8_t data[] = {0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF};
    ByteReader r(data, sizeof data);
    EXPECT_EQ(r.u8(), 0x01);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.u32(), 0x12345678u);
    EXPECT_EQ(r.i16(), -2);
    EXPECT_EQ(r.i16(), -1);
    EXPECT_EQ(r.i8(), -1);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(ByteReader, ReadingPastTheEndFailsStickilyAndYieldsZero) {
    const uint8_t data[] = {0xAA, 0xBB, 0xCC};
    ByteReader r(data, sizeof data);
    EXPECT_EQ(r.u16(), 0xBBAA);
    EXPECT_EQ(r.u16(), 0) << "only one byte left";
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.position(), 2u) << "a failed read consumes nothing";
    EXPECT_EQ(r.u8(), 0) << "the failure stays even where a byte would fit";
}

TEST(ByteReader, BytesViewSkipAndSeekAreBounded) {
    const uint8_t data[] = {1, 2, 3, 4, 5};
    {
        ByteReader r(data, sizeof data);
        uint8_t out[3] = {9, 9, 9};
        EXPECT_TRUE(r.bytes(out, 3));
        EXPECT_EQ(out[2], 3);
        EXPECT_FALSE(r.bytes(out, 3));
        EXPECT_EQ(out[0], 1) << "a refused copy writes nothing";
    }
    {
        ByteReader r(data, sizeof data);
        EXPECT_TRUE(r.skip(4));
        EXPECT_EQ(r.view(1).front(), 5);
        EXPECT_TRUE(r.view(1).empty());
        EXPECT_FALSE(r.ok());
    }
    {
        ByteReader r(data, sizeof data);
        EXPECT_TRUE(r.seek(5));
        EXPECT_FALSE(r.seek(6));
        EXPECT_FALSE(r.ok());
    }
    {
        ByteReader r(data, sizeof data);
        EXPECT_FALSE(r.skip(SIZE_MAX)) << "huge counts from a file must not wrap";
    }
    {
        ByteReader r(nullptr, 100);
        EXPECT_EQ(r.size(), 0u) << "no data means no bytes, whatever the length says";
        EXPECT_EQ(r.u8(), 0);
        EXPECT_FALSE(r.ok());
    }
}

}  // namespace
