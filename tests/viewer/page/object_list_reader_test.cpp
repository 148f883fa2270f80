// Object lists of every version as the document writer stores them, read into a page: the
// 58-byte records and attribute items each must give, byte by byte.
#include <gtest/gtest.h>

#include "page/page.h"
#include "page/page_style.h"
#include "page_test_support.h"
#include "store/mem_reader.h"
#include "store/vazazi_file.h"

namespace {

using page_test::Bytes;
using page_test::Fields;
using page_test::join;
using page_test::slot;

// The page's own bytes 36-57 of a record just read: saved y 0, no cache entry, flags clear, the
// attribute item, no window, no temporary file, no images.
Fields& readTail(Fields& f, int attribute) {
    return f.u32(0).u16(-1).u8(0).u8(0).u8(0).u8(0).u16(attribute).u32(0).u16(-1).u16(0).u16(0);
}

Bytes recordBytes(const lect32::Page& page, uint16_t i) {
    const lect32::PageObject::Bytes bytes = page.Object(i).Encode();
    return Bytes(bytes.begin(), bytes.end());
}

// Hot-spot list of one rectangle (0, 0, 10, 10) linking to page 1 (kind 0).
Bytes oneRectangle(bool currentForm) {
    Fields shape;
    shape.u16(0).u16(0).u16(10).u16(10).u8(0).u8(0).u8(1);  // box, rectangle, reserved, link flag
    shape.u8(0).u16(1).u16(0).u16(0);                     // link kind 0 page 1, zero-padded to 7
    if (currentForm) shape.u16(-1).u16(0);                // no polygon, no extra data
    return Fields().u8(0).u16(1).raw(shape.bytes).bytes;
}

enum List { kVersion6, kVersion5, kVersion4, kVersion3, kVersion2, kOtherDocument };

const char* const kDescriptions[] = {
    R"({"objectVersion": 6, "objects": [
        {"kind": "picture", "picture": 2, "width": 40, "height": 30, "x": 5, "y": 100,
         "spacing": [1, 2, 3, 4], "flow": 1, "behind": 1, "borderWidth": 2, "borderColour": 9, "active": 1,
         "fit": [2, 40000, 1, 2, 7], "link": {"kind": 2, "page": 5, "position": 6, "link": 3},
         "hotSpots": [{"box": [0, 0, 10, 10], "link": {"kind": 0, "page": 1}}],
         "scroller": {"thumb": 4, "track": 30, "thumbLength": 8}},
        {"kind": "text", "width": 120, "height": 40, "y": 50, "text": "Rámeček", "frameBackground": 3}]})",
    R"({"objectVersion": 5, "objects": [
        {"kind": "button", "picture": 1, "width": 16, "height": 12, "y": 8, "states": [4, 5], "active": 1},
        {"kind": "picture", "picture": 0, "width": 10, "height": 10, "fit": [1, 1000, 0, 0, -1]}]})",
    R"({"objectVersion": 4, "objects": [
        {"kind": "picture", "picture": 3, "width": 20, "height": 10, "x": 7, "y": 30, "z": 7, "active": 1,
         "fit": [0, 1500, 1, 1, -1], "link": {"kind": 3, "page": 9, "position": 2, "link": 4},
         "hotSpots": [{"box": [0, 0, 8, 8], "points": [[0, 0], [8, 0], [4, 8]]}]},
        {"kind": "sound", "picture": 0, "width": 32, "height": 32, "y": 30, "x": 60, "z": 3,
         "media": [1, 1, 1]}]})",
    R"({"objectVersion": 3, "objects": [
        {"kind": "picture", "picture": 0, "width": 20, "height": 20, "fit": [0, 1000, 0, 2, 11],
         "hotSpots": [{"box": [0, 0, 10, 10], "link": {"kind": 0, "page": 1}}]}]})",
    R"({"objectVersion": 2, "objects": [
        {"kind": "picture", "picture": 0, "width": 20, "height": 20, "x": 4, "y": 9, "fit": [1, 1000, 0, 2, 11]},
        {"kind": "video", "picture": 1, "width": 20, "height": 20, "x": 4, "y": 9, "media": [0, 1, 0]},
        {"kind": "vector", "picture": 2, "width": 20, "height": 20, "x": 3, "y": 9, "active": 1}]})",
    R"({"objectVersion": 6, "objects": [
        {"kind": "picture", "picture": 1, "width": 5, "height": 5},
        {"kind": "sound", "picture": 1, "width": 5, "height": 5, "y": 10}]})",
};

