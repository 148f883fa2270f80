// The page window's commands and messages: copying (and its refusal), the timers its page
// objects start, keys handed to the view, and what the reader around it is told.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page_window_support.h"
#include "winplat/clipboard.h"
#include "winplat/dialogs.h"
#include "winplat/memory.h"

namespace {

using namespace page_window_test;
using lect32::PageWindow;

class PageWindowCommandsTest : public PageWindowFixture {
protected:
    void PutOnClipboard(const std::string& text) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }
};

TEST_F(PageWindowCommandsTest, CopyTakesTheWholeTextWithoutASelection) {
    PageWindow& page = Show({{Text("one")}, {Text("two")}});
    SendMessageA(window_, WM_COMMAND, PageWindow::kCopyCommand, 0);
    EXPECT_EQ(ClipboardText(), "one\r\ntwo");
    page.View().SetSelection(0, 1, 0, 3, true);
    SendMessageA(window_, WM_COMMAND, PageWindow::kCopyCommand, 0);
    EXPECT_EQ(ClipboardText(), "ne");
}

TEST_F(PageWindowCommandsTest, CopyRefusedWhenTheDocumentForbidsIt) {
    host_.copyAllowed = false;
    Show({{Text("secret")}});
    PutOnClipboard("kept");
    harness_.answerMessageBox("Kop\xEDrov\xE1n\xED textu do schr\xE1nky nen\xED u tohoto dokumentu povoleno.", IDOK);
    SendMessageA(window_, WM_COMMAND, PageWindow::kCopyCommand, 0);
    EXPECT_EQ(harness_.answersQueued(), 0u) << "the refusal was not shown";
    EXPECT_EQ(ClipboardText(), "kept");
}

TEST_F(PageWindowCommandsTest, ObjectTimersStartOnceAndStopWithThePage) {
    PageWindow& page = Show({{Text("a")}});
    SendMessageA(window_, PageWindow::kStartAnimation, 0, 0);
    SendMessageA(window_, PageWindow::kStartAnimation, 0, 0);
    EXPECT_EQ(page.TimerBits(), PageWindow::kAnimationTimer);
    SendMessageA(window_, PageWindow::kObjectTimerSwitch, 1, 0);
    EXPECT_EQ(page.TimerBits(), PageWindow::kAnimationTimer | PageWindow::kObjectTimer);
    SendMessageA(window_, PageWindow::kObjectTimerSwitch, 0, 0);
    EXPECT_EQ(page.TimerBits(), PageWindow::kAnimationTimer);
    harness_.advance(500);
    page.ClosePage();
    EXPECT_EQ(page.TimerBits(), 0);
}

