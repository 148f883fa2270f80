#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formatter_fixture.h"
#include "text/paragraph_paint.h"

namespace lect32::test {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);

// Colour indices of the fixture's table.
constexpr uint8_t kBlackIndex = 0, kRedIndex = 2, kBlueIndex = 3, kGreenIndex = 4, kPaleIndex = 5;

// With leading 0 and the 20-pixel em, the line's baseline is at y 18 and a glyph box covers rows
// 4 to 17 and the first advance less one pixel.
class RunPainter : public FormatterFixture {
protected:
    void PaintOne(const std::string& text, int mode, int right = 0,
                  TextFormatter::Alignment alignment = TextFormatter::kLeft) {
        Clear();
        SetBkMode(dc_.get(), mode);
        Split(text);
        formatter_.LayoutLine(0, right, alignment, false);
        formatter_.PaintLine(0, 0, 0, 200);
    }
};

TEST_F(RunPainter, OpaqueDeviceGetsLineAndSegmentBackgroundsAndEndsTransparent) {
    paragraph_.colours = ColourPair{kBlackIndex, kRedIndex};
    PaintOne("ab" + ColourCode(kBlackIndex, kBlueIndex) + "cd", OPAQUE);
    EXPECT_EQ(Pixel(150, 23), kRed) << "line background over the whole line width and height";
    EXPECT_EQ(Pixel(199, 0), kRed);
    EXPECT_EQ(Pixel(200, 0), kWhite);
    EXPECT_EQ(Pixel(9, 10), kRed) << "the first segment's background between glyphs";
    EXPECT_EQ(Pixel(29, 10), kBlue);
    EXPECT_EQ(Pixel(4, 10), kBlack);
    EXPECT_EQ(GetBkMode(dc_.get()), TRANSPARENT);
}

TEST_F(RunPainter, TransparentDeviceGetsNoBackgrounds) {
    paragraph_.colours = ColourPair{kBlackIndex, kRedIndex};
    PaintOne("ab" + ColourCode(kBlackIndex, kBlueIndex) + "cd", TRANSPARENT);
    EXPECT_EQ(Pixel(150, 23), kWhite);
    EXPECT_EQ(Pixel(9, 10), kWhite);
    EXPECT_EQ(Pixel(29, 10), kWhite);
    EXPECT_EQ(Pixel(24, 10), kBlack);
    EXPECT_EQ(GetBkMode(dc_.get()), TRANSPARENT);
}

TEST_F(RunPainter, BackgroundNoneStopsSegmentBackgrounds) {
    paragraph_.colours = ColourPair{kBlackIndex, ColourPair::kNone};
    PaintOne("ab" + ColourCode(kBlackIndex, kBlueIndex) + "cd" + ColourCode(kBlackIndex, 255) + "ef", OPAQUE);
    EXPECT_EQ(Pixel(9, 1), kWhite) << "no line background for none";
    EXPECT_EQ(Pixel(29, 1), kBlue);
    EXPECT_EQ(Pixel(49, 1), kWhite) << "255 takes the paragraph's none: no background after";
}

TEST_F(RunPainter, JustifiedSegmentBackgroundCoversItsExtraPixels) {
    paragraph_.colours = ColourPair{kBlackIndex, ColourPair::kNone};
    PaintOne(ColourCode(kBlackIndex, kBlueIndex) + "aa bb", OPAQUE, 100, TextFormatter::kJustified);
    EXPECT_EQ(formatter_.Segments()[0].extra, 55);
    EXPECT_EQ(Pixel(99, 1), kBlue);
    EXPECT_EQ(Pixel(100, 1), kWhite);
    EXPECT_EQ(Pixel(95, 10), kBlack) << "the second word moved right by the space's share";
    EXPECT_EQ(Pixel(25, 10), kBlue);
}

TEST_F(RunPainter, DottedLinkUnderlineHasAPeriodOfFourThicknesses) {
    paragraph_.chars.size = 30;  // underline 2 thick, 4 below the baseline at y 36
    PaintOne(LinkStart(3) + "mmmm" + LinkEnd(), TRANSPARENT);
    for (int x = 0; x < 56; ++x) {
        const COLORREF expected = (x % 8) < 4 ? kBlack : kWhite;
        EXPECT_EQ(Pixel(x, 40), expected) << x;
        EXPECT_EQ(Pixel(x, 41), expected) << x;
    }
    EXPECT_EQ(Pixel(3, 42), kWhite) << "two rows thick";
    EXPECT_EQ(Pixel(3, 39), kWhite);
}

