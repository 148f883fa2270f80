// The document view in its LCNDOCUMENT window: painted rows against small goldens, a paint
// clipped to a region against the same region of a whole paint, scrolled pixels against a fresh
// paint at the new position, positions to points and back, and the window's messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document_view_support.h"
#include "text/control_codes.h"

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

}  // namespace
}  // namespace document_view_test
