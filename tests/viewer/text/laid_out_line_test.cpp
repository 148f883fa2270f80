// A laid-out line kept as a value answers and paints as the formatter did when it laid the line
// out, whatever the formatter lays out afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formatter_fixture.h"

namespace lect32::test {
namespace {

class LaidOutLineTest : public FormatterFixture {
protected:
    std::vector<COLORREF> Row(int y, int width) const {
        std::vector<COLORREF> row;
        for (int x = 0; x < width; ++x) row.push_back(Pixel(x, y));
        return row;
    }
    std::vector<std::vector<COLORREF>> Rows(int height, int width) const {
        std::vector<std::vector<COLORREF>> rows;
        for (int y = 0; y < height; ++y) rows.push_back(Row(y, width));
        return rows;
    }
    std::vector<LaidOutLine> LayAll(const std::string& text, int width, TextFormatter::Alignment alignment) {
        text_.assign(text.begin(), text.end());
        formatter_.BeginParagraph(paragraph_);
        std::vector<LaidOutLine> lines;
        size_t at = 0;
        while (at < text_.size()) {
            lines.push_back(LayOutLine(formatter_, std::span<const uint8_t>(text_).subspan(at), width, alignment));
            if (lines.back().Bytes() == 0) break;
            at += lines.back().Bytes();
        }
        return lines;
    }
};

// The protocol through LayOutLine gives the same breaks and places as the six steps by hand.
TEST_F(LaidOutLineTest, LayOutLineBreaksAndPlacesAsTheSteps) {
    const std::string text = "aa bbb " + FontCode(30) + "cc" + FontCode(15) + " dddd eee\tff gg hhhh";
    struct Case {
        int width;
        TextFormatter::Alignment alignment;
    };
    for (const Case c : {Case{120, TextFormatter::kLeft}, Case{90, TextFormatter::kJustified},
                         Case{150, TextFormatter::kCentred}, Case{70, TextFormatter::kRight}}) {
        SCOPED_TRACE(c.width);
        Split(text, c.width);
        std::vector<size_t> bytes;
        std::vector<std::vector<int>> xs;
        for (size_t at = 0; at < text_.size();) {
            const size_t n = LayLine(at, c.width, c.alignment);
            if (n == 0) break;
            bytes.push_back(n);
            xs.push_back(Xs());
            at += n;
        }
        const std::vector<LaidOutLine> lines = LayAll(text, c.width, c.alignment);
        ASSERT_EQ(lines.size(), bytes.size());
        ASSERT_GE(lines.size(), 2u) << "the case must break";
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].Bytes(), bytes[i]) << "line " << i;
            std::vector<int> lineXs;
            for (const TextSegment& s : lines[i].Segments()) lineXs.push_back(s.x);
            EXPECT_EQ(lineXs, xs[i]) << "line " << i;
        }
    }
}

// Lines kept while the formatter goes on: each paints the pixels it painted when it was the
// formatter's line, and its positions stay.
TEST_F(LaidOutLineTest, KeptLinesPaintAndAnswerLikeTheFreshLine) {
    const std::string text = "ab " + FontCode(30) + "CD" + FontCode(15) + " " + ColourCode(2, 255) + "efg hij klm nop";
    text_.assign(text.begin(), text.end());
    formatter_.BeginParagraph(paragraph_);
    std::vector<std::vector<std::vector<COLORREF>>> fresh;
    std::vector<std::vector<int>> freshX;
    std::vector<std::vector<uint16_t>> freshHits;
    std::vector<LaidOutLine> kept;
    size_t at = 0;
    while (at < text_.size()) {
        LaidOutLine line = LayOutLine(formatter_, std::span<const uint8_t>(text_).subspan(at), 80, TextFormatter::kLeft);
        ASSERT_GT(line.Bytes(), 0u);
        Clear();
        formatter_.PaintLine(2, 2, 0, 100);  // the formatter's own line, painted straight away
        fresh.push_back(Rows(60, 110));
        std::vector<int> xs;
        for (size_t i = 0; i <= line.Bytes(); ++i) xs.push_back(formatter_.GetCharX(i).x);
        freshX.push_back(xs);
        std::vector<uint16_t> hits;
        for (int x = 0; x < 100; x += 3) hits.push_back(formatter_.GetPositionAtX(x));
        freshHits.push_back(hits);
        kept.push_back(std::move(line));
        at += kept.back().Bytes();
    }
    ASSERT_GE(kept.size(), 3u);
    text_.assign(text_.size(), 'z');  // the text the lines came from changes under them
    for (size_t i = kept.size(); i-- > 0;) {
        SCOPED_TRACE(i);
        Clear();
        kept[i].PaintLine(2, 2, 0, 100);
        EXPECT_EQ(Rows(60, 110), fresh[i]);
        for (size_t p = 0; p < freshX[i].size(); ++p) EXPECT_EQ(kept[i].GetCharX(p).x, freshX[i][p]) << "position " << p;
        std::vector<uint16_t> hits;
        for (int x = 0; x < 100; x += 3) hits.push_back(kept[i].GetPositionAtX(x));
        EXPECT_EQ(hits, freshHits[i]);
    }
}

