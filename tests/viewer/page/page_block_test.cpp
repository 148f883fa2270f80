// The saved object block of a text frame's page: written, read back, scanned, and refused when
// damaged.
#include <gtest/gtest.h>

#include "page/page.h"
#include "page_test_support.h"

namespace {

using lect32::ObjectKind;
using lect32::PageObject;
using page_test::Bytes;
using page_test::Fields;
using page_test::join;
using page_test::object;
using page_test::slot;

// One object of each kind holding every slot kind between them: link, placement, media, frame,
// button, hot spots, animation and scroller, and a text frame's content.
void fillWithEverySlot(lect32::Page& page) {
    const Bytes link = slot(1, {2, 5, 0, 6, 0, 3});
    const Bytes spots = slot(3, Fields().u8(0).u16(1).u16(0).u16(0).u16(9).u16(9).u8(1).u8(0).u8(0).raw(Bytes(7, 0)).u16(-1).u16(0).bytes);
    PageObject picture = object(10, 0, 40, 30);
    picture.active = 1;
    page.InsertObject(picture, join({link, slot(2, Fields().u8(2).u16(2500).u8(0).u8(1).u16(-2).bytes), spots,
                                     slot(4, Fields().u16(2).u16(0).u16(0).u16(0x7FFF).u16(10).u16(20).bytes),
                                     slot(6, Bytes(18, 7))}));
    page.InsertObject(object(0, 40, 32, 32, ObjectKind::Sound), slot(2, Bytes{1, 0, 1, 0}));
    page.InsertObject(object(0, 80, 16, 12, ObjectKind::Button),
                      slot(2, Fields().u16(1).u16(2).u16(3).u16(-1).u16(-1).u16(-1).u16(-1).u16(-1).u8(1).u8(0).bytes));
    page.InsertObject(object(0, 100, 100, 50, ObjectKind::TextFrame),
                      slot(2, Fields().u16(100).u16(50).u8(4).u16(-1).u16(2).u16(2).u16(2).u16(2).bytes),
                      Bytes{3, 1, 0, 'a', 'b'});
    page.SetSavedValues({12, 3, -7, 1});
}

TEST(PageBlockTest, ABlockOfEverySlotKindReadsBackToTheSameBytes) {
    page_test::TestPage first;
    fillWithEverySlot(first.page);
    first.page.SetCurrentObject(2);
    const Bytes block = page_test::savedBlock(first.page);
    ASSERT_EQ(block.size(), first.page.GetSavedSize());

    page_test::TestPage second;
    ASSERT_TRUE(second.page.LoadObjects(block));
    ASSERT_EQ(second.page.GetCount(), 4);
    EXPECT_EQ(page_test::savedBlock(second.page), block);
    for (uint16_t i = 0; i < 4; ++i) {
        EXPECT_EQ(second.page.Object(i).Encode(), first.page.Object(i).Encode()) << i;
        EXPECT_EQ(second.page.CopyAttributes(i), first.page.CopyAttributes(i)) << i;
        EXPECT_EQ(second.page.CopySecondText(i), first.page.CopySecondText(i)) << i;
    }
    EXPECT_EQ(second.page.GetSavedValues(), (lect32::SavedPageValues{12, 3, -7, 1}));
    EXPECT_EQ(second.page.GetCurrentObject(), 2);
}

TEST(PageBlockTest, TheWritersBlockLoadsWithItsObjectsSlotsAndValues) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes block = page_test::writtenObjects(R"({"block": {"current": 1, "values": [5, 6, 7, 8]}, "objects": [
        {"kind": "picture", "picture": 2, "width": 40, "height": 30, "x": 5, "y": 100, "fit": [1, 1000, 0, 0, -1],
         "link": {"kind": 4, "value": 114}},
        {"kind": "text", "width": 120, "height": 40, "y": 150, "text": "Obsah"}]})");
    ASSERT_FALSE(block.empty());
    page_test::TestPage t;
    ASSERT_TRUE(t.page.LoadObjects(block));
    ASSERT_EQ(t.page.GetCount(), 2);
    EXPECT_EQ(t.page.Object(0).picture, 2);
    EXPECT_EQ(t.page.Object(1).attribute, 1);
    EXPECT_EQ(t.page.CopyAttributes(0), join({slot(1, {4, 114, 0}), slot(2, Fields().u8(1).u16(1000).u8(0).u8(0).u16(-1).bytes)}));
    EXPECT_EQ(t.page.GetPlacement(0).mode, 1);
    EXPECT_FALSE(t.page.CopySecondText(1).empty());
    EXPECT_EQ(t.page.GetSavedValues(), (lect32::SavedPageValues{5, 6, 7, 8}));
    EXPECT_EQ(t.page.GetCurrentObject(), 1);
    // Written again, the block differs from the writer's only in each record's attribute index,
    // which the writer leaves at -1.
    Bytes again = page_test::savedBlock(t.page);
    ASSERT_EQ(again.size(), block.size());
    size_t at = 6;
    for (uint16_t i = 0; i < 2; ++i) {
        again[at + 46] = 0xFF;
        again[at + 47] = 0xFF;
        at += PageObject::kSize;
        at += 2 + (again[at] | again[at + 1] << 8);
        at += 2 + (again[at] | again[at + 1] << 8);
    }
    EXPECT_EQ(again, block);
}

