// Where Tab, Shift+Tab and the arrow keys move in a dialog: the next tab stop or group member that
// is visible and enabled, wrapping round at either end, and the control itself when it is the only
// one that can take the focus (never nothing).
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "winplat/testing.h"

namespace {

using namespace dialog_test;
using winplat::dialogs::TemplateBox;

// How each push button of a case's dialog is made.
enum Item : unsigned {
    kPlain = 0,     // no tab stop
    kStop = 1,      // WS_TABSTOP
    kOff = 2,       // disabled
    kHidden = 4,    // not visible
    kGroup = 8,     // starts a group (WS_GROUP)
};

constexpr WORD kFirstId = 10;
constexpr int kNone = -1;

INT_PTR CALLBACK plainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

struct NavigationCase {
    const char* what;
    std::vector<unsigned> items;
    int from;  // the item navigated from, kNone for none
    bool previous;
    int expected;  // kNone: null
};

// clang-format off
const NavigationCase kTabCases[] = {
    {"the only control: Tab keeps it", {kStop}, 0, false, 0},
    {"the only control: Shift+Tab keeps it", {kStop}, 0, true, 0},
    {"the only reachable tab stop among others: Tab keeps it",
     {kStop | kOff, kPlain, kStop, kStop | kHidden}, 2, false, 2},
    {"the only reachable tab stop among others: Shift+Tab keeps it",
     {kStop | kOff, kPlain, kStop, kStop | kHidden}, 2, true, 2},
    {"from a control without a tab stop to the only tab stop", {kPlain, kStop}, 0, false, 1},
    {"from a control without a tab stop back to the only tab stop", {kStop, kPlain}, 1, true, 0},
    {"the next in the middle", {kStop, kStop, kStop}, 0, false, 1},
    {"the last wraps to the first", {kStop, kStop, kStop}, 2, false, 0},
    {"the first wraps back to the last", {kStop, kStop, kStop}, 0, true, 2},
    {"the last wraps over disabled ones to the first reachable", {kStop | kOff, kStop, kStop, kStop}, 3, false, 1},
    {"from nothing: the first tab stop", {kPlain, kStop, kStop}, kNone, false, 1},
    {"from nothing backwards: the last tab stop", {kStop, kStop, kPlain}, kNone, true, 1},
    {"no reachable tab stop: null", {kStop | kOff, kPlain, kStop | kHidden}, 1, false, kNone},
};

const NavigationCase kGroupCases[] = {
    {"a group of one: the arrow keeps it", {kStop | kGroup, kStop | kGroup}, 0, false, 0},
    {"a group of one: the other arrow keeps it", {kStop | kGroup, kStop | kGroup}, 0, true, 0},
    {"the last of a group wraps to its first", {kGroup, kPlain, kPlain, kGroup}, 2, false, 0},
    {"the first of a group wraps back to its last", {kGroup, kPlain, kPlain, kGroup}, 0, true, 2},
    {"the only reachable member keeps it", {kGroup | kOff, kPlain, kPlain | kHidden, kGroup}, 1, false, 1},
};
// clang-format on

class DialogNavigation : public DialogTest {
  protected:
    // A modeless dialog of push buttons made as 'items' says.
    HWND open(const std::vector<unsigned>& items) {
        winplat::dialogs::TemplateBytes t(WS_POPUP | WS_CAPTION | DS_SETFONT | WS_VISIBLE, 0,
                                          TemplateBox{10, 10, 200, 120}, "Kroky", 8, "MS Sans Serif");
        for (size_t i = 0; i < items.size(); ++i) {
            const unsigned item = items[i];
            DWORD style = BS_PUSHBUTTON;
            if (item & kStop) style |= WS_TABSTOP;
            if (item & kOff) style |= WS_DISABLED;
            if (!(item & kHidden)) style |= WS_VISIBLE;
            if (item & kGroup) style |= WS_GROUP;
            const auto y = static_cast<short>(5 + 16 * i);
            t.addItem(style, 0, TemplateBox{5, y, 50, 14}, static_cast<WORD>(kFirstId + i), "BUTTON",
                      "Tla\xE8\xEDtko " + std::to_string(i));
        }
        bytes_ = t.bytes();
        dialog_ = CreateDialogIndirectParamA(module_, reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()), owner_,
                                             plainDialog, 0);
        h.pump();
        return dialog_;
    }

    HWND item(int index) const {
        return index == kNone ? nullptr : GetDlgItem(dialog_, static_cast<int>(kFirstId + index));
    }

    // Keys through the dialog as a program's loop passes them: IsDialogMessageA first.
    void press(UINT key, bool shift = false) {
        if (shift) winplat::testing::keyDown(VK_SHIFT);
        winplat::testing::keyDown(key);
        winplat::testing::keyUp(key);
        if (shift) winplat::testing::keyUp(VK_SHIFT);
        MSG message{};
        while (winplat::testing::takeReadyMessage(&message)) {
            if (IsDialogMessageA(dialog_, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    std::vector<uint8_t> bytes_;
    HWND dialog_ = nullptr;
};

TEST_F(DialogNavigation, TabStopsWrapAndTheOnlyOneKeepsTheFocus) {
    for (const NavigationCase& c : kTabCases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(open(c.items), nullptr);
        EXPECT_EQ(GetNextDlgTabItem(dialog_, item(c.from), c.previous), item(c.expected));
        DestroyWindow(dialog_);
    }
}

TEST_F(DialogNavigation, GroupMembersWrapAndTheOnlyOneKeepsTheFocus) {
    for (const NavigationCase& c : kGroupCases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(open(c.items), nullptr);
        EXPECT_EQ(GetNextDlgGroupItem(dialog_, item(c.from), c.previous), item(c.expected));
        DestroyWindow(dialog_);
    }
}

TEST_F(DialogNavigation, TabAndShiftTabOnTheOnlyReachableControlKeepItFocused) {
    ASSERT_NE(open({kStop | kOff, kPlain, kStop}), nullptr);
    ASSERT_EQ(GetFocus(), item(2)) << "the first reachable tab stop takes the focus";
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), item(2));
    press(VK_TAB, true);
    EXPECT_EQ(GetFocus(), item(2));
}

TEST_F(DialogNavigation, TabFromTheLastControlGoesToTheFirst) {
    ASSERT_NE(open({kStop, kStop, kStop}), nullptr);
    SetFocus(item(2));
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), item(0));
    press(VK_TAB, true);
    EXPECT_EQ(GetFocus(), item(2));
}

}  // namespace
