// Painting a table into a memory surface and probing pixels: the shared line in the darker (or
// wider) border's colour, a width-3 line split 2 below and 1 above, the corner square where four
// cells meet, the outer frame, background above and below the text by alignment, the inverted
// cell range, the painting switch, and new sheets while printing.
#include <gtest/gtest.h>

#include "page/page_style.h"
#include "page/table_object.h"
#include "picture_test_support.h"
#include "text/colour_table.h"
#include "table_test_support.h"

namespace lect32 {
namespace {

using picture_test::Canvas;
using table_test::Bytes;
using table_test::CountingEditor;
using table_test::described;
using table_test::EditorLog;
using table_test::readTable;
using table_test::writtenTables;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kSentinel = RGB(1, 2, 3);
constexpr COLORREF kText = CountingEditor::kText;

// Colour indexes of the tests' colour table.
constexpr int kWhiteIndex = 1, kRedIndex = 2, kBlueIndex = 3;  // green is 5

class TablePaintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        colours_.SetAll(std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}, {128, 128, 128}, {0, 160, 0}});
        canvas_.fill(kSentinel);
    }
    // Read, given the page style (white background, margins 10) and laid out; the table then
    // stands at (10, 10) plus its outer margins.
    std::unique_ptr<TableObject> table(const Bytes& stored, EditorLog& log) {
        auto t = std::make_unique<TableObject>(&colours_, std::make_unique<CountingEditor>(log));
        if (stored.empty() || !readTable(*t, stored)) return nullptr;
        PageStyle style;
        style.backgroundColour = kWhiteIndex;
        t->SetPageStyle(style);
        t->Layout(canvas_.dc());
        return t;
    }
    void paint(TableObject& t) { t.Paint(canvas_.dc(), {0, 0, canvas_.width(), canvas_.height()}); }
    static std::string border(int width, int colour) {
        return "[" + std::to_string(width) + ", " + std::to_string(colour) + "]";
    }
    static std::string all(int width, int colour) {
        const std::string b = border(width, colour);
        return "[" + b + ", " + b + ", " + b + ", " + b + "]";
    }

    ColourTable colours_;
    Canvas canvas_{120, 80};
};

// Two cells side by side; cell 0 stands at x 11..30, cell 1 at 31..50. Pixels 30, 31 and 32 at
// mid-height: cell 0's half of the shared line, cell 1's half, and what lies right of it.
TEST_F(TablePaintingTest, TheSharedLineTakesTheWinnersColour) {
    REQUIRE_DOCUMENT_WRITER();
    struct Case {
        std::string what;
        std::string left, right;  // the two cells' borders
        std::array<COLORREF, 3> pixels;
    };
    const std::vector<Case> cases = {
        {"blue is darker than red", all(2, kRedIndex), all(2, kBlueIndex), {kBlue, kBlue, kText}},
        {"whichever side it is on", all(2, kBlueIndex), all(2, kRedIndex), {kBlue, kBlue, kText}},
        {"the wider line wins over the darker",
         R"([[2, 3], [3, 2], [2, 3], [2, 3]])", all(2, kBlueIndex), {kRed, kRed, kRed}},
    };
    std::vector<std::string> descriptions;
    for (const Case& c : cases) {
        descriptions.push_back(described("1", "2", R"({"width": 20, "contentHeight": 10, "borders": )" + c.left +
                                                        R"(}, {"width": 20, "contentHeight": 10, "borders": )" + c.right + "}"));
    }
    const std::vector<Bytes> stored = writtenTables(descriptions);
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        EditorLog log;
        auto t = table(stored[i], log);
        ASSERT_TRUE(t);
        canvas_.fill(kSentinel);
        paint(*t);
        EXPECT_EQ(canvas_.pixel(30, 18), cases[i].pixels[0]);
        EXPECT_EQ(canvas_.pixel(31, 18), cases[i].pixels[1]);
        EXPECT_EQ(canvas_.pixel(32, 18), cases[i].pixels[2]);
    }
}

