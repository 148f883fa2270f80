// The document view in its LCNDOCUMENT window: painted rows against small goldens, a paint
// clipped to a region against the same region of a whole paint, scrolled pixels against a fresh
// paint at the new position, positions to points and back, and the window's messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document_view_support.h"
#include "page/table_object_row.h"
#include "pixmill/pixmill.h"
#include "text/control_codes.h"
#include "winplat/owners.h"

namespace document_view_test {
namespace {

// The pixels of 'image' inside 'box'.
std::vector<uint32_t> Region(const winplat::test::Image& image, const RECT& box) {
    EXPECT_LE(box.right, image.width);
    EXPECT_LE(box.bottom, image.height);
    std::vector<uint32_t> out;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) out.push_back(image.pixels[static_cast<size_t>(y * image.width + x)]);
    return out;
}

WPARAM Words(int low, int high) { return static_cast<WPARAM>((low & 0xFFFF) | (high & 0xFFFF) << 16); }

const std::string kWords = "aaa bb cccc dd eee ffff gg hhh ii jjjj kk lll mmmm nn ooo pp qqqq rr sss tt";

class DocumentWindowTest : public WindowedView {};

TEST_F(DocumentWindowTest, BorderAndShadowAcrossTwoBands) {
    // A picture at the right from y 30 to 60 narrows the band the paragraph's second line takes.
    REQUIRE_PAGE(pageOf({row("first row"), row(kWords.substr(0, 40), "\"border\": [15, 1, 3, 2], \"frame\": [5, 3, 3], \"indents\": [4, 4, 0, 0]")},
                        "[{\"kind\": \"picture\", \"x\": 120, \"y\": 30, \"width\": 60, \"height\": 30}]"));
    EXPECT_GE(view_.Row(1).lines.size(), 2u);
    EXPECT_TRUE(harness_.expectImage(Client(), "document_border_shadow_bands"));
}

TEST_F(DocumentWindowTest, NumberedList) {
    const std::string item = "\"marker\": [2, 0, 46, 0, 10, 0, 255], \"indents\": [20, 0, 0, 0]";
    REQUIRE_PAGE(pageOf({row("one", item), row("two", item), row("plain"), row("again", item)}));
    EXPECT_TRUE(harness_.expectImage(Client(), "document_numbered_list"));
}

// A search hit inside the selection is inverted twice: it shows in normal colours.
TEST_F(DocumentWindowTest, HitInsideSelection) {
    REQUIRE_PAGE(pageOf({row("aaaa bbbb cccc dddd")}));
    view_.SetMarkedRanges(0, {{5, 9}});
    view_.SetSelection(0, 2, 0, 12, true);
    RepaintAll();
    EXPECT_TRUE(harness_.expectImage(Client(), "document_hit_in_selection"));
}

TEST_F(DocumentWindowTest, CentredOneLineBox) {
    REQUIRE_PAGE(pageOf({row("box", "\"align\": 3, \"border\": [143, 1, 3, 2]")}));
    EXPECT_TRUE(harness_.expectImage(Client(), "document_centred_box"));
}

// Whatever region is invalidated, the pixels painted there are those of a whole paint.
TEST_F(DocumentWindowTest, ClippedPaintEqualsWholePaint) {
    REQUIRE_PAGE(pageOf({row(kWords.substr(0, 40), "\"border\": [15, 1, 3, 2], \"frame\": [5, 2, 2]"), row("tail row", "\"colours\": [2, 5]")}));
    ASSERT_FALSE(view_.VerticalBarShown()) << "the regions below lie in the whole window";
    const winplat::test::Image whole = Client();
    for (const RECT box : {RECT{0, 0, 200, 20}, RECT{13, 17, 91, 63}, RECT{150, 40, 200, 150}, RECT{0, 100, 120, 150}}) {
        SCOPED_TRACE(testing::Message() << box.left << "," << box.top << " " << box.right << "," << box.bottom);
        {
            HDC dc = GetDC(window_);
            winplat::GdiObject<HBRUSH> junk(CreateSolidBrush(RGB(255, 0, 255)));
            RECT all{0, 0, kWidth, kHeight};
            FillRect(dc, &all, junk.get());
            ReleaseDC(window_, dc);
        }
        ValidateRect(window_, nullptr);
        InvalidateRect(window_, &box, FALSE);
        UpdateWindow(window_);
        const winplat::test::Image part = Client();
        EXPECT_EQ(Region(part, box), Region(whole, box));
        EXPECT_EQ(part.pixels[static_cast<size_t>(box.top == 0 ? 149 * part.width + 199 : 0)] & 0xFFFFFF, 0xFF00FFu)
            << "outside the region nothing was painted";
    }
}

// Moving pixels and painting the uncovered strip gives what a whole paint at the new position
// gives.
TEST_F(DocumentWindowTest, ScrollThenPaintEqualsWholePaint) {
    std::vector<std::string> rows;
    for (int i = 0; i < 12; ++i) rows.push_back(row(kWords.substr(static_cast<size_t>(i), 30 + i), i % 3 ? "" : "\"border\": [15, 1, 3, 2]"));
    rows.push_back(row("wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww"));
    style_.widthMode = 1;
    style_.width = 260;
    REQUIRE_PAGE(pageOf(rows));
    ASSERT_TRUE(view_.VerticalBarShown());
    ASSERT_TRUE(view_.HorizontalBarShown());
    struct Step {
        const char* what;
        std::function<int(lect32::DocumentView&)> move;
    };
    const std::vector<Step> steps = {
        {"line down", [](lect32::DocumentView& v) { return v.LineDown(); }},
        {"line down again", [](lect32::DocumentView& v) { return v.LineDown(); }},
        {"page down", [](lect32::DocumentView& v) { return v.PageDown(); }},
        {"line up", [](lect32::DocumentView& v) { return v.LineUp(); }},
        {"thumb a little", [](lect32::DocumentView& v) { return v.ScrollTo(v.ScrollY() + 17); }},
        {"right", [](lect32::DocumentView& v) { return v.ScrollRight(8, 0); }},
        {"left", [](lect32::DocumentView& v) { return v.ScrollLeft(8, 0); }},
        {"page up", [](lect32::DocumentView& v) { return v.PageUp(); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_NE(step.move(view_), 0) << "the step must move";
        UpdateWindow(window_);
        const winplat::test::Image scrolled = Client();
        RepaintAll();
        EXPECT_EQ(scrolled.pixels, Client().pixels);
    }
}

// The private messages the view sends its parent, in order.
std::vector<UINT> Notifications(const winplat::test::Harness& harness, HWND parent) {
    std::vector<UINT> out;
    for (UINT n : harness.messageNumbers(parent))
        if (n >= 9000 && n < 9100) out.push_back(n);
    return out;
}

// Every character of the page: its caret point hits back to it.
TEST_F(DocumentWindowTest, PositionToPointAndHitTestRoundTrip) {
    REQUIRE_PAGE(pageOf({row(kWords), row("tab\\tstop \\u00e1 end", "\"indents\": [12, 0, 8, 0]"), row("right aligned words here", "\"align\": 1")}));
    int checked = 0;
    for (uint16_t r = 0; r < view_.RowCount(); ++r) {
        const std::vector<uint8_t>& text = view_.Row(r).text;
        for (uint16_t p = 0; p < text.size(); ++p) {
            // A tab's caret stands at its stop, where the character after it begins.
            if (lect32::IsControlCode(text[p]) || text[p] == '\n' || text[p] == '\t') continue;
            lect32::LineInfo line;
            lect32::CaretBox caret;
            ASSERT_TRUE(view_.PositionToPoint(r, p, &line, &caret)) << "row " << r << " position " << p;
            uint16_t hitRow = 0;
            const uint16_t hitLine = view_.LineFromY(caret.top + caret.height / 2, hitRow, true, false);
            EXPECT_EQ(hitRow, r) << "position " << p;
            EXPECT_EQ(hitLine, line.line) << "row " << r << " position " << p;
            EXPECT_EQ(view_.HitTest(r, line.line, caret.x, caret.top), p) << "row " << r << " position " << p;
            ++checked;
        }
    }
    EXPECT_GT(checked, 90);
}

TEST_F(DocumentWindowTest, CaretBoxBeforeLayout) {
    view_.Reset();
    lect32::LineInfo line;
    lect32::CaretBox caret;
    caret.x = 99;
    EXPECT_FALSE(view_.PositionToPoint(0, 0, &line, &caret));
    EXPECT_EQ(caret.x, 0);
    EXPECT_EQ(caret.top, 0);
    EXPECT_EQ(caret.ascent, 13);
    EXPECT_EQ(caret.descent, 3);
    EXPECT_EQ(caret.height, 16);
}

TEST_F(DocumentWindowTest, PaintNotifiesTheParentInNormalModeOnly) {
    REQUIRE_PAGE(pageOf({row("text")}));
    harness_.logMessages(parent_);
    RepaintAll();
    EXPECT_EQ(Notifications(harness_, parent_), (std::vector<UINT>{9016, 9019}));
    harness_.clearLog();
    view_.SetMode(lect32::DocumentView::kEmbedded);
    RepaintAll();
    EXPECT_TRUE(Notifications(harness_, parent_).empty());
    view_.SetMode(lect32::DocumentView::kNormal);
    view_.Clear(true);
    harness_.clearLog();
    RepaintAll();
    EXPECT_TRUE(Notifications(harness_, parent_).empty()) << "a view without rows paints nothing and says nothing";
    harness_.stopLogging(parent_);
}

TEST_F(DocumentWindowTest, WindowMessagesReachTheView) {
    std::vector<std::string> rows(20, row("aaaa bbbb"));
    REQUIRE_PAGE(pageOf(rows));
    ASSERT_TRUE(view_.VerticalBarShown());
    EXPECT_EQ(SendMessageA(window_, WM_VSCROLL, SB_LINEDOWN, 0), 0);
    EXPECT_EQ(view_.ScrollY(), lect32::DocumentView::kLineStep);
    SendMessageA(window_, WM_MOUSEWHEEL, Words(0, -120), 0);
    EXPECT_EQ(view_.ScrollY(), 2 * lect32::DocumentView::kLineStep) << "a negative delta scrolls down";
    SendMessageA(window_, WM_MOUSEWHEEL, Words(0, 120), 0);
    EXPECT_EQ(view_.ScrollY(), lect32::DocumentView::kLineStep);
    SendMessageA(window_, WM_VSCROLL, Words(SB_THUMBPOSITION, 100), 0);
    EXPECT_EQ(view_.ScrollY(), 100 * lect32::GetScrollScale(window_));
    SendMessageA(window_, WM_SIZE, 0, static_cast<LPARAM>(Words(150, 90)));
    EXPECT_EQ(view_.VisibleWidth(), 150);
    for (UINT message : {9000u, 9050u, 9099u}) EXPECT_EQ(SendMessageA(window_, message, 1, 2), 0) << message;
    // Before the creator sets the view word, messages do nothing.
    SetWindowLongPtrA(window_, lect32::DocumentView::kViewWord, 0);
    const int32_t before = view_.ScrollY();
    SendMessageA(window_, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(window_, WM_SIZE, 0, static_cast<LPARAM>(Words(10, 10)));
    EXPECT_EQ(view_.ScrollY(), before);
    EXPECT_EQ(view_.VisibleWidth(), 150);
}

// A thumb on a bar whose range passes 32,767 comes back multiplied by the window's scale.
TEST_F(DocumentWindowTest, ScaledThumb) {
    lect32::SetScaledScrollRange(window_, SB_VERT, 70000, 150, false);
    EXPECT_EQ(lect32::GetScrollScale(window_), 3);
    lect32::SetScaledScrollRange(window_, SB_VERT, 32767, 150, false);
    EXPECT_EQ(lect32::GetScrollScale(window_), 1);
    lect32::SetScaledScrollRange(window_, SB_VERT, 32768, 150, false);
    EXPECT_EQ(lect32::GetScrollScale(window_), 2);
}

TEST_F(DocumentWindowTest, LineUpInsideTheTopMarginGoesToZero) {
    std::vector<std::string> rows(20, row("aaaa bbbb"));
    REQUIRE_PAGE(pageOf(rows));
    EXPECT_EQ(view_.ScrollTo(7), 7);
    EXPECT_EQ(view_.LineUp(), -7);
    EXPECT_EQ(view_.ScrollY(), 0);
    EXPECT_EQ(view_.LineUp(), 0) << "at the top the request goes on to a text frame (none here)";
}

// A table of two cells, 40 and 50 pixels wide, with black borders of 2.
const std::string kTable = R"("table": {"rows": 1, "columns": 2, "sections": 255, "cells": [
    {"width": 40, "text": "ab", "borders": [[2, 0], [2, 0], [2, 0], [2, 0]]},
    {"width": 50, "text": "c", "background": 5, "borders": [[2, 0], [2, 0], [2, 0], [2, 0]]}]})";

TEST_F(DocumentWindowTest, TableRow) {
    REQUIRE_PAGE(pageOf({row("above"), row("", "\"align\": 3, \"spacing\": [6, 4]", kTable), row("below")}));
    EXPECT_TRUE(harness_.expectImage(Client(), "document_table_row"));
}

// The table stands where the paragraph's alignment puts it, below its space before; its row
// takes the space before, the table and the space after.
TEST_F(DocumentWindowTest, TableRowPlace) {
    struct Case {
        int align;
        int leftIndent;
        int rightIndent;
        int expectedX;  // with the table's width w: -1 stands for (180 - w) / 2, -2 for 180 - 7 - w
    };
    const Case cases[] = {{0, 5, 0, 5}, {1, 0, 7, -2}, {3, 0, 0, -1}, {2, 3, 0, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        const std::string format = "\"align\": " + std::to_string(c.align) + ", \"spacing\": [6, 4], \"indents\": [" +
                                   std::to_string(c.leftIndent) + ", " + std::to_string(c.rightIndent) + ", 0, 0]";
        REQUIRE_PAGE(pageOf({row("above"), row("", format, kTable), row("below")}));
        const lect32::TableRow* table = view_.GetRowObject(1);
        ASSERT_NE(table, nullptr);
        const SIZE size = table->TotalSize();
        EXPECT_EQ(size.cx, 40 + 50 + 2) << "two columns and the outer halves of the side borders";
        const int expected = c.expectedX == -1 ? (180 - size.cx) / 2 : c.expectedX == -2 ? 180 - 7 - size.cx : c.expectedX;
        EXPECT_EQ(table->OriginX(), expected);
        EXPECT_EQ(table->OriginY(), kLine + 6);
        EXPECT_EQ(view_.GetRowHeight(1), static_cast<uint32_t>(6 + size.cy + 4));
    }
}

// The view's zoom goes to its tables; no zoom (0) leaves them as they are.
TEST_F(DocumentWindowTest, TableRowZoom) {
    REQUIRE_PAGE(pageOf({row("", "", kTable)}));
    struct Case {
        uint16_t numerator, denominator;
        int width;  // two columns of 40 and 50 and the outer halves of the side borders
    };
    for (const Case c : {Case{0, 0, 40 + 50 + 2}, Case{200, 100, 80 + 100 + 4}}) {
        SCOPED_TRACE(c.numerator);
        view_.SetZoom(c.numerator, c.denominator);
        view_.Layout(nullptr);
        ASSERT_NE(view_.GetRowObject(0), nullptr);
        EXPECT_EQ(view_.GetRowObject(0)->TotalSize().cx, c.width);
    }
}

// Whatever the window showed before, the room around a table row is painted as page.
TEST_F(DocumentWindowTest, TheRoomBesideATableIsPage) {
    REQUIRE_PAGE(pageOf({row("above"), row("", "\"align\": 3, \"spacing\": [6, 4]", kTable), row("below")}));
    const lect32::TableRow* table = view_.GetRowObject(1);
    ASSERT_NE(table, nullptr);
    const SIZE size = table->TotalSize();
    const RECT box{10 + table->OriginX(), 10 + table->OriginY(), 10 + table->OriginX() + size.cx, 10 + table->OriginY() + size.cy};
    {
        HDC dc = GetDC(window_);
        winplat::GdiObject<HBRUSH> junk(CreateSolidBrush(RGB(255, 0, 255)));
        RECT all{0, 0, kWidth, kHeight};
        FillRect(dc, &all, junk.get());
        ReleaseDC(window_, dc);
    }
    RepaintAll();
    const winplat::test::Image image = Client();
    const int rowTop = 10 + kLine, rowBottom = rowTop + static_cast<int>(view_.GetRowHeight(1));
    int checked = 0;
    for (int y = rowTop; y < rowBottom; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) continue;
            ASSERT_EQ(image.at(x, y) & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
            ++checked;
        }
    EXPECT_GT(checked, 1000);
    EXPECT_EQ(image.at(box.left, box.top + size.cy / 2) & 0xFFFFFF, 0u) << "the table's own left border";
}

// On an 8-bit device the document's palette is selected before anything is painted.
TEST_F(DocumentWindowTest, PaletteOnAnEightBitDevice) {
    REQUIRE_PAGE(pageOf({row("text")}));
    for (const int bits : {8, 32}) {
        SCOPED_TRACE(bits);
        HDC dc = winplat::testing::createDisplayDc(kWidth, kHeight, bits);
        ASSERT_NE(dc, nullptr);
        view_.OnPaint(dc);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL) == PXLGetHPalette(), bits == 8);
        DeleteDC(dc);
    }
}

