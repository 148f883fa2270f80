// How a list box lays out and draws its items: owner-drawn measure and draw calls, item
// rectangles, scrolling, integral height, the parent's colours, and goldens with the test face.
#include "list_fixture.h"
#include "winplat/owners.h"

namespace list_test {
namespace {

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(ListTest, FixedOwnerDrawnListMeasuresOnceAndDrawsEachShownItem) {
    parentLog().height = [](const MEASUREITEMSTRUCT&) { return 20u; };
    HWND list = makeList(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 10, 10, 100, 50, 77);
    ASSERT_EQ(parentLog().measures.size(), 1u);
    const MEASUREITEMSTRUCT& m = parentLog().measures[0];
    EXPECT_EQ(m.CtlType, static_cast<UINT>(ODT_LISTBOX));
    EXPECT_EQ(m.CtlID, 77u);
    EXPECT_EQ(m.itemID, 0u);
    EXPECT_EQ(m.itemHeight, static_cast<UINT>(kLineHeight));  // offered: the font's line
    EXPECT_EQ(send(list, LB_GETITEMHEIGHT, 0), 20);
    for (const char* word : {"a", "b", "c", "d"}) add(list, word);
    send(list, LB_SETITEMDATA, 1, 0xBEEF);
    send(list, LB_SETCURSEL, 1);
    SetFocus(list);
    parentLog().draws.clear();
    UpdateWindow(list);
    // 50 pixels show items 0, 1 and the top of 2.
    ASSERT_EQ(parentLog().draws.size(), 3u);
    const DRAWITEMSTRUCT& second = parentLog().draws[1];
    EXPECT_EQ(second.CtlType, static_cast<UINT>(ODT_LISTBOX));
    EXPECT_EQ(second.CtlID, 77u);
    EXPECT_EQ(second.itemID, 1u);
    EXPECT_EQ(second.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
    EXPECT_EQ(second.itemState, static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
    EXPECT_EQ(second.hwndItem, list);
    EXPECT_EQ(second.itemData, 0xBEEFu);
    EXPECT_TRUE(sameRect(second.rcItem, RECT{0, 20, 100, 40}));
    EXPECT_EQ(parentLog().draws[0].itemState, 0u);
    EXPECT_EQ(parentLog().measures.size(), 1u);  // fixed: never again
}

TEST_F(ListTest, VariableOwnerDrawnListMeasuresEveryItemAndStacksThem) {
    // Each item as tall as its value.
    parentLog().height = [](const MEASUREITEMSTRUCT& m) { return static_cast<UINT>(m.itemData); };
    HWND list = makeList(LBS_OWNERDRAWVARIABLE, 10, 10, 100, 60);
    for (LPARAM height : {10, 30, 15, 40}) send(list, LB_ADDSTRING, 0, height);
    ASSERT_EQ(parentLog().measures.size(), 4u);
    EXPECT_EQ(parentLog().measures[2].itemID, 2u);
    EXPECT_EQ(parentLog().measures[2].itemData, 15u);
    EXPECT_EQ(send(list, LB_GETITEMHEIGHT, 3), 40);
    RECT r{};
    ASSERT_NE(send(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r)), LB_ERR);
    EXPECT_TRUE(sameRect(r, RECT{0, 40, 100, 55}));
    EXPECT_EQ(send(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 39)), MAKELONG(1, 0));
    EXPECT_EQ(send(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 40)), MAKELONG(2, 0));
    // Heights beyond 255 are refused; one item can be changed alone.
    EXPECT_EQ(send(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(256, 0)), LB_ERR);
    EXPECT_EQ(send(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(255, 0)), LB_OKAY);
    EXPECT_EQ(send(list, LB_GETITEMHEIGHT, 0), 255);
    EXPECT_EQ(send(list, LB_GETITEMHEIGHT, 1), 30);
    // Asked to scroll to the last item, the list stops where items 2 and 3 (55 pixels) fill the
    // page; the rectangles above the top count upwards.
    send(list, LB_SETTOPINDEX, 3);
    EXPECT_EQ(send(list, LB_GETTOPINDEX), 2);
    ASSERT_NE(send(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)), LB_ERR);
    EXPECT_TRUE(sameRect(r, RECT{0, -30, 100, 0}));
}

