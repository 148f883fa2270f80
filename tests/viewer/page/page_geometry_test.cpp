// Where a page's objects lie: the layout area from the page style and each object's placement.
#include <gtest/gtest.h>

#include "page/document_properties.h"
#include "page/page.h"
#include "page/page_style.h"
#include "page_test_support.h"
#include "store/mem_reader.h"
#include "store/vazazi_file.h"

namespace {

using lect32::PageObject;
using page_test::object;

lect32::PageStyle styleOfWidth(int16_t width, int16_t left, int16_t right) {
    lect32::PageStyle style;
    style.width = width;
    style.margins = {left, right, 7, 8};  // stored order: left, right, top, bottom
    return style;
}

TEST(PageGeometryTest, PlacementSetsXInTheLayoutWidth) {
    struct Case {
        const char* what;
        uint8_t placement;
        int16_t layoutWidth;
        int16_t width;
        int16_t x;
        int16_t expected;
    };
    const Case cases[] = {
        {"free keeps x", 0, 300, 50, 17, 17},
        {"left", 1, 300, 50, 17, 0},
        {"right", 2, 300, 50, 17, 250},
        {"right of a wider object", 2, 30, 50, 17, -20},
        // 101 / 2 - 50 / 2 = 25, and 25 < 101 - 25 - 50 = 26: one pixel right.
        {"centred 101/50", 3, 101, 50, 0, 26},
        {"centred 100/50: gaps equal", 3, 100, 50, 0, 25},
        {"centred 102/51", 3, 102, 51, 0, 26},
        {"centred 103/50: left gap 26 = right gap 27 - 1", 3, 103, 50, 0, 27},
        {"centred wider than the layout", 3, 40, 50, 9, 0},
        {"centred filling it", 3, 50, 50, 9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page_test::TestPage t;
        t.page.SetLayoutArea(styleOfWidth(c.layoutWidth, 0, 0));
        PageObject o = object(c.x, 0, c.width, 10);
        o.placement = c.placement;
        t.page.InsertObject(o);
        t.page.MeasureObject(0);
        EXPECT_EQ(t.page.Object(0).x, c.expected);
    }
}

// The layout width is the page width less the left and the right margin, which the style keeps
// second in its stored order.
TEST(PageGeometryTest, TheLayoutAreaTakesTheMarginsInTheirStoredOrder) {
    page_test::TestPage t;
    PageObject o = object(0, 0, 60, 10);
    o.placement = 2;
    t.page.InsertObject(o);
    t.page.SetLayoutArea(styleOfWidth(500, 11, 22));
    EXPECT_EQ(t.page.GetLayoutWidth(), 467);
    EXPECT_EQ(t.page.GetLayoutArea().topMargin, 7);
    EXPECT_EQ(t.page.GetLayoutArea().bottomMargin, 8);
    EXPECT_EQ(t.page.Object(0).x, 407) << "setting the area measures every object";
}

// The same from a document's default page style, as the document writer stores it.
TEST(PageGeometryTest, ADocumentsDefaultStyleGivesItsLayoutWidth) {
    REQUIRE_DOCUMENT_WRITER();
    vazazi_test::ScratchFolder scratch;
    std::ofstream(scratch.host("style.json")) << R"({"name": "style", "pages": [{"number": 0}],
        "pageDefaults": {"flags": 2, "width": 500, "leftMargin": 11, "rightMargin": 22, "topMargin": 33,
                         "bottomMargin": 44}})";
    ASSERT_TRUE(tool_runner::run(page_test::writer() + " build " + tool_runner::quoted(scratch.host("style.json")) + " " +
                                 tool_runner::quoted(scratch.host(""))));
    lect32::VazaziFile file;
    ASSERT_EQ(file.Open(scratch.windows("style.lcn").c_str(), false), 1);
    lect32::DocumentProperties properties;
    struct NoIds : lect32::PropertiesIdList {
        void Load(lect32::MemReader&) override {}
        void Save(lect32::MemWriter&) const override {}
        void Clear() override {}
    } ids;
    properties.Read(file, 0, ids);
    page_test::TestPage t;
    t.page.SetLayoutArea(properties.PageDefaults);
    EXPECT_EQ(t.page.GetLayoutWidth(), 500 - 11 - 22);
    EXPECT_EQ(t.page.GetLayoutArea().topMargin, 33);
    EXPECT_EQ(t.page.GetLayoutArea().bottomMargin, 44);
}

