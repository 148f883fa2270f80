// How clicks, commands, tooltips, caret moves and copies reach a table's cells: the hit cell and
// its side, points moved into the cell editor's coordinates, the command gates by cell count and
// by the kinds of objects inside the cells, the tooltip limit, and the plain text of a table.
#include <gtest/gtest.h>

#include "page/object_text_frame.h"
#include "page/table_object.h"
#include "store/mem_writer.h"
#include "table_test_support.h"

namespace lect32 {
namespace {

using table_test::Bytes;
using table_test::described;
using table_test::readTable;
using table_test::writtenTables;

// What the editor was asked, by the record of the cell it held.
struct InputLog {
    std::vector<POINT> clicks;
    std::vector<Bytes> clickedCells;
    std::vector<POINT> tooltips;
    int commands = 0;
    int handles = 0;  // commands it reports handled
    int tooltipAnswer = 0;
    int caretX = -1;
    Bytes current;
};

class RecordingEditor final : public TableCellEditor {
public:
    explicit RecordingEditor(InputLog& log) : log_(log) {}
    void SetOwnerWindow(HWND window) override { stored_.SetOwnerWindow(window); }
    void Load(std::span<const uint8_t> record) override {
        log_.current.assign(record.begin(), record.end());
        stored_.Load(record);
    }
    void ApplyCellStyle(const CellTextStyle& style) override { stored_.ApplyCellStyle(style); }
    bool HasChanges(int) const override { return false; }
    std::vector<uint8_t> Serialize() const override { return stored_.Serialize(); }
    uint32_t SerializedSize() const override { return stored_.SerializedSize(); }
    void Place(int x, int y) override { stored_.Place(x, y); }
    void SetSize(int width, int height) override { stored_.SetSize(width, height); }
    int Reflow(HDC dc) override { return stored_.Reflow(dc); }
    int TextHeight() const override { return stored_.TextHeight(); }
    void SetBackground(uint8_t c, int16_t p, uint8_t m, int16_t x, int32_t y) override { stored_.SetBackground(c, p, m, x, y); }
    void Paint(HDC dc, const RECT& clip) override { stored_.Paint(dc, clip); }
    void SetZoom(int, int) override {}