// The program-wide hooks a test sets, taken away again whatever way the test ends.
struct ScopedPaintHooks {
    ~ScopedPaintHooks() {
        lect32::SetDocumentActivation({});
        lect32::DocumentView::SetTreeIconPainter(nullptr);
    }
};

// Rows of style 250 show the tree's icon at the list marker's place, other rows their marker.
TEST_F(DocumentWindowTest, TreeIconForRowsOfTheTreeStyle) {
    std::vector<std::pair<int, int>> drawn;
    const ScopedPaintHooks hooks;
    lect32::DocumentView::SetTreeIconPainter([&](HDC, int x, int y, const lect32::TextFormat&) { drawn.emplace_back(x, y); });
    const std::string item = "\"marker\": [1, 0, 46, 0, 10, 0, 255], \"indents\": [20, 0, 0, 0]";
    REQUIRE_PAGE(pageOf({row("tree", item, "\"style\": 250"), row("listed", item), row("plain", "", "\"style\": 250")}));
    ASSERT_EQ(drawn.size(), 1u) << "only the marked row of style 250";
    EXPECT_EQ(drawn[0].first, 10 + 20) << "the marker's place: the first-line indent makes the marker's room";
    EXPECT_GE(drawn[0].second, 10);
    EXPECT_LT(drawn[0].second, 10 + kLine);
}

