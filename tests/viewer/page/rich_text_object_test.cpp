// Page input on the headless desktop: links of every kind followed to the navigation window,
// their tooltips, Tab stepping, index marks, search marks, copying and address marking.
#include "page/rich_text_object.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../../platform/files/temp_drive.h"
#include "page/image_viewer_start.h"
#include "page/link_tooltips.h"
#include "page_window_support.h"
#include "winplat/clipboard.h"
#include "winplat/dialogs.h"
#include "winplat/host.h"
#include "winplat/memory.h"

namespace {

using namespace page_window_test;
using lect32::RichTextObject;

class RichTextObjectTest : public PageWindowFixture {
protected:
    RichTextObject& ShowLinks(const std::vector<lect32::LinkTarget>& targets) {
        std::vector<Row> rows;
        for (const auto& target : targets) {
            Bytes text = Text("go ");
            const Bytes link = Linked(target, "link");
            text.insert(text.end(), link.begin(), link.end());
            rows.push_back({text});
        }
        return Show(rows).View();
    }
    uint16_t InLink(const RichTextObject& view, uint16_t row) const {
        const auto& text = view.Row(row).text;
        return static_cast<uint16_t>(std::find(text.begin() + 3, text.end(), 'i') - text.begin());
    }
};

TEST_F(RichTextObjectTest, EveryLinkKindReachesTheNavigationWindow) {
    RichTextObject& view = ShowLinks({Target(0, 5), Target(1, 7), Target(2, 12, 30, 0), Target(3, 13, 31, 0),
                                      Target(4, 9), Target(10, 0, 0, 0, 0x10203), Target(11, 4), Target(12, 6),
                                      Target(13, 8), Target(14, 8), Target(15, 8, 40, 0), Target(20)});
    for (uint16_t row = 0; row < view.RowCount(); ++row) EXPECT_TRUE(view.FollowLinkAt(row, InLink(view, row))) << row;
    const std::vector<Request> expected = {
        {7001, 5, 0},        {7002, 7, 0},      {7008, 12, 30 << 16}, {7009, 13, 31 << 16},
        {7010, 9, 0},        {7005, 10, 0x10203}, {7005, 11, 4},       {7005, 12, 6},
        {7011, 8, 0},        {7012, 8, 0},      {7013, 8, 40},        {7007, 0, 0},
    };
    EXPECT_EQ(requests, expected);
    EXPECT_EQ(addresses, std::vector<std::string>{"link"});
    EXPECT_FALSE(view.FollowLinkAt(0, 1)) << "plain text before the link";
}

TEST_F(RichTextObjectTest, PopupsAndTheToolBarChangeWherePlainLinksGo) {
    reader_.popupOpen = true;
    reader_.popupMember = 3;
    RichTextObject& view = ShowLinks({Target(0, 5), Target(11, 4)});
    view.FollowLinkAt(0, InLink(view, 0));
    view.SetToolBar(true);
    view.FollowLinkAt(0, InLink(view, 0));
    view.FollowLinkAt(1, InLink(view, 1));
    EXPECT_EQ(requests, (std::vector<Request>{{7008, 5, 3}, {7008, 5, 0}, {7005, 11 + 4096, 4}}));
}

TEST_F(RichTextObjectTest, AClickOnALinkFollowsIt) {
    RichTextObject& view = ShowLinks({Target(0, 5)});
    lect32::LineInfo line;
    lect32::CaretBox caret;
    ASSERT_TRUE(view.PositionToPoint(0, InLink(view, 0), &line, &caret));
    SendMessageA(view.Window(), WM_LBUTTONDOWN, MK_LBUTTON, At(caret.x + 2, caret.top + 2));
    SendMessageA(view.Window(), WM_LBUTTONUP, 0, At(caret.x + 2, caret.top + 2));
    EXPECT_EQ(requests, (std::vector<Request>{{7001, 5, 0}}));
    EXPECT_FALSE(view.CaptureFlag());
    SendMessageA(view.Window(), WM_RBUTTONDOWN, 0, 0);
    EXPECT_EQ(reader_.historyBacks, 1);
}

TEST_F(RichTextObjectTest, PageButton110RunsTheObjectCommandAndShowsItsString) {
    RichTextObject& view = ShowLinks({Target(4, 110), Target(4, 114)});
    EXPECT_TRUE(view.FollowLinkAt(0, InLink(view, 0)));
    EXPECT_TRUE(requests.empty()) << "object commands are no navigation requests";
    const auto tip = view.TooltipOf(lect32::LinkRecordOf(Target(4, 110)));
    ASSERT_TRUE(tip.has_value());
    EXPECT_EQ(tip->first, 3932);
    EXPECT_EQ(tip->second, "O str\xE1nku nahoru");
    EXPECT_FALSE(view.TooltipOf(lect32::LinkRecordOf(Target(4, 114))).has_value());
    EXPECT_FALSE(view.TooltipOf(lect32::LinkRecordOf(Target(4, 115))).has_value());
    reader_.options = 0x2;
    EXPECT_FALSE(view.TooltipOf(lect32::LinkRecordOf(Target(4, 110))).has_value());
}

TEST_F(RichTextObjectTest, PageNamesGiveTooltipsOnlyWithThePrefixAndOneMember) {
    reader_.names[{0, 5}] = "#TOOLTIP#Mapa";
    reader_.names[{0, 6}] = "Mapa";
    RichTextObject& view = ShowLinks({Target(2, 5)});
    const auto tip = view.TooltipOf(lect32::LinkRecordOf(Target(2, 5)));
    ASSERT_TRUE(tip.has_value());
    EXPECT_EQ(*tip, (std::pair<uint16_t, std::string>{6, "Mapa"}));
    EXPECT_TRUE(view.TooltipOf(lect32::LinkRecordOf(Target(0, 5))).has_value());
    EXPECT_FALSE(view.TooltipOf(lect32::LinkRecordOf(Target(2, 6))).has_value());
    EXPECT_FALSE(view.TooltipOf(lect32::LinkRecordOf(Target(13, 5))).has_value());
    reader_.members = 2;
    EXPECT_FALSE(view.TooltipOf(lect32::LinkRecordOf(Target(2, 5))).has_value());
}

TEST_F(RichTextObjectTest, TooltipMessageAnswersWithABlockOrShown) {
    reader_.names[{0, 5}] = "#TOOLTIP#Mapa";
    RichTextObject& view = ShowLinks({Target(2, 5)});
    lect32::LineInfo line;
    lect32::CaretBox caret;
    ASSERT_TRUE(view.PositionToPoint(0, InLink(view, 0), &line, &caret));
    const LPARAM at = At(caret.x + 2, caret.top + 2);
    const auto block = reinterpret_cast<HGLOBAL>(SendMessageA(view.Window(), 27139, 0, at));
    ASSERT_NE(block, nullptr);
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block));
    EXPECT_EQ(bytes[0] | (bytes[1] << 8), 6);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes + 2), "Mapa");
    GlobalUnlock(block);
    GlobalFree(block);
    EXPECT_EQ(SendMessageA(view.Window(), 27139, 6, at), static_cast<LRESULT>(lect32::kTooltipShown));
    EXPECT_EQ(SendMessageA(view.Window(), 27139, 0, At(1, 1)), 0);
}

