// The document view's page reading, row layout and insets, with rows written field by field and
// laid out with the synthetic test face: a 15-point letter is 10 pixels wide, a space 5, a line
// 24 pixels high (ascent 18, descent 6).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page/document_geometry.h"
#include "document_view_support.h"
#include "page/document_view.h"
#include "page_test_support.h"
#include "text/colour_table.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/style_sheet.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/testing.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

using page_test::Bytes;
using page_test::Fields;

constexpr int kLineHeight = 24;

// Packed format parts, in stored order.
Bytes CharPart(int size) { return Fields().u8(0).u16(size).u8(3).u8(0).bytes; }
Bytes LineSpacingPart() { return Fields().u16(0xFF9C).bytes; }  // -100: single spacing, no extra leading
Bytes MarkerPart(uint8_t kind, uint8_t level) { return Fields().u8(kind).u8(0).u8(0).u8(level).u16(0).u8(0).u8(0).bytes; }

// u32 height (any: the layout writes it), style, u16 mask, the parts.
Bytes RowRecordBytes(uint8_t style, uint16_t mask, const Bytes& parts) {
    return Fields().u32(0x12345678).u8(style).u16(mask).raw(parts).bytes;
}
// A 15-point row of single spacing.
Bytes PlainRecord(uint8_t style = 0) {
    return RowRecordBytes(style, 0x0002 | 0x0040, page_test::join({CharPart(15), LineSpacingPart()}));
}

// One row of a page record: u16 + record, u16 stop count + stops, u16 + text.
Bytes PageRow(const Bytes& record, const std::string& text, uint16_t stops = 0) {
    Fields row;
    row.u16(static_cast<int>(record.size())).raw(record).u16(stops);
    for (uint16_t i = 0; i < stops; ++i) row.u8(0).u16(40 * (i + 1)).u8(0);
    return row.u16(static_cast<int>(text.size())).raw(Bytes(text.begin(), text.end())).bytes;
}
// 2 ignored bytes, u16 rows, the rows, 1 ignored byte, an empty object list (version 2, none).
Bytes PageRecord(const std::vector<Bytes>& rows, int count = -1) {
    Fields page;
    page.u16(0).u16(count < 0 ? static_cast<int>(rows.size()) : count);
    for (const Bytes& r : rows) page.raw(r);
    return page.u8(0).u8(2).u16(0).bytes;
}

class DocumentViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& fonts = GetDocumentFonts();
        fonts.main.Clear();
        fonts.main.Append("Arial CE", kCharsetEastEurope);
        SetTextResolution(96);
        SetTextZoom(0);
        GetTextFontCache().Clear();
        SelectObject(dc_.get(), surface_.get());
        colours_.SetAll(std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}});
        style_.width = 120;
        style_.widthMode = 1;
        style_.margins = ShortRect{10, 10, 10, 10};
        style_.backgroundColour = 1;
        view_.SetPageStyle(style_);
        view_.OnSize(320, 400);
    }
    void TearDown() override {
        GetTextFormatter().ReleaseFonts();
        GetTextFontCache().Clear();
        GetDocumentFonts().main.Clear();
    }
    bool Load(const Bytes& record) {
        winplat::ByteReader in(record);
        return view_.LoadPage(in);
    }
    std::vector<uint16_t> Chars(uint16_t row) const {
        std::vector<uint16_t> chars;
        for (const LineEntry& e : view_.Row(row).lines) chars.push_back(e.chars);
        return chars;
    }
    void LayOut() {
        view_.SetPageStyle(style_);
        view_.Layout(dc_.get());
    }

    winplat::testing::ScopedFontSource face_{winplat::testing::FontSource::Test};
    winplat::MemoryDc dc_{CreateCompatibleDC(nullptr)};
    winplat::OwnedBitmap surface_{CreateBitmap(320, 400, 1, 32, nullptr)};
    StyleSheet styles_;
    ColourTable colours_;
    PageStyle style_;
    page_test::TestPage page_;
    DocumentView view_{page_.services(), ViewServices{&styles_, &colours_, {}}};
};

TEST_F(DocumentViewTest, LoadsRowsRecordsTabsAndTexts) {
    const Bytes anchored = RowRecordBytes(0, 0x0001 | 0x0002, page_test::join({Fields().u16(7).bytes, CharPart(15)}));
    ASSERT_TRUE(Load(PageRecord({PageRow(PlainRecord(3), "one"), PageRow(anchored, "two\tx", 3)})));
    ASSERT_EQ(view_.RowCount(), 2);
    EXPECT_EQ(std::string(view_.Row(0).text.begin(), view_.Row(0).text.end()), "one");
    EXPECT_EQ(view_.Row(0).record.Style(), 3);
    EXPECT_EQ(view_.GetAnchorNumber(0), 0);
    EXPECT_EQ(view_.GetAnchorNumber(1), 7);
    ASSERT_EQ(view_.Row(1).tabs.size(), 3u);
    EXPECT_EQ(view_.Row(1).tabs[2].position, 120);
}

