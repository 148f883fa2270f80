#include <gtest/gtest.h>

#include <string>

#include "formatter_fixture.h"
#include "text/paragraph_paint.h"
#include "winplat_harness/harness.h"

namespace lect32::test {
namespace {

class ParagraphGolden : public FormatterFixture {
protected:
    winplat::test::Image Surface(int width, int height) const {
        winplat::test::Image image{width, height, {}};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const COLORREF c = Pixel(x, y);
                image.pixels.push_back(uint32_t{GetRValue(c)} << 16 | uint32_t{GetGValue(c)} << 8 | GetBValue(c));
            }
        return image;
    }
    ParagraphResult Paint(const std::string& text, ParagraphBox box) {
        text_.assign(text.begin(), text.end());
        return PaintParagraph(formatter_, paragraph_, text_, box);
    }

    winplat::test::Harness harness_{{.width = 320, .height = 200, .goldenFolder = TEXT_GOLDEN_DIR, .diffFolder = "", .startMs = 1000}};
};

TEST_F(ParagraphGolden, JustifiedParagraphWithALink) {
    paragraph_.chars.size = 9;  // a 12-pixel em
    GetLinkColours().SetColour(0, 0, 0, 255);
    Clear();
    SetBkMode(dc_.get(), TRANSPARENT);
    const ParagraphResult result =
        Paint("aa bbb c " + LinkStart(3) + "dddd ee" + LinkEnd() + " ff ggg hh iii jj kkk", {4, 2, 150, TextFormatter::kJustified});
    EXPECT_EQ(result.lines, 2) << "the last line keeps its spaces";
    EXPECT_TRUE(harness_.expectImage(Surface(160, 50), "justified_link"));
}

TEST_F(ParagraphGolden, ShadowAndBackgrounds) {
    paragraph_.chars.size = 9;
    paragraph_.colours = ColourPair{0, 1};
    Clear(RGB(200, 200, 200));
    SetBkMode(dc_.get(), OPAQUE);
    Paint("ab " + ShadowCode(2, 2, 2) + "shadow" + ShadowCode(255, 0, 0) + " " + ColourCode(0, 3) + "cd" +
              ShadowCode(2, -2, -2) + " up",
          {2, 2, 156});
    EXPECT_TRUE(harness_.expectImage(Surface(160, 24), "shadow_line"));
}

TEST_F(ParagraphGolden, TabTable) {
    paragraph_.chars.size = 9;
    formatter_.Tabs().SetStops(std::vector<TabStop>{{TabStop::kRight, 60}, {TabStop::kDecimal, 100}, {TabStop::kCentred, 140}});
    Clear();
    SetBkMode(dc_.get(), TRANSPARENT);
    int y = 2;
    for (const std::string row : {"a\t12\t3.5\tmid", "bb\t7\t12.25\tx", "c\t123\t4\twww"}) {
        y += Paint(row, {2, y, 156}).height;
    }
    EXPECT_TRUE(harness_.expectImage(Surface(160, y + 2), "tab_table"));
}

}  // namespace
}  // namespace lect32::test