TEST_F(RichTextObjectTest, TabStepsThroughTheLinks) {
    const Bytes first = Linked(Target(0, 1), "a");
    Bytes twoLinks = first;
    const Bytes plain = Text(" and ");
    twoLinks.insert(twoLinks.end(), plain.begin(), plain.end());
    const Bytes second = Linked(Target(0, 2), "b");
    twoLinks.insert(twoLinks.end(), second.begin(), second.end());
    Bytes third = Text("x ");
    const Bytes link = Linked(Target(0, 3), "c");
    third.insert(third.end(), link.begin(), link.end());
    RichTextObject& view = Show({{twoLinks}, {Text("none")}, {third}}).View();
    const auto& step = RichTextObject::ProgramLinkStep();
    EXPECT_EQ(SendMessageA(view.Window(), WM_COMMAND, RichTextObject::kPreviousLinkCommand, 0), 0);
    EXPECT_FALSE(view.GetSelection().active) << "Shift+Tab before any Tab";
    struct Expect {
        UINT command;
        int16_t counter;
        uint16_t row, start, end;
    };
    const uint16_t secondStart = static_cast<uint16_t>(twoLinks.size() - second.size());
    const Expect steps[] = {
        {1024, 0, 0, 0, static_cast<uint16_t>(first.size())},
        {1024, 1, 0, secondStart, static_cast<uint16_t>(twoLinks.size())},
        {1024, 2, 2, 2, static_cast<uint16_t>(third.size())},
        {1024, 2, 2, 2, static_cast<uint16_t>(third.size())},  // after the last link: nothing changes
        {1025, 1, 0, secondStart, static_cast<uint16_t>(twoLinks.size())},
        {1025, 0, 0, 0, static_cast<uint16_t>(first.size())},
    };
    for (const Expect& e : steps) {
        SCOPED_TRACE(testing::Message() << e.command << " to counter " << e.counter);
        view.OnCommand(e.command);
        EXPECT_EQ(step.counter, e.counter);
        EXPECT_EQ(step.row, e.row);
        EXPECT_EQ(step.start, e.start);
        EXPECT_EQ(step.end, e.end);
        const auto& selection = view.GetSelection();
        EXPECT_TRUE(selection.active);
        EXPECT_EQ(selection.startRow, e.row);
        EXPECT_EQ(selection.startPos, e.start);
        EXPECT_EQ(selection.endPos, e.end);
    }
}