// A bare 7-byte record cannot hold the anchor its bit announces: the bit is dropped.
TEST_F(DocumentViewTest, SevenByteRecordLosesItsAnchorBit) {
    ASSERT_TRUE(Load(PageRecord({PageRow(RowRecordBytes(0, 0x0001, {}), "a")})));
    EXPECT_EQ(view_.Row(0).record.Flags() & RowRecord::kAnchorBit, 0);
    EXPECT_EQ(view_.GetAnchorNumber(0), 0);
}

// Each damaged record is refused whole: the view shows one empty row, as a new page does.
TEST_F(DocumentViewTest, DamagedRecordsLeaveAnEmptyPage) {
    const Bytes good = PageRow(PlainRecord(), "text");
    Bytes shortText = good;
    shortText[shortText.size() - 5] = 9;  // the text length's high byte: 2,308 bytes, past the record
    Bytes longStops = PageRow(PlainRecord(), "x");
    longStops[2 + PlainRecord().size()] = 200;  // 200 stops of 4 bytes that are not there
    struct Case {
        const char* what;
        Bytes record;
    };
    const std::vector<Case> cases = {
        {"row count one larger than the rows", PageRecord({good}, 2)},
        {"record shorter than its 7-byte head", PageRecord({page_test::join({Fields().u16(6).bytes, Bytes(6, 0), Fields().u16(0).u16(0).bytes})})},
        {"packed format cut off", PageRecord({PageRow(RowRecordBytes(0, 0x0002, Fields().u8(0).u8(15).bytes), "a")})},
        {"tab stops past the end", PageRecord({longStops})},
        {"text past the end", PageRecord({shortText})},
        {"control code cut off", PageRecord({PageRow(PlainRecord(), std::string("ab\x01\x01", 4))})},
        {"table bytes missing", PageRecord({PageRow(RowRecordBytes(0, 0x8000, {}), "")})},
        {"nothing after the rows", Fields().u16(0).u16(0).bytes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Load(PageRecord({good, good})));
        EXPECT_FALSE(Load(c.record));
        ASSERT_EQ(view_.RowCount(), 1);
        EXPECT_TRUE(view_.Row(0).text.empty());
        EXPECT_EQ(view_.Row(0).lines.size(), 1u);
    }
    EXPECT_TRUE(Load(PageRecord({good})));
}

// A table row whose table nobody reads is stepped over and lays out empty, without height.
TEST_F(DocumentViewTest, UnreadTableRowIsEmpty) {
    const Bytes table = Fields().u8(0).u16(1).u16(1).u16(0).u16(36).raw(Bytes(36, 0)).bytes;
    Bytes rows = page_test::join({PageRow(RowRecordBytes(0, 0x8000, {}), ""), table});
    ASSERT_TRUE(Load(PageRecord({rows, PageRow(PlainRecord(), "a")})));
    ASSERT_EQ(view_.RowCount(), 2);
    EXPECT_EQ(view_.GetRowObject(0), nullptr);
    LayOut();
    EXPECT_EQ(view_.GetRowHeight(0), 0u);
    EXPECT_EQ(view_.GetRowHeight(1), static_cast<uint32_t>(kLineHeight));
    Bytes badCell = table;
    badCell[7] = 35;  // a cell record of 35 bytes
    EXPECT_FALSE(Load(PageRecord({page_test::join({PageRow(RowRecordBytes(0, 0x8000, {}), ""), badCell})})));
}

