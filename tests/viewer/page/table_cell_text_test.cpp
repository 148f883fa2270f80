// A table whose cells are laid out through the text frame: a cell's height is its rows' height,
// text wraps at the cell's width, and a cell that was only laid out is stored back unchanged.
#include <gtest/gtest.h>

#include "document_view_support.h"
#include "page/table_cell_text.h"
#include "page/table_object.h"
#include "table_test_support.h"

namespace lect32 {
namespace {

using document_view_test::row;

class TableCellTextTest : public document_view_test::WindowedView {
protected:
    // A one-row table of the cells, laid out; its cells' content heights.
    std::vector<int32_t> laidOut(const std::string& cells, std::vector<std::vector<uint8_t>>* before = nullptr,
                                 std::vector<std::vector<uint8_t>>* after = nullptr) {
        const auto stored = table_test::writtenTables({table_test::described("1", "3", cells)});
        EXPECT_FALSE(stored[0].empty());
        TableObject table(&colours_, std::make_unique<TableCellText>(page_.services(), ViewServices{&styles_, &colours_, {}}));
        if (stored[0].empty() || !table_test::readTable(table, stored[0])) return {};
        for (int n = 0; n < 3 && before; ++n) before->push_back(table.CellText(n));
        table.Layout(GetDC(window_));
        std::vector<int32_t> heights;
        for (int n = 0; n < 3; ++n) heights.push_back(table.Cell(n).contentHeight);
        for (int n = 0; n < 3 && after; ++n) after->push_back(table.CellText(n));
        return heights;
    }
};

TEST_F(TableCellTextTest, ACellIsAsTallAsItsRows) {
    REQUIRE_DOCUMENT_WRITER();
    const std::string one = R"({"width": 150, "rows": [)" + row("a") + "]}";
    const std::string three = R"({"width": 150, "rows": [)" + row("a") + ", " + row("b") + ", " + row("c") + "]}";
    const std::string wrapped = R"({"width": 30, "rows": [)" + row("aaa bbb ccc ddd") + "]}";
    const auto heights = laidOut(one + ", " + three + ", " + wrapped);
    ASSERT_EQ(heights.size(), 3u);
    EXPECT_GT(heights[0], 0);
    EXPECT_EQ(heights[1], 3 * heights[0]);
    EXPECT_GT(heights[2], heights[0]) << "a narrow cell wraps its text";
    EXPECT_EQ(heights[2] % heights[0], 0) << "into whole lines";
}

TEST_F(TableCellTextTest, ACellOnlyLaidOutIsStoredUnchanged) {
    REQUIRE_DOCUMENT_WRITER();
    std::vector<std::vector<uint8_t>> before, after;
    const std::string cell = R"({"rows": [)" + row("x") + "]}";
    laidOut(cell + ", " + cell + ", " + cell, &before, &after);
    ASSERT_EQ(before.size(), 3u);
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace lect32
