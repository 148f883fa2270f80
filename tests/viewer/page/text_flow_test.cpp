// Text flow around a page's objects: the band and span FitTextLine gives for a line, as a table.
#include <gtest/gtest.h>

#include "page/page.h"
#include "page/page_style.h"
#include "page_test_support.h"

namespace {

using lect32::TextLine;
using Kind = TextLine::Kind;

struct Placed {
    int16_t x;
    int32_t y;
    int16_t width;
    int16_t height;
    uint8_t flow = 0;
    uint8_t behind = 0;
    bool parked = false;  // an anchored object waiting for its mark
};

struct FlowCase {
    const char* what;
    std::vector<Placed> objects;
    int32_t y;
    int32_t minimumHeight;
    uint16_t first;
    Kind kind;
    int16_t spanLeft;
    int16_t spanWidth;
    int32_t top;
    int32_t height;
    int32_t behind;
    uint16_t returned;
};

constexpr int32_t kUnlimited = TextLine::kUnlimited;

// Usable width 300, minimum span 30.
const FlowCase kCases[] = {
    {"no objects", {}, 5, 10, 0, Kind::NoObjects, 0, 300, 5, kUnlimited, 0, 0},
    {"text above the first object", {{0, 100, 50, 50}}, 0, 10, 0, Kind::Span, 0, 300, 0, 100, 0, 0},
    {"a band too low goes on below the object", {{0, 100, 50, 50}}, 95, 10, 0, Kind::NoObjects, 0, 300, 150, kUnlimited, 0, 1},
    {"beside the object (flow 0)", {{0, 0, 100, 50}}, 10, 10, 0, Kind::Span, 100, 200, 10, 40, 0, 0},
    {"no text in the band (flow 1)", {{0, 0, 100, 50, 1}}, 10, 10, 0, Kind::NoObjects, 0, 300, 50, kUnlimited, 0, 1},
    {"text over the object (flow 2)", {{0, 0, 100, 50, 2}}, 10, 10, 0, Kind::Span, 0, 300, 10, 40, 0, 0},
    {"an object behind the text", {{0, 0, 100, 50, 0, 1}}, 10, 10, 0, Kind::Span, 100, 200, 10, 40, 1, 0},
    {"the widest of several spans", {{50, 0, 20, 100}, {200, 0, 30, 100}}, 0, 10, 0, Kind::Span, 70, 130, 0, 100, 0, 0},
    {"a span of exactly the minimum is too narrow", {{0, 0, 135, 40}, {165, 0, 135, 40}}, 0, 10, 0,
     Kind::NoObjects, 0, 300, 40, kUnlimited, 0, 2},
    {"a span one wider than the minimum", {{0, 0, 135, 40}, {166, 0, 134, 40}}, 0, 10, 0, Kind::Span, 135, 31, 0, 40, 0, 0},
    // A(0..100, 0..20) and B(200..250, 10..110): bands 0-10 and 10-20 are lower than 30, the band
    // from 20 on lies beside B alone.
    {"the minimum height passes short bands", {{0, 0, 100, 20}, {200, 10, 50, 100}}, 0, 30, 0, Kind::Span, 0, 200, 20, 90, 0, 1},
    {"a band ends where the next object starts", {{0, 0, 100, 20}, {200, 10, 50, 100}}, 0, 5, 0, Kind::Span, 100, 200, 0, 10, 0, 0},
    {"an object inside another's part is passed over", {{0, 0, 200, 50}, {50, 0, 50, 60}}, 0, 10, 0, Kind::Span, 200, 100, 0, 50, 0, 0},
    {"objects before the first given are not looked at", {{0, 0, 300, 200}, {0, 250, 300, 20}}, 50, 10, 1,
     Kind::Span, 0, 300, 50, 200, 0, 1},
    {"the first given is passed when it ends above the line", {{0, 0, 300, 20}, {0, 100, 300, 20}}, 30, 10, 0,
     Kind::Span, 0, 300, 30, 70, 0, 1},
    {"a parked anchored object is no obstacle", {{0, 0, 300, 20}, {0, 0, 300, 20, 0, 0, true}}, 30, 10, 0,
     Kind::NoObjects, 0, 300, 30, kUnlimited, 0, 1},
    {"a span right of every object", {{0, 0, 250, 50}}, 0, 10, 0, Kind::Span, 250, 50, 0, 50, 0, 0},
    {"a span left of every object", {{260, 0, 40, 50}}, 0, 10, 0, Kind::Span, 0, 260, 0, 50, 0, 0},
};

void place(lect32::Page& page, const std::vector<Placed>& objects) {
    lect32::PageStyle style;
    style.width = 300;
    style.margins = {0, 0, 0, 0};
    page.SetLayoutArea(style);
    for (const Placed& p : objects) {
        lect32::PageObject o = page_test::object(p.x, p.y, p.width, p.height);
        o.flow = p.flow;
        o.behindText = p.behind;
        if (p.parked) o.anchoring = 2, o.anchorId = 1;
        page.InsertObject(o);
    }
    if (std::any_of(objects.begin(), objects.end(), [](const Placed& p) { return p.parked; })) page.DetachAnchoredObjects();
}

TEST(TextFlowTest, FitsEachLineBesideTheObjects) {
    for (const FlowCase& c : kCases) {
        SCOPED_TRACE(c.what);
        page_test::TestPage t;
        place(t.page, c.objects);
        TextLine line;
        line.reserved1 = 5;
        line.reserved2 = 6;
        const uint16_t returned = t.page.FitTextLine(c.y, line, c.minimumHeight, c.first);
        EXPECT_EQ(line.kind, c.kind);
        EXPECT_EQ(line.spanLeft, c.spanLeft);
        EXPECT_EQ(line.spanWidth, c.spanWidth);
        EXPECT_EQ(line.top, c.top);
        EXPECT_EQ(line.height, c.height);
        EXPECT_EQ(line.behindText, c.behind);
        EXPECT_EQ(returned, c.returned);
        EXPECT_EQ(line.reserved1, 0);
        EXPECT_EQ(line.reserved2, 0);
        EXPECT_EQ(t.page.GetUsableWidth(), 300);
        EXPECT_TRUE(t.painter.fills.empty()) << "no background brush: nothing is filled";
    }
}

// Consecutive lines, each starting at the last band's end, walk the whole page to its end.
TEST(TextFlowTest, LinesDownThePageReachTheEndOfTheObjects) {
    page_test::TestPage t;
    place(t.page, {{0, 0, 100, 40}, {150, 20, 150, 40}, {0, 100, 300, 10, 1}});
    std::vector<std::tuple<Kind, int16_t, int16_t, int32_t, int32_t>> lines;
    int32_t y = 0;
    uint16_t first = 0;
    for (int n = 0; n < 10; ++n) {
        TextLine line;
        first = t.page.FitTextLine(y, line, 1, first);
        lines.emplace_back(line.kind, line.spanLeft, line.spanWidth, line.top, line.height);
        if (line.kind == Kind::NoObjects) break;
        y = line.top + line.height;
    }
    const std::vector<std::tuple<Kind, int16_t, int16_t, int32_t, int32_t>> expected = {
        {Kind::Span, 100, 200, 0, 20},   // beside the first object
        {Kind::Span, 100, 50, 20, 20},   // between the two
        {Kind::Span, 0, 150, 40, 20},    // beside the second
        {Kind::Span, 0, 300, 60, 40},    // free down to the third
        {Kind::NoObjects, 0, 300, 110, kUnlimited},  // the third takes its whole band
    };
    EXPECT_EQ(lines, expected);
}

// With a background brush, the gaps that do not take text are filled with the page background.
TEST(TextFlowTest, GapsLeftWithoutTextAreFilled) {
    struct FillCase {
        const char* what;
        std::vector<Placed> objects;
        std::vector<RECT> fills;
    };
    const FillCase cases[] = {
        {"gaps beside the span", {{50, 0, 20, 100}, {200, 0, 30, 100}}, {{0, 0, 50, 100}, {230, 0, 300, 100}}},
        {"the span of a band without text", {{50, 0, 20, 100, 1}}, {{0, 0, 50, 100}, {70, 0, 300, 100}}},
        {"not the span of a band without text behind an object", {{50, 0, 20, 100, 1, 1}}, {{0, 0, 50, 100}}},
        {"no gap", {{0, 0, 300, 100}}, {}},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(c.what);
        page_test::TestPage t;
        place(t.page, c.objects);
        t.page.SetBackgroundBrush(true);
        TextLine line;
        line.top = 0;
        line.height = 100;
        t.page.FindFreeSpan(0, static_cast<uint16_t>(c.objects.size() - 1), line);
        ASSERT_EQ(t.painter.fills.size(), c.fills.size());
        for (size_t i = 0; i < c.fills.size(); ++i) {
            EXPECT_EQ(t.painter.fills[i].left, c.fills[i].left);
            EXPECT_EQ(t.painter.fills[i].top, c.fills[i].top);
            EXPECT_EQ(t.painter.fills[i].right, c.fills[i].right);
            EXPECT_EQ(t.painter.fills[i].bottom, c.fills[i].bottom);
        }
    }
}

}  // namespace