// Lines as (bytes, height): an empty row, a row that wraps, a row ending in LF.
TEST_F(DocumentViewTest, LineArraysOfRows) {
    ASSERT_TRUE(Load(PageRecord({PageRow(PlainRecord(), ""), PageRow(PlainRecord(), "aaaa bbbb cccc"),
                                 PageRow(PlainRecord(), "ab\n"), PageRow(PlainRecord(), "aaaaaaaa m"),
                                 PageRow(PlainRecord(), "aaaaaaa mi")})));
    LayOut();
    EXPECT_EQ(Chars(0), (std::vector<uint16_t>{0}));
    EXPECT_EQ(Chars(1), (std::vector<uint16_t>{10, 4})) << "\"aaaa bbbb \" is 95 pixels of 100";
    EXPECT_EQ(Chars(2), (std::vector<uint16_t>{3, 0})) << "a LF at the end adds a line of no bytes";
    EXPECT_EQ(Chars(3), (std::vector<uint16_t>{9, 1})) << "a line of exactly 100 pixels does not fit in 100";
    EXPECT_EQ(Chars(4), (std::vector<uint16_t>{10})) << "95 pixels fit";
    for (uint16_t row = 0; row < 5; ++row)
        for (const LineEntry& e : view_.Row(row).lines) EXPECT_EQ(e.height, kLineHeight) << "row " << row;
    EXPECT_EQ(view_.GetRowHeight(1), 2u * kLineHeight);
    EXPECT_EQ(view_.ContentHeight(), 10 + 8 * kLineHeight + 10) << "rows and both margins";
    EXPECT_EQ(view_.LaidOutWidth(), 120);
}

// Pages from the document writer: a line that does not fit beside an object goes on in the
// part of the next band that overlaps the old one, and the band below it is whole again.
TEST_F(DocumentViewTest, BandMergeBesideAnObject) {
    REQUIRE_DOCUMENT_WRITER();
    using document_view_test::row;
    const Bytes page = document_view_test::writtenPage(document_view_test::pageOf(
        {row("aaaa bbbb cccc dddd"), row("x")}, "[{\"kind\": \"picture\", \"x\": 50, \"y\": 0, \"width\": 50, \"height\": 30}]"));
    ASSERT_FALSE(page.empty());
    ASSERT_TRUE(Load(page));
    LayOut();
    EXPECT_EQ(Chars(0), (std::vector<uint16_t>{5, 5, 9})) << "the second line keeps the 50 pixels beside the object";
    EXPECT_EQ(view_.GetRowHeight(0), 3u * kLineHeight);
    EXPECT_EQ(Chars(1), (std::vector<uint16_t>{1}));
    EXPECT_EQ(view_.ContentHeight(), 10 + 4 * kLineHeight + 10);
}

