// Tables in a page's rows: read from the page record into the view, laid out as the row's height,
// painted, and torn down with the view; a damaged table fails its page cleanly.
#include <gtest/gtest.h>

#include "document_view_support.h"
#include "page/table_object_row.h"

namespace lect32 {
namespace {

using document_view_test::Bytes;
using document_view_test::pageOf;
using document_view_test::row;
using document_view_test::writtenPage;

class TableObjectRowTest : public document_view_test::WindowedView {
protected:
    std::unique_ptr<DocumentView> viewWithTables() {
        ViewServices services{&styles_, &colours_, TableObjectReader(&colours_)};
        auto view = std::make_unique<DocumentView>(page_.services(), services);
        view->SetPageStyle(style_);
        view->OnSize(kWidth, kHeight);
        return view;
    }
    static std::string tableRow(const std::string& table) { return R"({"table": )" + table + "}"; }
};

const char* kTable = R"({"rows": 2, "columns": 2, "sections": 255, "cells": [
    {"text": "a", "width": 60, "borders": [[1, 0], [1, 0], [1, 0], [1, 0]]}, {"text": "b", "width": 70},
    {"text": "c", "width": 60}, {"text": "d", "width": 70}]})";

TEST_F(TableObjectRowTest, ATableRowIsAsTallAsItsTable) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes page = writtenPage(pageOf({row("before"), tableRow(kTable), row("after")}));
    ASSERT_FALSE(page.empty());
    auto view = viewWithTables();
    winplat::ByteReader in(page);
    ASSERT_TRUE(view->LoadPage(in));
    ASSERT_EQ(view->RowCount(), 3);
    auto* table = dynamic_cast<TableObjectRow*>(view->GetRowObject(1));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(view->GetLineCount(1), 2) << "a line per table row";
    const HDC dc = GetDC(window_);
    view->Layout(dc);
    const SIZE size = table->TotalSize();
    EXPECT_EQ(size.cx, 60 + 70) << "the columns; a width-1 left line lies wholly inside the grid";
    EXPECT_GT(table->Table().RowHeight(0), 0) << "the cells were measured";
    EXPECT_EQ(view->GetRowHeight(1), uint32_t(size.cy));
    const RECT all{0, 0, kWidth, kHeight};
    view->OnPaint(dc, &all);
    ReleaseDC(window_, dc);
}

TEST_F(TableObjectRowTest, PagesWithTablesAreMadeLoadedAndDestroyedAgainAndAgain) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes page = writtenPage(pageOf({tableRow(kTable), row("x"), tableRow(kTable)}));
    ASSERT_FALSE(page.empty());
    for (int cycle = 0; cycle < 3; ++cycle) {
        auto view = viewWithTables();
        for (int load = 0; load < 2; ++load) {
            winplat::ByteReader in(page);
            ASSERT_TRUE(view->LoadPage(in));
            view->Layout(nullptr);
        }
        EXPECT_NE(view->GetRowObject(2), nullptr);
    }
}

TEST_F(TableObjectRowTest, ATableLargerThanATableHoldsFailsItsPage) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes page = writtenPage(pageOf({row("x"), tableRow(R"({"rows": 200, "columns": 82, "cells": [], "allow_short": true})")}));
    ASSERT_FALSE(page.empty());
    auto view = viewWithTables();
    winplat::ByteReader in(page);
    EXPECT_FALSE(view->LoadPage(in));
    ASSERT_EQ(view->RowCount(), 1);
    EXPECT_TRUE(view->Row(0).text.empty());
    EXPECT_EQ(view->GetRowObject(0), nullptr);
}

}  // namespace
}  // namespace lect32