// The outer line halves: the frame paints the part outside the grid, the cell the part inside.
TEST_F(TablePaintingTest, TheOuterFrameCarriesTheOutsideHalfOfTheEdgeBorders) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("1", "2", R"({"width": 20, "contentHeight": 10, "borders": )" +
                                                                    all(2, kRedIndex) + R"(}, {"width": 20, "contentHeight": 10, "borders": )" +
                                                                    all(2, kBlueIndex) + "}")})[0];
    EditorLog log;
    auto t = table(stored, log);
    ASSERT_TRUE(t);
    ASSERT_EQ(t->Margins(), (OuterMargins{1, 1, 1, 1}));
    paint(*t);
    EXPECT_EQ(canvas_.pixel(9, 18), kSentinel) << "nothing left of the outer margin";
    EXPECT_EQ(canvas_.pixel(10, 18), kRed) << "the frame's part of cell 0's left border";
    EXPECT_EQ(canvas_.pixel(11, 18), kRed) << "the cell's own part";
    EXPECT_EQ(canvas_.pixel(50, 18), kBlue);
    EXPECT_EQ(canvas_.pixel(51, 18), kBlue) << "the frame's part of cell 1's right border";
    EXPECT_EQ(canvas_.pixel(52, 18), kSentinel);
    EXPECT_EQ(canvas_.pixel(20, 10), kRed) << "the frame above cell 0";
    EXPECT_EQ(canvas_.pixel(40, 10), kBlue) << "the frame above cell 1";
    EXPECT_EQ(canvas_.pixel(20, 9), kSentinel);
    EXPECT_EQ(canvas_.pixel(20, 15), kText);
}

// Rows of 12 and 14 at y 10; the line between them is 3 wide: one pixel (y 21) in the cell
// above, two (y 22, 23) in the cell below.
TEST_F(TablePaintingTest, AWidthThreeLineSplitsOneAboveTwoBelow) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("2", "1", R"(
        {"width": 20, "contentHeight": 10, "borders": [[0, 0], [0, 0], [0, 0], [3, 0]]},
        {"width": 20, "contentHeight": 10, "borders": [[0, 0], [0, 0], [3, 0], [0, 0]]})")})[0];
    EditorLog log;
    auto t = table(stored, log);
    ASSERT_TRUE(t);
    ASSERT_EQ(t->RowHeight(0), 12);
    ASSERT_EQ(t->RowHeight(1), 14);
    paint(*t);
    std::vector<COLORREF> column;
    for (int y = 19; y <= 24; ++y) column.push_back(canvas_.pixel(15, y));
    EXPECT_EQ(column, (std::vector<COLORREF>{kText, kWhite, kBlack, kBlack, kBlack, kText}));
}

// Four cells of 20 x 12 at (10, 10); only cell 0 has borders, right and bottom, 2 black. The
// lines cross at (29..30, 21..22): the pixel at (30, 22) belongs to cell 3, which has no borders
// of its own, and is black only by its corner square taking the diagonal neighbour's pair; (30,
// 21) is cell 1's corner square, taken from cell 2's resolved top.
TEST_F(TablePaintingTest, CornerSquaresFillTheCrossingOfTwoLines) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("2", "2", R"(
        {"width": 20, "contentHeight": 10, "borders": [[0, 0], [2, 0], [0, 0], [2, 0]]},
        {"width": 20, "contentHeight": 10}, {"width": 20, "contentHeight": 10}, {"width": 20, "contentHeight": 10})")})[0];
    EditorLog log;
    auto t = table(stored, log);
    ASSERT_TRUE(t);
    ASSERT_EQ(t->RowHeight(0), 12);
    paint(*t);
    const std::map<COLORREF, char> legend = {{kBlack, '#'}, {kWhite, '.'}, {kText, 't'}, {kSentinel, ' '}};
    std::vector<std::string> around;
    for (const std::string& row : canvas_.rows(legend)) around.push_back(row.substr(27, 6));
    const std::vector<std::string> crossing(around.begin() + 19, around.begin() + 25);
    EXPECT_EQ(crossing, (std::vector<std::string>{
                            "tt##tt",  // y 19: cell 0's right half, cell 1's left half (resolved)
                            "..##..",  // y 20: below the text of cells 0 and 1 (rows of 12, text 10)
                            "####..",  // y 21: cell 0's bottom half and cell 1's corner square
                            "####..",  // y 22: cell 2's top half (resolved) and cell 3's corner square
                            "tt..tt",  // y 23: the line's halves in cells 2 and 3 are background
                            "tt..tt",
                        }));
}