TEST(PageBlockTest, AFormatOneBlockLeavesThePageValuesAsTheyWere) {
    page_test::TestPage source;
    fillWithEverySlot(source.page);
    Bytes block = page_test::savedBlock(source.page);
    block[0] = 1;
    block.resize(block.size() - 7);  // no flags byte, no values
    page_test::TestPage t;
    t.page.SetSavedValues({44, 4, 45, 5});
    ASSERT_TRUE(t.page.LoadObjects(block));
    EXPECT_EQ(t.page.GetCount(), 4);
    EXPECT_EQ(t.page.GetSavedValues(), (lect32::SavedPageValues{44, 4, 45, 5}));

    // Format 2 with the flags byte's bit clear: the values stay too.
    Bytes unflagged = page_test::savedBlock(source.page);
    unflagged[unflagged.size() - 7] = 0;
    ASSERT_TRUE(t.page.LoadObjects(unflagged));
    EXPECT_EQ(t.page.GetSavedValues(), (lect32::SavedPageValues{44, 4, 45, 5}));
}

// Records of another size: a longer one is read for its 58 bytes and the rest skipped, a shorter
// one over a new record's values.
TEST(PageBlockTest, RecordsOfAnotherSizeAreReadAsFarAsTheyGo) {
    page_test::TestPage source;
    source.page.InsertObject(object(3, 4, 5, 6), slot(1, {4, 9, 0}));
    source.page.InsertObject(object(7, 8, 9, 10, ObjectKind::Sound));
    const Bytes block = page_test::savedBlock(source.page);
    const auto resized = [&](size_t size) {
        Bytes out(block.begin(), block.begin() + 5);
        out.push_back(static_cast<uint8_t>(size));
        size_t at = 6;
        for (int i = 0; i < 2; ++i) {
            Bytes record(block.begin() + static_cast<long>(at), block.begin() + static_cast<long>(at + PageObject::kSize));
            record.resize(size, 0xEE);
            out.insert(out.end(), record.begin(), record.end());
            at += PageObject::kSize;
            for (int text = 0; text < 2; ++text) {
                const size_t length = 2 + (block[at] | block[at + 1] << 8);
                out.insert(out.end(), block.begin() + static_cast<long>(at), block.begin() + static_cast<long>(at + length));
                at += length;
            }
        }
        out.insert(out.end(), block.begin() + static_cast<long>(at), block.end());
        return out;
    };
    page_test::TestPage longer;
    ASSERT_TRUE(longer.page.LoadObjects(resized(PageObject::kSize + 2)));
    ASSERT_EQ(longer.page.GetCount(), 2);
    EXPECT_EQ(longer.page.Object(1).Encode(), source.page.Object(1).Encode());
    EXPECT_EQ(longer.page.CopyAttributes(0), slot(1, {4, 9, 0}));

    page_test::TestPage shorter;
    ASSERT_TRUE(shorter.page.LoadObjects(resized(PageObject::kOldStoredSize)));
    ASSERT_EQ(shorter.page.GetCount(), 2);
    EXPECT_EQ(shorter.page.Object(1).x, 7);
    EXPECT_EQ(shorter.page.Object(1).z, 0) << "bytes past the record size keep a new record's values";
    EXPECT_EQ(shorter.page.Object(1).reserved31, -1);
}