// Every list of the file, written in one run of the writer.
const std::vector<Bytes>& lists() {
    static const std::vector<Bytes> written =
        page_test::writtenObjects(std::vector<std::string>(std::begin(kDescriptions), std::end(kDescriptions)));
    return written;
}

class ObjectListReaderTest : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_DOCUMENT_WRITER(); }

    // Reads a list the writer made; the whole list must be taken.
    void read(List which) {
        const Bytes& list = lists()[which];
        ASSERT_FALSE(list.empty());
        winplat::ByteReader in(list);
        ASSERT_TRUE(t.page.ReadObjects(in, false));
        EXPECT_EQ(in.position(), list.size());
    }

    vazazi_test::ScratchFolder scratch;
    page_test::TestPage t;
};

TEST_F(ObjectListReaderTest, Version6KeepsEverySlotAndTheFrameContent) {
    read(kVersion6);
    ASSERT_EQ(t.page.GetCount(), 2);

    // The text frame (y 50) comes first; it was read second, so its items are number 1.
    Fields text;
    text.u16(120).u16(40).u16(0).u32(50).u16(0).u16(0).u16(0).u16(0);  // size, x, y, spacing
    text.u8(0).u8(0).u8(0).u16(0).u8(0).u8(0).u8(0).u8(5);              // 18-26: kind 5
    text.u16(-1).u16(0).u16(-1).u16(-1).u8(0);                          // picture, z 0, 31, 33, active
    EXPECT_EQ(recordBytes(t.page, 0), readTail(text, 1).bytes);
    EXPECT_EQ(t.page.CopyAttributes(0), slot(2, Fields().u16(120).u16(40).u8(3).u16(-1).u16(2).u16(2).u16(2).u16(2).bytes));
    const Bytes content = t.page.CopySecondText(0);
    ASSERT_GT(content.size(), 10u);
    EXPECT_EQ(content[0], 3) << "the frame content's own version byte";

    Fields picture;
    picture.u16(40).u16(30).u16(5).u32(100).u16(1).u16(2).u16(3).u16(4);
    picture.u8(0).u8(0).u8(1).u16(0).u8(1).u8(2).u8(9).u8(1);  // flow 1, behind, border 2 colour 9, kind 1
    picture.u16(2).u16(1).u16(-1).u16(-1).u8(1);                // picture 2, z 1 (second painted), active
    EXPECT_EQ(recordBytes(t.page, 1), readTail(picture, 0).bytes);
    EXPECT_EQ(t.page.CopyAttributes(1),
              join({slot(1, Fields().u8(2).u16(5).u16(6).u8(3).bytes),                       // page link
                    slot(2, Fields().u8(2).u16(40000).u8(1).u8(2).u16(7).bytes),              // zoom 40000
                    slot(3, oneRectangle(true)),                                               // hot spots
                    slot(6, Fields().u16(4).u16(30).u16(8).u32(0).u32(0).u32(0).bytes)}));   // scroller
    EXPECT_TRUE(t.page.CopySecondText(1).empty());
}

TEST_F(ObjectListReaderTest, Version5ButtonsTakeTheEighteenByteRecord) {
    read(kVersion5);
    ASSERT_EQ(t.page.GetCount(), 2);
    // The 14-byte form (4, 5, -1, six bytes, 1, 0) becomes four pictures, four empty cache entries
    // and the same two closing bytes.
    EXPECT_EQ(t.page.CopyAttributes(1),
              slot(2, Fields().u16(4).u16(5).u16(-1).u16(-1).u16(-1).u16(-1).u16(-1).u16(-1).u8(1).u8(0).bytes));
    EXPECT_EQ(t.page.CopyAttributes(0), slot(2, Fields().u8(1).u16(1000).u8(0).u8(0).u16(-1).bytes));
    EXPECT_EQ(t.page.Object(1).active, 1);
}