TEST_F(TablePaintingTest, BackgroundFillsTheSpareHeightByAlignment) {
    REQUIRE_DOCUMENT_WRITER();
    // Cell 1's 30 pixels make the row 30 tall; cell 0's text is 10 (rows from y 10).
    struct Case {
        std::string what;
        std::string cell;
        std::array<COLORREF, 3> pixels;  // at y 15, 25, 35
    };
    const std::vector<Case> cases = {
        {"top", R"("valign": 0)", {kText, kWhite, kWhite}},
        {"centred", R"("valign": 1)", {kWhite, kText, kWhite}},
        {"bottom", R"("valign": 2)", {kWhite, kWhite, kText}},
        {"any other value is bottom", R"("valign": 9)", {kWhite, kWhite, kText}},
        {"a cell colour of its own", R"("valign": 2, "background": 5)", {kGreen, kGreen, kText}},
    };
    std::vector<std::string> descriptions;
    for (const Case& c : cases) {
        descriptions.push_back(described("1", "2", R"({"width": 20, "contentHeight": 10, )" + c.cell +
                                                        R"(}, {"width": 20, "contentHeight": 30})"));
    }
    const std::vector<Bytes> stored = writtenTables(descriptions);
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        EditorLog log;
        auto t = table(stored[i], log);
        ASSERT_TRUE(t);
        canvas_.fill(kSentinel);
        paint(*t);
        EXPECT_EQ(canvas_.pixel(15, 15), cases[i].pixels[0]);
        EXPECT_EQ(canvas_.pixel(15, 25), cases[i].pixels[1]);
        EXPECT_EQ(canvas_.pixel(15, 35), cases[i].pixels[2]);
    }
}

TEST_F(TablePaintingTest, ASelectedCellRangeIsInverted) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("1", "3", R"({"width": 20, "contentHeight": 10},
        {"width": 20, "contentHeight": 10}, {"width": 20, "contentHeight": 10})")})[0];
    EditorLog log;
    auto t = table(stored, log);
    ASSERT_TRUE(t);
    t->SetRangeSelection(2, 1);
    paint(*t);
    const COLORREF inverted = RGB(255 - GetRValue(kText), 255 - GetGValue(kText), 255 - GetBValue(kText));
    EXPECT_EQ(canvas_.pixel(15, 15), kText) << "cell 0 lies outside the range";
    EXPECT_EQ(canvas_.pixel(35, 15), inverted);
    EXPECT_EQ(canvas_.pixel(55, 15), inverted);
    t->ClearRangeSelection();
    paint(*t);
    EXPECT_EQ(canvas_.pixel(35, 15), kText);
}

TEST_F(TablePaintingTest, TheSwitchLeavesTablesUnpainted) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("1", "1", R"({"width": 20, "contentHeight": 10, "borders": )" +
                                                                    all(2, kRedIndex) + "}")})[0];
    EditorLog log;
    auto t = table(stored, log);
    ASSERT_TRUE(t);
    TableObject::SetPaintingSuppressed(true);
    paint(*t);
    TableObject::SetPaintingSuppressed(false);
    for (COLORREF pixel : canvas_.pixels()) ASSERT_EQ(pixel, kSentinel);
    paint(*t);
    EXPECT_EQ(canvas_.pixel(11, 18), kRed);
}

class SheetPrint final : public TablePrinting {
public:
    int32_t printable = 0;
    int32_t offset = 0;
    int breaks = 0;
    int32_t PrintableHeight() const override { return printable; }
    int32_t PrintedOffset() const override { return offset; }
    void SetPrintedOffset(int32_t value) override { offset = value; }
    void BreakPage() override { ++breaks; }
};

// Three rows of 20: a row that would pass the sheet starts a new one at the sheet's top.
TEST_F(TablePaintingTest, PrintingBreaksTheSheetBeforeARowThatWouldPassIt) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("3", "1", R"({"width": 20, "contentHeight": 20},
        {"width": 20, "contentHeight": 20}, {"width": 20, "contentHeight": 20})")})[0];
    struct Case {
        int32_t printable, offset;
        int breaks;
        int32_t after;  // the sheet's used height after the table
        std::vector<LONG> tops;  // where each row's text was painted
    };
    const std::vector<Case> cases = {
        {30, 0, 2, 20, {10, 10, 10}},
        {40, 0, 1, 20, {10, 30, 10}},
        {60, 0, 0, 60, {10, 30, 50}},
        {60, 10, 1, 20, {10, 30, 10}},
        {61, 1, 0, 61, {10, 30, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("printable " + std::to_string(c.printable) + " from " + std::to_string(c.offset));
        EditorLog log;
        auto t = table(stored, log);
        ASSERT_TRUE(t);
        SheetPrint print;
        print.printable = c.printable;
        print.offset = c.offset;
        t->Paint(canvas_.dc(), {0, -1000, 120, 1000}, &print, 0);
        EXPECT_EQ(print.breaks, c.breaks);
        EXPECT_EQ(print.offset, c.after);
        std::vector<LONG> tops;
        for (const RECT& r : log.painted) tops.push_back(r.top);
        EXPECT_EQ(tops, c.tops);
    }
}

}  // namespace
}  // namespace lect32