    void Click(HWND, WPARAM, POINT at) override {
        log_.clicks.push_back(at);
        log_.clickedCells.push_back(log_.current);
    }
    int DoCommand(int, int, void*) override {
        ++log_.commands;
        return log_.handles;
    }
    int ShowTooltip(HWND, POINT at) override {
        log_.tooltips.push_back(at);
        return log_.tooltipAnswer;
    }
    void SetCaretX(int x) override { log_.caretX = x; }
    POINT CaretPoint(int& height) const override {
        height = 15;
        return {3, 4};
    }

private:
    InputLog& log_;
    StoredCellText stored_;
};

class TableInteractionTest : public ::testing::Test {
protected:
    std::unique_ptr<TableObject> make(const Bytes& stored) {
        auto table = std::make_unique<TableObject>(nullptr, std::make_unique<RecordingEditor>(log_));
        if (stored.empty() || !readTable(*table, stored)) return nullptr;
        return table;
    }
    static std::string cells(int count, const std::string& cell) {
        std::string out;
        for (int i = 0; i < count; ++i) out += (i ? ", " : "") + cell;
        return out;
    }
    InputLog log_;
};

// Two columns of 50, rows of 20 and 30; the table's origin is the view margins (10, 10).
const char* kTwoByTwo = R"({"width": 50, "height": 20, "text": "a"}, {"width": 50, "height": 20, "text": "b"},
                           {"width": 50, "height": 30, "text": "c"}, {"width": 50, "height": 30, "text": "d"})";

TEST_F(TableInteractionTest, HitCellBandsAndSides) {
    REQUIRE_DOCUMENT_WRITER();
    const auto stored = writtenTables({described("2", "2", kTwoByTwo)});
    auto table = make(stored[0]);
    ASSERT_TRUE(table);
    struct Case {
        int x, y;
        int cell, side;
    };
    const std::vector<Case> cases = {
        {9, 10, 0, 1},     // left of the table: column 0, side 1
        {10, 10, 0, 0},    // its left edge
        {59, 29, 0, 0},    // last pixel of cell 0
        {60, 29, 1, 0},    // next column
        {59, 30, 2, 0},    // next row
        {109, 59, 3, 0},   // last pixel of the table
        {112, 20, 1, 0},   // two beyond the last column: still no side
        {113, 20, 1, 2},   // three beyond: side 2, last column
        {20, -50, 0, 0},   // above: row 0
        {20, 500, 2, 0},   // below: the last row
    };
    for (const Case& c : cases) {
        int side = -1;
        EXPECT_EQ(table->HitCell(c.x, c.y, side), c.cell) << c.x << "," << c.y;
        EXPECT_EQ(side, c.side) << c.x << "," << c.y;
    }
}

TEST_F(TableInteractionTest, HitCellGivesTheOwnerOfACoveredCell) {
    REQUIRE_DOCUMENT_WRITER();
    const auto stored = writtenTables({described("2", "2", R"(
        {"width": 50, "colspan": 2}, {"width": 50, "owner": 0}, {"width": 50}, {"width": 50})")});
    auto table = make(stored[0]);
    ASSERT_TRUE(table);
    int side = 0;
    EXPECT_EQ(table->HitCell(80, 15, side), 0);
    EXPECT_EQ(table->HitCell(80, 35, side), 3);
}

TEST_F(TableInteractionTest, AClickReachesTheEditorInCellCoordinates) {
    REQUIRE_DOCUMENT_WRITER();
    const auto stored = writtenTables({described("2", "2", kTwoByTwo)});
    auto table = make(stored[0]);
    ASSERT_TRUE(table);
    table->OnLeftButtonDown(nullptr, 0, 75, 42);
    ASSERT_EQ(log_.clicks.size(), 1u);
    EXPECT_EQ(log_.clicks[0].x, 75 - 10 - 50);
    EXPECT_EQ(log_.clicks[0].y, 42 - 10 - 20);
    EXPECT_EQ(table->CaretCell(), 3);
    EXPECT_EQ(log_.clickedCells[0], table->CellText(3));

    int height = 0;
    const POINT caret = table->PositionToPoint(height);
    EXPECT_EQ(caret.x, 10 + 50 + 3);
    EXPECT_EQ(caret.y, 10 + 20 + 4);
    EXPECT_EQ(height, 15);
}

TEST_F(TableInteractionTest, EnteringTheCaretFromAboveAndBelow) {
    REQUIRE_DOCUMENT_WRITER();
    const auto stored = writtenTables({described("2", "2", kTwoByTwo)});
    auto table = make(stored[0]);
    ASSERT_TRUE(table);
    struct Case {
        int kind, x;
        int cell;
        POINT at;
    };
    // Cells have left margins of 2; the caret lands that far right of the x within the cell.
    const std::vector<Case> cases = {
        {0, 0, 0, {0, 0}},
        {1, 0, 3, {50, 30}},
        {2, 70, 1, {2 + 10, 0}},
        {3, 30, 2, {2 + 20, 30}},
        {2, 0, 0, {2, 0}},      // left of the table: column 0, at its left
        {3, 400, 3, {2 + 340, 30}},  // right of it: the last column
    };
    for (const Case& c : cases) {
        log_.clicks.clear();
        table->EnterCaret(c.kind, c.x);
        EXPECT_EQ(table->CaretCell(), c.cell) << "kind " << c.kind << " x " << c.x;
        ASSERT_EQ(log_.clicks.size(), 1u);
        EXPECT_EQ(log_.clicks[0].x, c.at.x) << "kind " << c.kind << " x " << c.x;
        EXPECT_EQ(log_.clicks[0].y, c.at.y) << "kind " << c.kind << " x " << c.x;
        EXPECT_EQ(log_.caretX, c.at.x);
    }
}

TEST_F(TableInteractionTest, LocateRow) {
    REQUIRE_DOCUMENT_WRITER();
    const auto stored = writtenTables({described("2", "2", kTwoByTwo)});
    auto table = make(stored[0]);
    ASSERT_TRUE(table);
    int row = -1;
    int32_t top = -1, height = -1;
    EXPECT_EQ(table->LocateRow(1, 0, row, top, height), 0);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(top, 20);
    EXPECT_EQ(height, 30);
    EXPECT_EQ(table->LocateRow(-1, 19, row, top, height), 0);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(table->LocateRow(-1, 20, row, top, height), 0);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(table->LocateRow(-1, 50, row, top, height), 2) << "below the last row";
    EXPECT_EQ(table->LocateRow(-1, -1, row, top, height), 2) << "above the first";
    EXPECT_EQ(table->LocateRow(2, 0, row, top, height), 1) << "no third row";
}

TEST_F(TableInteractionTest, CommandEightReachesAHundredCellsButNotMore) {
    REQUIRE_DOCUMENT_WRITER();
    const auto stored = writtenTables({described("10", "10", cells(100, "{}")), described("1", "101", cells(101, "{}"))});
    auto hundred = make(stored[0]);
    auto more = make(stored[1]);
    ASSERT_TRUE(hundred && more);
    log_.handles = 1;
    EXPECT_EQ(hundred->DispatchCommand(8, 0, nullptr), 1);
    EXPECT_EQ(log_.commands, 100);
    EXPECT_EQ(more->DispatchCommand(8, 0, nullptr), 0);
    EXPECT_EQ(log_.commands, 100);
    EXPECT_EQ(more->DispatchCommand(7, 0, nullptr), 1) << "other commands reach every size";
}

TEST_F(TableInteractionTest, CommandsGatedByTheObjectsInTheCells) {
    REQUIRE_DOCUMENT_WRITER();
    const std::string text = R"({"objects": [{"kind": "text", "width": 5, "height": 5}]})";
    const std::string button = R"({"objects": [{"kind": "button", "width": 5, "height": 5}]})";
    const std::string video = R"({"objects": [{"kind": "video", "width": 5, "height": 5}]})";
    const auto stored = writtenTables({described("1", "1", "{}"), described("1", "1", text),
                                       described("1", "1", button), described("1", "1", video)});
    struct Case {
        int table;  // none, text object, button, video
        int code;
        bool reaches;
    };
    const std::vector<Case> cases = {
        {0, 2, false}, {1, 2, true},  {0, 3, false}, {1, 5, true},  {0, 11, false}, {1, 11, true},
        {1, 13, false}, {3, 13, false},  // never passed on
        {0, 9, false}, {1, 9, false}, {3, 9, true},
        {0, 6, false}, {1, 6, false}, {2, 6, true},  {2, 10, true}, {3, 10, false},
        {0, 4, true},  {0, 7, true},
    };
    log_.handles = 1;
    for (const Case& c : cases) {
        auto table = make(stored[size_t(c.table)]);
        ASSERT_TRUE(table);
        const uint32_t counted = TableObject::CommandCount(uint8_t(c.code));
        const int before = log_.commands;
        EXPECT_EQ(table->DispatchCommand(c.code, 0, nullptr), c.reaches ? 1 : 0) << "table " << c.table << " code " << c.code;
        EXPECT_EQ(log_.commands - before, c.reaches ? 1 : 0) << "table " << c.table << " code " << c.code;
        EXPECT_EQ(TableObject::CommandCount(uint8_t(c.code)), counted + 1) << "every call is counted";
    }
}

TEST_F(TableInteractionTest, CommandsSkipCoveredCellsAndReportWhatTheEditorDid) {
    REQUIRE_DOCUMENT_WRITER();
    const auto stored = writtenTables({described("1", "3", R"({"colspan": 2}, {"owner": 0}, {})")});
    auto table = make(stored[0]);
    ASSERT_TRUE(table);
    log_.handles = 0;
    EXPECT_EQ(table->DispatchCommand(7, 0, nullptr), 0) << "no cell handled it";
    EXPECT_EQ(log_.commands, 2) << "the owner and the free cell, not the covered one";
}

TEST_F(TableInteractionTest, TooltipsOnlyForFiftyCellsOrFewer) {
    REQUIRE_DOCUMENT_WRITER();
    const auto stored = writtenTables({described("5", "10", cells(50, "{}")), described("3", "17", cells(51, "{}"))});
    auto fifty = make(stored[0]);
    auto more = make(stored[1]);
    ASSERT_TRUE(fifty && more);
    log_.tooltipAnswer = 1;
    EXPECT_EQ(fifty->ShowTooltip(nullptr, 15, 15), 1);
    ASSERT_EQ(log_.tooltips.size(), 1u) << "the first cell's answer ends the walk";
    EXPECT_EQ(log_.tooltips[0].x, 5);
    EXPECT_EQ(log_.tooltips[0].y, 5);
    EXPECT_EQ(more->ShowTooltip(nullptr, 15, 15), 0);
    EXPECT_EQ(log_.tooltips.size(), 1u);
    log_.tooltipAnswer = 0;
    EXPECT_EQ(fifty->ShowTooltip(nullptr, 15, 15), 0);
    EXPECT_EQ(log_.tooltips.size(), 51u) << "every cell asked when none answers";
}

std::string writtenText(TableObject& table, bool selectedOnly, bool* ok = nullptr) {
    MemWriter out;
    out.Begin();
    const bool written = table.WriteText(out, selectedOnly);
    if (ok) *ok = written;
    return std::string(reinterpret_cast<const char*>(out.data()), out.GetLength());
}

TEST_F(TableInteractionTest, PlainTextOfATable) {
    REQUIRE_DOCUMENT_WRITER();
    const auto stored = writtenTables({described("2", "2", kTwoByTwo),
                                       described("2", "2", R"({"rows": [{"text": "x"}, {"text": "y"}]}, {"colspan": 1},
                                                              {"rowspan": 1, "colspan": 2, "text": "wide"}, {"owner": 2})"),
                                       described("1", "3", R"({"colspan": 2, "text": "a"}, {"owner": 0}, {"text": "z"})")});
    auto table = make(stored[0]);
    ASSERT_TRUE(table);
    EXPECT_EQ(writtenText(*table, false), "a\tb\r\nc\td\r\n");
    bool ok = true;
    EXPECT_EQ(writtenText(*table, true, &ok), "");
    EXPECT_FALSE(ok) << "no range selected";
    table->SetRangeSelection(3, 1);
    EXPECT_EQ(writtenText(*table, true, &ok), "b\r\nd\r\n");
    EXPECT_TRUE(ok);

    auto spans = make(stored[1]);
    ASSERT_TRUE(spans);
    EXPECT_EQ(writtenText(*spans, false), "x\r\ny\t\r\nwide\t\r\n") << "covered cells write nothing but keep their TAB";
    auto inner = make(stored[2]);
    ASSERT_TRUE(inner);
    EXPECT_EQ(writtenText(*inner, false), "a\t\tz\r\n") << "a covered cell inside the row keeps the columns apart";
}

TEST_F(TableInteractionTest, EndingARangePutsTheCaretInItsFirstOrLastCell) {
    REQUIRE_DOCUMENT_WRITER();
    const auto stored = writtenTables({described("2", "2", kTwoByTwo)});
    auto table = make(stored[0]);
    ASSERT_TRUE(table);
    table->EndRangeSelection(1);
    EXPECT_TRUE(log_.clicks.empty()) << "no range: nothing happens";

    table->SetRangeSelection(3, 0);
    table->EndRangeSelection(1);
    EXPECT_FALSE(table->RangeSelected());
    EXPECT_EQ(table->CaretCell(), 0);
    ASSERT_EQ(log_.clicks.size(), 1u);
    EXPECT_EQ(log_.clicks[0].x, 50);
    EXPECT_EQ(log_.clicks[0].y, 20);

    table->SetRangeSelection(0, 3);
    table->EndRangeSelection(2);
    EXPECT_EQ(table->CaretCell(), 3);
    EXPECT_EQ(log_.clicks.back().y, 30);

    table->SetRangeSelection(0, 3);
    table->EndRangeSelection(0);
    EXPECT_FALSE(table->RangeSelected());
    EXPECT_EQ(log_.clicks.size(), 2u) << "ended without a caret";

    table->SetRangeSelection(0, 1);
    EXPECT_EQ(table->DispatchCommand(11, 0, nullptr), 0);
    EXPECT_FALSE(table->RangeSelected()) << "command 11 clears the range";
}

}  // namespace
}  // namespace lect32
