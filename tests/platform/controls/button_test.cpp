// BUTTON: what a click, a space press and the BM_ messages do for each kind, owner drawing, and
// the classic look.
#include <gtest/gtest.h>

#include "control_parent.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/testing.h"

namespace {

using control_test::makeControl;
using control_test::makeParent;
using control_test::Notification;
using control_test::parentRecord;
using winplat::test::Harness;

// The centre of a child on the screen.
POINT centreOf(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void clickOn(Harness& h, HWND control) {
    const POINT p = centreOf(control);
    h.click(p.x, p.y);
}

TEST(Button, EachClickMovesTheCheckAsTheKindSays) {
    const struct {
        const char* name;
        DWORD style;
        std::vector<LRESULT> checks;  // BM_GETCHECK after each of three clicks
    } cases[] = {
        {"a push button has no check", BS_PUSHBUTTON, {0, 0, 0}},
        {"a plain check box leaves its check to the program", BS_CHECKBOX, {0, 0, 0}},
        {"an auto check box toggles", BS_AUTOCHECKBOX, {1, 0, 1}},
        {"an auto 3-state box cycles through grey", BS_AUTO3STATE, {1, 2, 0}},
        {"a plain 3-state box stays", BS_3STATE, {0, 0, 0}},
        {"an auto radio button checks itself and stays checked", BS_AUTORADIOBUTTON, {1, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(control_test::smallScreen());
        const HWND parent = makeParent(200, 100);
        const HWND button = makeControl(parent, "BUTTON", "&Volba", c.style, 10, 10, 120, 24, 41);
        std::vector<LRESULT> seen;
        for (int i = 0; i < 3; ++i) {
            clickOn(h, button);
            seen.push_back(SendMessageA(button, BM_GETCHECK, 0, 0));
        }
        EXPECT_EQ(seen, c.checks);
        EXPECT_EQ(parentRecord().commands, std::vector<Notification>(3, Notification{41, BN_CLICKED}));
    }
}

TEST(Button, AnAutoRadioButtonUnchecksTheOthersOfItsGroupOnly) {
    Harness h(control_test::smallScreen());
    const HWND parent = makeParent(200, 160);
    const HWND a = makeControl(parent, "BUTTON", "A", BS_AUTORADIOBUTTON | WS_GROUP, 10, 10, 80, 20, 1);
    const HWND b = makeControl(parent, "BUTTON", "B", BS_AUTORADIOBUTTON, 10, 30, 80, 20, 2);
    const HWND plain = makeControl(parent, "BUTTON", "C", BS_RADIOBUTTON, 10, 50, 80, 20, 3);
    const HWND other = makeControl(parent, "BUTTON", "D", BS_AUTORADIOBUTTON | WS_GROUP, 10, 70, 80, 20, 4);
    SendMessageA(plain, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(other, BM_SETCHECK, BST_CHECKED, 0);
    clickOn(h, a);
    clickOn(h, b);
    EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(plain, BM_GETCHECK, 0, 0), BST_CHECKED) << "a plain radio button is the program's";
    EXPECT_EQ(SendMessageA(other, BM_GETCHECK, 0, 0), BST_CHECKED) << "the next group is left alone";
    // The checked auto radio button is the group's tab stop.
    EXPECT_TRUE(GetWindowLongA(b, GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongA(a, GWL_STYLE) & WS_TABSTOP);
}

TEST(Button, APressLeftBeforeReleaseIsNoClick) {
    Harness h(control_test::smallScreen());
    const HWND parent = makeParent(200, 100);
    const HWND button = makeControl(parent, "BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 80, 24, 1);
    const POINT p = centreOf(button);
    h.mouseMove(p.x, p.y);
    winplat::testing::mouseButton(winplat::host::MouseButton::Left, true);
    h.pump();
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
    h.mouseMove(p.x + 100, p.y);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0), BST_FOCUS) << "pushed only while the pointer is on it";
    winplat::testing::mouseButton(winplat::host::MouseButton::Left, false);
    h.pump();
    EXPECT_TRUE(parentRecord().commands.empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

// A group box made first lies above the controls inside it, yet a click reaches them.
TEST(Button, AClickGoesThroughAGroupBoxToTheControlInside) {
    Harness h(control_test::smallScreen());
    const HWND parent = makeParent(200, 120);
    makeControl(parent, "BUTTON", "Skupina", BS_GROUPBOX, 4, 4, 180, 100, 50);
    const HWND inside = makeControl(parent, "BUTTON", "Volba", BS_AUTOCHECKBOX, 20, 30, 100, 20, 51);
    clickOn(h, inside);
    EXPECT_EQ(SendMessageA(inside, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(parentRecord().commands, std::vector<Notification>(1, Notification{51, BN_CLICKED}));
}

TEST(Button, SpaceClicksTheFocusedButtonOnRelease) {
    Harness h(control_test::smallScreen());
    const HWND parent = makeParent(200, 100);
    const HWND box = makeControl(parent, "BUTTON", "Box", BS_AUTOCHECKBOX, 10, 10, 80, 24, 7);
    SetFocus(box);
    winplat::testing::keyDown(VK_SPACE);
    h.pump();
    EXPECT_EQ(SendMessageA(box, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
    EXPECT_TRUE(parentRecord().commands.empty()) << "nothing before the key comes up";
    winplat::testing::keyUp(VK_SPACE);
    h.pump();
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(parentRecord().commands, (std::vector<Notification>{{7, BN_CLICKED}}));
}

TEST(Button, MessagesSetTheCheckStateAndStyle) {
    Harness h(control_test::smallScreen());
    const HWND parent = makeParent(200, 100);
    const HWND two = makeControl(parent, "BUTTON", "2", BS_CHECKBOX, 10, 10, 80, 20, 1);
    const HWND three = makeControl(parent, "BUTTON", "3", BS_3STATE, 10, 30, 80, 20, 2);
    const HWND push = makeControl(parent, "BUTTON", "P", BS_PUSHBUTTON, 10, 50, 80, 20, 3);
    SendMessageA(two, BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessageA(three, BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessageA(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(two, BM_GETCHECK, 0, 0), BST_CHECKED) << "a two-state box has no grey";
    EXPECT_EQ(SendMessageA(three, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(SendMessageA(push, BM_GETCHECK, 0, 0), 0);
    SendMessageA(push, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(SendMessageA(push, BM_GETSTATE, 0, 0), BST_PUSHED);
    SendMessageA(push, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(GetWindowLongA(push, GWL_STYLE) & (WS_CHILD | BS_TYPEMASK), WS_CHILD | BS_DEFPUSHBUTTON);
    EXPECT_EQ(SendMessageA(push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    // BM_CLICK clicks, except on a disabled button.
    SendMessageA(two, BM_CLICK, 0, 0);
    EnableWindow(three, FALSE);
    SendMessageA(three, BM_CLICK, 0, 0);
    EXPECT_EQ(parentRecord().commands, (std::vector<Notification>{{1, BN_CLICKED}}));
}

TEST(Button, AnOwnerDrawnButtonIsDrawnByItsParentWithItsState) {
    Harness h(control_test::smallScreen());
    const HWND parent = makeParent(200, 100);
    const HWND button = makeControl(parent, "BUTTON", "", BS_OWNERDRAW, 10, 10, 60, 30, 9);
    UpdateWindow(parent);
    UpdateWindow(button);
    ASSERT_FALSE(parentRecord().drawn.empty());
    const DRAWITEMSTRUCT first = parentRecord().drawn.back();
    EXPECT_EQ(first.CtlType, static_cast<UINT>(ODT_BUTTON));
    EXPECT_EQ(first.CtlID, 9u);
    EXPECT_EQ(first.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
    EXPECT_EQ(first.hwndItem, button);
    EXPECT_EQ(first.rcItem.right, 60);
    EXPECT_EQ(first.rcItem.bottom, 30);
    parentRecord().drawn.clear();
    const POINT p = centreOf(button);
    h.mouseMove(p.x, p.y);
    winplat::testing::mouseButton(winplat::host::MouseButton::Left, true);
    h.pump();
    std::vector<std::pair<UINT, UINT>> actions;
    for (const auto& d : parentRecord().drawn) actions.emplace_back(d.itemAction, d.itemState);
    const std::vector<std::pair<UINT, UINT>> expected = {
        {ODA_FOCUS, ODS_FOCUS}, {ODA_SELECT, ODS_SELECTED | ODS_FOCUS}};
    EXPECT_EQ(actions, expected);
    winplat::testing::mouseButton(winplat::host::MouseButton::Left, false);
    h.pump();
    EXPECT_EQ(parentRecord().commands, (std::vector<Notification>{{9, BN_CLICKED}}));
}

TEST(Button, DoubleClicksReachTheParentOnlyWhenTheButtonNotifies) {
    const struct {
        DWORD style;
        std::vector<WORD> codes;
    } cases[] = {
        {BS_PUSHBUTTON, {BN_CLICKED, BN_CLICKED}},
        {BS_PUSHBUTTON | BS_NOTIFY, {BN_CLICKED, BN_DBLCLK}},
        {BS_RADIOBUTTON, {BN_CLICKED, BN_DBLCLK}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        Harness h(control_test::smallScreen());
        const HWND parent = makeParent(200, 100);
        const HWND button = makeControl(parent, "BUTTON", "x", c.style, 10, 10, 60, 30, 5);
        const POINT p = centreOf(button);
        h.doubleClick(p.x, p.y);
        std::vector<WORD> codes;
        for (const auto& n : parentRecord().commands) {
            if (n.code == BN_CLICKED || n.code == BN_DBLCLK) codes.push_back(n.code);
        }
        EXPECT_EQ(codes, c.codes);
    }
}

TEST(Button, APushButtonShowsItsBitmapInPlaceOfItsText) {
    Harness h(control_test::smallScreen());
    const HWND parent = makeParent(200, 100);
    const HWND button = makeControl(parent, "BUTTON", "text", BS_PUSHBUTTON | BS_BITMAP, 10, 10, 40, 30, 1);
    const winplat::BorrowedDc screen(nullptr);
    const winplat::OwnedBitmap bitmap(CreateCompatibleBitmap(screen.get(), 6, 4));
    {
        const winplat::MemoryDc dc(CreateCompatibleDC(screen.get()));
        const winplat::Selection selected(dc.get(), bitmap.get());
        const winplat::GdiObject<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
        const RECT all{0, 0, 6, 4};
        FillRect(dc.get(), &all, red.get());
    }
    EXPECT_EQ(SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get())), 0);
    EXPECT_EQ(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(bitmap.get()));
    h.pump();
    const winplat::test::Image image = h.windowImage(button, true);
    // Centred: columns 17..22, rows 13..16 of the 40 x 30 button.
    EXPECT_EQ(image.at(17, 13), 0xFF0000u);
    EXPECT_EQ(image.at(22, 16), 0xFF0000u);
    EXPECT_NE(image.at(16, 13), 0xFF0000u);
    EXPECT_NE(image.at(23, 16), 0xFF0000u);
}

TEST(Button, TheClassicLook) {
    Harness h(control_test::smallScreen());
    const HWND parent = makeParent(260, 150);
    makeControl(parent, "BUTTON", "Volby", BS_GROUPBOX, 4, 2, 120, 140, 100);
    const HWND check = makeControl(parent, "BUTTON", "&Zapnuto", BS_AUTOCHECKBOX, 12, 18, 100, 16, 1);
    const HWND grey = makeControl(parent, "BUTTON", "&Sedy", BS_AUTO3STATE, 12, 36, 100, 16, 2);
    const HWND radio = makeControl(parent, "BUTTON", "&Prvni", BS_AUTORADIOBUTTON | WS_GROUP, 12, 54, 100, 16, 3);
    makeControl(parent, "BUTTON", "&Druhy", BS_AUTORADIOBUTTON, 12, 72, 100, 16, 4);
    const HWND off = makeControl(parent, "BUTTON", "Vypnuto", BS_AUTOCHECKBOX, 12, 90, 100, 16, 5);
    makeControl(parent, "BUTTON", "OK", BS_DEFPUSHBUTTON, 140, 10, 75, 23, 6);
    const HWND cancel = makeControl(parent, "BUTTON", "Storno", BS_PUSHBUTTON, 140, 40, 75, 23, 7);
    const HWND pushed = makeControl(parent, "BUTTON", "Dole", BS_PUSHBUTTON, 140, 70, 75, 23, 8);
    const HWND disabled = makeControl(parent, "BUTTON", "Nelze", BS_PUSHBUTTON, 140, 100, 75, 23, 9);
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(grey, BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(off, FALSE);
    EnableWindow(disabled, FALSE);
    SendMessageA(pushed, BM_SETSTATE, TRUE, 0);
    SetFocus(cancel);
    h.pump();
    h.expectImage(h.windowImage(parent, true), "buttons");
}

}  // namespace
