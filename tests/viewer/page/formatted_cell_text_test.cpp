// The cell editor that lays cells out with the formatter, on the synthetic test face: a 15-point
// line is 24 pixels (ascent 18, descent 6) and most letters 10 wide, the space 5. Its heights
// come through the table's layout, and its text is painted inside the cell.
#include <gtest/gtest.h>

#include "page/formatted_cell_text.h"
#include "page/page_style.h"
#include "page/table_object.h"
#include "picture_test_support.h"
#include "table_test_support.h"
#include "text/colour_table.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/style_sheet.h"
#include "text/text_formatter.h"
#include "winplat/testing.h"

namespace lect32 {
namespace {

using table_test::Bytes;
using table_test::described;
using table_test::readTable;
using table_test::writtenTables;

// A cell row of 15-point text in font 0.
std::string row(const std::string& text) {
    return R"({"text": ")" + text + R"(", "format": {"char": {"font": 0, "size": 15}}})";
}

class FormattedCellTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& fonts = GetDocumentFonts();
        fonts.main.Clear();
        fonts.main.Append("Arial CE", kCharsetEastEurope);
        SetTextResolution(96);
        SetTextZoom(0);
        GetTextFontCache().Clear();
        colours_.SetAll(std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}});
    }
    void TearDown() override {
        GetTextFormatter().ReleaseFonts();
        GetTextFontCache().Clear();
        GetDocumentFonts().main.Clear();
    }

    winplat::testing::ScopedFontSource face_{winplat::testing::FontSource::Test};
    ColourTable colours_;
};

TEST_F(FormattedCellTextTest, CellHeightsAreTheirLinesAndMargins) {
    REQUIRE_DOCUMENT_WRITER();
    // Margins 2, 2 at the sides and 1 above, 3 below; "abcd efgh" takes 86 pixels.
    struct Case {
        std::string what;
        std::string rows;
        int width;
        int32_t height;
    };
    const std::vector<Case> cases = {
        {"one line", row("abcd efgh"), 100, 24 + 4},
        {"exactly as wide as the text", row("abcd efgh"), 90, 24 + 4},
        {"one pixel narrower breaks the line", row("abcd efgh"), 89, 48 + 4},
        {"two paragraphs", row("ab") + ", " + row("cd"), 100, 48 + 4},
    };
    std::vector<std::string> descriptions;
    for (const Case& c : cases) {
        descriptions.push_back(described("1", "1", R"({"margins": [2, 2, 1, 3], "width": )" + std::to_string(c.width) +
                                                        R"(, "rows": [)" + c.rows + "]}"));
    }
    const std::vector<Bytes> stored = writtenTables(descriptions);
    picture_test::Canvas canvas(160, 80);
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        TableObject table(&colours_);
        ASSERT_TRUE(readTable(table, stored[i]));
        EXPECT_EQ(table.Layout(canvas.dc()), cases[i].height);
        EXPECT_EQ(table.Cell(0).contentHeight, cases[i].height);
    }
}

TEST_F(FormattedCellTextTest, TheTextIsPaintedInsideTheCell) {
    REQUIRE_DOCUMENT_WRITER();
    const Bytes stored = writtenTables({described("1", "2", R"({"width": 60, "background": 1, "rows": [)" + row("ab") +
                                                                 R"(]}, {"width": 60, "background": 1, "rows": [)" + row("") + "]}")})[0];
    TableObject table(&colours_);
    ASSERT_TRUE(readTable(table, stored));
    PageStyle style;
    style.backgroundColour = 1;
    table.SetPageStyle(style);
    picture_test::Canvas canvas(160, 60);
    canvas.fill(RGB(1, 2, 3));
    table.Layout(canvas.dc());
    table.Paint(canvas.dc(), {0, 0, 160, 60});
    auto inked = [&](int left, int right) {
        int count = 0;
        for (int y = 10; y < 34; ++y)
            for (int x = left; x < right; ++x) count += canvas.pixel(x, y) == RGB(0, 0, 0);
        return count;
    };
    EXPECT_GT(inked(10, 70), 0) << "the first cell's letters";
    EXPECT_EQ(inked(70, 130), 0) << "the empty cell shows its background only";
    EXPECT_EQ(canvas.pixel(100, 20), RGB(255, 255, 255));
}

}  // namespace
}  // namespace lect32