TEST_F(RichTextObjectTest, TabStartsAgainOnANewPage) {
    Bytes row = Text("one ");
    const Bytes second = Linked(Target(0, 2), "b");
    const Bytes first = Linked(Target(0, 1), "a");
    row.insert(row.end(), first.begin(), first.end());
    row.insert(row.end(), second.begin(), second.end());
    RichTextObject& view = Show({{row}}).View();
    view.OnCommand(RichTextObject::kNextLinkCommand);
    view.OnCommand(RichTextObject::kNextLinkCommand);
    ASSERT_EQ(RichTextObject::ProgramLinkStep().counter, 1);
    Bytes other = Text("x");
    other.insert(other.end(), first.begin(), first.end());
    RichTextObject& next = Show({{other}}).View();
    next.OnCommand(RichTextObject::kNextLinkCommand);
    EXPECT_EQ(RichTextObject::ProgramLinkStep().counter, 0);
    EXPECT_EQ(next.GetSelection().startPos, 1);
}

TEST_F(RichTextObjectTest, DraggingSelectsFromThePressToThePointer) {
    RichTextObject& view = Show({{Text("first row of text")}, {Text("second row of text")}}).View();
    lect32::LineInfo line;
    lect32::CaretBox from, to;
    ASSERT_TRUE(view.PositionToPoint(0, 6, &line, &from));
    ASSERT_TRUE(view.PositionToPoint(1, 6, &line, &to));
    SendMessageA(view.Window(), WM_LBUTTONDOWN, MK_LBUTTON, At(from.x + 1, from.top + 2));
    EXPECT_TRUE(view.CaptureFlag());
    EXPECT_EQ(GetCapture(), view.Window());
    SendMessageA(view.Window(), WM_MOUSEMOVE, MK_LBUTTON, At(to.x + 1, to.top + 2));
    SendMessageA(view.Window(), WM_LBUTTONUP, 0, At(to.x + 1, to.top + 2));
    const auto& selection = view.GetSelection();
    ASSERT_TRUE(selection.active);
    EXPECT_EQ(selection.startRow, 0);
    EXPECT_EQ(selection.startPos, 6);
    EXPECT_EQ(selection.endRow, 1);
    EXPECT_EQ(selection.endPos, 6);
    EXPECT_FALSE(view.CaptureFlag());
    EXPECT_EQ(GetCapture(), nullptr);
    // Without the button the pointer selects nothing more.
    SendMessageA(view.Window(), WM_MOUSEMOVE, 0, At(from.x + 1, from.top + 2));
    EXPECT_EQ(view.GetSelection().endRow, 1);
}