TEST_F(ObjectListReaderTest, Version4ConvertsTheOldBlocksAndKeepsItsHotSpots) {
    read(kVersion4);
    ASSERT_EQ(t.page.GetCount(), 2);
    Fields picture;
    picture.u16(20).u16(10).u16(7).u32(30).u16(0).u16(0).u16(0).u16(0);
    picture.u8(0).u8(0).u8(0).u16(0).u8(0).u8(0).u8(0).u8(1);
    // The stored z-order (7 against the sound's 3) puts the picture second in paint order; the
    // old parameters' last byte makes it active. Bytes 31 and 33 are not stored before version 5.
    picture.u16(3).u16(1).u16(-1).u16(-1).u8(1);
    EXPECT_EQ(recordBytes(t.page, 0), readTail(picture, 0).bytes);
    Fields polygon;
    polygon.u8(0).u16(1).u16(0).u16(0).u16(8).u16(8).u8(2).u8(0).u8(0).raw(Bytes(7, 0)).u16(0);
    polygon.u16(15).u16(3).u8(0).u16(0).u16(0).u16(8).u16(0).u16(4).u16(8);
    // Slot 3 as stored, then slot 2 from the old parameters (enlarge -2: the object's own
    // picture), then slot 1 from the old link block with its stored document byte.
    EXPECT_EQ(t.page.CopyAttributes(0), join({slot(3, polygon.bytes),
                                              slot(2, Fields().u8(0).u16(1500).u8(1).u8(1).u16(-2).bytes),
                                              slot(1, Fields().u8(3).u16(9).u16(2).u8(4).bytes)}));
    EXPECT_EQ(t.page.Object(1).z, 0);
    EXPECT_EQ(t.page.CopyAttributes(1), slot(2, Bytes{1, 1, 1, 0}));
}

TEST_F(ObjectListReaderTest, Version3ConvertsTheOldHotSpotList) {
    read(kVersion3);
    ASSERT_EQ(t.page.GetCount(), 1);
    EXPECT_EQ(t.page.CopyAttributes(0), join({slot(3, oneRectangle(true)),
                                              slot(2, Fields().u8(0).u16(1000).u8(0).u8(2).u16(11).bytes)}));
}

TEST_F(ObjectListReaderTest, Version2TakesNoEnlargePictureAndKeepsLaterEqualObjectsFirst) {
    read(kVersion2);
    ASSERT_EQ(t.page.GetCount(), 3);
    // (y, x) order: the vector picture (x 3), then the video read after the picture at the same
    // place, then the picture.
    EXPECT_TRUE(t.page.Object(0).Is(lect32::ObjectKind::VectorPicture));
    EXPECT_TRUE(t.page.Object(1).Is(lect32::ObjectKind::Video));
    EXPECT_TRUE(t.page.Object(2).Is(lect32::ObjectKind::Picture));
    EXPECT_EQ(t.page.CopyAttributes(2), slot(2, Fields().u8(1).u16(1000).u8(0).u8(0).u16(-1).bytes));
    EXPECT_EQ(t.page.CopyAttributes(1), slot(2, Bytes{0, 1, 0, 0}));
    EXPECT_EQ(t.page.Object(0).active, 0) << "a vector picture never takes the mouse";
    EXPECT_EQ(t.page.Object(0).attribute, 2);
}

// The list inside a whole page record of a document, read through the record's reader, which is
// left just after the list.
TEST_F(ObjectListReaderTest, APageRecordsListIsReadWhereTheRecordHoldsIt) {
    std::ofstream(scratch.host("doc.json")) << R"({"name": "doc", "names": {"0": "Strana"},
        "pages": [{"rows": [{"text": "Jedna"}, {"text": "Dva"}], "objectVersion": 4,
                   "objects": [{"kind": "picture", "picture": 0, "width": 10, "height": 10, "y": 3}],
                   "keywords": [[1, "klíč"]]}], "pictures": [{"path": "a.png"}]})";
    ASSERT_TRUE(tool_runner::run(page_test::writer() + " build " + tool_runner::quoted(scratch.host("doc.json")) + " " +
                                 tool_runner::quoted(scratch.host(""))));
    lect32::VazaziFile file;
    ASSERT_EQ(file.Open(scratch.windows("doc.lcn").c_str(), false), 1);
    lect32::MemReader reader;
    ASSERT_EQ(file.ReadRecord(2, 0, reader), 1);
    page_test::skipToObjects(reader);
    ASSERT_TRUE(t.page.ReadObjects(reader, true));
    ASSERT_EQ(t.page.GetCount(), 1);
    EXPECT_EQ(t.page.Object(0).y, 3);
    uint8_t after[2] = {9, 9};
    reader.ReadBytes(after, 2);
    EXPECT_EQ(after[0], 0) << "the keyword items follow";
    EXPECT_EQ(after[1], 0);
    EXPECT_FALSE(reader.overrun());
}