class Members final : public lect32::LinkResolver {
public:
    uint8_t CurrentDocumentIndex() const override { return 9; }
    uint8_t ResolveLink(uint8_t source, uint8_t link) const override { return static_cast<uint8_t>(source * 16 + link + 1); }
};

// A link in the text: its target decoded, its rectangle from the caret boxes of its ends.
TEST_F(DocumentWindowTest, LinkAtAPosition) {
    const std::string linked = R"({"text": ["go ", {"link": {"kind": 2, "page": 7, "position": 1, "link": 3}, "text": "here"}, " now",
        {"link": {"kind": 10, "value": 16909060}, "text": []}, " end"], "format": {"char": {"font": 0, "size": 15, "weight": 3, "flags": 0},
        "line": -100, "colours": [0, 1]}})";
    REQUIRE_PAGE(pageOf({linked}));
    const std::vector<uint8_t>& text = view_.Row(0).text;
    const size_t open = std::find(text.begin(), text.end(), lect32::kCodeLinkStart) - text.begin();
    const size_t body = open + lect32::SequenceLength(text, open);
    const Members members;
    const lect32::LinkDecoding how{lect32::LinkTarget::kMainDocumentSource, true, members};
    lect32::TextLink link;
    ASSERT_TRUE(view_.GetLinkAt(0, static_cast<uint16_t>(body + 2), how, link, true));
    EXPECT_EQ(link.firstByte, 2);
    EXPECT_EQ(link.target.kind, 2);
    EXPECT_EQ(link.target.a, 7);
    EXPECT_EQ(link.target.document, 4) << "link 3 of the main document";
    lect32::CaretBox first, last;
    ASSERT_TRUE(view_.PositionToPoint(0, static_cast<uint16_t>(body), nullptr, &first));
    ASSERT_TRUE(view_.PositionToPoint(0, static_cast<uint16_t>(body + 4), nullptr, &last));
    RECT window{};
    GetWindowRect(window_, &window);
    EXPECT_EQ(link.rect.left, window.left + first.x);
    EXPECT_EQ(link.rect.right, window.left + last.x);
    EXPECT_EQ(link.rect.right - link.rect.left, 40) << "four letters";
    EXPECT_EQ(link.rect.top, window.top + first.top);
    EXPECT_EQ(link.rect.bottom, window.top + last.top + last.height);
    // Before the link, after it, and inside a link with no text.
    EXPECT_FALSE(view_.GetLinkAt(0, 1, how, link, false));
    EXPECT_FALSE(view_.GetLinkAt(0, static_cast<uint16_t>(body + 8), how, link, false));
    const size_t empty = std::find(text.begin() + static_cast<std::ptrdiff_t>(body), text.end(), lect32::kCodeLinkStart) - text.begin();
    ASSERT_LT(empty, text.size());
    EXPECT_FALSE(view_.GetLinkAt(0, static_cast<uint16_t>(empty + lect32::SequenceLength(text, empty)), how, link, false))
        << "a link with no text is no link";
}

