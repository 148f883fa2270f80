// A table's layout as numbers: line widths, outer margins, row heights (spans shared by the
// midpoint rule, borders around the tallest share), cell boxes and sizes, text offsets by
// alignment, border resolution (wider, then darker), the print running sum, zoom, and the one
// cell editor: covered cells never loaded, changed cells written back.
#include <gtest/gtest.h>

#include "page/table_object.h"
#include "picture_test_support.h"
#include "text/colour_table.h"
#include "table_test_support.h"

namespace lect32 {
namespace {

using table_test::Bytes;
using table_test::CountingEditor;
using table_test::described;
using table_test::EditorLog;
using table_test::readTable;
using table_test::writtenTables;

class TableLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        colours_.SetAll(std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}, {128, 128, 128}});
    }
    // A table of the description with a counting editor; false when the writer or the read failed.
    bool load(TableObject& table, const Bytes& stored) { return !stored.empty() && readTable(table, stored); }
    std::unique_ptr<TableObject> make(EditorLog& log) {
        return std::make_unique<TableObject>(&colours_, std::make_unique<CountingEditor>(log));
    }
    int32_t layOut(TableObject& table) { return table.Layout(dc_.get()); }

    ColourTable colours_;
    winplat::MemoryDc dc_{CreateCompatibleDC(nullptr)};
};

TEST_F(TableLayoutTest, ContentSharesFollowTheMidpointRule) {
    struct Case {
        int32_t height;
        int span;
        std::vector<int32_t> shares;
    };
    const std::vector<Case> cases = {
        {10, 3, {3, 4, 3}}, {9, 3, {3, 3, 3}}, {11, 3, {4, 3, 4}}, {7, 2, {4, 3}}, {5, 1, {5}},
        {0, 3, {0, 0, 0}},  {2, 4, {1, 0, 1, 0}}, {13, 5, {3, 2, 3, 2, 3}},
    };
    for (const Case& c : cases) {
        std::vector<int32_t> shares;
        int32_t sum = 0;
        for (int i = 0; i < c.span; ++i) {
            shares.push_back(TableObject::ContentShare(c.height, c.span, i));
            sum += shares.back();
        }
        EXPECT_EQ(shares, c.shares) << c.height << " over " << c.span;
        EXPECT_EQ(sum, c.height) << "the rows take the whole height";
    }
}

TEST_F(TableLayoutTest, RowHeightsAndOuterMarginsAsNumbers) {
    REQUIRE_DOCUMENT_WRITER();
    struct Case {
        std::string what;
        std::string table;
        std::vector<int32_t> rows;
        OuterMargins outer;
        int32_t height;
    };
    const std::vector<Case> cases = {
        {"no borders: the tallest content", described("2", "2", R"(
            {"contentHeight": 5}, {"contentHeight": 12}, {"contentHeight": 7}, {"contentHeight": 3})"),
         {12, 7}, {0, 0, 0, 0}, 19},
        {"width-3 lines all round", described("1", "1", R"(
            {"contentHeight": 10, "borders": [[3, 0], [3, 0], [3, 0], [3, 0]]})"),
         {16}, {1, 2, 1, 2}, 19},
        {"a three-row span of 10", described("3", "1", R"(
            {"contentHeight": 10, "rowspan": 3}, {"owner": 0}, {"owner": 0})"),
         {3, 4, 3}, {0, 0, 0, 0}, 10},
        {"a span beside taller cells", described("3", "2", R"(
            {"contentHeight": 10, "rowspan": 3}, {"contentHeight": 5}, {"owner": 0}, {"contentHeight": 1},
            {"owner": 0}, {"contentHeight": 0})"),
         {5, 4, 3}, {0, 0, 0, 0}, 12},
        {"the wider border takes the shared line", described("2", "1", R"(
            {"contentHeight": 10, "borders": [[0, 0], [0, 0], [0, 0], [2, 0]]},
            {"contentHeight": 10, "borders": [[0, 0], [0, 0], [5, 0], [0, 0]]})"),
         {14, 16}, {0, 0, 0, 0}, 30},
        {"side borders leave heights alone", described("1", "2", R"(
            {"contentHeight": 4, "borders": [[6, 0], [2, 0], [0, 0], [0, 0]]},
            {"contentHeight": 4, "borders": [[1, 0], [5, 0], [0, 0], [0, 0]]})"),
         {4}, {3, 3, 0, 0}, 4},
    };
    std::vector<std::string> descriptions;
    for (const Case& c : cases) descriptions.push_back(c.table);
    const std::vector<Bytes> stored = writtenTables(descriptions);
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        EditorLog log;
        auto table = make(log);
        ASSERT_TRUE(load(*table, stored[i]));
        EXPECT_EQ(layOut(*table), cases[i].height);
        std::vector<int32_t> rows;
        for (int r = 0; r < table->Rows(); ++r) rows.push_back(table->RowHeight(r));
        EXPECT_EQ(rows, cases[i].rows);
        EXPECT_EQ(table->Margins(), cases[i].outer);
        // Every cell of a row carries the row's height.
        for (int n = 0; n < table->CellCount(); ++n) EXPECT_EQ(table->Cell(n).height, rows[size_t(n / table->Columns())]);
        const TableSize total = table->GetTotalSize(true);
        EXPECT_EQ(total.height, cases[i].height);
        EXPECT_EQ(total.width - table->GetTotalSize(false).width, cases[i].outer.left + cases[i].outer.right);
    }
}

