// DrawTextA over the synthetic test face: layout as numbers (calc-rect) and as pixels.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text_helpers.h"
#include "winplat/draw.h"
#include "winplat/testing.h"
#include "winplat/text.h"

namespace {

using texttest::logFont;
using texttest::picture;
using texttest::SelectedFont;
using texttest::TextCanvas;

struct CalcCase {
    const char* name;
    const char* text;
    UINT format;
    LONG width;  // of the rectangle given
    LONG right;  // the rectangle's right and bottom edges after, and the height returned
    LONG bottom;
};

// Em 20: cells 24 high; letters 10 wide, spaces, 'i' and 'l' 5; tab stops every 80.
const CalcCase kCalc[] = {
    {"one line", "ab cd", DT_SINGLELINE, 1000, 45, 24},
    {"word break", "ab cd ef", DT_WORDBREAK, 50, 45, 48},
    {"a word wider than the rectangle keeps a line", "abcdefg hi", DT_WORDBREAK, 30, 70, 48},
    {"spaces at a break are dropped", "ab   cd", DT_WORDBREAK, 30, 20, 48},
    {"a line exactly as wide fits", "ab cd", DT_WORDBREAK, 45, 45, 24},
    {"one pixel narrower breaks", "ab cd", DT_WORDBREAK, 44, 20, 48},
    {"line ends", "ab\r\ncd\nef\rg", 0, 1000, 20, 96},
    {"an empty line", "ab\n\ncd", 0, 1000, 20, 72},
    {"prefix", "&File", DT_SINGLELINE, 1000, 30, 24},
    {"doubled ampersand", "a&&b", DT_SINGLELINE, 1000, 30, 24},
    {"no prefix", "&File", DT_SINGLELINE | DT_NOPREFIX, 1000, 40, 24},
    {"expanded tab", "a\tb", DT_SINGLELINE | DT_EXPANDTABS, 1000, 90, 24},
    {"tab as a character", "a\tb", DT_SINGLELINE, 1000, 30, 24},
    {"empty text is one empty line", "", 0, 1000, 0, 24},
};

void PrintTo(const CalcCase& c, std::ostream* out) {
    *out << c.name;
}

class CalcRect : public ::testing::TestWithParam<CalcCase> {};

TEST_P(CalcRect, MeasuresTheLayout) {
    const CalcCase& c = GetParam();
    HDC dc = CreateCompatibleDC(nullptr);
    {
        SelectedFont font(dc, logFont(-20));
        RECT r{0, 0, c.width, 0};
        EXPECT_EQ(DrawTextA(dc, c.text, -1, &r, c.format | DT_CALCRECT), c.bottom);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, c.right);
        EXPECT_EQ(r.bottom, c.bottom);
        RECT counted{0, 0, c.width, 0};
        const int length = static_cast<int>(std::strlen(c.text));
        EXPECT_EQ(DrawTextA(dc, c.text, length, &counted, c.format | DT_CALCRECT), c.bottom);
        EXPECT_EQ(counted.right, c.right) << "a counted string as a terminated one";
    }
    DeleteDC(dc);
}

INSTANTIATE_TEST_SUITE_P(Cases, CalcRect, ::testing::ValuesIn(kCalc), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

struct DrawCase {
    const char* name;
    const char* text;
    UINT format;
    int result;
    std::vector<texttest::Box> boxes;
};

// In a 40 x 30 rectangle at the canvas origin; glyph boxes 14 high, ending at the baseline 18
// below the line's top.
const DrawCase kDraw[] = {
    {"centred in both directions",
     "ab",
     DT_CENTER | DT_VCENTER | DT_SINGLELINE,
     27,
     {{10, 7, 19, 21}, {20, 7, 29, 21}}},
    {"bottom right", "ab", DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, 30, {{20, 10, 29, 24}, {30, 10, 39, 24}}},
    {"word break",
     "ab cd",
     DT_WORDBREAK,
     48,
     {{0, 4, 9, 18}, {10, 4, 19, 18}, {0, 28, 9, 30}, {10, 28, 19, 30}}},
    {"prefix underline", "&ab", DT_SINGLELINE, 24, {{0, 4, 9, 18}, {10, 4, 19, 18}, {0, 20, 10, 21}}},
    {"clipped to the rectangle",
     "abcde",
     DT_SINGLELINE,
     24,
     {{0, 4, 9, 18}, {10, 4, 19, 18}, {20, 4, 29, 18}, {30, 4, 39, 18}}},
    {"expanded tab", "a\tb", DT_SINGLELINE | DT_EXPANDTABS, 24, {{0, 4, 9, 18}}},
};

void PrintTo(const DrawCase& c, std::ostream* out) {
    *out << c.name;
}

class DrawText : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DrawText, DrawsTheLayout) {
    const DrawCase& c = GetParam();
    TextCanvas canvas(50, 50, logFont(-20));
    ASSERT_TRUE(canvas.ok());
    SetTextAlign(canvas.dc(), TA_BASELINE | TA_RIGHT);  // DrawTextA goes by its own format
    RECT r{0, 0, 40, 30};
    EXPECT_EQ(DrawTextA(canvas.dc(), c.text, -1, &r, c.format), c.result);
    EXPECT_EQ(canvas.art(), picture(50, 50, c.boxes));
    EXPECT_EQ(r.right, 40) << "only DT_CALCRECT changes the rectangle";
}

INSTANTIATE_TEST_SUITE_P(Cases, DrawText, ::testing::ValuesIn(kDraw), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

TEST(DrawText, NoClipLetsTextOutOfTheRectangle) {
    TextCanvas canvas(50, 30, logFont(-20));
    ASSERT_TRUE(canvas.ok());
    RECT r{0, 0, 25, 10};
    EXPECT_EQ(DrawTextA(canvas.dc(), "abc", 3, &r, DT_SINGLELINE | DT_NOCLIP), 24);
    EXPECT_EQ(canvas.art(), picture(50, 30, {{0, 4, 9, 18}, {10, 4, 19, 18}, {20, 4, 29, 18}}));
}

TEST(DrawText, UnsupportedFormatsAreRefused) {
    winplat::testing::ScopedDebugAsserts off(false);  // probes unsupported formats
    TextCanvas canvas(10, 10, logFont(-20));
    RECT r{0, 0, 10, 10};
    EXPECT_EQ(DrawTextA(canvas.dc(), "a", 1, &r, 0x8000 /* DT_END_ELLIPSIS */), 0);
    EXPECT_EQ(DrawTextA(canvas.dc(), "a", 1, &r, 0x200 /* DT_EXTERNALLEADING */), 0);
    EXPECT_EQ(DrawTextA(canvas.dc(), "a", 1, nullptr, 0), 0);
    EXPECT_EQ(DrawTextA(canvas.dc(), "a", -2, &r, 0), 0);
    EXPECT_EQ(canvas.art(), picture(10, 10, {}));
}

}  // namespace
