// Drawing text with the synthetic test face: every glyph is a box from the baseline up to 7/10 em,
// one pixel narrower than its advance (italic: reaching em/10 past it), so pictures are exact.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"
#include "text_helpers.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"
#include "winplat/text.h"

namespace {

using namespace drawtest;
using dibtest::kBlack;
using dibtest::kWhite;
using texttest::Box;
using texttest::logFont;
using texttest::picture;
using texttest::SelectedFont;
using texttest::TextCanvas;

struct AlignCase {
    const char* name;
    UINT align;
    const char* text;
    std::vector<Box> boxes;
};

// Em 20: ascent 18, descent 6, glyph boxes 14 high; 'a' and 'b' advance 10 (boxes 9 wide), 'i' and
// the spaces 5. The reference point is (30, 20).
const AlignCase kAlign[] = {
    {"top left", TA_TOP | TA_LEFT, "ab", {{30, 24, 39, 38}, {40, 24, 49, 38}}},
    {"baseline left", TA_BASELINE | TA_LEFT, "ab", {{30, 6, 39, 20}, {40, 6, 49, 20}}},
    {"bottom left", TA_BOTTOM | TA_LEFT, "ab", {{30, 0, 39, 14}, {40, 0, 49, 14}}},
    {"top right", TA_TOP | TA_RIGHT, "ab", {{10, 24, 19, 38}, {20, 24, 29, 38}}},
    {"top centre", TA_TOP | TA_CENTER, "ab", {{20, 24, 29, 38}, {30, 24, 39, 38}}},
    {"odd width centred",
     TA_BASELINE | TA_CENTER,
     "abi",
     {{18, 6, 27, 20}, {28, 6, 37, 20}, {38, 6, 42, 20}}},
    {"spaces draw nothing", TA_BASELINE | TA_LEFT, "a\xA0 b", {{30, 6, 39, 20}, {50, 6, 59, 20}}},
};

void PrintTo(const AlignCase& c, std::ostream* out) {
    *out << c.name;
}

class Align : public ::testing::TestWithParam<AlignCase> {};

TEST_P(Align, PlacesTheBoxesAtExactPixels) {
    const AlignCase& c = GetParam();
    TextCanvas canvas(64, 44, logFont(-20));
    ASSERT_TRUE(canvas.ok());
    ASSERT_EQ(SetTextAlign(canvas.dc(), c.align), UINT{TA_TOP | TA_LEFT});
    EXPECT_EQ(GetTextAlign(canvas.dc()), c.align);
    ASSERT_TRUE(TextOutA(canvas.dc(), 30, 20, c.text, static_cast<int>(std::strlen(c.text))));
    EXPECT_EQ(canvas.art(), picture(64, 44, c.boxes));
}

INSTANTIATE_TEST_SUITE_P(Cases, Align, ::testing::ValuesIn(kAlign), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

class Opaque : public ::testing::TestWithParam<int> {};

TEST_P(Opaque, FillsTheCellsWithTheBackgroundFirst) {
    TextCanvas canvas(30, 30, logFont(-20), GetParam());
    ASSERT_TRUE(canvas.ok());
    SetBkMode(canvas.dc(), OPAQUE);
    ASSERT_TRUE(TextOutA(canvas.dc(), 2, 3, "a b", 3));
    EXPECT_EQ(canvas.art(), picture(30, 30, {{2, 3, 27, 27, 'R'}, {2, 7, 11, 21}, {17, 7, 26, 21}}));
}

INSTANTIATE_TEST_SUITE_P(Depths, Opaque, ::testing::Values(24, 32));

struct LinesCase {
    const char* name;
    LOGFONTA font;
    std::vector<Box> boxes;
};

LOGFONTA lined(LONG height, bool underline, bool strikeOut) {
    LOGFONTA font = logFont(height);
    font.lfUnderline = underline ? 1 : 0;
    font.lfStrikeOut = strikeOut ? 1 : 0;
    return font;
}

// "ab" on the baseline at (5, 40). A 30-pixel cell scales by 30 / 1200: advance 12.5 -> 13, box
// 17.5 -> 18 high, underline 2.5 -> 3 below the baseline. Underline em/20 thick from em/10 below the
// baseline; strike-out as thick from 350/1000 em above it; both across the whole advance width.
const LinesCase kLines[] = {
    {"underline em 20", lined(-20, true, false), {{5, 26, 14, 40}, {15, 26, 24, 40}, {5, 42, 25, 43}}},
    {"strike-out em 20", lined(-20, false, true), {{5, 26, 14, 40}, {15, 26, 24, 40}, {5, 33, 25, 34}}},
    {"both at em 40",
     lined(-40, true, true),
     {{5, 12, 24, 40}, {25, 12, 44, 40}, {5, 44, 45, 46}, {5, 26, 45, 28}}},
    {"underline of a 30-pixel cell",
     lined(30, true, false),
     {{5, 22, 17, 40}, {18, 22, 30, 40}, {5, 43, 31, 44}}},
};

void PrintTo(const LinesCase& c, std::ostream* out) {
    *out << c.name;
}

class TextLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(TextLines, RunUnderAndThroughTheText) {
    const LinesCase& c = GetParam();
    TextCanvas canvas(50, 50, c.font);
    ASSERT_TRUE(canvas.ok());
    SetTextAlign(canvas.dc(), TA_BASELINE);
    ASSERT_TRUE(TextOutA(canvas.dc(), 5, 40, "ab", 2));
    EXPECT_EQ(canvas.art(), picture(50, 50, c.boxes));
}

INSTANTIATE_TEST_SUITE_P(Cases, TextLines, ::testing::ValuesIn(kLines), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

TEST(TextOut, JustificationMovesTheGlyphsAsTheExtentSays) {
    TextCanvas canvas(70, 24, logFont(-20));
    ASSERT_TRUE(canvas.ok());
    SetTextAlign(canvas.dc(), TA_BASELINE);
    ASSERT_TRUE(SetTextJustification(canvas.dc(), 7, 3));
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc(), "a b c d", 7, &size));
    ASSERT_TRUE(TextOutA(canvas.dc(), 0, 20, "a b c d", 7));
    // Breaks of 5 + 3, 5 + 2, 5 + 2: the remainder of 7 / 3 goes to the first break.
    EXPECT_EQ(canvas.art(),
              picture(70, 24, {{0, 6, 9, 20}, {18, 6, 27, 20}, {35, 6, 44, 20}, {52, 6, 61, 20}}));
    EXPECT_EQ(size.cx, 62) << "the last glyph's advance ends where the extent does";
}

TEST(TextOut, UnderlineAndOpaqueCellsTakeTheJustifiedWidth) {
    TextCanvas canvas(40, 30, lined(-20, true, false));
    ASSERT_TRUE(canvas.ok());
    SetBkMode(canvas.dc(), OPAQUE);
    SetTextJustification(canvas.dc(), 4, 1);
    ASSERT_TRUE(TextOutA(canvas.dc(), 0, 0, "a b", 3));
    EXPECT_EQ(canvas.art(),
              picture(40, 30, {{0, 0, 29, 24, 'R'}, {0, 4, 9, 18}, {19, 4, 28, 18}, {0, 20, 29, 21}}));
}

TEST(TextOut, ItalicGlyphsReachPastTheirAdvance) {
    TextCanvas canvas(40, 24, logFont(-20, FW_NORMAL, true));
    ASSERT_TRUE(canvas.ok());
    SetTextAlign(canvas.dc(), TA_BASELINE);
    ASSERT_TRUE(TextOutA(canvas.dc(), 0, 20, "a b", 3));
    // B = advance - C = 10 + 2: no gap, and two pixels over the next cell.
    EXPECT_EQ(canvas.art(), picture(40, 24, {{0, 6, 12, 20}, {15, 6, 27, 20}}));
}

TEST(TextOut, UpdatingTheCurrentPositionDrawsRunsOneAfterAnother) {
    TextCanvas canvas(40, 24, logFont(-20));
    ASSERT_TRUE(canvas.ok());
    MoveToEx(canvas.dc(), 5, 20, nullptr);
    SetTextAlign(canvas.dc(), TA_UPDATECP | TA_BASELINE);
    ASSERT_TRUE(TextOutA(canvas.dc(), 100, 100, "ab", 2));
    ASSERT_TRUE(TextOutA(canvas.dc(), 100, 100, "i", 1));
    POINT at{};
    MoveToEx(canvas.dc(), 0, 0, &at);
    EXPECT_EQ(at.x, 30);
    EXPECT_EQ(at.y, 20);
    EXPECT_EQ(canvas.art(), picture(40, 24, {{5, 6, 14, 20}, {15, 6, 24, 20}, {25, 6, 29, 20}}));
}

// Runs of a line's length and runs far longer draw every glyph where its advance puts it.
// Em 10: ascent 9, boxes 7 high and 4 wide, 'a' advancing 5.
TEST(TextOut, RunsOfEveryLengthDrawEveryGlyph) {
    for (const int count : {1, 255, 256, 257, 400}) {
        SCOPED_TRACE(count);
        const int width = 5 * count + 5;
        TextCanvas canvas(width, 12, logFont(-10));
        ASSERT_TRUE(canvas.ok());
        const std::string run(static_cast<size_t>(count), 'a');
        ASSERT_TRUE(TextOutA(canvas.dc(), 0, 0, run.data(), count));
        std::vector<Box> boxes;
        for (int i = 0; i < count; ++i) boxes.push_back({5 * i, 2, 5 * i + 4, 9});
        EXPECT_EQ(canvas.art(), picture(width, 12, boxes));
    }
}

TEST(ExtTextOut, OpaqueRectangleWithoutTextIsAFill) {
    TextCanvas canvas(10, 10, logFont(-20));
    ASSERT_TRUE(canvas.ok());
    const RECT r{2, 3, 7, 5};
    ASSERT_TRUE(ExtTextOutA(canvas.dc(), 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr));
    EXPECT_EQ(canvas.art(), picture(10, 10, {{2, 3, 7, 5, 'R'}})) << "in TRANSPARENT mode too";
}

TEST(ExtTextOut, ClippedTextStaysInsideTheRectangle) {
    TextCanvas canvas(40, 30, logFont(-20));
    ASSERT_TRUE(canvas.ok());
    SetBkMode(canvas.dc(), OPAQUE);
    const RECT r{4, 10, 15, 40};
    ASSERT_TRUE(ExtTextOutA(canvas.dc(), 0, 0, ETO_CLIPPED, &r, "ab", 2, nullptr));
    EXPECT_EQ(canvas.art(), picture(40, 30, {{4, 10, 15, 24, 'R'}, {4, 10, 9, 18}, {10, 10, 15, 18}}));
}

TEST(ExtTextOut, TheDcClipCutsTextToo) {
    TextCanvas canvas(40, 30, logFont(-20));
    ASSERT_TRUE(canvas.ok());
    IntersectClipRect(canvas.dc(), 0, 0, 12, 30);
    ASSERT_TRUE(TextOutA(canvas.dc(), 0, 0, "ab", 2));
    EXPECT_EQ(canvas.art(), picture(40, 30, {{0, 4, 9, 18}, {10, 4, 12, 18}}));
}

TEST(ExtTextOut, DxGivesTheAdvancesAndLeavesJustificationAlone) {
    TextCanvas canvas(40, 24, logFont(-20));
    ASSERT_TRUE(canvas.ok());
    SetTextAlign(canvas.dc(), TA_BASELINE);
    SetTextJustification(canvas.dc(), 6, 1);
    const int dx[] = {12, 3, 10};
    ASSERT_TRUE(ExtTextOutA(canvas.dc(), 0, 20, 0, nullptr, "a b", 3, dx));
    EXPECT_EQ(canvas.art(), picture(40, 24, {{0, 6, 9, 20}, {15, 6, 24, 20}}));
    SIZE size{};
    GetTextExtentPoint32A(canvas.dc(), " ", 1, &size);
    EXPECT_EQ(size.cx, 5 + 6) << "the break was not used up";
}

TEST(TextOut, AMetafileDcDrawsNothingAndSucceeds) {
    HDC dc = winplat::testing::createMetafileDc();
    EXPECT_TRUE(TextOutA(dc, 0, 0, "ab", 2));
    DeleteDC(dc);
}

}  // namespace