TEST_F(TableLayoutTest, LineWidthsAreTheWidestBorderOnEachLine) {
    REQUIRE_DOCUMENT_WRITER();
    // cell 0 spans both columns: its right border lies on line 2, and line 1 sees only row 1.
    const Bytes stored = writtenTables({described("2", "2", R"(
        {"colspan": 2, "borders": [[1, 0], [4, 0], [2, 0], [3, 0]]}, {"owner": 0},
        {"borders": [[0, 0], [2, 0], [6, 0], [0, 0]]}, {"borders": [[5, 0], [0, 0], [0, 0], [7, 0]]})")})[0];
    EditorLog log;
    auto table = make(log);
    ASSERT_TRUE(load(*table, stored));
    const TableLines lines = table->ComputeLines();
    EXPECT_EQ(lines.horizontal, (std::vector<int>{2, 6, 7}));
    EXPECT_EQ(lines.vertical, (std::vector<int>{1, 5, 4}));
}

TEST_F(TableLayoutTest, OwnBordersCountOnlyOnTheOwnersEdges) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("2", "2", R"(
        {"colspan": 2, "rowspan": 2, "borders": [[1, 1], [2, 2], [3, 3], [4, 4]]}, {"owner": 0},
        {"owner": 0}, {"owner": 0})")})[0];
    EditorLog log;
    auto table = make(log);
    ASSERT_TRUE(load(*table, stored));
    struct Case {
        int cell;
        uint8_t edges;
        std::array<uint8_t, 4> widths;
    };
    for (const Case c : {Case{0, kEdgeLeft | kEdgeTop, {1, 0, 3, 0}}, Case{1, kEdgeRight | kEdgeTop, {0, 2, 3, 0}},
                         Case{2, kEdgeLeft | kEdgeBottom, {1, 0, 0, 4}}, Case{3, kEdgeRight | kEdgeBottom, {0, 2, 0, 4}}}) {
        std::array<CellBorder, 4> borders;
        EXPECT_EQ(table->GetCellBorders(c.cell, borders, false), c.edges) << c.cell;
        for (int side = 0; side < 4; ++side) EXPECT_EQ(borders[size_t(side)].width, c.widths[size_t(side)]) << c.cell << " side " << side;
    }
}

TEST_F(TableLayoutTest, TheWiderThenTheDarkerBorderWinsTheSharedLine) {
    REQUIRE_DOCUMENT_WRITER();
    // Colours: 0 black, 1 white, 2 red, 3 blue, 4 grey. Cell 0's right meets cell 1's left.
    struct Case {
        std::string what;
        std::string left, right;  // cell 0's right border, cell 1's left border
        CellBorder line;          // what both see after resolving
    };
    const std::vector<Case> cases = {
        {"wider wins over darker", "[3, 1]", "[2, 0]", {3, 1}},
        {"equal width: blue is darker than red", "[2, 2]", "[2, 3]", {2, 3}},
        {"equal width and colour: no change", "[2, 4]", "[2, 4]", {2, 4}},
        {"a border against none", "[1, 1]", "[0, 0]", {1, 1}},
    };
    std::vector<std::string> descriptions;
    for (const Case& c : cases) {
        descriptions.push_back(described("1", "2", R"({"borders": [[0, 0], )" + c.left + R"(, [0, 0], [0, 0]]},
            {"borders": [)" + c.right + R"(, [0, 0], [0, 0], [0, 0]]})"));
    }
    const std::vector<Bytes> stored = writtenTables(descriptions);
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        EditorLog log;
        auto table = make(log);
        ASSERT_TRUE(load(*table, stored[i]));
        std::array<CellBorder, 4> first, second;
        table->GetCellBorders(0, first, true);
        table->GetCellBorders(1, second, true);
        EXPECT_EQ(first[kSideRight], cases[i].line);
        EXPECT_EQ(second[kSideLeft], cases[i].line);
        EXPECT_EQ(first[kSideLeft], (CellBorder{0, 0})) << "no neighbour left of column 0";
    }
}

TEST_F(TableLayoutTest, CellBoxesAndSizesOuterAndInner) {
    REQUIRE_DOCUMENT_WRITER();
    // Columns 30 and 50; vertical line 1 is 3 wide, horizontal line 1 is 4 wide, the outer lines
    // 0. Cell 2 keeps a width of its own.
    const Bytes stored = writtenTables({described("2", "2", R"(
        {"width": 30, "contentHeight": 8, "borders": [[0, 0], [3, 0], [0, 0], [4, 0]]},
        {"width": 50, "contentHeight": 2},
        {"width": 99, "contentHeight": 14}, {"width": 50, "contentHeight": 1})")})[0];
    EditorLog log;
    auto table = make(log);
    ASSERT_TRUE(load(*table, stored));
    layOut(*table);
    ASSERT_EQ(table->RowHeight(0), 12);  // 0 + floor(4/2) + 8 + 0 + floor(4/2)
    ASSERT_EQ(table->RowHeight(1), 18);  // ceil(4/2) + 0 + 14 + ceil(4/2) of the top it resolves to
    struct Case {
        int cell;
        POINT box, inner;
        TableSize size, innerSize;
    };
    const std::vector<Case> cases = {
        {0, {0, 0}, {0, 0}, {30, 12}, {29, 10}},
        {1, {30, 0}, {32, 0}, {50, 12}, {48, 10}},
        {2, {0, 12}, {0, 14}, {99, 18}, {98, 16}},
        {3, {30, 12}, {32, 14}, {50, 18}, {48, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("cell " + std::to_string(c.cell));
        const POINT box = table->GetCellBox(c.cell, false), inner = table->GetCellBox(c.cell, true);
        EXPECT_EQ(box.x, c.box.x);
        EXPECT_EQ(box.y, c.box.y);
        EXPECT_EQ(inner.x, c.inner.x);
        EXPECT_EQ(inner.y, c.inner.y);
        EXPECT_EQ(table->GetCellSize(c.cell, false), c.size);
        EXPECT_EQ(table->GetCellSize(c.cell, true), c.innerSize);
    }
}

TEST_F(TableLayoutTest, ASpanningCellsBoxCoversItsColumnsAndRows) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("2", "3", R"(
        {"width": 10}, {"width": 20, "colspan": 2, "rowspan": 2, "contentHeight": 30}, {"width": 40, "owner": 1},
        {"width": 10, "contentHeight": 5}, {"owner": 1}, {"owner": 1})")})[0];
    EditorLog log;
    auto table = make(log);
    ASSERT_TRUE(load(*table, stored));
    layOut(*table);
    EXPECT_EQ(table->RowHeight(0) + table->RowHeight(1), 30);
    EXPECT_EQ(table->GetCellSize(1, false), (TableSize{60, 30}));
    for (int covered : {2, 4, 5}) {
        EXPECT_EQ(table->GetOwnerCell(covered), 1);
        EXPECT_EQ(table->GetCellBox(covered, false).x, 10) << "a covered cell's box is its owner's";
        EXPECT_EQ(table->GetCellSize(covered, false), (TableSize{60, 30}));
    }
}

TEST_F(TableLayoutTest, TextOffsetFollowsTheVerticalAlignment) {
    REQUIRE_DOCUMENT_WRITER();
    struct Case {
        int alignment;
        int offset;  // inner height 20, content 5
    };
    const std::vector<Case> cases = {{0, 0}, {1, 7}, {2, 15}, {3, 15}, {255, 15}};
    std::string cells;
    for (const Case& c : cases) cells += std::string(cells.empty() ? "" : ", ") + R"({"contentHeight": 5, "valign": )" + std::to_string(c.alignment) + "}";
    const Bytes stored = writtenTables({described("1", std::to_string(cases.size()), cells)})[0];
    EditorLog log;
    auto table = make(log);
    ASSERT_TRUE(load(*table, stored));
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(table->GetTextOffset(int(i), 20), cases[i].offset) << "alignment " << cases[i].alignment;
    }
    // Measured when not given: the stored height of 20 less the content of 5.
    EXPECT_EQ(table->GetTextOffset(2), 15);
    EXPECT_EQ(table->GetTextOffset(1, 0), -3) << "content taller than the box: the offset goes negative";
}

TEST_F(TableLayoutTest, CoveredCellsAreNeverLoaded) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("2", "2", R"(
        {"text": "owner", "colspan": 2, "contentHeight": 9}, {"text": "hidden", "owner": 0},
        {"text": "c", "contentHeight": 4}, {"text": "d", "contentHeight": 4})")})[0];
    EditorLog log;
    auto table = make(log);
    ASSERT_TRUE(load(*table, stored));
    layOut(*table);
    const Bytes hidden = table->CellText(1);
    EXPECT_EQ(log.loads.count(hidden), 0u) << "layout loaded the covered cell";
    EXPECT_EQ(log.loads[table->CellText(0)], 1);
    EXPECT_EQ(log.reflows, 3);
    picture_test::Canvas canvas(240, 100);
    table->Paint(canvas.dc(), {0, 0, 240, 100});
    EXPECT_EQ(log.loads.count(hidden), 0u) << "painting loaded the covered cell";
    EXPECT_EQ(log.painted.size(), 3u);
    table->SelectCell(1, false);
    EXPECT_EQ(table->CurrentCell(), 0) << "selecting a covered cell loads its owner";
    size_t texts = 0;
    for (int n = 0; n < 4; ++n) texts += table->CellText(n).size();
    EXPECT_EQ(table->GetSerializedSize(), texts) << "a covered cell's own text counts once, as stored";
    EXPECT_EQ(log.loads.count(hidden), 0u);
}

// The print running sum restarts the job's offset when a row would pass the printable height.
class CountingPrint final : public TablePrinting {
public:
    int32_t printable = 0;
    int32_t offset = 0;
    int breaks = 0;
    std::vector<int32_t> offsets;
    int32_t PrintableHeight() const override { return printable; }
    int32_t PrintedOffset() const override { return offset; }
    void SetPrintedOffset(int32_t value) override {
        offset = value;
        offsets.push_back(value);
    }
    void BreakPage() override { ++breaks; }
};

TEST_F(TableLayoutTest, PrintingRestartsTheOffsetWhenARowPassesTheSheet) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("2", "1", R"({"contentHeight": 15}, {"contentHeight": 15})")})[0];
    struct Case {
        int32_t offset;
        bool restarts;
    };
    // 20 + 15 + 15 = 50 fills the 50-pixel sheet exactly; 21 passes it.
    for (const Case c : {Case{20, false}, Case{21, true}, Case{0, false}}) {
        EditorLog log;
        auto table = make(log);
        ASSERT_TRUE(load(*table, stored));
        CountingPrint print;
        print.printable = 50;
        print.offset = c.offset;
        EXPECT_EQ(table->Layout(dc_.get(), &print), 30);
        EXPECT_EQ(!print.offsets.empty(), c.restarts) << "offset " << c.offset;
        EXPECT_EQ(print.breaks, 0) << "layout only counts; painting breaks the page";
    }
}