// Objects from another document name their pictures by that document's table: each is taken into
// this page's picture table by path.
TEST_F(ObjectListReaderTest, PicturesOfAnotherDocumentAreFoundByPath) {
    lect32::StringPool otherFolders;
    lect32::FileNameTable other(otherFolders);
    for (const char* name : {"c:\\a\\jedna.png", "c:\\a\\dva.png"}) {
        std::string path(name);
        other.AddPath(path.data());
    }
    std::string mine("c:\\b\\x.png");
    t.pictures.AddPath(mine.data());
    const Bytes& list = lists()[kOtherDocument];
    winplat::ByteReader in(list);
    ASSERT_TRUE(t.page.ReadObjects(in, false, &other));
    char path[lect32::FileNameTable::kPathBuffer];
    t.pictures.GetPath(t.page.Object(0).picture, path);
    EXPECT_STREQ(path, "c:\\a\\dva.png");
    EXPECT_EQ(t.page.Object(0).picture, 1);
    EXPECT_EQ(t.page.Object(1).picture, 1) << "a sound's index names a media file, not a picture";
}

// A page holds as many objects as its text lists have items: 16,383.
TEST(ObjectListLimitTest, APageTakesUpTo16383Objects) {
    for (const int count : {16383, 16384}) {
        SCOPED_TRACE(count);
        Fields list;
        list.u8(6).u16(count);
        const lect32::PageObject::Bytes record = lect32::PageObject().Encode();
        for (int i = 0; i < count; ++i) list.raw(Bytes(record.begin(), record.begin() + 36)).u16(0).u16(0);
        page_test::TestPage t;
        winplat::ByteReader in(list.bytes);
        EXPECT_EQ(t.page.ReadObjects(in, false), count <= 16383);
        EXPECT_EQ(t.page.GetCount(), count <= 16383 ? count : 0);
    }
}

// Objects are measured before they take their places, so the page is in the (y, x) order of where
// they are shown: a right-placed object stored at x 10 lies right of a free one at x 50.
TEST(ObjectListOrderTest, MeasuredPlacesDecideTheOrder) {
    const auto list = [](std::vector<std::pair<int16_t, uint8_t>> objects) {
        Fields f;
        f.u8(6).u16(static_cast<int>(objects.size()));
        for (const auto& [x, placement] : objects) {
            lect32::PageObject o = page_test::object(x, 0, 40, 10);
            o.placement = placement;
            const lect32::PageObject::Bytes record = o.Encode();
            f.raw(Bytes(record.begin(), record.begin() + 36)).u16(0).u16(0);
        }
        return f.bytes;
    };
    struct Case {
        const char* what;
        Bytes bytes;
        bool measure;
        std::vector<int16_t> xs;
    };
    const Case cases[] = {
        {"right-placed after a free object", list({{50, 0}, {10, 2}}), true, {50, 260}},
        {"left-placed onto a free object's place: read later, first", list({{0, 0}, {200, 1}}), true, {0, 0}},
        {"unmeasured, stored places", list({{50, 0}, {10, 2}}), false, {10, 50}},
    };
    lect32::PageStyle style;
    style.width = 300;
    style.margins = {0, 0, 0, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page_test::TestPage t;
        t.page.SetLayoutArea(style);
        winplat::ByteReader in(c.bytes);
        ASSERT_TRUE(t.page.ReadObjects(in, c.measure));
        ASSERT_EQ(t.page.GetCount(), 2);
        EXPECT_EQ(t.page.Object(0).x, c.xs[0]);
        EXPECT_EQ(t.page.Object(1).x, c.xs[1]);
    }
    page_test::TestPage t;
    t.page.SetLayoutArea(style);
    const Bytes equal = list({{0, 0}, {200, 1}});
    winplat::ByteReader in(equal);
    ASSERT_TRUE(t.page.ReadObjects(in, true));
    EXPECT_EQ(t.page.Object(0).attribute, 1) << "the object read second";
}

}  // namespace