// A kept line puts back the font the device had: painting it does not leave its fonts selected.
TEST_F(LaidOutLineTest, KeptLineRestoresTheDeviceFont) {
    const std::string text = "ab " + FontCode(30) + "CD";
    text_.assign(text.begin(), text.end());
    formatter_.BeginParagraph(paragraph_);
    LaidOutLine line = LayOutLine(formatter_, text_, 200, TextFormatter::kLeft);
    formatter_.ReleaseFonts();
    const HGDIOBJ before = GetCurrentObject(dc_.get(), OBJ_FONT);
    line.PaintLine(0, 0, 0, 200);
    EXPECT_EQ(GetCurrentObject(dc_.get(), OBJ_FONT), before);
    EXPECT_GT(line.GetCharX(3).x, 0);
    EXPECT_EQ(GetCurrentObject(dc_.get(), OBJ_FONT), before);
}

// A line cut again at another width starts from what was in force at its start, not from the
// formats its first cut passed.
TEST_F(LaidOutLineTest, CutAgainStartsFromTheLineStart) {
    const std::string text = "aa " + FontCode(30) + "BB " + ColourCode(2, 255) + "cc dd ee ff gg";
    for (int width : {40, 70, 100}) {
        SCOPED_TRACE(width);
        text_.assign(text.begin(), text.end());
        formatter_.BeginParagraph(paragraph_);
        const LaidOutLine fresh = LayOutLine(formatter_, text_, width, TextFormatter::kLeft);
        Split(text, 200);  // begun again and cut once, at another width
        LineOptions again;
        again.again = true;
        const LaidOutLine cut = LayOutLine(formatter_, text_, width, TextFormatter::kLeft, again);
        EXPECT_EQ(cut.Bytes(), fresh.Bytes());
        EXPECT_EQ(cut.Fonts().size(), fresh.Fonts().size());
        EXPECT_EQ(cut.Colours().size(), fresh.Colours().size());
        EXPECT_EQ(cut.Height(), fresh.Height());
        ASSERT_EQ(cut.Segments().size(), fresh.Segments().size());
        for (size_t i = 0; i < cut.Segments().size(); ++i) EXPECT_EQ(cut.Segments()[i].width, fresh.Segments()[i].width);
    }
}

// A line that holds a tab may be cut again at the width its tab stops ask for: it is cut from
// its start, as a line cut once at that width.
TEST_F(LaidOutLineTest, TabBreakWidthCutsTheLineAgainFromItsStart) {
    const std::string text = "a\tbb " + FontCode(30) + "cc dd ee ff gg";
    text_.assign(text.begin(), text.end());
    formatter_.BeginParagraph(paragraph_);
    const LaidOutLine once = LayOutLine(formatter_, text_, 120, TextFormatter::kLeft);
    formatter_.BeginParagraph(paragraph_);
    LineOptions options;
    int asked = 0;
    options.tabBreakWidth = [&](int width) {
        ++asked;
        EXPECT_EQ(width, 300);
        return 120;
    };
    const LaidOutLine again = LayOutLine(formatter_, text_, 300, TextFormatter::kLeft, options);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(again.Bytes(), once.Bytes());
    EXPECT_LT(again.Bytes(), text_.size()) << "the line must break at 120";
    ASSERT_EQ(again.Segments().size(), once.Segments().size());
    for (size_t i = 0; i < again.Segments().size(); ++i) {
        EXPECT_EQ(again.Segments()[i].x, once.Segments()[i].x) << i;
        EXPECT_EQ(again.Segments()[i].width, once.Segments()[i].width) << i;
    }
}

// An empty text is one line of no bytes with the paragraph font's height.
TEST_F(LaidOutLineTest, EmptyTextIsOneEmptyLine) {
    formatter_.BeginParagraph(paragraph_);
    const LaidOutLine line = LayOutLine(formatter_, {}, 100, TextFormatter::kLeft);
    EXPECT_EQ(line.Bytes(), 0u);
    EXPECT_EQ(line.Height(), 24) << "ascent 18 + descent 6 of the 15-point test face";
}

}  // namespace
}  // namespace lect32::test