// While a print job runs the window is only validated: the formatter is the printer's.
TEST_F(DocumentWindowTest, NoPaintWhilePrinting) {
    REQUIRE_PAGE(pageOf({row("text")}));
    const winplat::test::Image before = Client();
    HDC printer = winplat::testing::createPrinterDc(100, 100, 96);
    lect32::SetPrintJobDevice(printer);
    view_.Clear(false);
    view_.Reset();
    RepaintAll();
    EXPECT_EQ(Client().pixels, before.pixels);
    EXPECT_FALSE(GetUpdateRect(window_, nullptr, FALSE)) << "validated";
    lect32::SetPrintJobDevice(nullptr);
    RepaintAll();
    EXPECT_NE(Client().pixels, before.pixels);
    DeleteDC(printer);
}

// A line that does not fit the rest of a band off objects goes on into the band below, which
// lies over an object behind the text: within the old band's rest it is drawn opaque, its red
// background shown; over the object transparent, so the object shows through.
TEST_F(DocumentWindowTest, LineAcrossTheSeamOfAnObjectBand) {
    REQUIRE_PAGE(pageOf({row("first"), row("second", "\"colours\": [0, 2]")},
                        "[{\"kind\": \"picture\", \"x\": 0, \"y\": 30, \"width\": 180, \"height\": 30, \"behind\": 1, \"flow\": 2}]"));
    const winplat::test::Image image = Client();
    // The second row's line stands at page y 24 to 48: the rest of the first band is 24 to 30.
    EXPECT_EQ(image.at(150, 10 + 27) & 0xFFFFFF, 0xFF0000u) << "opaque in the old band's rest";
    EXPECT_NE(image.at(150, 10 + 40) & 0xFFFFFF, 0xFF0000u) << "transparent over the object";
}

