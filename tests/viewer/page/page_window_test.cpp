// The page window on the headless desktop: pages from a host that hands out their parts, the
// width a page is laid out at, and the timed change to another page under the virtual clock.
#include "page/page_window.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page/animation_record.h"
#include "page_test_support.h"
#include "text/colour_table.h"
#include "text/font_cache.h"
#include "text/font_faces.h"
#include "text/style_sheet.h"
#include "text/text_formatter.h"
#include "winplat/testing.h"
#include "winplat/user.h"
#include "winplat_harness/harness.h"

namespace {

using lect32::PageContent;
using lect32::PageStyle;
using lect32::PageWindow;

void Word(std::vector<uint8_t>& out, int value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// Rows of plain text in style 0 and no objects, as a page record holds them.
std::vector<uint8_t> Content(const std::vector<std::string>& rows) {
    std::vector<uint8_t> out;
    Word(out, 0);
    Word(out, static_cast<int>(rows.size()));
    for (const std::string& text : rows) {
        Word(out, 7);
        out.insert(out.end(), 7, 0);
        Word(out, 0);
        Word(out, static_cast<int>(text.size()));
        out.insert(out.end(), text.begin(), text.end());
    }
    out.push_back(0);
    out.push_back(5);  // object list version
    Word(out, 0);
    return out;
}

PageContent Plain(const std::string& name, const std::vector<std::string>& rows = {"text"}) {
    return PageContent{name, PageStyle{}, Content(rows)};
}

PageContent Timed(const std::string& name, int16_t target, uint8_t link, int16_t ticks) {
    PageContent page = Plain(name);
    page.style.flags = PageStyle::kGroup2000;
    page.style.group2000Present = 1;
    page.style.group2000Word1 = target;
    page.style.group2000Byte = link;
    page.style.group2000Word2 = ticks;
    return page;
}

struct FakeHost : lect32::PageWindowHost {
    std::map<int16_t, PageContent> pages;
    PageStyle defaults;
    HWND main = nullptr;
    std::vector<std::pair<uint8_t, uint8_t>> resolved;

    bool ReadPage(int16_t page, uint8_t, PageContent& out) override {
        const auto found = pages.find(page);
        if (found == pages.end()) return false;
        out = found->second;
        return true;
    }
    PageStyle DefaultStyle(uint8_t) override { return defaults; }
    uint8_t ResolveMember(uint8_t document, uint8_t link) override {
        resolved.emplace_back(document, link);
        return static_cast<uint8_t>(document + link);
    }
    HWND MainWindow() override { return main; }
};

std::vector<WPARAM> commands;

LRESULT CALLBACK RecordingMain(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) commands.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

class PageWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        page_test::UseTestText();
        colours_.SetAll(std::vector<lect32::Rgb>{{0, 0, 0}, {255, 255, 255}});
        commands.clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingMain;
        wc.lpszClassName = "PAGETESTMAIN";
        RegisterClassA(&wc);
        host_.main = CreateWindowExA(0, "PAGETESTMAIN", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(lect32::RegisterPageWindowClass());
    }
    void TearDown() override {
        if (window_) DestroyWindow(window_);
        DestroyWindow(host_.main);
        lect32::GetTextFormatter().ReleaseFonts();
        lect32::GetTextFontCache().Clear();
        lect32::GetDocumentFonts().main.Clear();
    }
    PageWindow& Open(int width, int height, bool fixed = false) {
        params_ = lect32::PageWindowParams{&host_, page_.services(), lect32::ViewServices{&styles_, &colours_, {}},
                                           lect32::BannerServices{&styles_, &colours_}};
        window_ = CreateWindowExA(0, "LCNPAGE", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                  nullptr, &params_);
        EXPECT_NE(window_, nullptr);
        PageWindow& page = *reinterpret_cast<PageWindow*>(GetWindowLongPtrA(window_, PageWindow::kWindowWord));
        page.SetFixedWidth(fixed);
        page.OnSize(width, height);
        return page;
    }

    winplat::test::Harness harness_{{.width = 320, .height = 240, .goldenFolder = "", .diffFolder = "", .startMs = 1000}};
    winplat::testing::ScopedFontSource face_{winplat::testing::FontSource::Test};
    lect32::StyleSheet styles_;
    lect32::ColourTable colours_;
    page_test::TestPage page_;
    FakeHost host_;
    lect32::PageWindowParams params_;
    HWND window_ = nullptr;
};

TEST(PageWidthTest, WidthRule) {
    struct Case {
        const char* name;
        uint8_t mode;
        int16_t left, right;
        int client;
        bool fixed;
        int width;
    };
    const Case cases[] = {
        {"narrow window: twice the left margin and 200", 0, 10, 0, 150, false, 220},
        {"narrow window with a fixed width", 0, 10, 0, 150, true, 150},
        {"mode 2 follows the window too", 2, 10, 0, 150, false, 220},
        {"at the minimum", 0, 10, 0, 220, false, 220},
        {"a pixel past the minimum", 0, 10, 0, 221, false, 221},
        {"a pixel below the minimum", 0, 10, 0, 219, false, 220},
        {"only the left margin counts", 0, 30, 5, 150, false, 260},
        {"mode 1 keeps the style's width", 1, 10, 0, 150, false, 400},
        {"mode 1 keeps it with a fixed width too", 1, 10, 0, 150, true, 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageStyle style;
        style.widthMode = c.mode;
        style.margins = {c.left, c.right, 10, 10};
        EXPECT_EQ(lect32::PageWidthFor(style, c.client, c.fixed), c.width);
    }
}

TEST_F(PageWindowTest, ShownPageHasItsNameInTheBannerAndTheViewAtTheMergedWidth) {
    host_.pages[3] = Plain("\xDAvod", {"first row", "second row"});
    PageWindow& page = Open(150, 100);
    ASSERT_TRUE(page.ShowPage(3, 1));
    EXPECT_EQ(page.GetBanner().Text(), "\xDAvod");
    EXPECT_EQ(page.PageName(), "\xDAvod");
    EXPECT_EQ(page.CurrentPage(), 3);
    EXPECT_EQ(page.Document(), 1);
    EXPECT_EQ(page.View().RowCount(), 2);
    EXPECT_EQ(+page.View().Style().width, 220);
}

TEST_F(PageWindowTest, FixedWidthWindowLaysOutAtItsOwnWidth) {
    host_.pages[3] = Plain("P");
    PageWindow& page = Open(150, 100, true);
    ASSERT_TRUE(page.ShowPage(3, 0));
    EXPECT_EQ(+page.View().Style().width, 150);
}

TEST_F(PageWindowTest, PageSizeGroupOverridesTheDefaults) {
    host_.defaults.widthMode = 0;
    PageContent own = Plain("P");
    own.style.flags = PageStyle::kWidthGroup;
    own.style.widthMode = 1;
    own.style.width = 500;
    host_.pages[4] = own;
    host_.pages[5] = Plain("Q");
    host_.defaults.widthMode = 1;
    host_.defaults.width = 333;
    PageWindow& page = Open(150, 100);
    ASSERT_TRUE(page.ShowPage(4, 0));
    EXPECT_EQ(+page.View().Style().width, 500);
    ASSERT_TRUE(page.ShowPage(5, 0));
    EXPECT_EQ(+page.View().Style().width, 333);
}

TEST_F(PageWindowTest, UnreadableOrDamagedPageLeavesTheWindowAsItWas) {
    host_.pages[1] = Plain("Kept", {"one", "two", "three"});
    PageContent damaged = Plain("Damaged", {"x"});
    damaged.content.resize(damaged.content.size() - 3);
    host_.pages[2] = damaged;
    PageWindow& page = Open(200, 100);
    ASSERT_TRUE(page.ShowPage(1, 0));
    for (int16_t bad : {2, 9}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(page.ShowPage(bad, 0));
        EXPECT_EQ(page.CurrentPage(), 1);
        EXPECT_EQ(page.PageName(), "Kept");
        EXPECT_EQ(page.GetBanner().Text(), "Kept");
        EXPECT_EQ(page.View().RowCount(), 3);
    }
}

TEST_F(PageWindowTest, TimedChangeLandsOnTheTimedPageWhenTheTicksAreUp) {
    host_.pages[1] = Timed("Start", 7, 2, 3);
    host_.pages[7] = Plain("Target");
    PageWindow& page = Open(200, 100);
    ASSERT_TRUE(page.ShowPage(1, 4));
    EXPECT_EQ(page.TimerBits() & PageWindow::kTimedChangeTimer, PageWindow::kTimedChangeTimer);
    harness_.advance(299);
    EXPECT_EQ(page.CurrentPage(), 1);
    harness_.advance(1);
    EXPECT_EQ(page.CurrentPage(), 7);
    EXPECT_EQ(page.PageName(), "Target");
    EXPECT_EQ(page.Document(), 6);
    EXPECT_EQ(host_.resolved, (std::vector<std::pair<uint8_t, uint8_t>>{{4, 2}}));
    EXPECT_EQ(page.TimerBits(), 0);
    EXPECT_TRUE(commands.empty());
}

TEST_F(PageWindowTest, ExitPageEndsTheProgramOnlyWhenNamedExactly) {
    struct Case {
        const char* name;
        bool exits;
    };
    for (const Case& c : {Case{"EXITLECTERN", true}, Case{"exitlectern", false}, Case{"EXITLECTERN ", false}}) {
        SCOPED_TRACE(c.name);
        commands.clear();
        host_.pages[1] = Timed(c.name, 2, 0, 2);
        host_.pages[2] = Plain("Next");
        PageWindow& page = Open(200, 100);
        ASSERT_TRUE(page.ShowPage(1, 0));
        harness_.advance(200);
        EXPECT_EQ(commands, c.exits ? std::vector<WPARAM>{PageWindow::kExitCommand} : std::vector<WPARAM>{});
        EXPECT_EQ(page.CurrentPage(), c.exits ? 1 : 2);
        EXPECT_EQ(page.TimerBits(), 0);
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

TEST_F(PageWindowTest, ANewPageStopsTheOldPagesTimedChange) {
    host_.pages[1] = Timed("Start", 7, 0, 2);
    host_.pages[2] = Plain("Other");
    host_.pages[7] = Plain("Target");
    PageWindow& page = Open(200, 100);
    ASSERT_TRUE(page.ShowPage(1, 0));
    harness_.advance(100);
    ASSERT_TRUE(page.ShowPage(2, 0));
    EXPECT_EQ(page.TimerBits(), 0);
    harness_.advance(1000);
    EXPECT_EQ(page.CurrentPage(), 2);
}

// An animation prepared on the page runs the 50 ms animation timer until it has stopped.
TEST_F(PageWindowTest, TheAnimationTimerRunsWhileAnAnimationDoes) {
    host_.pages[1] = Plain("Start");
    PageWindow& page = Open(200, 100);
    ASSERT_TRUE(page.ShowPage(1, 4));
    lect32::Page& objects = page.View().GetPage();
    const int i = objects.InsertObject(page_test::object(0, 0, 4, 4), page_test::join({page_test::slot(5, {})}));
    ASSERT_GE(i, 0);
    lect32::AnimationRecord record;
    record.delays = {5, 5};
    record.repeats = 2;  // frames 1, 0, 1, then it stops on the fourth tick
    ASSERT_TRUE(objects.SetSlot(static_cast<uint16_t>(i), lect32::Slot::Animation, record.Bytes()));
    EXPECT_EQ(page.TimerBits() & PageWindow::kAnimationTimer, 0);
    SendMessageA(window_, PageWindow::kStartAnimation, 0, 0);
    EXPECT_EQ(page.TimerBits() & PageWindow::kAnimationTimer, PageWindow::kAnimationTimer);
    harness_.advance(50);
    EXPECT_EQ(lect32::AnimationRecord::Parse(objects.CopySlot(static_cast<uint16_t>(i), lect32::Slot::Animation))->current, 1);
    harness_.advance(150);
    EXPECT_EQ(page.TimerBits() & PageWindow::kAnimationTimer, PageWindow::kAnimationTimer) << "the stopping tick still ran";
    harness_.advance(50);
    EXPECT_EQ(page.TimerBits() & PageWindow::kAnimationTimer, 0) << "nothing runs: the timer stops";
    EXPECT_EQ(lect32::AnimationRecord::Parse(objects.CopySlot(static_cast<uint16_t>(i), lect32::Slot::Animation))->repeats, 0);
}

}  // namespace