TEST_F(TableLayoutTest, ZoomScalesWidthsMarginsAndBorders) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("1", "3", R"(
        {"width": 40, "margins": [2, 3, -4, 5], "borders": [[127, 0], [128, 0], [1, 0], [0, 0]]},
        {"width": 20000, "colspan": 2}, {"owner": 1})")})[0];
    EditorLog log;
    auto table = make(log);
    ASSERT_TRUE(load(*table, stored));
    table->ScaleBy(200, 7);
    const TableCell c = table->Cell(0);
    EXPECT_EQ(c.width, 80);
    EXPECT_EQ(c.margins, (std::array<int16_t, 4>{4, 6, -8, 10}));
    EXPECT_EQ(c.borders[kSideLeft].width, 254) << "255 still fits";
    EXPECT_EQ(c.borders[kSideRight].width, 0) << "a border reaching 256 is dropped";
    EXPECT_EQ(c.borders[kSideTop].width, 2);
    EXPECT_EQ(table->Cell(1).width, 32767) << "widths stay in 16 bits";
    EXPECT_EQ(log.zooms, (std::vector<std::pair<int, int>>{{200, 7}, {200, 7}})) << "the two uncovered cells' texts";

    // At 201%: 127 becomes 255 and stays; 128 becomes 257, past a byte, and is dropped.
    EditorLog other;
    auto wider = make(other);
    ASSERT_TRUE(load(*wider, stored));
    wider->ScaleBy(201, 0);
    EXPECT_EQ(wider->Cell(0).borders[kSideLeft].width, 255);
    EXPECT_EQ(wider->Cell(0).borders[kSideRight].width, 0);
}

