// The banner, measured and painted with the synthetic test face: a 15-point letter is 10 pixels
// wide, a space 5, a line 24 pixels high.
#include "page/banner.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page/page_style.h"
#include "page_test_support.h"
#include "text/colour_table.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/style_sheet.h"
#include "text/text_format.h"
#include "text/text_formatter.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/testing.h"
#include "winplat/user.h"
#include "winplat_harness/harness.h"

namespace {

using lect32::Banner;
using lect32::FoundRange;

constexpr int kLine = 24;
constexpr uint8_t kStyle = 4;
constexpr uint8_t kWhite = 1, kRed = 2, kBlue = 3;

// A style written as the sheet's definitions are: 15-point black text, background as given.
struct StyleParts {
    int background = 255;
    int leftIndent = 0, rightIndent = 0;
    int lineSpacing = -100;
    int before = 0, after = 0;
    int sides = 0, frameWidth = 0, frameColour = 0, frameSpacing = 0;
};

lect32::StyleDefinition Definition(const StyleParts& p) {
    lect32::StyleDefinition d{};
    d[0] = 0, d[1] = 15, d[2] = 3, d[3] = 0;
    d[4] = 0, d[5] = static_cast<int16_t>(p.background), d[6] = 255;
    d[9] = static_cast<int16_t>(p.leftIndent), d[10] = static_cast<int16_t>(p.rightIndent);
    d[14] = static_cast<int16_t>(p.lineSpacing);
    d[15] = static_cast<int16_t>(p.before), d[16] = static_cast<int16_t>(p.after);
    d[17] = static_cast<int16_t>(p.sides), d[18] = static_cast<int16_t>(p.frameWidth);
    d[19] = static_cast<int16_t>(p.frameColour), d[20] = static_cast<int16_t>(p.frameSpacing);
    return d;
}

lect32::PageStyle BannerStyle(uint8_t on, uint8_t style, uint8_t backColour = kWhite) {
    lect32::PageStyle s;
    s.group20[0] = on;
    s.group20[1] = style;
    s.backgroundColour = backColour;
    return s;
}

class BannerTest : public ::testing::Test {
protected:
    void SetUp() override {
        page_test::UseTestText();
        colours_.SetAll(std::vector<lect32::Rgb>{{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}});
        Define({});
    }
    void TearDown() override {
        if (window_) DestroyWindow(window_);
        lect32::SetBannerClosingQuery(nullptr);
        lect32::GetTextFormatter().ReleaseFonts();
        lect32::GetTextFontCache().Clear();
        lect32::GetDocumentFonts().main.Clear();
    }
    void Define(const StyleParts& parts) { styles_.DefineStyle("Banner", Definition(parts), kStyle, 0); }
    int Measure(const std::string& text, int width, const lect32::PageStyle& style = BannerStyle(1, kStyle)) {
        banner_.SetStyle(style);
        banner_.SetText(text);
        banner_.SetWidth(static_cast<int16_t>(width));
        winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
        return banner_.Measure(dc.get());
    }
    // A BANNER window of the banner's size on the headless desktop, painted.
    winplat::test::Image Painted(int width, int height) {
        EXPECT_TRUE(lect32::RegisterBannerWindowClass());
        window_ = CreateWindowExA(0, "BANNER", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                  nullptr, nullptr);
        EXPECT_NE(window_, nullptr);
        banner_.SetWindow(window_);
        SetWindowLongPtrA(window_, Banner::kWindowWord, reinterpret_cast<LONG_PTR>(&banner_));
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
        return harness_.windowImage(window_, true);
    }