TEST_F(RunPainter, SolidLinkUnderlineAndNoneWhenLinksAreNotUnderlined) {
    PaintOne(LinkStart(0) + "ab" + LinkEnd() + "cd", TRANSPARENT);
    EXPECT_EQ(Pixel(9, 20), kBlack) << "one row at the baseline plus 2";
    EXPECT_EQ(Pixel(19, 20), kBlack);
    EXPECT_EQ(Pixel(29, 20), kWhite) << "not after the link's end";
    GetLinkColours().linksUnderlined = false;
    PaintOne(LinkStart(0) + "ab" + LinkEnd(), TRANSPARENT);
    EXPECT_EQ(Pixel(9, 20), kWhite);
}

TEST_F(RunPainter, LinkColourAndItsEnd) {
    paragraph_.colours = ColourPair{kRedIndex, ColourPair::kNone};
    GetLinkColours().SetColour(0, 0, 0, 255);
    PaintOne("a" + LinkStart(0) + "b" + LinkEnd() + "c", TRANSPARENT);
    EXPECT_EQ(Pixel(4, 10), kRed);
    EXPECT_EQ(Pixel(14, 10), kBlue);
    EXPECT_EQ(Pixel(24, 10), kRed) << "the pair's colour again after the link";
    GetLinkColours().linksTakeColour = false;
    PaintOne("a" + ColourCode(kGreenIndex, 255) + LinkStart(0) + "b" + LinkEnd() + "c", TRANSPARENT);
    EXPECT_EQ(Pixel(14, 10), kGreen);
    EXPECT_EQ(Pixel(24, 10), kGreen) << "the current pair's colour, not the paragraph's";
}

TEST_F(RunPainter, LinkOverSeveralLinesKeepsItsColourAndUnderline) {
    GetLinkColours().SetColour(0, 0, 0, 255);
    Clear();
    SetBkMode(dc_.get(), TRANSPARENT);
    const std::string text = LinkStart(3) + "aaaa bbbb cccc" + LinkEnd() + " dddd";
    text_.assign(text.begin(), text.end());
    const ParagraphResult result = PaintParagraph(formatter_, paragraph_, text_, ParagraphBox{0, 0, 60});
    ASSERT_EQ(result.lines, 4);
    for (const int line : {0, 1, 2}) {
        EXPECT_EQ(Pixel(4, line * 24 + 10), kBlue) << "line " << line;
        EXPECT_EQ(Pixel(0, line * 24 + 20), kBlue) << "dotted underline, line " << line;
        EXPECT_EQ(Pixel(2, line * 24 + 20), kWhite) << "line " << line;
    }
    EXPECT_EQ(Pixel(4, 3 * 24 + 10), kBlack) << "after the link's end";
}

TEST_F(RunPainter, ShadowThrownLeftKeepsTheTextRightOfIt) {
    PaintOne(ShadowCode(kRedIndex, -2, 2) + "a", TRANSPARENT);
    EXPECT_EQ(formatter_.Segments()[0].width, 12);
    EXPECT_EQ(Pixel(0, 19), kRed) << "the shadow at the segment's x, 2 lower";
    EXPECT_EQ(Pixel(1, 6), kRed);
    EXPECT_EQ(Pixel(10, 4), kBlack) << "the text 2 to the right, at the top";
    EXPECT_EQ(Pixel(2, 4), kBlack);
    EXPECT_EQ(Pixel(11, 10), kWhite);
}

TEST_F(RunPainter, ShadowThrownUpStaysInsideTheLine) {
    PaintOne(ShadowCode(kRedIndex, 2, -3) + "a", TRANSPARENT);
    EXPECT_EQ(formatter_.Metrics().ascent, 21);
    // Shadow at the segment's top (rows 7..20), the text 3 lower (rows 10..23).
    EXPECT_EQ(Pixel(10, 7), kRed);
    EXPECT_EQ(Pixel(10, 9), kRed);
    EXPECT_EQ(Pixel(1, 9), kWhite);
    EXPECT_EQ(Pixel(1, 23), kBlack);
    EXPECT_EQ(Pixel(10, 23), kWhite);
}

TEST_F(RunPainter, ItalicEndIsWrittenAgainOverTheNextBackground) {
    paragraph_.colours = ColourPair{kBlackIndex, ColourPair::kNone};
    PaintOne(FontCode(15, CharFormat::kItalic) + "ab" + FontCode(15, 0) + ColourCode(kBlackIndex, kBlueIndex) + "cd",
             OPAQUE);
    EXPECT_EQ(formatter_.Segments()[1].x, 20);
    EXPECT_EQ(Pixel(21, 10), kBlack) << "the italic b reaches 2 pixels into the next segment";
    EXPECT_EQ(Pixel(20, 2), kBlue) << "the background is there above the glyph";
}

