// Selecting and editing in an EDIT control by keyboard and mouse. The line "one two three" in the
// test face at 20 pixels: o n e 10 each, blanks 5, w 15, so positions 0..13 lie at x = 0 10 20
// 30 35 45 60 70 75 85 95 105 115 125, plus the 1-pixel margin and the edit's place (10, 10).
#include "edit_fixture.h"

namespace edit_test {
namespace {

using winplat::test::kCtrl;
using winplat::test::kNoModifiers;
using winplat::test::kShift;

constexpr int kLeft = 11;  // the screen x of position 0
constexpr int kRow = 20;   // a screen y on the line
constexpr const char* kLine = "one two three";

using EditSelectionTest = EditTest;

struct KeyCase {
    const char* name;
    DWORD anchor, caret;  // EM_SETSEL before the key
    UINT key;
    unsigned modifiers;
    DWORD start, end;     // EM_GETSEL after it
    DWORD caretAfter;     // where typing goes next
};

TEST_F(EditSelectionTest, KeysMoveTheCaretAndShiftExtendsTheSelection) {
    const KeyCase cases[] = {
        {"right", 4, 4, VK_RIGHT, kNoModifiers, 5, 5, 5},
        {"left", 4, 4, VK_LEFT, kNoModifiers, 3, 3, 3},
        {"shift+right", 4, 4, VK_RIGHT, kShift, 4, 5, 5},
        {"shift+left", 4, 4, VK_LEFT, kShift, 3, 4, 3},
        {"ctrl+right to the next word", 4, 4, VK_RIGHT, kCtrl, 8, 8, 8},
        {"ctrl+left to the word's start", 6, 6, VK_LEFT, kCtrl, 4, 4, 4},
        {"ctrl+shift+right", 4, 4, VK_RIGHT, kCtrl | kShift, 4, 8, 8},
        {"home", 6, 6, VK_HOME, kNoModifiers, 0, 0, 0},
        {"end", 6, 6, VK_END, kNoModifiers, 13, 13, 13},
        {"shift+home keeps the anchor", 6, 6, VK_HOME, kShift, 0, 6, 0},
        {"shift+end from a selection's anchor", 2, 6, VK_END, kShift, 2, 13, 13},
        {"left collapses a selection to its start", 2, 6, VK_LEFT, kNoModifiers, 2, 2, 2},
        {"right collapses it to its end", 6, 2, VK_RIGHT, kNoModifiers, 6, 6, 6},
        {"up on a single line goes left", 4, 4, VK_UP, kNoModifiers, 3, 3, 3},
        {"down on a single line goes right", 4, 4, VK_DOWN, kNoModifiers, 5, 5, 5},
    };
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 300, 30, kLine);
    SetFocus(edit);
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        send(edit, EM_SETSEL, c.anchor, c.caret);
        h_.key(c.key, c.modifiers);
        EXPECT_EQ(selection(edit), std::make_pair(c.start, c.end));
        // The caret's end is where a typed character lands.
        send(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
        h_.type("#");
        EXPECT_EQ(text(edit).find('#'), c.caretAfter);
        SetWindowTextA(edit, kLine);
    }
}

struct EditKeyCase {
    const char* name;
    DWORD style;
    const char* text;
    DWORD anchor, caret;
    UINT key;         // a key, or 0 for the character below
    char character;
    const char* expected;
    DWORD caretAfter;
};

TEST_F(EditSelectionTest, DeletingAndTypingKeys) {
    const EditKeyCase cases[] = {
        {"backspace", 0, "one two", 4, 4, 0, '\b', "onetwo", 3},
        {"delete", 0, "one two", 3, 3, VK_DELETE, 0, "onetwo", 3},
        {"backspace removes the selection", 0, "one two", 0, 4, 0, '\b', "two", 0},
        {"delete at the end does nothing", 0, "one", 3, 3, VK_DELETE, 0, "one", 3},
        {"backspace at the start does nothing", 0, "one", 0, 0, 0, '\b', "one", 0},
        {"typing replaces the selection", 0, "one two", 4, 7, 0, 'x', "one x", 5},
        {"backspace joins lines (CR LF as one)", ES_MULTILINE, "ab\r\ncd", 4, 4, 0, '\b', "abcd", 2},
        {"delete before a break joins them", ES_MULTILINE, "ab\r\ncd", 2, 2, VK_DELETE, 0, "abcd", 2},
        {"enter breaks a multi-line text", ES_MULTILINE, "abcd", 2, 2, 0, '\r', "ab\r\ncd", 4},
        {"enter does nothing on a single line", 0, "abcd", 2, 2, 0, '\r', "abcd", 2},
        {"tab goes into a multi-line text", ES_MULTILINE, "ab", 1, 1, 0, '\t', "a\tb", 2},
        {"tab stays out of a single line", 0, "ab", 1, 1, 0, '\t', "ab", 1},
    };
    for (const EditKeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = makeEdit(ES_AUTOHSCROLL | ES_AUTOVSCROLL | c.style, 10, 10, 300, 100, c.text);
        SetFocus(edit);
        send(edit, EM_SETSEL, c.anchor, c.caret);
        if (c.key) {
            h_.key(c.key);
        } else {
            h_.type(std::string(1, c.character));
        }
        EXPECT_EQ(text(edit), c.expected);
        EXPECT_EQ(selection(edit), std::make_pair(c.caretAfter, c.caretAfter));
        DestroyWindow(edit);
    }
}

TEST_F(EditSelectionTest, ArrowsUpAndDownGoToTheNearestPlaceOnTheNextLine) {
    // "abcd" over "ab" over "abcdef": from after "abc" (x 30) down lands at the end of "ab", then
    // down again at x 20 of the third line.
    HWND edit = makeEdit(ES_MULTILINE | ES_AUTOVSCROLL, 10, 10, 300, 100, "abcd\r\nab\r\nabcdef");
    SetFocus(edit);
    send(edit, EM_SETSEL, 3, 3);
    h_.key(VK_DOWN);
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{8}, DWORD{8}));
    h_.key(VK_DOWN);
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{12}, DWORD{12}));
    h_.key(VK_UP, kShift);
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{8}, DWORD{12}));
    h_.key(VK_HOME, kCtrl);
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{0}, DWORD{0}));
}