TEST_F(RichTextObjectTest, FoundWordsAreBroughtIntoViewInTurn) {
    std::vector<Row> rows;
    for (int i = 0; i < 60; ++i) rows.push_back({Text(i == 20 || i == 45 ? "hit here" : "row " + std::to_string(i))});
    RichTextObject& view = Show(rows).View();
    view.MarkFoundWords(lect32::QueryWords{{0}}, false, Finder({"hit"}));
    const auto visible = [&](uint16_t row) {
        return view.GetRowTop(row) >= 0 && view.GetRowTop(row) < view.VisibleHeight();
    };
    ASSERT_FALSE(visible(20));
    view.ShowFirstFoundWord();
    EXPECT_TRUE(visible(20));
    EXPECT_EQ(view.ShowNextFoundWord(), 1);
    EXPECT_TRUE(visible(45));
    EXPECT_EQ(view.ShowNextFoundWord(), 0) << "no hit below the window";
    EXPECT_EQ(view.ShowPreviousFoundWord(), 1);
    EXPECT_TRUE(visible(20));
    EXPECT_EQ(view.ShowPreviousFoundWord(), 0) << "no hit above the window";
}

class RecordingLauncher final : public winplat::host::Launcher {
public:
    std::vector<std::vector<std::string>> arguments;
    winplat::host::Launched launch(const winplat::host::LaunchRequest& request) override {
        arguments.push_back(request.arguments);
        return {};
    }
};

class PageObjectPressTest : public RichTextObjectTest {
protected:
    void SetUp() override {
        RichTextObjectTest::SetUp();
        drive_.file("lecimg32.exe", "#!/bin/sh\n");
        ::chmod(drive_.host("lecimg32.exe").c_str(), 0755);
        drive_.file("pic; rm x.bmp", "BM");
        previous_ = winplat::host::setLauncher(&launcher_);
    }
    void TearDown() override {
        winplat::host::setLauncher(previous_);
        RichTextObjectTest::TearDown();
    }
    // A picture object at (20, 30) of the page, 60 x 40, with its slots; the point inside it.
    LPARAM Place(RichTextObject& view, const page_test::Bytes& slots) {
        char path[] = "T:\\pic; rm x.bmp";
        lect32::PageObject picture = page_test::object(20, 30, 60, 40);
        picture.picture = static_cast<int16_t>(view.GetPage().Pictures().AddPath(path));
        EXPECT_GE(view.GetPage().InsertObject(picture, slots), 0);
        const RECT box = view.GetPage().WindowRect(view.GetPage().Object(0));
        return At(box.left + 5, box.top + 5);
    }

    filetest::TempDrive drive_;
    RecordingLauncher launcher_;
    winplat::host::Launcher* previous_ = nullptr;
};

page_test::Bytes Placement(uint8_t enlargeSource) {
    return page_test::slot(2, page_test::Fields().u8(0).u16(1000).u8(0).u8(enlargeSource).u16(-1).bytes);
}

