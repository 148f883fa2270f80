#include "page/page_object.h"

#include <gtest/gtest.h>

#include "page_test_support.h"

namespace {

using lect32::PageObject;
using page_test::Bytes;
using page_test::Fields;

// A record whose every field holds a value of its own, and the same record byte by byte from
// the layout of the 58-byte record.
PageObject distinct() {
    PageObject o;
    o.width = 0x0102, o.height = 0x0304, o.x = -2, o.y = 0x05060708;
    o.spacingLeft = 9, o.spacingRight = 10, o.spacingTop = 11, o.spacingBottom = 12;
    o.placement = 3, o.anchoring = 2, o.flow = 1, o.anchorId = 0xA1B2;
    o.behindText = 1, o.borderWidth = 4, o.borderColour = 5, o.kind = 7;
    o.picture = 0x1234, o.z = 300, o.reserved31 = 0x5566, o.reserved33 = 0x7788, o.active = 1;
    o.savedY = -5, o.cacheIndex = 0x0A0B, o.copied = 1, o.prepared = 1, o.disabled = 1, o.scroller = 2;
    o.attribute = 0x0C0D, o.window = 0x89ABCDEF, o.tempFile = 0x0E0F, o.backgroundImage = 0x1011, o.workImage = 0x1213;
    return o;
}

Bytes distinctBytes() {
    Fields f;
    f.u16(0x0102).u16(0x0304).u16(-2).u32(0x05060708);  // 0 width, 2 height, 4 x, 6 y
    f.u16(9).u16(10).u16(11).u16(12);                       // 10-16 inner spacing
    f.u8(3).u8(2).u8(1).u16(0xA1B2);                        // 18 placement, 19 anchoring, 20 flow, 21 anchor id
    f.u8(1).u8(4).u8(5).u8(7);                              // 23 behind, 24 border, 25 colour, 26 kind
    f.u16(0x1234).u16(300).u16(0x5566).u16(0x7788).u8(1);  // 27 picture, 29 z, 31, 33, 35 active
    f.u32(-5).u16(0x0A0B).u8(1).u8(1).u8(1).u8(2);          // 36 saved y, 40 cache, 42-45 flags
    f.u16(0x0C0D).u32(0x89ABCDEF).u16(0x0E0F);              // 46 attribute, 48 window, 52 temp file
    f.u16(0x1011).u16(0x1213);                              // 54, 56 images
    return f.bytes;
}

TEST(PageObjectTest, EncodesEveryFieldAtItsOffset) {
    const PageObject::Bytes bytes = distinct().Encode();
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), distinctBytes());
    EXPECT_EQ(PageObject::Decode(bytes).Encode(), bytes);
}

TEST(PageObjectTest, ANewRecordHasTheDocumentedValues) {
    Fields f;
    f.u16(0).u16(0).u16(0).u32(0).u16(0).u16(0).u16(0).u16(0).u8(0).u8(0).u8(0).u16(0);
    f.u8(0).u8(0).u8(0).u8(0).u16(-1).u16(0).u16(-1).u16(-1).u8(0);
    f.u32(0).u16(-1).u8(0).u8(0).u8(0).u8(0).u16(-1).u32(0).u16(-1).u16(0).u16(0);
    const PageObject::Bytes bytes = PageObject().Encode();
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), f.bytes);
}

// A stored prefix overwrites the record's first bytes and nothing after them.
TEST(PageObjectTest, APrefixReplacesOnlyItsBytes) {
    const Bytes stored = distinctBytes();
    for (size_t count : {PageObject::kOldStoredSize, PageObject::kStoredSize, PageObject::kSize, size_t{30}}) {
        SCOPED_TRACE(count);
        winplat::ByteReader in(stored);
        PageObject o;
        ASSERT_TRUE(o.ReadPrefix(in, count));
        EXPECT_EQ(in.position(), count);
        const PageObject::Bytes got = o.Encode();
        const PageObject::Bytes fresh = PageObject().Encode();
        for (size_t i = 0; i < PageObject::kSize; ++i) EXPECT_EQ(got[i], i < count ? stored[i] : fresh[i]) << "byte " << i;
    }
}

TEST(PageObjectTest, APrefixPastTheBytesOrTheRecordIsRefused) {
    const Bytes stored = distinctBytes();
    winplat::ByteReader shortIn(stored.data(), 35);
    PageObject o;
    EXPECT_FALSE(o.ReadPrefix(shortIn, PageObject::kStoredSize));
    EXPECT_FALSE(shortIn.ok());
    EXPECT_EQ(o.Encode(), PageObject().Encode());

    winplat::ByteReader exact(stored.data(), 36);
    EXPECT_TRUE(o.ReadPrefix(exact, PageObject::kStoredSize));

    winplat::ByteReader longer(stored);
    EXPECT_FALSE(PageObject().ReadPrefix(longer, PageObject::kSize + 1));
    EXPECT_TRUE(longer.ok());
    EXPECT_EQ(longer.position(), 0u);
}

TEST(PageObjectTest, ABottomPastThe32BitRangeStaysPositive) {
    PageObject o;
    o.y = PageObject::kParkedY;
    o.height = 10;
    EXPECT_EQ(o.Bottom(), int64_t{PageObject::kParkedY} + 10);
    EXPECT_TRUE(o.IsParked());
}

}  // namespace
