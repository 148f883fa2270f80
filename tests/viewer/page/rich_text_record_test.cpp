// The text-frame record: every section combination written, measured and read back; version 1
// and 2 records; the view state's reset and selection rules; damaged records refused with one
// empty row left; the document writer's table cells read as frames.
#include <gtest/gtest.h>

#include "page/rich_text_object.h"
#include "store/mem_writer.h"
#include "table_test_support.h"

namespace lect32 {
namespace {

using Bytes = std::vector<uint8_t>;

// A record written by hand, field by field, as another program would.
struct RecordBuilder {
    Bytes b;
    RecordBuilder& u8(uint8_t v) {
        b.push_back(v);
        return *this;
    }
    RecordBuilder& u16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
    RecordBuilder& u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
    RecordBuilder& bytes(const Bytes& v) {
        b.insert(b.end(), v.begin(), v.end());
        return *this;
    }
    // A row: 7-byte record of style 'style', no tab stops, the text, one line entry.
    RecordBuilder& row(const std::string& text, uint8_t style = 0) {
        u16(7).bytes({0, 0, 0, 0, style, 0, 0});
        u16(0);
        u16(uint16_t(text.size())).bytes(Bytes(text.begin(), text.end()));
        return u16(1).u16(uint16_t(text.size())).u16(16);
    }
};

std::string textOf(const RichTextObject& frame, uint16_t row) {
    return std::string(frame.Row(row).text.begin(), frame.Row(row).text.end());
}

// A frame whose shown selection can be hidden, as painting hides it.
class TestFrame : public RichTextObject {
public:
    void hideSelection() { selection_.shown = false; }
};

// A frame of two rows with tab stops, line tables, a caret, scroll positions and highlights.
void fill(TestFrame& frame, bool selectionShown, bool highlights) {
    const Bytes record = RecordBuilder{}
                             .u8(2).u16(2)
                             .row("first")
                             .u16(9).bytes({1, 2, 3, 4, 5, 0x01, 0, 0x34, 0x12}).u16(2).bytes({0, 40, 0, 0, 2, 80, 0, 0})
                             .u16(3).bytes({'a', '\t', 'b'}).u16(2).u16(1).u16(12).u16(2).u16(14)
                             .u8(3)
                             .u32(70000).u16(300).u16(1).u16(2).u16(0xBEEF).u8(1).u16(0).u16(1).u16(1).u16(2)
                             .u16(7).u32(90)
                             .u8(1).u16(1).u16(0).u16(3).u16(0)
                             .b;
    ASSERT_TRUE(frame.Deserialize(record));
    if (!selectionShown) frame.hideSelection();
    if (!highlights) {
        frame.SetMarkedRanges(0, {});
        frame.SetMarkedRanges(1, {});
    }
}

TEST(RichTextRecordTest, EveryFlagCombinationMeasuresWhatItWritesAndReadsBack) {
    for (const uint8_t sections : {0, 1, 2, 3, 255}) {
        for (const bool shown : {true, false}) {
            for (const bool highlights : {true, false}) {
                SCOPED_TRACE(::testing::Message() << "sections " << int(sections) << " shown " << shown
                                                  << " highlights " << highlights);
                TestFrame frame;
                fill(frame, shown, highlights);
                const uint32_t size = frame.GetSerializedSize(sections);
                const Bytes written = frame.Serialize(sections);
                ASSERT_EQ(written.size(), size);
                EXPECT_EQ(written[0], RichTextObject::kRecordVersion);

                RichTextObject copy;
                ASSERT_TRUE(copy.Deserialize(written));
                ASSERT_EQ(copy.RowCount(), 2);
                EXPECT_EQ(textOf(copy, 1), "a\tb");
                EXPECT_EQ(copy.Row(1).record.bytes, frame.Row(1).record.bytes);
                EXPECT_EQ(copy.Row(1).tabs, frame.Row(1).tabs);
                EXPECT_EQ(copy.Row(1).lines, frame.Row(1).lines);
                EXPECT_EQ(copy.Serialize(sections), written) << "a second round gives the same bytes";

                const bool view = sections & RichTextObject::kViewState;
                EXPECT_EQ(copy.GetContentHeight(), view ? 70000 : 0);
                EXPECT_EQ(copy.CaretWord(), view ? 0xBEEF : 0);
                EXPECT_EQ(copy.ScrollY(), view ? 90 : 0);
                EXPECT_EQ(copy.GetSelection().active, view && shown);
                const bool marks = (sections & RichTextObject::kHighlights) && highlights;
                EXPECT_EQ(copy.Row(0).marked.size(), marks ? 1u : 0u);
            }
        }
    }
}

TEST(RichTextRecordTest, SectionSizes) {
    TestFrame frame;
    fill(frame, true, true);
    const uint32_t bare = frame.GetSerializedSize(0);
    EXPECT_EQ(frame.GetSerializedSize(1) - bare, 19u + 8u) << "view state with the selection's positions";
    EXPECT_EQ(frame.GetSerializedSize(2) - bare, 1u + 2u + 4u + 2u) << "byte, then per row a count and ranges";

    fill(frame, false, false);
    EXPECT_EQ(frame.GetSerializedSize(1) - bare, 19u) << "a selection not shown writes byte 0 and no positions";
    const Bytes written = frame.Serialize(2);
    EXPECT_EQ(frame.GetSerializedSize(2) - bare, 1u) << "no highlights: the single byte 0";
    const Bytes objects = [] {
        RichTextObject empty;
        MemWriter out;
        out.Begin();
        const uint32_t n = empty.GetPage().SaveObjects(out);
        return Bytes(out.data(), out.data() + n);
    }();
    ASSERT_GT(written.size(), objects.size());
    EXPECT_EQ(written[written.size() - objects.size() - 1], 0) << "the highlights byte before the objects";
    EXPECT_EQ(written[written.size() - objects.size() - 2], 2) << "the section flags before it";
}

TEST(RichTextRecordTest, VersionOneHasViewStateWithoutScrollPositions) {
    const Bytes record = RecordBuilder{}
                             .u8(1).u16(1).row("x")
                             .u32(55).u16(20).u16(0).u16(1).u16(9).u8(1).u16(0).u16(0).u16(0).u16(1)
                             .b;
    RichTextObject frame;
    ASSERT_TRUE(frame.Deserialize(record));
    EXPECT_EQ(frame.GetContentHeight(), 55);
    EXPECT_EQ(frame.CaretPos(), 1);
    EXPECT_EQ(frame.CaretWord(), 9);
    EXPECT_TRUE(frame.GetSelection().active);
    EXPECT_EQ(frame.GetSelection().endPos, 1);
    EXPECT_EQ(frame.ScrollX(), 0);
    EXPECT_EQ(frame.ScrollY(), 0);
    EXPECT_EQ(frame.GetPage().GetCount(), 0);
}

TEST(RichTextRecordTest, VersionTwoWithoutViewStateResetsIt) {
    TestFrame frame;
    fill(frame, true, true);
    const Bytes record = RecordBuilder{}.u8(2).u16(1).row("y").u8(0).b;
    ASSERT_TRUE(frame.Deserialize(record));
    EXPECT_EQ(frame.RowCount(), 1);
    EXPECT_EQ(textOf(frame, 0), "y");
    EXPECT_EQ(frame.GetContentHeight(), 0);
    EXPECT_EQ(frame.CaretRow(), 0);
    EXPECT_EQ(frame.ScrollY(), 0);
    EXPECT_FALSE(frame.GetSelection().active);
    EXPECT_TRUE(frame.Row(0).marked.empty());
}

TEST(RichTextRecordTest, DamagedRecordsLeaveOneEmptyRow) {
    const Bytes good = RecordBuilder{}.u8(2).u16(2).row("one").row("two").u8(1)
                           .u32(1).u16(2).u16(0).u16(0).u16(0).u8(0).u16(0).u32(0).b;
    struct Case {
        std::string what;
        Bytes record;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"version 0", RecordBuilder{}.u8(0).u16(1).row("a").u8(0).b},
        {"version 4", RecordBuilder{}.u8(4).u16(1).row("a").u8(0).b},
        {"no rows", RecordBuilder{}.u8(3).u16(0).u8(0).b},
        {"row record shorter than its header", RecordBuilder{}.u8(3).u16(1).u16(6).bytes(Bytes(6, 0)).u16(0).u16(0).u16(0).u8(0).b},
        {"text length past the end", RecordBuilder{}.u8(3).u16(1).u16(7).bytes(Bytes(7, 0)).u16(0).u16(40).bytes({'a'}).b},
        {"highlight count past the end", RecordBuilder{}.u8(3).u16(1).row("a").u8(2).u8(1).u16(9).u32(0).b},
        {"a control code cut off", RecordBuilder{}.u8(3).u16(1).u16(7).bytes(Bytes(7, 0)).u16(0).u16(2).bytes({1, 'a'}).u16(0).u8(0).b},
        {"packed format past its record", RecordBuilder{}.u8(3).u16(1).u16(8).bytes({0, 0, 0, 0, 0, 1, 0, 9}).u16(0).u16(0).u16(0).u8(0).b},
        {"damaged object block", RecordBuilder{}.u8(3).u16(1).row("a").u8(0).u8(2).u16(5).b},
    };
    RecordBuilder tooMany;
    tooMany.u8(3).u16(0x4000);
    for (int i = 0; i < 0x4000; ++i) tooMany.row("");
    cases.push_back({"one row more than a frame holds", tooMany.u8(0).b});
    // Every cut of a good record before its view state ends.
    for (size_t n = 0; n + 1 < good.size(); ++n) cases.push_back({"cut at " + std::to_string(n), Bytes(good.begin(), good.begin() + n)});
    for (const Case& c : cases) {
        TestFrame frame;
        fill(frame, true, true);
        EXPECT_FALSE(frame.Deserialize(c.record)) << c.what;
        ASSERT_EQ(frame.RowCount(), 1) << c.what;
        EXPECT_TRUE(frame.Row(0).text.empty()) << c.what;
        EXPECT_EQ(frame.GetContentHeight(), 0) << c.what;
    }
    RichTextObject frame;
    EXPECT_TRUE(frame.Deserialize(good)) << "the uncut record";
    EXPECT_TRUE(frame.Deserialize(RecordBuilder{}.u8(3).u16(1).u16(7).bytes(Bytes(7, 0)).u16(0).u16(0).u16(0).u8(0).b))
        << "a row record of exactly its header";
    RecordBuilder most;
    most.u8(3).u16(0x3FFF);
    for (int i = 0; i < 0x3FFF; ++i) most.row("");
    EXPECT_TRUE(frame.Deserialize(most.u8(0).b)) << "as many rows as a frame holds";
    EXPECT_EQ(frame.RowCount(), 0x3FFF);
}

TEST(RichTextRecordTest, ObjectKindsOfARecord) {
    uint32_t kinds = 0;
    EXPECT_TRUE(RichTextObject::ScanObjectKinds(RecordBuilder{}.u8(3).u16(1).row("a").u8(0).b, kinds));
    EXPECT_EQ(kinds, 0u);
    EXPECT_FALSE(RichTextObject::ScanObjectKinds(RecordBuilder{}.u8(3).u16(2).row("a").b, kinds));
}

TEST(RichTextRecordTest, TheDocumentWritersTableCellsReadAsFrames) {
    REQUIRE_DOCUMENT_WRITER();
    const auto tables = table_test::writtenTables({table_test::described("1", "2", R"(
        {"text": "left", "contentHeight": 33}, {"rows": [{"text": "up"}, {"text": "down"}]})")});
    ASSERT_FALSE(tables[0].empty());
    TableObject table;
    ASSERT_TRUE(table_test::readTable(table, tables[0]));
    RichTextObject first;
    ASSERT_TRUE(first.Deserialize(table.CellText(0)));
    EXPECT_EQ(textOf(first, 0), "left");
    EXPECT_EQ(first.GetContentHeight(), 33);
    RichTextObject second;
    ASSERT_TRUE(second.Deserialize(table.CellText(1)));
    ASSERT_EQ(second.RowCount(), 2);
    EXPECT_EQ(textOf(second, 1), "down");
    const Bytes again = second.Serialize(RichTextObject::kAllSections);
    EXPECT_EQ(again.size(), second.GetSerializedSize(RichTextObject::kAllSections));
}

TEST(RichTextRecordTest, FrameStyle) {
    RichTextObject frame;
    FrameRecord style;
    style.width = 120;
    style.height = 40;
    style.background = 3;
    style.picture = -1;
    style.marginLeft = 4;
    style.marginRight = 5;
    style.marginTop = 6;
    style.marginBottom = 7;
    frame.SetFrameStyle(style);
    const FrameRecord back = frame.GetFrameStyle();
    EXPECT_EQ(back.width, 120);
    EXPECT_EQ(back.height, 40);
    EXPECT_EQ(back.background, 3);
    EXPECT_EQ(back.picture, -1);
    EXPECT_EQ(back.marginLeft, 4);
    EXPECT_EQ(back.marginRight, 5);
    EXPECT_EQ(back.marginTop, 6);
    EXPECT_EQ(back.marginBottom, 7);
    EXPECT_EQ(frame.Style().TopMargin(), 6);
    EXPECT_EQ(frame.GetPage().GetLayoutArea().width, 120);
    EXPECT_EQ(frame.GetPage().GetLayoutArea().backPicture, -1) << "0xFFFF: no background picture";
    frame.SetSize(90, 30);
    EXPECT_EQ(frame.VisibleWidth(), 90);
    EXPECT_EQ(frame.GetPage().GetLayoutArea().width, 90);
}

}  // namespace
}  // namespace lect32