TEST_F(PageObjectPressTest, AnEnlargeablePictureStartsTheViewerWithItsFile) {
    RichTextObject& view = Show({{Text("text beside a picture")}}).View();
    view.SetImageViewerFolder("T:\\");
    const LPARAM at = Place(view, Placement(1));
    SendMessageA(view.Window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(view.Window(), WM_LBUTTONUP, 0, at);
    ASSERT_EQ(launcher_.arguments.size(), 1u);
    ASSERT_EQ(launcher_.arguments[0].size(), 2u) << "a file of its own: only /f";
    EXPECT_EQ(launcher_.arguments[0][1].substr(0, 3), "/f:");
    EXPECT_NE(launcher_.arguments[0][1].find("pic; rm x.bmp"), std::string::npos) << launcher_.arguments[0][1];
    EXPECT_TRUE(requests.empty());
}

TEST_F(PageObjectPressTest, APictureWithoutEnlargingStartsNothing) {
    RichTextObject& view = Show({{Text("text")}}).View();
    view.SetImageViewerFolder("T:\\");
    const LPARAM at = Place(view, Placement(0));
    SendMessageA(view.Window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_TRUE(launcher_.arguments.empty());
}

TEST_F(PageObjectPressTest, AnObjectsLinkIsFollowedInsteadOfEnlarging) {
    RichTextObject& view = Show({{Text("text")}}).View();
    view.SetImageViewerFolder("T:\\");
    std::array<uint8_t, lect32::LinkTarget::kMaxEncoded> link{};
    const size_t length = Target(0, 9).Encode(link, false);
    page_test::Bytes slots = page_test::slot(1, page_test::Bytes(link.begin(), link.begin() + static_cast<std::ptrdiff_t>(length)));
    const page_test::Bytes placement = Placement(1);
    slots.insert(slots.end(), placement.begin(), placement.end());
    const LPARAM at = Place(view, slots);
    SendMessageA(view.Window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(requests, (std::vector<Request>{{7001, 9, 0}}));
    EXPECT_TRUE(launcher_.arguments.empty());
    EXPECT_FALSE(view.CaptureFlag());
}

TEST_F(RichTextObjectTest, TabOnAPageWithoutLinksSelectsNothing) {
    RichTextObject& view = Show({{Text("plain")}, {Text("text")}}).View();
    view.OnCommand(RichTextObject::kNextLinkCommand);
    EXPECT_FALSE(view.GetSelection().active);
    EXPECT_EQ(RichTextObject::ProgramLinkStep().counter, -1);
    EXPECT_EQ(view.OnCommand(1026), 0);
}

TEST_F(RichTextObjectTest, AddressesMarkedOnCommand) {
    RichTextObject& view = Show({{Text("see www.x.cz. now")}}).View();
    EXPECT_TRUE(view.DoCommand(RichTextObject::kMarkAddresses));
    EXPECT_TRUE(view.FollowLinkAt(0, 10));
    EXPECT_EQ(addresses, std::vector<std::string>{"www.x.cz"});
}

TEST_F(RichTextObjectTest, CopyTakesTheSelectionOrTheWholeText) {
    RichTextObject& view = Show({{Text("first row")}, {Text("second")}}).View();
    EXPECT_FALSE(view.DoCommand(RichTextObject::kCopy, 1)) << "no selection: command 7 copies nothing";
    EXPECT_TRUE(view.CopySelection(true));
    EXPECT_EQ(ClipboardText(), "first row\r\nsecond");
    view.SetSelection(0, 6, 1, 3, true);
    EXPECT_TRUE(view.DoCommand(RichTextObject::kCopy, 1));
    EXPECT_EQ(ClipboardText(), "row\r\nsec");
}

TEST_F(RichTextObjectTest, FoundWordsAreMarkedPerRowAndSharedWithThePageName) {
    RichTextObject& view = Show({{Text("aa bb aa")}, {Text("cc")}}).View();
    lect32::QueryWords query{{0, 0, 0}};
    std::vector<bool> found{false, false, true};  // the third word was found in the page name
    size_t count = 1;
    EXPECT_TRUE(view.FindText(query, found, count, Finder({"bb", "cc", "zz"})));
    EXPECT_EQ(count, 3u);
    found = {false, false, false};
    count = 0;
    EXPECT_FALSE(view.FindText(query, found, count, Finder({"bb", "cc", "zz"})));
    EXPECT_EQ(count, 2u);

    lect32::QueryWords marked{{0, lect32::QueryWords::kNotMarked}};
    view.MarkFoundWords(marked, false, Finder({"aa", "bb"}));
    using Ranges = std::vector<std::pair<uint16_t, uint16_t>>;
    EXPECT_EQ(view.Row(0).marked, (Ranges{{0, 2}, {6, 8}}));
    EXPECT_TRUE(view.Row(1).marked.empty());
    EXPECT_EQ(view.Marked(), 1);
}

TEST_F(RichTextObjectTest, IndexMarkScrollsAndBlinksUnderTheTimer) {
    std::vector<Row> rows;
    for (int i = 0; i < 40; ++i) rows.push_back({Text("row " + std::to_string(i)), static_cast<uint16_t>(i == 30 ? 7 : 0)});
    lect32::PageWindow& page = Show(rows);
    RichTextObject& view = page.View();
    EXPECT_FALSE(page.ScrollToMark(8));
    EXPECT_EQ(view.ScrollY(), 0);
    EXPECT_EQ(page.TimerBits() & lect32::PageWindow::kMarkTimer, 0);

    SendMessageA(window_, lect32::PageWindow::kScrollToMarkMessage, 7, 0);
    EXPECT_GT(view.ScrollY(), 0);
    const int32_t top = view.GetRowTop(30);
    EXPECT_GE(top, 0);
    EXPECT_LT(top, view.VisibleHeight());
    EXPECT_NE(view.CaretMarkerY(), lect32::DocumentView::kNoMarker);
    EXPECT_EQ(view.MarkCounter(), 1);
    EXPECT_NE(page.TimerBits() & lect32::PageWindow::kMarkTimer, 0);
    harness_.advance(110);
    EXPECT_EQ(view.MarkCounter(), 2);
    EXPECT_NE(page.TimerBits() & lect32::PageWindow::kMarkTimer, 0);
    harness_.advance(110);
    EXPECT_EQ(view.MarkCounter(), 3);
    EXPECT_EQ(page.TimerBits() & lect32::PageWindow::kMarkTimer, 0);
    harness_.advance(500);
    EXPECT_EQ(view.MarkCounter(), 3);
}

TEST_F(RichTextObjectTest, IndexMarkShowsHidesAndShowsAgain) {
    std::vector<Row> rows;
    for (int i = 0; i < 40; ++i) rows.push_back({Text("row " + std::to_string(i)), static_cast<uint16_t>(i == 30 ? 7 : 0)});
    lect32::PageWindow& page = Show(rows);
    RichTextObject& view = page.View();
    UpdateWindow(view.Window());
    ASSERT_TRUE(page.ScrollToMark(7));
    // Inside the triangle: five pixels down its left edge, three in.
    const int x = view.Style().LeftMargin() - 8 + 3;
    const int y = view.CaretMarkerY() + 5;
    const auto pixel = [&] {
        const HDC dc = GetDC(view.Window());
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(view.Window(), dc);
        return colour;
    };
    const COLORREF red = RGB(255, 0, 0);
    EXPECT_EQ(pixel(), red) << "shown at once";
    harness_.advance(110);
    EXPECT_NE(pixel(), red) << "hidden at the first tick";
    harness_.advance(110);
    EXPECT_EQ(pixel(), red) << "shown again at the second";
}

TEST_F(RichTextObjectTest, IndexMarkOnAPageThatFitsDoesNotScroll) {
    lect32::PageWindow& page = Show({{Text("a")}, {Text("b"), 3}});
    EXPECT_TRUE(page.ScrollToMark(3));
    EXPECT_EQ(page.View().ScrollY(), 0);
}

}  // namespace