TEST(PageGeometryTest, AnObjectThatMovesLetsGoOfItsComposedImages) {
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "pictures kept" : "pictures released");
        page_test::TestPage t;
        lect32::PageServices services = t.services();
        services.keepPictures = keep;
        lect32::Page page(services);
        page.SetLayoutArea(styleOfWidth(300, 0, 0));
        PageObject o = object(5, 0, 50, 10);
        o.placement = 1;
        o.backgroundImage = 4;
        o.workImage = 5;
        page.InsertObject(o);
        page.MeasureObject(0);  // x 5 -> 0
        const std::vector<std::string> released = {"delete image 4", "delete image 5"};
        EXPECT_EQ(t.media.calls, keep ? std::vector<std::string>() : released);
        EXPECT_EQ(page.Object(0).backgroundImage, keep ? 4 : 0);
        t.media.calls.clear();
        page.MeasureObject(0);  // x stays 0
        EXPECT_TRUE(t.media.calls.empty());
    }
}

TEST(PageGeometryTest, AnUpdateSaysWhenTheTextMustBeLaidOutAgain) {
    struct Case {
        const char* what;
        void (*change)(PageObject&);
        int relayout;
    };
    const Case cases[] = {
        {"placement", [](PageObject& o) { o.placement = 3; }, 1},
        {"anchoring", [](PageObject& o) { o.anchoring = 2; }, 1},
        {"flow", [](PageObject& o) { o.flow = 2; }, 1},
        {"size", [](PageObject& o) { o.width = 3; }, 0},
        {"behind text", [](PageObject& o) { o.behindText = 1; }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page_test::TestPage t;
        t.page.InsertObject(object(0, 0, 10, 10));
        PageObject o = t.page.Object(0);
        c.change(o);
        EXPECT_EQ(t.page.UpdateObject(0, o), c.relayout);
        EXPECT_EQ(t.painter.calls, std::vector<std::string>{"layout 0"});
        EXPECT_EQ(t.page.UpdateObject(1, o), 0);
    }
}

// The content box in the owner's client area: inside the spacing (unless text runs over the
// object in front of it) and the border, moved by the page's margins, view offset and origin.
TEST(PageGeometryTest, TheContentBoxLiesInsideSpacingAndBorder) {
    page_test::TestPage t;
    t.page.SetLayoutArea(styleOfWidth(400, 10, 10));
    t.page.SetViewOffset(3, 4);
    t.page.SetOrigin(20, 100);
    PageObject o = object(50, 200, 80, 60);
    o.spacingLeft = 1, o.spacingRight = 2, o.spacingTop = 3, o.spacingBottom = 4;
    o.borderWidth = 5;
    t.page.InsertObject(o);
    o.flow = 2;
    o.y = 300;
    t.page.InsertObject(o);
    const RECT box = t.page.ContentBox(0);
    // left = 10 + 3 + 50 - 20 = 43, top = 7 + 4 + 200 - 100 = 111
    EXPECT_EQ(box.left, 43 + 1 + 5);
    EXPECT_EQ(box.top, 111 + 3 + 5);
    EXPECT_EQ(box.right, 43 + 80 - 2 - 5);
    EXPECT_EQ(box.bottom, 111 + 60 - 4 - 5);
    const RECT over = t.page.ContentBox(1);
    EXPECT_EQ(over.left, 43 + 5);
    EXPECT_EQ(over.bottom, 211 + 60 - 5);
}

}  // namespace