TEST_F(TableLayoutTest, ChangedCellsAreWrittenBackWithTheirChangeFlag) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("1", "2", R"({"text": "a"}, {"text": "b"})")})[0];
    struct Case {
        int grade;
        bool layout, content;
    };
    for (const Case c : {Case{0, false, true}, Case{1, true, false}}) {
        EditorLog log;
        auto table = make(log);
        ASSERT_TRUE(load(*table, stored));
        const Bytes second = table->CellText(1);
        table->SelectCell(0, false);
        log.changeGrade = c.grade;
        log.replacement = {3, 1, 0};
        table->SelectCell(1, false);  // leaving cell 0 stores it
        EXPECT_EQ(table->CellText(0), log.replacement);
        EXPECT_EQ(table->LayoutChanged(), c.layout);
        EXPECT_EQ(table->ContentChanged(), c.content);
        EXPECT_EQ(log.loads[second], 1);
    }
    EditorLog quiet;
    auto table = make(quiet);
    ASSERT_TRUE(load(*table, stored));
    const Bytes first = table->CellText(0);
    table->SelectCell(0, false);
    table->SelectCell(1, false);
    EXPECT_EQ(table->CellText(0), first) << "an unchanged cell stays as it was";
    EXPECT_FALSE(table->LayoutChanged() || table->ContentChanged());
}

}  // namespace
}  // namespace lect32