TEST_F(RunPainter, PrintingWritesNearWhiteInBlackAndDrawsNoSegmentBackgrounds) {
    SetPrintJobDevice(dc_.get());
    paragraph_.colours = ColourPair{kPaleIndex, ColourPair::kNone};
    PaintOne("a" + ColourCode(kGreenIndex, kBlueIndex) + "b", OPAQUE);
    EXPECT_EQ(Pixel(4, 10), kBlack) << "250 + 250 + 250 is above 600";
    EXPECT_EQ(Pixel(14, 10), kGreen);
    EXPECT_EQ(Pixel(19, 2), kWhite);
}

TEST_F(RunPainter, InvertRangeComplementsTheCharacters) {
    PaintOne("abcd", TRANSPARENT);
    formatter_.InvertRange(0, 0, 0, 1, 3);
    EXPECT_EQ(Pixel(15, 1), kBlack);
    EXPECT_EQ(Pixel(15, 10), kWhite);
    EXPECT_EQ(Pixel(29, 23), kBlack);
    EXPECT_EQ(Pixel(30, 1), kWhite);
    EXPECT_EQ(Pixel(9, 1), kWhite);
    formatter_.InvertRange(0, 0, 0, 3, 3);
    EXPECT_EQ(Pixel(15, 1), kBlack) << "an empty range changes nothing";
}

TEST_F(RunPainter, DashedLineFromTheCurrentPosition) {
    Clear();
    winplat::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, kBlack));
    const winplat::Selection penIn(dc_.get(), pen.get());
    MoveToEx(dc_.get(), 3, 5, nullptr);
    DrawDashedLine(dc_.get(), 20, 5, 1);
    std::string row;
    for (int x = 0; x < 26; ++x) row += Pixel(x, 5) == kBlack ? '#' : '.';
    EXPECT_EQ(row, "...##..##..##..##..##.....") << "the last dash runs past the end by up to its length - 1";
    MoveToEx(dc_.get(), 0, 7, nullptr);
    DrawDashedLine(dc_.get(), 20, 7, 0);
    EXPECT_EQ(Pixel(0, 7), kWhite);
}

TEST_F(RunPainter, TabAndHardSpaceMarksChangeOnlyTheirOwnPixels) {
    // The marks' rows as drawn at (10, 20) over a red ground: '#' black, '.' the ground as it was.
    const auto rows = [&](int count) {
        std::vector<std::string> out;
        for (int y = 20; y < 20 + count; ++y) {
            std::string row;
            for (int x = 10; x < 10 + kMarkWidth; ++x) row += Pixel(x, y) == kBlack ? '#' : Pixel(x, y) == kRed ? '.' : '?';
            out.push_back(row);
        }
        return out;
    };
    const winplat::GdiObject<HBRUSH> red(CreateSolidBrush(kRed));
    const RECT all{0, 0, 100, 40};
    FillRect(dc_.get(), &all, red.get());
    SetTextColor(dc_.get(), kGreen);
    SetBkColor(dc_.get(), kBlue);
    ASSERT_TRUE(DrawTabMark(0, dc_.get(), 10, 20));
    EXPECT_EQ(rows(kTabMarkRows + 1),
              (std::vector<std::string>{"....#...", "....##..", "#######.", "....##..", "....#...", "........"}));
    EXPECT_EQ(Pixel(9, 22), kRed);
    EXPECT_EQ(Pixel(18, 22), kRed);
    EXPECT_EQ(GetTextColor(dc_.get()) & 0xFFFFFF, kGreen) << "the device's colours are given back";
    EXPECT_EQ(GetBkColor(dc_.get()) & 0xFFFFFF, kBlue);

    FillRect(dc_.get(), &all, red.get());
    ASSERT_TRUE(DrawTabMark(7, dc_.get(), 10, 20));
    EXPECT_EQ(rows(kHardSpaceMarkRows + 1), (std::vector<std::string>{"..#..#..", "..####..", "........"}));
}

TEST_F(RunPainter, TenThousandFormatChangesPaintWhole) {
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += ColourCode(static_cast<uint8_t>(i % 5), static_cast<uint8_t>(i % 4)) + (i % 3 ? "ab " : "cd");
    text_.assign(text.begin(), text.end());
    SetBkMode(dc_.get(), OPAQUE);
    const ParagraphResult result = PaintParagraph(formatter_, paragraph_, text_, ParagraphBox{0, 0, 230});
    EXPECT_EQ(result.bytes, text_.size());
    EXPECT_GT(result.lines, 100);
}

}  // namespace
}  // namespace lect32::test