// A view of another member's page paints with that member active, and gives the active one back.
TEST_F(DocumentWindowTest, PaintActivatesTheViewsDocument) {
    const std::string item = "\"marker\": [1, 0, 46, 0, 10, 0, 255], \"indents\": [20, 0, 0, 0]";
    REQUIRE_PAGE(pageOf({row("tree", item, "\"style\": 250")}));
    int8_t active = 0;
    std::vector<int8_t> switches;
    std::vector<int8_t> activeWhilePainting;
    const ScopedPaintHooks hooks;
    // The tree icon of a row of style 250 is drawn in the middle of the paint.
    lect32::DocumentView::SetTreeIconPainter([&](HDC, int, int, const lect32::TextFormat&) { activeWhilePainting.push_back(active); });
    lect32::SetDocumentActivation({[&] { return active; }, [&](int8_t member) {
                                       switches.push_back(member);
                                       active = member;
                                   }});
    struct Case {
        int8_t slot;
        std::vector<int8_t> switches;
        int8_t whilePainting;
    };
    const Case cases[] = {{-1, {}, 0}, {0, {}, 0}, {2, {2, 0}, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.slot));
        switches.clear();
        activeWhilePainting.clear();
        view_.SetDocumentSlot(c.slot);
        RepaintAll();
        EXPECT_EQ(switches, c.switches);
        EXPECT_EQ(activeWhilePainting, std::vector<int8_t>{c.whilePainting});
        EXPECT_EQ(active, 0);
    }
}

}  // namespace
}  // namespace document_view_test
