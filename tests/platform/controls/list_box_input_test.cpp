// A list box worked with the keyboard and the mouse: what gets selected and what the parent
// hears.
#include "list_fixture.h"
#include "winplat/testing.h"

namespace list_test {
namespace {

using winplat::test::kShift;

constexpr DWORD kNotifying = LBS_NOTIFY | LBS_HASSTRINGS | WS_BORDER | WS_VSCROLL;

class ListInputTest : public ListTest {
protected:
    // Twenty items "item 00" ... "item 19" in a list showing five, focused.
    HWND makeFilled(DWORD style) {
        HWND list = makeList(style, 10, 10, 120, 5 * kLineHeight + 2);
        for (int i = 0; i < 20; ++i) {
            const std::string text = "item " + std::string(i < 10 ? "0" : "") + std::to_string(i);
            add(list, text.c_str());
        }
        SetFocus(list);
        h.pump();
        parentLog().commands.clear();
        return list;
    }
    // The middle of an item shown at a row of the list's client area, on the screen.
    static POINT row(HWND list, int shownRow) { return onScreen(list, 20, shownRow * kLineHeight + kLineHeight / 2); }
};

TEST_F(ListInputTest, AListThatWantsTheKeyboardAsksItsOwnerFirst) {
    // The owner handles Space itself (as a check list toggles its row) and moves Down on from item 2.
    parentLog().keyAnswer = [](UINT message, WORD key) -> LRESULT {
        if (message != WM_VKEYTOITEM) return -1;
        return key == VK_SPACE ? -2 : (key == VK_DOWN ? 2 : -1);
    };
    HWND list = makeFilled(kNotifying | LBS_WANTKEYBOARDINPUT);
    send(list, LB_SETCURSEL, 0);
    parentLog().keysAsked.clear();
    h.key(VK_SPACE);
    EXPECT_EQ(send(list, LB_GETCURSEL), 0);
    ASSERT_EQ(parentLog().keysAsked.size(), 1u);
    EXPECT_EQ(parentLog().keysAsked[0], MAKEWPARAM(VK_SPACE, 0));  // the key and the caret
    h.key(VK_DOWN);
    EXPECT_EQ(send(list, LB_GETCURSEL), 3);  // down from item 2
    h.key(VK_UP);
    EXPECT_EQ(send(list, LB_GETCURSEL), 2);  // -1: the list's own way
    EXPECT_EQ(parentLog().keysAsked.back(), MAKEWPARAM(VK_UP, 3));
}

struct KeyStep {
    UINT key;
    int selected;
    int top;
};

TEST_F(ListInputTest, KeysMoveTheSelectionAndScrollItIntoView) {
    HWND list = makeFilled(kNotifying);
    const KeyStep steps[] = {
        {VK_DOWN, 0, 0},    // nothing selected: the caret's item
        {VK_DOWN, 1, 0},
        {VK_NEXT, 5, 1},    // a page is the items shown less one
        {VK_END, 19, 15},
        {VK_UP, 18, 15},
        {VK_PRIOR, 14, 14},
        {VK_HOME, 0, 0},
        {VK_UP, 0, 0},      // already first: nothing changes
    };
    for (const KeyStep& step : steps) {
        h.key(step.key);
        EXPECT_EQ(send(list, LB_GETCURSEL), step.selected) << "key " << step.key;
        EXPECT_EQ(send(list, LB_GETTOPINDEX), step.top) << "key " << step.key;
    }
    // One LBN_SELCHANGE per change; the last Up changed nothing.
    EXPECT_EQ(codesFrom(list), std::vector<WORD>(7, LBN_SELCHANGE));
}

TEST_F(ListInputTest, WithoutNotifyTheParentHearsOnlyOfTheFocus) {
    HWND list = makeFilled(LBS_HASSTRINGS | WS_BORDER);
    h.key(VK_DOWN);
    h.click(row(list, 2).x, row(list, 2).y);
    h.doubleClick(row(list, 3).x, row(list, 3).y);
    EXPECT_EQ(send(list, LB_GETCURSEL), 3);
    EXPECT_TRUE(codesFrom(list).empty());
    SetFocus(parent);
    h.pump();
    EXPECT_EQ(codesFrom(list), std::vector<WORD>{LBN_KILLFOCUS});
}

TEST_F(ListInputTest, ClicksSelectAndADoubleClickSaysSo) {
    HWND list = makeFilled(kNotifying);
    SetFocus(parent);
    h.pump();
    parentLog().commands.clear();
    h.click(row(list, 2).x, row(list, 2).y);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(send(list, LB_GETCURSEL), 2);
    h.doubleClick(row(list, 4).x, row(list, 4).y);
    EXPECT_EQ(send(list, LB_GETCURSEL), 4);
    EXPECT_EQ(codesFrom(list), (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE, LBN_SELCHANGE, LBN_DBLCLK}));
    // Below the last item there is nothing to pick.
    send(list, LB_RESETCONTENT);
    add(list, "only");
    h.click(row(list, 3).x, row(list, 3).y);
    EXPECT_EQ(send(list, LB_GETCURSEL), LB_ERR);
}

TEST_F(ListInputTest, DraggingMovesTheSelectionAndNotifiesOnceAtTheRelease) {
    HWND list = makeFilled(kNotifying);
    h.drag(row(list, 0).x, row(list, 0).y, row(list, 3).x, row(list, 3).y);
    EXPECT_EQ(send(list, LB_GETCURSEL), 3);
    EXPECT_EQ(codesFrom(list), std::vector<WORD>{LBN_SELCHANGE});
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ListInputTest, ExtendedSelectionTakesRangesWithShiftAndTogglesWithControl) {
    HWND list = makeFilled(kNotifying | LBS_EXTENDEDSEL);
    h.click(row(list, 1).x, row(list, 1).y);
    winplat::testing::keyDown(VK_SHIFT);
    h.click(row(list, 3).x, row(list, 3).y);
    winplat::testing::keyUp(VK_SHIFT);
    h.pump();
    EXPECT_EQ(send(list, LB_GETSELCOUNT), 3);
    winplat::testing::keyDown(VK_CONTROL);
    h.click(row(list, 2).x, row(list, 2).y);
    winplat::testing::keyUp(VK_CONTROL);
    h.pump();
    int indices[4] = {};
    ASSERT_EQ(send(list, LB_GETSELITEMS, 4, reinterpret_cast<LPARAM>(indices)), 2);
    EXPECT_EQ(indices[0], 1);
    EXPECT_EQ(indices[1], 3);
    // Shift+Down extends from the anchor (the item clicked with Control) to the next item.
    h.key(VK_DOWN, kShift);
    EXPECT_EQ(send(list, LB_GETSELCOUNT), 2);
    EXPECT_GT(send(list, LB_GETSEL, 3), 0);
    EXPECT_EQ(send(list, LB_GETSEL, 1), 0);
    EXPECT_EQ(send(list, LB_GETCARETINDEX), 3);
}

TEST_F(ListInputTest, MultipleSelectionTogglesWithClicksAndSpace) {
    HWND list = makeFilled(kNotifying | LBS_MULTIPLESEL);
    h.click(row(list, 1).x, row(list, 1).y);
    h.click(row(list, 2).x, row(list, 2).y);
    h.click(row(list, 1).x, row(list, 1).y);
    EXPECT_EQ(send(list, LB_GETSELCOUNT), 1);
    EXPECT_GT(send(list, LB_GETSEL, 2), 0);
    h.key(VK_DOWN);  // moves the caret only, from the item clicked last
    h.key(VK_DOWN);
    EXPECT_EQ(send(list, LB_GETSELCOUNT), 1);
    EXPECT_EQ(send(list, LB_GETCARETINDEX), 3);
    h.key(VK_SPACE);
    EXPECT_GT(send(list, LB_GETSEL, 3), 0);
    EXPECT_EQ(send(list, LB_GETSELCOUNT), 2);
    h.key(VK_UP);
    h.key(VK_SPACE);
    EXPECT_EQ(send(list, LB_GETSEL, 2), 0);
    EXPECT_EQ(send(list, LB_GETSELCOUNT), 1);
}

TEST_F(ListInputTest, LetterSearchFollowsAPrefixTypedQuickly) {
    HWND list = makeList(LBS_SORT | LBS_NOTIFY | LBS_HASSTRINGS | WS_BORDER, 10, 10, 120, 100);
    for (const char* word : {"cibule", "chata", "chleba", "\xE8\xE1p", "d\xF9m", "datle", "dub"}) add(list, word);
    SetFocus(list);
    h.pump();
    struct Step {
        const char* typed;
        uint64_t pause;  // ms on the virtual clock before typing
        const char* expected;
    };
    const Step table[] = {
        {"c", 0, "chata"},
        {"i", 100, "cibule"},             // "ci" within the pause
        {"c", 2000, "chata"},             // after a pause a new search, from the item after the current
        {"hl", 100, "chleba"},            // "chl"
        {"\xC8", 2000, "\xE8\xE1p"},      // Č finds čáp, case ignored
        {"d", 2000, "datle"},
        {"d", 2000, "dub"},               // the same letter again: the next item starting with it
        {"d", 2000, "d\xF9m"},
        {"d", 2000, "datle"},             // wrapped round
        {"x", 2000, "datle"},             // nothing starts with x: the selection stays
    };
    for (const Step& step : table) {
        h.advance(step.pause);
        h.type(std::string_view(step.typed));
        const auto selected = static_cast<int>(send(list, LB_GETCURSEL));
        EXPECT_EQ(textAt(list, selected), step.expected) << "after typing " << step.typed;
    }
}

}  // namespace
}  // namespace list_test