TEST_F(EditSelectionTest, MouseClickDragShiftClickAndDoubleClick) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 300, 30, kLine);
    // x 22 is left of the middle of 'e' (20..30): the caret goes before it.
    h_.click(kLeft + 22, kRow);
    EXPECT_EQ(h_.focus(), edit);
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{2}, DWORD{2}));
    h_.advance(1000);
    h_.click(kLeft + 26, kRow);  // right of it: after
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{3}, DWORD{3}));
    h_.advance(1000);

    winplat::testing::keyDown(VK_SHIFT);
    h_.click(kLeft + 80, kRow);  // 't' of "three" spans 75..85: position 9
    winplat::testing::keyUp(VK_SHIFT);
    h_.pump();
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{3}, DWORD{9}));
    h_.advance(1000);

    h_.drag(kLeft + 1, kRow, kLeft + 66, kRow);  // from 0 to the middle of 'o' (60..70): 7
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{0}, DWORD{7}));
    EXPECT_EQ(h_.capture(), nullptr);
    h_.advance(1000);

    h_.doubleClick(kLeft + 50, kRow);  // inside "two"
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{4}, DWORD{7}));
}

TEST_F(EditSelectionTest, SetSelSpecialValuesAndGetSelPointers) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 300, 30, kLine);
    send(edit, EM_SETSEL, 0, -1);
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{0}, DWORD{13}));
    EXPECT_EQ(send(edit, EM_GETSEL), MAKELRESULT(0, 13));
    send(edit, EM_SETSEL, 9, 2);  // backwards: reported in order
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{2}, DWORD{9}));
    send(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);  // dropped: the caret stays at 2
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{2}, DWORD{2}));
    send(edit, EM_SETSEL, 50, 60);  // clamped
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{13}, DWORD{13}));
}

}  // namespace
}  // namespace edit_test