// What an object held on the page it was saved from (its window, images, cache entry and file)
// is no business of the page that loads it.
TEST(PageBlockTest, LoadedObjectsHoldNothingOfTheirFormerPage) {
    page_test::TestPage source;
    source.page.InsertObject(object(0, 0, 10, 10));
    PageObject held = source.page.Object(0);
    held.window = 0x12345;
    held.backgroundImage = 7;
    held.workImage = 8;
    held.cacheIndex = 0;
    held.tempFile = 2;
    held.prepared = 1;
    source.page.SetObject(0, held);
    const Bytes block = page_test::savedBlock(source.page);

    page_test::TestPage t;
    ASSERT_TRUE(t.page.LoadObjects(block));
    const PageObject& loaded = t.page.Object(0);
    EXPECT_EQ(loaded.window, 0u);
    EXPECT_EQ(loaded.backgroundImage, 0);
    EXPECT_EQ(loaded.workImage, 0);
    EXPECT_EQ(loaded.cacheIndex, -1);
    EXPECT_EQ(loaded.tempFile, -1);
    EXPECT_EQ(loaded.prepared, 0);
    t.page.FreeObjects(true);
    EXPECT_TRUE(t.media.calls.empty());
}

TEST(PageBlockTest, DamagedBlocksLeaveThePageEmpty) {
    page_test::TestPage source;
    fillWithEverySlot(source.page);
    const Bytes block = page_test::savedBlock(source.page);
    struct Case {
        const char* what;
        Bytes bytes;
        bool objectsDamaged = true;  // the scan reads the objects only
    };
    std::vector<Case> cases;
    for (int count : {5, 0x7FFF, 0xFFFF}) {
        Bytes b = block;
        b[1] = static_cast<uint8_t>(count);
        b[2] = static_cast<uint8_t>(count >> 8);
        cases.push_back({"count", b});
    }
    cases.push_back({"cut inside the last object", Bytes(block.begin(), block.end() - 9)});
    cases.push_back({"cut inside the values", Bytes(block.begin(), block.end() - 1), false});
    cases.push_back({"cut in the head", Bytes(block.begin(), block.begin() + 5)});
    Bytes longText = block;
    longText[6 + PageObject::kSize] = 0xFF;  // the first object's slots, 0xFFxx bytes long
    longText[6 + PageObject::kSize + 1] = 0xFF;
    cases.push_back({"slots past the block", longText});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes& damaged = c.bytes;
        page_test::TestPage t;
        t.page.InsertObject(object(0, 0, 1, 1));
        t.page.SetSavedValues({1, 1, 1, 1});
        EXPECT_FALSE(t.page.LoadObjects(damaged));
        EXPECT_EQ(t.page.GetCount(), 0);
        EXPECT_EQ(t.page.GetSavedValues(), (lect32::SavedPageValues{1, 1, 1, 1}));
        uint8_t flags = 0;
        EXPECT_EQ(lect32::Page::ScanSavedKinds(damaged, flags), !c.objectsDamaged);
        EXPECT_EQ(flags, c.objectsDamaged ? 0 : 1 | 4 | 8);
    }
}

TEST(PageBlockTest, AScanTellsWhatKindsABlockHolds) {
    struct Case {
        const char* what;
        ObjectKind kind;
        uint8_t active;
        uint8_t flags;
    };
    const Case cases[] = {
        {"a still picture", ObjectKind::Picture, 0, 1 | 2},
        {"an active picture", ObjectKind::Picture, 1, 1 | 4},
        {"a vector picture", ObjectKind::VectorPicture, 0, 1 | 2},
        {"a button", ObjectKind::Button, 0, 1 | 4},
        {"a video", ObjectKind::Video, 0, 1 | 8},
        {"a sound", ObjectKind::Sound, 1, 1 | 8},
        {"a text frame", ObjectKind::TextFrame, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page_test::TestPage t;
        PageObject o = object(0, 0, 5, 5, c.kind);
        o.active = c.active;
        t.page.InsertObject(o);
        uint8_t flags = 0x40;
        EXPECT_TRUE(lect32::Page::ScanSavedKinds(page_test::savedBlock(t.page), flags));
        EXPECT_EQ(flags, 0x40 | c.flags);
    }
    page_test::TestPage empty;
    uint8_t flags = 0;
    EXPECT_TRUE(lect32::Page::ScanSavedKinds(page_test::savedBlock(empty.page), flags));
    EXPECT_EQ(flags, 0);
}

}  // namespace