    winplat::test::Harness harness_{{.width = 320, .height = 240, .goldenFolder = "", .diffFolder = "", .startMs = 1000}};
    winplat::testing::ScopedFontSource face_{winplat::testing::FontSource::Test};
    lect32::StyleSheet styles_;
    lect32::ColourTable colours_;
    Banner banner_{lect32::BannerServices{&styles_, &colours_}};
    HWND window_ = nullptr;
};

TEST_F(BannerTest, NothingToShowMeasuresZero) {
    struct Case {
        const char* name;
        uint8_t on, style;
        std::string text;
        int height;
    };
    const Case cases[] = {
        {"shown", 1, kStyle, "Title", kLine},
        {"banner off", 0, kStyle, "Title", 0},
        {"no style", 1, 255, "Title", 0},
        {"no text", 1, kStyle, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        banner_.Reset();
        EXPECT_EQ(Measure(c.text, 200, BannerStyle(c.on, c.style)), c.height);
        EXPECT_EQ(banner_.Height(), c.height);
    }
}

// "aaaa bbbb cccc": words 40 pixels, spaces 5, 130 in all; a line needs a pixel beyond its text.
TEST_F(BannerTest, HeightIsTheLinesAndTheirSpacing) {
    struct Case {
        const char* name;
        StyleParts parts;
        int width;
        int height;
    };
    const Case cases[] = {
        {"one line", {}, 140, kLine},
        {"one line exactly", {}, 131, kLine},
        {"a pixel short wraps", {}, 130, 2 * kLine},
        {"three lines", {}, 60, 3 * kLine},
        {"space before and after", {.before = 3, .after = 4}, 129, 2 * kLine + 7},
        {"indents narrow the lines", {.leftIndent = 6, .rightIndent = 5}, 141, 2 * kLine},
        {"indents leave room", {.leftIndent = 5, .rightIndent = 5}, 141, kLine},
        {"double spacing adds leading to each line", {.lineSpacing = -200}, 129, 2 * (kLine + 15)},
        {"frame top and bottom add width and spacing",
         {.sides = 4 | 8, .frameWidth = 2, .frameSpacing = 1}, 140, kLine + 6},
        {"frame sides narrow the lines", {.sides = 1 | 2, .frameWidth = 2, .frameSpacing = 1}, 136, 2 * kLine},
        {"frame sides leave room", {.sides = 1 | 2, .frameWidth = 2, .frameSpacing = 1}, 137, kLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Define(c.parts);
        EXPECT_EQ(Measure("aaaa bbbb cccc", c.width), c.height);
    }
}

TEST_F(BannerTest, ZoomScalesTheSpacing) {
    banner_.SetZoom(1, 2);
    Define({});
    const int bare = Measure("Title", 200);
    Define({.before = 10, .after = 20});
    EXPECT_EQ(Measure("Title", 200) - bare, 15);
    banner_.SetZoom(0, 0);
    EXPECT_EQ(Measure("Title", 200), kLine + 30);
}

TEST_F(BannerTest, TextIsCutAt255Bytes) {
    banner_.SetText(std::string(300, 'x'));
    EXPECT_EQ(banner_.Text().size(), 255u);
    banner_.SetText(std::string(255, 'y'));
    EXPECT_EQ(banner_.Text(), std::string(255, 'y'));
    banner_.SetText(std::string(254, 'z'));
    EXPECT_EQ(banner_.Text().size(), 254u);
}

// Each hit is kept and the next search of the word starts one byte after its end.
TEST_F(BannerTest, FoundWordsAreEveryHitOfEveryWord) {
    banner_.SetText("aaaaa ab aa");
    const std::vector<std::string> words = {"aa", "b"};
    std::vector<size_t> starts;
    banner_.MarkFoundWords(words.size(), [&](size_t word, std::span<const uint8_t> text, size_t from) {
        starts.push_back(from);
        const std::string s(text.begin(), text.end());
        const size_t at = s.find(words[word], from);
        if (at == std::string::npos) return std::optional<FoundRange>{};
        return std::optional<FoundRange>{FoundRange{static_cast<uint16_t>(at), static_cast<uint16_t>(at + words[word].size())}};
    });
    const std::vector<FoundRange> expected = {{0, 2}, {3, 5}, {9, 11}, {7, 8}};
    EXPECT_EQ(banner_.FoundWords(), expected);
    EXPECT_EQ(starts, (std::vector<size_t>{0, 3, 6, 0, 9}));
}

TEST_F(BannerTest, AFinderThatGoesBackwardsCannotHangTheSearch) {
    banner_.SetText("abc");
    int calls = 0;
    banner_.MarkFoundWords(1, [&](size_t, std::span<const uint8_t>, size_t) {
        ++calls;
        return std::optional<FoundRange>{FoundRange{0, 1}};
    });
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(banner_.FoundWords().size(), 1u);
}

TEST_F(BannerTest, ResetForgetsTextFoundWordsAndHeight) {
    Measure("Title", 200);
    banner_.MarkFoundWords(1, [](size_t, std::span<const uint8_t>, size_t from) {
        return from == 0 ? std::optional<FoundRange>{FoundRange{0, 1}} : std::nullopt;
    });
    ASSERT_EQ(banner_.Height(), kLine);
    ASSERT_FALSE(banner_.FoundWords().empty());
    banner_.Reset();
    EXPECT_TRUE(banner_.Text().empty());
    EXPECT_EQ(banner_.Height(), 0);
    EXPECT_TRUE(banner_.FoundWords().empty());
    EXPECT_FALSE(banner_.Shown());
}

// Pixels of the area where the two images agree (same) or where one is the other inverted.
struct Comparison {
    int same = 0;
    int inverted = 0;
};

Comparison Compare(const winplat::test::Image& one, const winplat::test::Image& other, int left, int top, int right,
                   int bottom) {
    Comparison c;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const uint32_t a = one.at(x, y) & 0xFFFFFF, b = other.at(x, y) & 0xFFFFFF;
            c.same += a == b;
            c.inverted += a == (~b & 0xFFFFFF);
        }
    return c;
}

TEST_F(BannerTest, BackgroundIsTheStylesColourElseThePages) {
    struct Case {
        const char* name;
        int styleBackground;
        uint32_t expected;
    };
    const Case cases[] = {{"style has none", 255, 0x0000FF}, {"style has red", kRed, 0xFF0000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Define({.background = c.styleBackground});
        Measure("Ti", 200, BannerStyle(1, kStyle, kBlue));
        const winplat::test::Image image = Painted(200, kLine);
        EXPECT_EQ(image.at(150, 10) & 0xFFFFFF, c.expected);
        EXPECT_EQ(image.at(199, 23) & 0xFFFFFF, c.expected);
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

TEST_F(BannerTest, FrameSidesArePaintedInTheFrameColour) {
    Define({.background = kWhite, .sides = 1 | 8, .frameWidth = 3, .frameColour = kRed, .frameSpacing = 2});
    const int height = Measure("Ti", 100);
    ASSERT_EQ(height, kLine + 5);
    const winplat::test::Image image = Painted(100, height);
    EXPECT_EQ(image.at(0, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.at(2, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.at(3, 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.at(90, height - 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.at(90, height - 4) & 0xFFFFFF, 0xFFFFFFu);
}

// "aaaa bbbb cccc" in 130 pixels: "cccc" goes to the second line. The found range "bbbb cccc"
// runs over the break and is inverted on both lines; "aaaa" is not.
TEST_F(BannerTest, AFoundWordOverALineBreakIsInvertedOnBothLines) {
    Define({.background = kWhite});
    ASSERT_EQ(Measure("aaaa bbbb cccc", 130), 2 * kLine);
    banner_.MarkFoundWords(1, [](size_t, std::span<const uint8_t>, size_t from) {
        return from == 0 ? std::optional<FoundRange>{FoundRange{5, 14}} : std::nullopt;
    });
    const winplat::test::Image found = Painted(130, 2 * kLine);
    DestroyWindow(window_);
    banner_.MarkFoundWords(1, [](size_t, std::span<const uint8_t>, size_t) { return std::optional<FoundRange>{}; });
    const winplat::test::Image plain = Painted(130, 2 * kLine);
    const int area = 38 * (kLine - 2);
    EXPECT_EQ(Compare(found, plain, 1, 1, 39, kLine - 1).same, area) << "aaaa is not found";
    EXPECT_EQ(Compare(found, plain, 46, 1, 84, kLine - 1).inverted, area) << "bbbb on the first line";
    EXPECT_EQ(Compare(found, plain, 1, kLine + 1, 39, 2 * kLine - 1).inverted, area) << "cccc on the second line";
    EXPECT_EQ(Compare(found, plain, 46, kLine + 1, 129, 2 * kLine - 1).same, 83 * (kLine - 2)) << "nothing after cccc";
}

TEST_F(BannerTest, WindowWithoutBannerOrWhileClosingOnlyValidates) {
    ASSERT_TRUE(lect32::RegisterBannerWindowClass());
    for (bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "closing" : "no banner");
        lect32::SetBannerClosingQuery(closing ? +[] { return true; } : nullptr);
        window_ = CreateWindowExA(0, "BANNER", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        EXPECT_EQ(GetWindowLongPtrA(window_, Banner::kWindowWord), 0);
        if (closing) {
            Define({.background = kRed});
            Measure("Ti", 50);
            banner_.SetWindow(window_);
            SetWindowLongPtrA(window_, Banner::kWindowWord, reinterpret_cast<LONG_PTR>(&banner_));
        }
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
        EXPECT_FALSE(GetUpdateRect(window_, nullptr, FALSE));
        EXPECT_NE(harness_.windowImage(window_, true).at(40, 10) & 0xFFFFFF, 0xFF0000u);
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

}  // namespace