TEST_F(ListTest, IntegralHeightShowsWholeItemsOnlyUnlessTurnedOff) {
    HWND integral = makeList(LBS_HASSTRINGS, 10, 10, 100, 3 * kLineHeight + 5);
    HWND free = makeList(LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 120, 10, 100, 3 * kLineHeight + 5, 101);
    RECT r{};
    GetClientRect(integral, &r);
    EXPECT_EQ(r.bottom, 3 * kLineHeight);
    GetClientRect(free, &r);
    EXPECT_EQ(r.bottom, 3 * kLineHeight + 5);
}

TEST_F(ListTest, TopIndexStopsAtTheLastFullPageAndTheScrollBarFollows) {
    HWND list = makeList(LBS_HASSTRINGS | WS_VSCROLL, 10, 10, 100, 4 * kLineHeight);
    for (int i = 0; i < 10; ++i) add(list, std::to_string(i).c_str());
    EXPECT_EQ(send(list, LB_SETTOPINDEX, 9), LB_OKAY);
    EXPECT_EQ(send(list, LB_GETTOPINDEX), 6);  // 6..9 fill the page
    EXPECT_EQ(send(list, LB_SETTOPINDEX, 10), LB_ERR);
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 9);
    EXPECT_EQ(info.nPage, 4u);
    EXPECT_EQ(info.nPos, 6);
    SendMessageA(list, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(send(list, LB_GETTOPINDEX), 5);
    SendMessageA(list, WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(send(list, LB_GETTOPINDEX), 2);
    SendMessageA(list, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(send(list, LB_GETTOPINDEX), 6);
    // Emptied, the list is at its top again.
    send(list, LB_RESETCONTENT);
    EXPECT_EQ(send(list, LB_GETTOPINDEX), 0);
}

TEST_F(ListTest, HorizontalExtentMakesTheListScrollSideways) {
    HWND list = makeList(LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_HSCROLL, 10, 10, 100, 60);
    add(list, "a long line of text");
    EXPECT_EQ(send(list, LB_GETHORIZONTALEXTENT), 0);
    send(list, LB_SETHORIZONTALEXTENT, 300);
    EXPECT_EQ(send(list, LB_GETHORIZONTALEXTENT), 300);
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_LT(client.bottom, 60);  // the bar took its row
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(list, SB_HORZ, &info));
    EXPECT_EQ(info.nMax, 299);
    EXPECT_EQ(info.nPage, 100u);
    SendMessageA(list, WM_HSCROLL, SB_RIGHT, 0);
    RECT r{};
    send(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_TRUE(sameRect(r, RECT{-200, 0, 100, kLineHeight}));
}

TEST_F(ListTest, TheParentsBrushPaintsTheBackground) {
    const winplat::GdiObject<HBRUSH> green(CreateSolidBrush(RGB(0, 128, 0)));
    parentLog().listBrush = green.get();
    HWND list = makeList(LBS_HASSTRINGS, 10, 10, 100, 4 * kLineHeight);
    add(list, "a");
    UpdateWindow(list);
    ASSERT_FALSE(parentLog().colourAsks.empty());
    EXPECT_EQ(parentLog().colourAsks.back(), list);
    const winplat::test::Image shot = h.windowImage(list, true);
    EXPECT_EQ(shot.at(50, 3 * kLineHeight), 0x008000u);  // below the items
    DestroyWindow(list);
}

TEST_F(ListTest, GoldenOfAFocusedListWithASelection) {
    HWND list = makeList(LBS_SORT | LBS_HASSTRINGS | WS_BORDER | WS_VSCROLL, 10, 10, 120, 5 * kLineHeight + 2);
    for (const char* word : {"\x8E\xE1" "ba", "d\xF9m", "\xE8\xE1p", "cibule", "chata", "Cibule", "datle"}) add(list, word);
    send(list, LB_SETCURSEL, 2);
    SetFocus(list);
    h.pump();
    h.expectImage(h.windowImage(list, false), "list_box_focused");
    // Without the focus, no frame; multiple selection shows every mark.
    HWND multiple = makeList(LBS_HASSTRINGS | LBS_EXTENDEDSEL | WS_BORDER, 140, 10, 80, 4 * kLineHeight + 2, 101);
    for (const char* word : {"jedna", "dva", "t\xF8i", "\xE8ty\xF8i"}) add(multiple, word);
    send(multiple, LB_SETSEL, TRUE, 1);
    send(multiple, LB_SETSEL, TRUE, 3);
    h.pump();
    h.expectImage(h.windowImage(multiple, false), "list_box_multiple");
}

}  // namespace
}  // namespace list_test