// The first line that holds a tab breaks at the row's last stop when that lies beyond the width
// (+1 for a stop that is not a right stop); otherwise at the width.
TEST_F(DocumentViewTest, FirstTabLineBreaksAtTheLastStop) {
    REQUIRE_DOCUMENT_WRITER();
    using document_view_test::row;
    struct Case {
        const char* what;
        std::string tabs;
        std::vector<uint16_t> chars;
    };
    // "m" is 15 pixels: after the tab at 40, "bbbb m" ends at exactly 100.
    const std::vector<Case> cases = {
        {"one stop at 40: w = 41", "\"tabs\": [[0, 40]]", {7, 6}},
        {"left stop at 99: w = 100 is the width", "\"tabs\": [[0, 40], [0, 99]]", {7, 6}},
        {"left stop at 100: w = 101 passes it", "\"tabs\": [[0, 40], [0, 100]]", {9, 4}},
        {"right stop at 100: w = 100", "\"tabs\": [[0, 40], [2, 100]]", {7, 6}},
        {"left stop at 300", "\"tabs\": [[0, 40], [0, 300]]", {13}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes page = document_view_test::writtenPage(document_view_test::pageOf({row("a\\tbbbb m nnnn", "", c.tabs)}));
        ASSERT_FALSE(page.empty());
        ASSERT_TRUE(Load(page));
        LayOut();
        EXPECT_EQ(Chars(0), c.chars);
    }
}

// Tops of rows follow the heights; a row past the end is the last.
TEST_F(DocumentViewTest, RowTopsAndRowFromY) {
    ASSERT_TRUE(Load(PageRecord({PageRow(PlainRecord(), "a"), PageRow(PlainRecord(), "aaaa bbbb cccc"), PageRow(PlainRecord(), "b")})));
    LayOut();
    EXPECT_EQ(view_.GetRowTop(0), 10);
    EXPECT_EQ(view_.GetRowTop(1), 10 + kLineHeight);
    EXPECT_EQ(view_.GetRowTop(2), 10 + 3 * kLineHeight);
    EXPECT_EQ(view_.GetRowTop(9), 10 + 3 * kLineHeight);
    struct Case {
        int32_t y;
        uint16_t row;
    };
    for (const Case c : {Case{0, 0}, Case{10 + kLineHeight - 1, 0}, Case{10 + kLineHeight, 1}, Case{10 + 4 * kLineHeight - 1, 2},
                         Case{10 + 4 * kLineHeight, 3}}) {
        EXPECT_EQ(view_.RowFromY(c.y), c.row) << "y " << c.y;
    }
}

// Border and frame room: s = line width + spacing per side; a frame thrown left widens the left
// inset only, one thrown right also moves the lines.
TEST(RowInsetsTest, BorderAndFrameRoom) {
    struct Case {
        const char* what;
        uint8_t sides, width, spacing, frameColour;
        int8_t dx, dy;
        RowInsets expected;
    };
    const std::vector<Case> cases = {
        {"left border 2 + 3, frame +4", 1, 2, 3, 0, 4, 0, {5 + 9, 0, 0, 0, 9, 5, 5, 0}},
        {"all sides", 15, 1, 1, 255, 0, 0, {5 + 2, 2, 2, 2, 2, 2, 2, 0}},
        {"frame thrown left and up", 0, 0, 0, 0, -3, -2, {5 + 3, 0, 2, 0, 0, 0, 0, 3}},
        {"frame thrown down, no colour: no room", 0, 0, 0, 255, 3, 3, {5, 0, 0, 0, 0, 0, 0, 0}},
        {"frame thrown down", 8, 1, 2, 0, 0, 3, {5, 0, 0, 3 + 3, 0, 3, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TextFormat format;
        format.indents.left = 5;
        format.border.bytes = {c.sides, c.width, 0, c.spacing};
        format.frame = Shadow{c.frameColour, c.dx, c.dy};
        const RowInsets in = RowInsetsOf(format);
        EXPECT_EQ(in.left, c.expected.left);
        EXPECT_EQ(in.right, c.expected.right);
        EXPECT_EQ(in.top, c.expected.top);
        EXPECT_EQ(in.below, c.expected.below);
        EXPECT_EQ(in.shift, c.expected.shift);
        EXPECT_EQ(in.frameLeft, c.expected.frameLeft);
    }
}

// Numbered items of one style and level count up; another style or level restarts the count,
// asked in order (through the one-entry cache) or out of order.
TEST_F(DocumentViewTest, ListNumbersRestartAfterAnotherStyle) {
    const auto item = [](uint8_t style, uint8_t level) {
        return PageRow(RowRecordBytes(style, 0x0002 | 0x0040 | 0x0400, page_test::join({CharPart(15), LineSpacingPart(), MarkerPart(2, level)})), "x");
    };
    ASSERT_TRUE(Load(PageRecord({item(1, 0), item(1, 0), item(2, 0), item(1, 0), item(1, 0), item(1, 1), item(1, 1)})));
    const std::vector<uint16_t> expected = {1, 2, 1, 1, 2, 1, 2};
    std::vector<uint16_t> inOrder;
    for (uint16_t r = 0; r < view_.RowCount(); ++r) inOrder.push_back(view_.GetListNumber(r));
    EXPECT_EQ(inOrder, expected);
    std::vector<uint16_t> backwards(expected.size());
    for (uint16_t r = view_.RowCount(); r-- > 0;) backwards[r] = view_.GetListNumber(r);
    EXPECT_EQ(backwards, expected);
}

// Content taller than the window: the second pass is narrower by the bar; width mode 2 never
// shows bars, and content that fits shows none.
TEST_F(DocumentViewTest, TwoPassLayoutWithAScrollBar) {
    std::vector<Bytes> rows(20, PageRow(PlainRecord(), "aaaa bbbb"));
    ASSERT_TRUE(Load(PageRecord(rows)));
    const int thickness = GetSystemMetrics(SM_CXVSCROLL);
    ASSERT_GT(thickness, 0);
    struct Case {
        uint8_t widthMode;
        int height;
        bool bar;
        int width;
    };
    // Width mode 1 keeps its width (120) and is not laid out again, but shows the bar it needs.
    for (const Case c : {Case{0, 200, true, 320 - thickness}, Case{0, 20 * kLineHeight + 20, false, 320},
                         Case{0, 20 * kLineHeight + 19, true, 320 - thickness}, Case{2, 200, false, 320},
                         Case{1, 200, true, 120}, Case{1, 20 * kLineHeight + 20, false, 120},
                         Case{1, 20 * kLineHeight + 19, true, 120}}) {
        SCOPED_TRACE(testing::Message() << "mode " << int{c.widthMode} << " height " << c.height);
        style_.widthMode = c.widthMode;
        view_.OnSize(320, c.height);
        LayOut();
        EXPECT_EQ(view_.VerticalBarShown(), c.bar);
        EXPECT_EQ(view_.LaidOutWidth(), c.width);
        EXPECT_EQ(view_.ContentHeight(), 20 * kLineHeight + 20);
    }
}

}  // namespace
}  // namespace lect32
