#include "text/text_formatter.h"

#include <gtest/gtest.h>

#include <vector>

#include "formatter_fixture.h"
#include "text/marker_label.h"

namespace lect32::test {
namespace {

using Items = std::vector<uint8_t>;
using Ints = std::vector<int>;

class Formatter : public FormatterFixture {};

TEST_F(Formatter, SplitCutsSegmentsAtCodesAndEndsAfterTheEndCode) {
    EXPECT_EQ(Split("ab cd" + FontCode(30) + "ef\nzz"), 15u);
    EXPECT_EQ(formatter_.Items(), (Items{2, 3, 1, 0, 1, 0, 10}));
    ASSERT_EQ(formatter_.Segments().size(), 2u);
    const TextSegment& first = formatter_.Segments()[0];
    const TextSegment& second = formatter_.Segments()[1];
    EXPECT_EQ((Ints{first.start, first.length, first.width, first.spaces}), (Ints{0, 5, 45, 1}));
    EXPECT_EQ((Ints{second.start, second.length, second.width, second.spaces}), (Ints{12, 2, 40, 0}));
    EXPECT_EQ(formatter_.Metrics().ascent, 36) << "raised to the 30-point font";
    EXPECT_EQ(formatter_.Metrics().descent, 12);
}

TEST_F(Formatter, SplitCountsNoBreakSpacesAndStopsAtAWidth) {
    Split("a\xA0" "b c");
    EXPECT_EQ(formatter_.Segments()[0].spaces, 2);
    // Words of 40 pixels and spaces of 5: the walk stops at the first space where the run
    // measured so far reaches the width.
    EXPECT_EQ(Split("aaaa aaaa aaaa aaaa", 100), 14u) << "'aaaa aaaa aaaa ' is 135 wide; 'aaaa aaaa ' is 90";
    EXPECT_EQ(formatter_.Segments().back().length, 15);
    EXPECT_EQ(Split("aaaa aaaa"), 3u + 1u) << "no width, no end code: the number of items";
}

TEST_F(Formatter, EmptyParagraphIsOneEmptySegmentAndTakesNoBytes) {
    EXPECT_EQ(Split(""), 0u);
    ASSERT_EQ(formatter_.Segments().size(), 1u);
    EXPECT_EQ(formatter_.Segments()[0].length, 0);
    EXPECT_EQ(formatter_.BreakLine(100), 0u);
}

TEST_F(Formatter, WholeLineGivesItsBytesAndTheEndCodeOneMore) {
    Split("ab" + ColourCode(2, 255) + "cd");
    formatter_.LayoutLine(0, 0, TextFormatter::kLeft, false);
    EXPECT_EQ(formatter_.BreakLine(200), 8u);
    EXPECT_EQ(formatter_.Segments().size(), 2u) << "nothing cut";
    Split("ab" + ColourCode(2, 255) + "cd\n");
    formatter_.LayoutLine(0, 0, TextFormatter::kLeft, false);
    EXPECT_EQ(formatter_.BreakLine(200), 9u);
}

TEST_F(Formatter, BreakCases) {
    const struct {
        const char* name;
        std::string text;
        uint16_t right;
        size_t bytes;
        Ints lengths;
    } cases[] = {
        // "aaaa bbbb" is 85 wide: it fits only below a right x of 86.
        {"fits strictly", "aaaa bbbb", 86, 9, {9}},
        {"ends exactly at right x", "aaaa bbbb", 85, 5, {5}},
        {"prefix with its space", "aaaa bbbb", 46, 5, {5}},
        {"prefix without its space", "aaaa bbbb", 45, 4, {4}},
        {"over-long word stays whole", "aaaaaaaaaa", 50, 10, {10}},
        {"ends at the candidate before", "aa " + FontCode(30) + "bbbbbbbbbb", 100, 3, {3}},
        {"candidate is the part up to its last space", "aa bb" + FontCode(30) + "cccccccc", 100, 3, {3}},
        {"segment followed by a space is a candidate", "aa" + FontCode(30) + " bbbbbbbbbb", 25, 2, {2}},
        {"a leading space fits before the word", "aa" + FontCode(30) + " bbbbbbbbbb", 60, 10, {2, 1}},
        // A word after a tab stays on the line even with a candidate before it.
        {"space-less word after a tab", "a a\tbbbbbbbbbbbb", 100, 16, {3, 12}},
    };
    for (const auto& c : cases) {
        Split(c.text);
        formatter_.LayoutLine(0, 0, TextFormatter::kLeft, false);
        EXPECT_EQ(formatter_.BreakLine(c.right), c.bytes) << c.name;
        EXPECT_EQ(Lengths(), c.lengths) << c.name;
    }
}

TEST_F(Formatter, BreakCutsTheStacksAndItemsToTheBreak) {
    Split("aa " + FontCode(30) + ColourCode(2, 3) + "bbbbbbbbbb");
    formatter_.LayoutLine(0, 0, TextFormatter::kLeft, false);
    EXPECT_EQ(formatter_.Fonts().size(), 2u);
    EXPECT_EQ(formatter_.BreakLine(100), 3u);
    EXPECT_EQ(formatter_.Items(), (Items{2, 3, 1, 0}));
    EXPECT_EQ(formatter_.Fonts().size(), 1u);
    EXPECT_EQ(formatter_.Colours().size(), 1u);
    EXPECT_EQ(formatter_.Metrics().ascent, 18) << "the metrics where the candidate stood";
}

TEST_F(Formatter, WordAfterATabCutsTheTablesAfterIt) {
    Split("a a\tbbbbbbbbbbbb" + ColourCode(2, 3) + "cc dd");
    formatter_.LayoutLine(0, 0, TextFormatter::kLeft, false);
    EXPECT_EQ(formatter_.BreakLine(100), 16u);
    EXPECT_EQ(formatter_.Items(), (Items{2, 3, 1, 0, 9, 0})) << "the colour change after the word waits";
    EXPECT_EQ(formatter_.Colours().size(), 1u);
}

TEST_F(Formatter, TrimTakesOneTrailingSpace) {
    Split("aaaa  ");
    formatter_.TrimTrailingSpace();
    EXPECT_EQ(formatter_.Segments()[0].length, 5);
    EXPECT_EQ(formatter_.Segments()[0].width, 45);
    EXPECT_EQ(formatter_.Segments()[0].spaces, 1);
    Split("aa" + ColourCode(2, 3) + " ");
    formatter_.TrimTrailingSpace();
    EXPECT_EQ(formatter_.Segments().size(), 1u) << "an emptied segment goes with its item";
    EXPECT_EQ(formatter_.Items(), (Items{2, 3, 1, 0, 2}));
}

TEST_F(Formatter, Alignments) {
    const struct {
        TextFormatter::Alignment alignment;
        bool last;
        int x;
        int extra;
    } cases[] = {
        {TextFormatter::kLeft, false, 10, 0},      {TextFormatter::kRight, false, 115, 0},
        {TextFormatter::kCentred, false, 62, 0},   {TextFormatter::kJustified, false, 10, 105},
        {TextFormatter::kJustified, true, 10, 0},
    };
    for (const auto& c : cases) {
        Split("aaaa bbbb");
        EXPECT_EQ(formatter_.LayoutLine(10, 200, c.alignment, c.last), c.x + 85) << int{c.alignment};
        EXPECT_EQ(formatter_.Segments()[0].x, c.x) << int{c.alignment};
        EXPECT_EQ(formatter_.Segments()[0].extra, c.extra) << int{c.alignment};
    }
    Split("aaaaaaaaa");
    formatter_.LayoutLine(0, 200, TextFormatter::kJustified, false);
    EXPECT_EQ(formatter_.Segments()[0].extra, 0) << "no spaces, no justification";
}

TEST_F(Formatter, JustificationSharesFollowTheSpacesBefore) {
    // Three segments with 1, 2 and 0 spaces: 45 + 40 + 20 = 105 wide, 95 extra over 3 spaces.
    Split("aa bb" + ColourCode(2, 255) + "c d e" + ColourCode(3, 255) + "ff");
    formatter_.LayoutLine(0, 200, TextFormatter::kJustified, false);
    EXPECT_EQ(Xs(), (Ints{0, 45 + 31, 85 + 95}));
    std::vector<int> extras;
    for (const TextSegment& s : formatter_.Segments()) extras.push_back(s.extra);
    EXPECT_EQ(extras, (Ints{31, 64, 0})) << "95 x 1 / 3 = 31, 95 x 3 / 3 - 31 = 64, the last 95 - 95";
}

TEST_F(Formatter, TabKinds) {
    const struct {
        const char* name;
        uint8_t kind;
        std::string after;
        int x;
    } cases[] = {
        {"left", TabStop::kLeft, "bbbb", 100},
        {"right", TabStop::kRight, "bbbb", 60},
        {"centred", TabStop::kCentred, "bbbb", 80},
        {"decimal at the separator's middle", TabStop::kDecimal, "bb.bb", 100 - 20 - 2},
        {"decimal without separator", TabStop::kDecimal, "bbbb", 60},
        {"justified", TabStop::kJustified, "bbbb", 100},
    };
    for (const auto& c : cases) {
        formatter_.Tabs().SetStops(std::vector<TabStop>{{c.kind, 100}});
        Split("aa\t" + c.after);
        formatter_.LayoutLine(0, 0, TextFormatter::kLeft, false);
        EXPECT_EQ(Xs(), (Ints{0, c.x})) << c.name;
    }
}

TEST_F(Formatter, DefaultStopsAndTwoTabsInARow) {
    Split("aa\tb\t\tc");
    formatter_.LayoutLine(0, 0, TextFormatter::kLeft, false);
    EXPECT_EQ(Xs(), (Ints{0, 50, 150})) << "stops every 50: 50, then 100 passed over by the second tab";
    EXPECT_TRUE(formatter_.Metrics().tab);
}

TEST_F(Formatter, TabMakesRightAlignedLineLeftAndJustifiesOnlyAfterAJustifiedStop) {
    Split("aa\tbb");
    formatter_.LayoutLine(0, 200, TextFormatter::kRight, false);
    EXPECT_EQ(Xs(), (Ints{0, 50}));

    formatter_.Tabs().SetStops(std::vector<TabStop>{{TabStop::kJustified, 100}});
    Split("a a\tbb cc");
    formatter_.LayoutLine(0, 200, TextFormatter::kJustified, false);
    EXPECT_EQ(Xs(), (Ints{0, 100}));
    EXPECT_EQ(formatter_.Segments()[0].extra, 0) << "the text before the stop stays";
    EXPECT_EQ(formatter_.Segments()[1].extra, 100 - 45);

    formatter_.Tabs().SetStops(std::vector<TabStop>{{TabStop::kLeft, 100}});
    Split("a a\tbb cc");
    formatter_.LayoutLine(0, 200, TextFormatter::kJustified, false);
    EXPECT_EQ(formatter_.Segments()[1].extra, 0) << "after a left stop nothing is justified";
}

TEST_F(Formatter, RaisedAndLoweredShifts) {
    const struct {
        int16_t size;
        uint8_t flags;
        int dpi;
        int shift;
    } cases[] = {
        {10, CharFormat::kRaised, 96, -6},  // h 13, offset 5
        {10, CharFormat::kLowered, 96, 4},
        {7, CharFormat::kRaised, 96, -4},   // offset 3 up to 7 points
        {14, CharFormat::kRaised, 96, -7},  // h 19, 3/10 -> 6
        {12, CharFormat::kLowered, 96, 4},  // h 16, 3/10 -> 5
        {11, CharFormat::kLowered, 96, 5},  // h 15, 4/10 -> 6
        {10, CharFormat::kRaised | CharFormat::kLowered, 96, -6},
        {10, 0, 96, 0},
        {10, CharFormat::kRaised, 300, -18},  // h 42, offset 17
    };
    for (const auto& c : cases)
        EXPECT_EQ(BaselineShift(CharFormat{0, c.size, 3, c.flags}, c.dpi), c.shift) << c.size << " " << int{c.flags};
}

TEST_F(Formatter, RaisedTextRaisesTheLineAscent) {
    Split("a" + FontCode(15, CharFormat::kRaised) + "b");
    const StackedFont& raised = formatter_.Fonts().back();
    EXPECT_EQ(raised.shift, -(MulDiv(20, 3, 10) + 1));
    EXPECT_EQ(formatter_.Metrics().ascent, std::max(18, raised.ascent - raised.shift));
}

TEST_F(Formatter, ShadowWidensSegmentsAndLineMetrics) {
    Split(ShadowCode(2, -2, 3) + "ab");
    EXPECT_EQ(formatter_.Segments()[0].width, 20 + 2);
    EXPECT_EQ(formatter_.Metrics().descent, 6 + 3);
    Split(ShadowCode(2, 1, -4) + "ab");
    EXPECT_EQ(formatter_.Metrics().ascent, 18 + 4);
}

TEST_F(Formatter, ItalicEndRecordsItsOverhang) {
    Split(FontCode(15, CharFormat::kItalic) + "ab");
    const TextSegment& s = formatter_.Segments()[0];
    EXPECT_EQ(s.overhang, 2) << "C = -em / 10";
    EXPECT_EQ(s.lastFullWidth, 10);
}

TEST_F(Formatter, UnderlineProbeFindsTheFaceUnderline) {
    // 40-pixel em: underline 2 rows thick, 4 below the baseline. (The probe's fallback is 2 and 1.)
    paragraph_.chars.size = 30;
    Split("a");
    const StackedFont& font = formatter_.UnderlineOf(0);
    EXPECT_EQ(font.underlineOffset, 4);
    EXPECT_EQ(font.underlineThickness, 2);
}

TEST_F(Formatter, UnderlineWhilePrintingByFormula) {
    SetPrintJobDevice(dc_.get());
    paragraph_.chars.size = 30;  // 40 pixels: thickness 2, offset 2
    Split("a");
    const StackedFont& font = formatter_.UnderlineOf(0);
    EXPECT_EQ(font.underlineOffset, 40 / 15);
    EXPECT_EQ(font.underlineThickness, 40 / 20);
}

TEST_F(Formatter, PositionsOnTheLine) {
    Split("ab cd" + FontCode(30) + "ef");
    formatter_.LayoutLine(0, 0, TextFormatter::kLeft, false);
    EXPECT_EQ(formatter_.GetCharX(0).x, 0);
    EXPECT_EQ(formatter_.GetCharX(3).x, 25);
    EXPECT_EQ(formatter_.GetCharX(13).x, 45 + 20);
    EXPECT_EQ(formatter_.GetCharX(13).ascent, 36);
    EXPECT_EQ(formatter_.GetPositionAtX(27), 3u);
    EXPECT_EQ(formatter_.GetPositionAtX(74), 13u) << "nearest to 65";
    EXPECT_EQ(formatter_.GetLineExtent(), (std::pair<int, int>{0, 85}));
    formatter_.OffsetSegments(7);
    EXPECT_EQ(formatter_.GetLineExtent(), (std::pair<int, int>{7, 92}));
}

TEST_F(Formatter, LinesOfAParagraphCarryTheFormatInForce) {
    const std::string text = "aaaa " + FontCode(30) + "bbbb cccc dddd";
    Split(text);
    size_t from = 0;
    std::vector<size_t> lines;
    while (from < text_.size()) {
        const size_t n = LayLine(from, 120);
        ASSERT_GT(n, 0u);
        lines.push_back(n);
        from += n;
    }
    EXPECT_EQ(lines, (std::vector<size_t>{5, 12, 5, 4}));
    EXPECT_EQ(formatter_.Segments()[0].width, 80) << "the 30-point font stays in force on later lines";
}

TEST_F(Formatter, TenThousandFormatChangesLayOutWhole) {
    std::string text;
    for (int i = 0; i < 10000; ++i) text += ColourCode(static_cast<uint8_t>(i % 5), 255) + (i % 3 ? "ab " : "cd");
    Split(text);
    size_t from = 0, lines = 0, segments = 0;
    while (from < text_.size()) {
        const size_t n = LayLine(from, 600);
        ASSERT_GT(n, 0u) << "at " << from;
        from += n;
        ++lines;
        segments += formatter_.Segments().size();
    }
    EXPECT_EQ(from, text_.size());
    EXPECT_GT(segments, 9999u) << "every run placed on some line";
    EXPECT_GT(lines, 50u);
}

TEST_F(Formatter, ScanSetsThePartsTheCodesSet) {
    const std::string text = "a" + FontCode(12, CharFormat::kItalic) + ColourCode(3, 255) + "b" + LinkStart(0) + "c";
    text_.assign(text.begin(), text.end());
    TextFormat format;
    format.Reset();
    TextFormatter::ScanControlCodes(text_, format);
    EXPECT_TRUE(format.Has(kPartChar));
    EXPECT_EQ(format.chars.size, 12);
    EXPECT_TRUE(format.Has(kPartColours));
    EXPECT_EQ(format.colours, (ColourPair{3, 255}));
    EXPECT_FALSE(format.Has(kPartShadow)) << "no shadow code";
    EXPECT_TRUE(format.present[20]) << "a link still open at the end";
    format.Reset();
    text_.push_back(0x15);
    text_.push_back(0x15);
    TextFormatter::ScanControlCodes(text_, format);
    EXPECT_FALSE(format.present[20]);
}

TEST_F(Formatter, TabPositionAndNoBreakSpaceShare) {
    Split("aa\tbb");
    formatter_.LayoutLine(0, 0, TextFormatter::kLeft, false);
    EXPECT_EQ(formatter_.GetCharX(2).x, 50) << "a tab answers with its stop";
    EXPECT_EQ(formatter_.GetCharX(4).x, 60);
    Split("a\xA0" "b c");
    formatter_.LayoutLine(0, 100, TextFormatter::kJustified, false);
    EXPECT_EQ(formatter_.Segments()[0].extra, 100 - 40);
    // 60 extra over 2 spaces: the platform widens the no-break space and the plain space by 30
    // each, as the formatter counted them.
    EXPECT_EQ(formatter_.GetCharX(2).x, 10 + 5 + 30);
    EXPECT_EQ(formatter_.GetCharX(4).x, 10 + 5 + 30 + 10 + 5 + 30);
}

TEST_F(Formatter, ListMarkers) {
    MarkerLabel marker;
    paragraph_.marker.kind = 2;
    paragraph_.marker.bytes = {1, '.', 0};
    marker.Build(dc_.get(), paragraph_, 28);
    EXPECT_EQ(marker.Text(), "AB.");
    EXPECT_EQ(marker.Width(), 10 + 10 + 5);
    EXPECT_EQ(marker.Ascent(), 18);
    paragraph_.marker.kind = 1;
    paragraph_.marker.bytes = {0, 0x6C, 0};
    paragraph_.chars.size = 10;  // 3/4 is 7 points, raised to 8: an 11-pixel em
    marker.Build(dc_.get(), paragraph_, 1);
    EXPECT_EQ(marker.Text(), "\x6C");
    EXPECT_EQ(marker.Ascent(), MulDiv(900, 11, 1000));
    Clear();
    marker.Draw(dc_.get(), 0, 0, colours_);
    EXPECT_EQ(Pixel(1, 9), RGB(0, 0, 0)) << "drawn in the marker's colour 0";
}

// A bullet is the style's own character in the marker face; 0 there means no character at all.
TEST_F(Formatter, BulletsDrawTheStylesCharacter) {
    paragraph_.marker.kind = 1;
    paragraph_.chars.size = 10;
    const auto build = [&](uint8_t character) {
        paragraph_.marker.bytes = {2, character, 0};  // the numbering style byte does not matter
        MarkerLabel marker;
        marker.Build(dc_.get(), paragraph_, 3);
        return marker;
    };
    const MarkerLabel round = build(0x6C);
    const MarkerLabel square = build(0x6F);
    EXPECT_EQ(round.Text(), "\x6C");
    EXPECT_EQ(square.Text(), "\x6F");
    EXPECT_NE(round.Width(), square.Width()) << "each measured as itself";
    EXPECT_EQ(square.Ascent(), round.Ascent()) << "the same marker face and size";

    const MarkerLabel none = build(0);
    EXPECT_EQ(none.Text(), "");
    EXPECT_EQ(none.Width(), 0);
    EXPECT_EQ(none.Ascent(), round.Ascent()) << "the line still has the marker's height";
    Clear();
    none.Draw(dc_.get(), 0, 0, colours_);
    for (int x = 0; x < 12; ++x) {
        for (int y = 0; y < 12; ++y) ASSERT_EQ(Pixel(x, y), RGB(255, 255, 255)) << x << "," << y;
    }
    square.Draw(dc_.get(), 0, 0, colours_);
    int inked = 0;
    for (int x = 0; x < 12; ++x) {
        for (int y = 0; y < 12; ++y) inked += Pixel(x, y) == RGB(0, 0, 0);
    }
    EXPECT_GT(inked, 0) << "a bullet that is drawn";
}

TEST_F(Formatter, DamagedCodesAreCountedNotRead) {
    EXPECT_EQ(Split(std::string("ab\x01\x00", 4)), 3u + 3u) << "items: three, the segment, two passed bytes";
    formatter_.LayoutLine(0, 0, TextFormatter::kLeft, false);
    EXPECT_EQ(formatter_.BreakLine(200), 4u);
}

}  // namespace
}  // namespace lect32::test