TEST_F(PageWindowCommandsTest, KeysGoToTheViewExceptInTheToolBar) {
    std::vector<Row> rows;
    for (int i = 0; i < 40; ++i) rows.push_back({Text("row " + std::to_string(i))});
    PageWindow& page = Show(rows);
    SendMessageA(window_, WM_KEYDOWN, VK_NEXT, 0);
    const int32_t scrolled = page.View().ScrollY();
    EXPECT_GT(scrolled, 0);
    page.SetUserToolBar(true);
    SendMessageA(window_, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(page.View().ScrollY(), scrolled);
}

TEST_F(PageWindowCommandsTest, TheReaderHearsOfWindowsAndDocuments) {
    PageWindow& page = Open();
    ASSERT_EQ(host_.created, std::vector<PageWindow*>{&page});
    EXPECT_EQ(host_.activated, std::vector<uint8_t>{0}) << "the new window's focus makes its document active";
    host_.activated.clear();
    host_.pages[2] = lect32::PageContent{"P", lect32::PageStyle{}, Content({{Text("x")}})};
    ASSERT_TRUE(page.ShowPage(2, 4));
    EXPECT_EQ(host_.activated, std::vector<uint8_t>{4});
    SendMessageA(window_, PageWindow::kActivateDocument, 0, 0);
    EXPECT_EQ(host_.activated, (std::vector<uint8_t>{4, 4}));
    EXPECT_FALSE(page.ShowPage(9, 5)) << "a page that cannot be read";
    EXPECT_EQ(host_.activated.size(), 2u) << "a page that cannot be read changes no active document";
    DestroyWindow(window_);
    window_ = nullptr;
    EXPECT_EQ(host_.destroyed, std::vector<PageWindow*>{&page});
}

TEST_F(PageWindowCommandsTest, ThePageAlreadyShownIsNotShownAgainWhenAsked) {
    PageWindow& page = Show({{Text("x")}});
    EXPECT_FALSE(page.ShowPage(1, 0, true));
    EXPECT_TRUE(page.ShowPage(1, 0, false));
    EXPECT_TRUE(page.ShowPage(1, 1, true)) << "the same page of another member";
    EXPECT_FALSE(page.ShowPage(1, 1, true));
}

TEST_F(PageWindowCommandsTest, RelatedPagesComeFromThePagesOwnStyle) {
    lect32::PageContent content{"P", lect32::PageStyle{}, Content({{Text("x")}})};
    content.style.flags = lect32::PageStyle::kLinkGroup;
    content.style.links[0] = {7, 1};
    content.style.links[2] = {-1, 0};
    content.style.links[1] = {3, 2};
    host_.pages[5] = content;
    PageWindow& page = Open();
    ASSERT_TRUE(page.ShowPage(5, 0));
    const lect32::RelatedPages related = page.GetRelatedPages();
    EXPECT_EQ(related.page[0], 7);
    EXPECT_EQ(related.link[0], 1);
    EXPECT_EQ(related.page[1], 3);
    EXPECT_EQ(related.link[1], 2);
    EXPECT_EQ(related.page[2], -1);
}

TEST_F(PageWindowCommandsTest, UserToolBarPageKeepsItsWidthFixed) {
    PageWindow& page = Open(150, 100);
    host_.pages[1] = lect32::PageContent{"Bar", lect32::PageStyle{}, Content({{Text("x")}})};
    ASSERT_TRUE(page.ShowPage(1, 0));
    EXPECT_EQ(+page.View().Style().width, 220);
    page.ApplyFixedPageStyle();
    EXPECT_EQ(+page.View().Style().width, 150);
    EXPECT_EQ(page.GetPageStyle().widthMode, 2);
    EXPECT_EQ(page.GetPageStyle().group80Byte, 1);
}

TEST_F(PageWindowCommandsTest, AQuerySplitBetweenNameAndTextIsFound) {
    PageWindow& page = Show({{Text("hrad a zamek")}, {Text("most")}}, "Mapa mesta");
    const lect32::QueryWords query{{0, 0, 0}};
    std::vector<bool> found;
    size_t count = 0;
    EXPECT_TRUE(page.FindText(query, found, count, Finder({"mesta", "most", "hrad"})));
    EXPECT_EQ(count, 3u);
    found.clear();
    count = 0;
    EXPECT_FALSE(page.FindText(query, found, count, Finder({"mesta", "most", "reka"})));
    EXPECT_EQ(found, (std::vector<bool>{true, true, false}));

    page.MarkFoundWords(query, false, Finder({"mesta", "most", "reka"}));
    EXPECT_EQ(page.GetBanner().FoundWords(), (std::vector<lect32::FoundRange>{{5, 10}}));
    EXPECT_EQ(page.View().Row(1).marked, (std::vector<std::pair<uint16_t, uint16_t>>{{0, 4}}));
}

TEST_F(PageWindowCommandsTest, APageKeptOutOfSearchesFindsNothing) {
    struct Case {
        const char* name;
        uint16_t flags;
        uint8_t noSearch;
    };
    for (const Case c : {Case{"searched", lect32::PageStyle::kGroup100, 0}, Case{"no search", lect32::PageStyle::kGroup100, 1},
                         Case{"no template page", 0x0001, 0}}) {
        SCOPED_TRACE(c.name);
        lect32::PageContent content{"Mapa", lect32::PageStyle{}, Content({{Text("most")}})};
        content.style.flags = c.flags;
        content.style.group100Byte = c.noSearch;
        host_.pages[3] = content;
        PageWindow& page = window_ ? *reinterpret_cast<PageWindow*>(GetWindowLongPtrA(window_, 0)) : Open();
        ASSERT_TRUE(page.ShowPage(3, 0));
        std::vector<bool> found;
        size_t count = 0;
        const bool searched = c.flags == lect32::PageStyle::kGroup100 && c.noSearch == 0;
        EXPECT_EQ(page.FindText(lect32::QueryWords{{0}}, found, count, Finder({"most"})), searched);
    }
}

}  // namespace
