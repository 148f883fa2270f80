// The document view on a printer: rows broken over the sheets of continuous paper where a line
// would pass a sheet's printable height, in the layout and again, at the same places, in the
// painting. Laid out with the synthetic test face: lines 24 pixels high.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document_view_support.h"
#include "page/print_sheets.h"
#include "page/table_object_row.h"
#include "table_test_support.h"
#include "winplat/draw.h"
#include "winplat/owners.h"

namespace document_view_test {
namespace {

constexpr int kLine = 24;
constexpr int kSheetWidth = 160;

// Sheets whose pages are kept as the rows that hold ink, and the printer's page made blank again.
class CapturedSheets final : public lect32::PrintSheets {
public:
    CapturedSheets(HDC printer, int32_t height, int32_t used = 0) : PrintSheets(printer, height, used), height_(height) {}
    // The current sheet too, as it stands.
    std::vector<std::vector<int>> Pages() {
        std::vector<std::vector<int>> pages = ended_;
        pages.push_back(inkRows());
        return pages;
    }

protected:
    void ejectSheet() override {
        ended_.push_back(inkRows());
        RECT all{0, 0, kSheetWidth, height_};
        FillRect(Device(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }

private:
    std::vector<int> inkRows() const {
        std::vector<int> rows;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < kSheetWidth; ++x)
                if ((GetPixel(Device(), x, y) & 0xFFFFFF) != 0xFFFFFF) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    }
    int32_t height_;
    std::vector<std::vector<int>> ended_;
};

class DocumentPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        page_test::UseTestText();
        colours_.SetAll(std::vector<lect32::Rgb>{{0, 0, 0}, {255, 255, 255}});
        style_.widthMode = 0;
        style_.margins = lect32::ShortRect{10, 10, 10, 10};
        style_.backgroundColour = 1;
    }
    void TearDown() override {
        if (printer_) DeleteDC(printer_);
        lect32::GetTextFormatter().ReleaseFonts();
        lect32::GetTextFontCache().Clear();
        lect32::GetDocumentFonts().main.Clear();
    }
    // The described page loaded and laid out for sheets 'height' pixels tall.
    bool Print(const std::string& description, int height, int topMargin) {
        const Bytes page = writtenPage(description);
        if (page.empty()) return false;
        winplat::ByteReader in(page);
        if (!view_.LoadPage(in)) return false;
        style_.margins.right = static_cast<int16_t>(topMargin);  // the stored order: left, right, top, bottom
        view_.SetPageStyle(style_);
        printer_ = winplat::testing::createPrinterDc(kSheetWidth, height, 96);
        RECT all{0, 0, kSheetWidth, height};
        FillRect(printer_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        sheets_ = std::make_unique<CapturedSheets>(printer_, height);
        view_.LayoutForPrint(printer_, *sheets_, kSheetWidth);
        return true;
    }
    std::vector<uint32_t> Heights() const {
        std::vector<uint32_t> heights;
        for (uint16_t r = 0; r < view_.RowCount(); ++r) heights.push_back(view_.GetRowHeight(r));
        return heights;
    }

    winplat::testing::ScopedFontSource face_{winplat::testing::FontSource::Test};
    lect32::StyleSheet styles_;
    lect32::ColourTable colours_;
    lect32::PageStyle style_;
    page_test::TestPage page_;
    lect32::DocumentView view_{page_.services(), lect32::ViewServices{&styles_, &colours_, lect32::TableObjectReader(&colours_)}};
    HDC printer_ = nullptr;
    std::unique_ptr<CapturedSheets> sheets_;
};

#define REQUIRE_WRITER()                                                                      \
    do {                                                                                      \
        if (!::page_test::pythonRuns()) GTEST_SKIP() << "python3 is missing: no document writer"; \
    } while (0)

// Sheets of 100 pixels: with a top margin of 4 the fourth row ends exactly at the sheet's end and
// stays; with 5 it would pass it by one pixel and goes to the next sheet, its row taking the rest
// of the sheet as well.
TEST_F(DocumentPrintTest, RowsBreakAtTheSheetEnd) {
    REQUIRE_WRITER();
    struct Case {
        int topMargin;
        std::vector<uint32_t> heights;
    };
    const Case cases[] = {
        {4, {24, 24, 24, 24, 24, 24, 24, 24, 28}},
        {5, {24, 24, 24, 47, 24, 24, 24, 28, 24}},
        {3, {24, 24, 24, 24, 25, 24, 24, 24, 28}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.topMargin);
        ASSERT_TRUE(Print(pageOf(std::vector<std::string>(9, row("abc"))), 100, c.topMargin));
        EXPECT_EQ(Heights(), c.heights);
        EXPECT_EQ(sheets_->PrintedOffset(), 0) << "the painting starts where the layout started";
        EXPECT_EQ(sheets_->SheetsEnded(), 0) << "the layout ends no sheet";
        DeleteDC(printer_);
        printer_ = nullptr;
    }
}

// Sheets lower than a line: a line on an empty sheet stays where it is (a new sheet would not
// take it either), every later one starts a sheet of its own without a gap.
TEST_F(DocumentPrintTest, SheetsLowerThanALine) {
    REQUIRE_WRITER();
    ASSERT_TRUE(Print(pageOf(std::vector<std::string>(3, row("abc"))), 10, 0));
    EXPECT_EQ(Heights(), (std::vector<uint32_t>{24, 24, 24}));
}

// A row taller than 32,767 pixels is still measured from its start: it breaks once, where the
// first sheet of 40,000 pixels ends (1,666 lines fill 39,984 of them).
TEST_F(DocumentPrintTest, ARowTallerThanSixteenBitsBreaksWhereTheSheetEnds) {
    REQUIRE_WRITER();
    std::string text;
    for (int i = 0; i < 1700; ++i) text += "a\\n";
    ASSERT_TRUE(Print(pageOf({row(text)}), 40000, 0));
    const size_t lines = view_.Row(0).lines.size();
    ASSERT_GT(lines * kLine, 40000u);
    EXPECT_EQ(view_.GetRowHeight(0), lines * kLine + (40000 - 1666 * kLine));
}

// The painting breaks the sheets where the layout broke the rows: the row that went on to the
// next sheet stands at its top, and the rest of the sheet before stays blank.
TEST_F(DocumentPrintTest, PrintedSheetsFollowTheLayout) {
    REQUIRE_WRITER();
    ASSERT_TRUE(Print(pageOf(std::vector<std::string>(9, row("abc"))), 100, 5));
    view_.PrintRows(printer_);
    EXPECT_EQ(sheets_->SheetsEnded(), 2);
    const auto pages = sheets_->Pages();
    ASSERT_EQ(pages.size(), 3u);
    ASSERT_FALSE(pages[0].empty());
    ASSERT_FALSE(pages[1].empty());
    const int inkOffset = pages[0].front() - 5;  // where a line's ink begins below its top
    EXPECT_GE(inkOffset, 0);
    EXPECT_LT(pages[0].back(), 5 + 3 * kLine) << "three rows on the first sheet, the rest blank";
    EXPECT_EQ(pages[1].front(), inkOffset) << "the fourth row at the top of the second sheet";
    EXPECT_LT(pages[1].back(), 4 * kLine);
    EXPECT_GT(pages[1].back(), 3 * kLine);
    EXPECT_EQ(pages[2].front(), inkOffset) << "the eighth row at the top of the third sheet";
    EXPECT_LT(pages[2].back(), 2 * kLine);
    EXPECT_EQ(sheets_->PrintedOffset(), 2 * kLine) << "the next content goes on below the last row";
    view_.EndPrint();
    EXPECT_FALSE(view_.Printing());
    EXPECT_EQ(view_.ScrollY(), 0);
}

// Content that starts lower on a sheet (below what was printed before it) breaks earlier.
TEST_F(DocumentPrintTest, ContentStartsWhereTheSheetIsUsed) {
    REQUIRE_WRITER();
    const Bytes page = writtenPage(pageOf(std::vector<std::string>(3, row("abc"))));
    ASSERT_FALSE(page.empty());
    winplat::ByteReader in(page);
    ASSERT_TRUE(view_.LoadPage(in));
    style_.margins.right = 0;  // the top margin
    view_.SetPageStyle(style_);
    printer_ = winplat::testing::createPrinterDc(kSheetWidth, 100, 96);
    sheets_ = std::make_unique<CapturedSheets>(printer_, 100, 40);
    view_.LayoutForPrint(printer_, *sheets_, kSheetWidth);
    EXPECT_EQ(Heights(), (std::vector<uint32_t>{24, 24, 12 + 24}));
    RECT all{0, 0, kSheetWidth, 100};
    FillRect(printer_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    view_.PrintRows(printer_);
    const auto pages = sheets_->Pages();
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_FALSE(pages[0].empty());
    EXPECT_GE(pages[0].front(), 40) << "nothing above where the sheet was used";
}

// What a table's layout leaves of the current sheet: its rows that went on to a new sheet start it
// again. Four rows of equal height h on sheets of 2.5 h.
TEST_F(DocumentPrintTest, TableRowsTakeTheirRoomOnTheSheets) {
    REQUIRE_WRITER();
    const std::string cell = R"({"width": 40, "text": "x", "borders": [[2, 0], [2, 0], [2, 0], [2, 0]]})";
    const Bytes stored = table_test::writtenTables({table_test::described("4", "1", cell + ", " + cell + ", " + cell + ", " + cell)})[0];
    ASSERT_FALSE(stored.empty());
    struct Case {
        int startRows;     // of the sheet used before the table, in h
        int expectedRows;  // used after it
    };
    for (const Case c : {Case{0, 2}, Case{1, 1}, Case{2, 2}}) {
        SCOPED_TRACE(c.startRows);
        lect32::TableObjectRow row(std::make_unique<lect32::TableObject>(&colours_));
        ASSERT_TRUE(table_test::readTable(row.Table(), stored));
        HDC dc = winplat::testing::createPrinterDc(kSheetWidth, 100, 96);
        row.Layout(dc, nullptr);
        const int32_t h = row.Table().RowHeight(0);
        ASSERT_GT(h, 0);
        for (int r = 1; r < 4; ++r) ASSERT_EQ(row.Table().RowHeight(r), h);
        lect32::PrintSheets sheets(dc, h * 5 / 2, c.startRows * h);
        row.Layout(dc, &sheets);
        EXPECT_EQ(sheets.PrintedOffset(), c.expectedRows * h);
        EXPECT_EQ(sheets.SheetsEnded(), 0) << "the layout ends no sheet";
        DeleteDC(dc);
    }
}

// A table that the sheets break: the view's next row goes on right below the table's last row on
// the sheet where the table ended. Sheets of 3 h - 1 take two of its four rows each.
TEST_F(DocumentPrintTest, TheRowAfterABrokenTableFollowsIt) {
    REQUIRE_WRITER();
    const std::string cell = R"({"width": 40, "text": "x", "borders": [[2, 0], [2, 0], [2, 0], [2, 0]]})";
    const std::string table = R"("table": {"rows": 4, "columns": 1, "sections": 255, "cells": [)" + cell + ", " + cell + ", " +
                              cell + ", " + cell + "]}";
    const std::string page = pageOf({row("", "", table), row("abc")});
    ASSERT_TRUE(Print(page, 1000, 0));
    auto* first = dynamic_cast<lect32::TableObjectRow*>(view_.GetRowObject(0));
    ASSERT_NE(first, nullptr);
    const int32_t h = first->Table().RowHeight(0);
    ASSERT_GE(h, 25) << "two rows and the text row fit a sheet";
    DeleteDC(printer_);
    printer_ = nullptr;
    ASSERT_TRUE(Print(page, 3 * h - 1, 0));
    view_.PrintRows(printer_);
    EXPECT_EQ(sheets_->SheetsEnded(), 1);
    EXPECT_EQ(sheets_->PrintedOffset(), 2 * h + kLine);
}

}  // namespace
}  // namespace document_view_test
