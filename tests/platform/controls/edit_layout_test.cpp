#include "controls/edit_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using winplat::controls::CharWidths;
using winplat::controls::EditLine;
using winplat::controls::layOutLines;

// Every byte 10 pixels wide, a blank 5, 'W' 20; tab stops every 40.
CharWidths testWidths() {
    CharWidths w;
    w.advance.fill(10);
    w.advance[' '] = 5;
    w.advance['W'] = 20;
    w.tabStop = 40;
    return w;
}

struct WrapCase {
    const char* name;
    std::string text;
    int width;
    std::vector<EditLine> lines;
};

TEST(EditLayout, WordWrapTable) {
    const WrapCase cases[] = {
        {"empty text is one line", "", 100, {{0, 0, 0}}},
        {"fits", "ab cd", 100, {{0, 5, 5}}},
        {"hard breaks", "ab\r\ncd", 100, {{0, 2, 4}, {4, 2, 6}}},
        {"a final break opens a line", "ab\r\n", 100, {{0, 2, 4}, {4, 0, 4}}},
        // "abc def": abc = 30, blank = 35, d..f = 65 > 50: breaks after the blank.
        {"wraps after the last blank that fits", "abc def", 50, {{0, 4, 4}, {4, 3, 7}}},
        {"exactly the width still fits", "abcde", 50, {{0, 5, 5}}},
        {"one pixel more wraps", "abcde", 49, {{0, 4, 4}, {4, 1, 5}}},
        {"a long word breaks where it stops fitting", "abcdefgh", 30, {{0, 3, 3}, {3, 3, 6}, {6, 2, 8}}},
        {"narrower than a byte keeps one a line", "WW", 5, {{0, 1, 1}, {1, 1, 2}}},
        {"blanks hang past the edge", "ab      cd", 25, {{0, 8, 8}, {8, 2, 10}}},
        {"wrapping and a break", "ab cd\r\nef", 30, {{0, 3, 3}, {3, 2, 7}, {7, 2, 9}}},
        {"no wrap width: hard breaks only", "abc def ghi", 0, {{0, 11, 11}}},
    };
    for (const WrapCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(layOutLines(c.text, testWidths(), c.width), c.lines);
    }
}

TEST(EditLayout, PositionsAndXsOnALine) {
    const CharWidths w = testWidths();
    const std::string text = "a\tbW c";
    const EditLine line{0, text.size(), text.size()};
    // a 0..10, tab to 40, b 40..50, W 50..70, blank 70..75, c 75..85
    const int xs[] = {0, 10, 40, 50, 70, 75, 85};
    for (size_t p = 0; p <= text.size(); ++p) EXPECT_EQ(winplat::controls::xOfPosition(text, line, p, w), xs[p]) << p;
    struct Case {
        int x;
        size_t position;
    };
    const Case cases[] = {{-5, 0}, {4, 0}, {5, 1}, {24, 1}, {26, 2}, {59, 3}, {60, 4}, {200, 6}};
    for (const Case& c : cases) EXPECT_EQ(winplat::controls::positionOfX(text, line, c.x, w), c.position) << c.x;
}

TEST(EditLayout, LineOfPosition) {
    const std::vector<EditLine> lines = layOutLines("ab cd\r\nef", testWidths(), 30);
    const size_t expected[] = {0, 0, 0, 1, 1, 1, 1, 2, 2, 2};
    for (size_t p = 0; p < std::size(expected); ++p)
        EXPECT_EQ(winplat::controls::lineOfPosition(lines, p), expected[p]) << p;
}

}  // namespace
