// Cut, copy, paste and undo of an EDIT control, by keys and by messages.
#include "edit_fixture.h"

namespace edit_test {
namespace {

using winplat::test::kCtrl;
using winplat::test::kNoModifiers;
using winplat::test::kShift;

using EditClipboardTest = EditTest;

struct ClipboardCase {
    const char* name;
    DWORD style;
    const char* text;
    DWORD anchor, caret;
    const char* before;  // the clipboard before, or null for empty
    UINT key;            // with the modifiers, or 0 to send 'message'
    unsigned modifiers;
    UINT message;
    const char* expectedText;
    const char* expectedClipboard;
};

TEST_F(EditClipboardTest, CutCopyPasteAndClearTable) {
    const ClipboardCase cases[] = {
        {"ctrl+x", 0, "Hello world", 0, 5, nullptr, 'X', kCtrl, 0, " world", "Hello"},
        {"ctrl+c", 0, "Hello world", 6, 11, nullptr, 'C', kCtrl, 0, "Hello world", "world"},
        {"ctrl+v replaces the selection", 0, "Hello world", 0, 5, "Bye", 'V', kCtrl, 0, "Bye world", "Bye"},
        {"shift+del cuts", 0, "Hello world", 5, 11, nullptr, VK_DELETE, kShift, 0, "Hello", " world"},
        {"ctrl+ins copies", 0, "Hello world", 0, 1, nullptr, VK_INSERT, kCtrl, 0, "Hello world", "H"},
        {"shift+ins pastes", 0, "Hello", 5, 5, "!", VK_INSERT, kShift, 0, "Hello!", "!"},
        {"WM_CLEAR leaves the clipboard", 0, "Hello", 0, 2, "x", 0, 0, WM_CLEAR, "llo", "x"},
        {"copy of nothing leaves it", 0, "Hello", 2, 2, "x", 0, 0, WM_COPY, "Hello", "x"},
        {"a single line pastes up to the first break", 0, "ab", 1, 1, "X\r\nY", 0, 0, WM_PASTE, "aXb", "X\r\nY"},
        {"a multi-line control pastes the breaks", ES_MULTILINE, "ab", 1, 1, "X\r\nY", 0, 0, WM_PASTE, "aX\r\nYb",
         "X\r\nY"},
        {"read-only: no cut", ES_READONLY, "Hello", 0, 5, nullptr, 'X', kCtrl, 0, "Hello", "<none>"},
        {"read-only: no paste", ES_READONLY, "Hello", 0, 5, "x", 'V', kCtrl, 0, "Hello", "x"},
        {"read-only: copy", ES_READONLY, "Hello", 0, 5, nullptr, 'C', kCtrl, 0, "Hello", "Hello"},
        {"a password is never copied", ES_PASSWORD, "secret", 0, 6, nullptr, 0, 0, WM_COPY, "secret", "<none>"},
        {"nor cut", ES_PASSWORD, "secret", 0, 6, nullptr, 0, 0, WM_CUT, "secret", "<none>"},
        {"upper case pastes in upper case", ES_UPPERCASE, "", 0, 0, "abc", 0, 0, WM_PASTE, "ABC", "abc"},
    };
    for (const ClipboardCase& c : cases) {
        SCOPED_TRACE(c.name);
        winplat::testing::resetClipboard();
        if (c.before) setClipboard(c.before);
        HWND edit = makeEdit(ES_AUTOHSCROLL | ES_AUTOVSCROLL | c.style, 10, 10, 300, 60, c.text);
        SetFocus(edit);
        send(edit, EM_SETSEL, c.anchor, c.caret);
        if (c.key) {
            h_.key(c.key, c.modifiers);
        } else {
            send(edit, c.message);
        }
        EXPECT_EQ(text(edit), c.expectedText);
        EXPECT_EQ(clipboard(), c.expectedClipboard);
        DestroyWindow(edit);
    }
}

TEST_F(EditClipboardTest, PasteStopsAtTheLimitWithMaxText) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 300, 30, "ab");
    send(edit, EM_LIMITTEXT, 5);
    send(edit, EM_SETSEL, 2, 2);
    setClipboard("0123456789");
    h_.clearLog();
    send(edit, WM_PASTE);
    EXPECT_EQ(text(edit), "ab012");
    EXPECT_EQ(notifications(), (std::vector<WORD>{EN_MAXTEXT, EN_UPDATE, EN_CHANGE}));
}

TEST_F(EditClipboardTest, PasteReadsNoFurtherThanTheClipboardsBlock) {
    // Four bytes and no terminating zero: the paste ends with the block.
    winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, 4));
    ASSERT_TRUE(block);
    {
        winplat::GlobalPin pin(block.get());
        std::memcpy(pin.data(), "wxyz", 4);
    }
    {
        winplat::OpenedClipboard opened(nullptr);
        ASSERT_TRUE(opened);
        EmptyClipboard();
        ASSERT_TRUE(SetClipboardData(CF_TEXT, block.get()));
        (void)block.release();
    }
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 300, 30);
    send(edit, WM_PASTE);
    EXPECT_EQ(text(edit), "wxyz");
}

TEST_F(EditClipboardTest, UndoByKeysAndMessages) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 300, 30, "");
    SetFocus(edit);
    EXPECT_FALSE(send(edit, EM_CANUNDO));
    h_.type("abc");
    EXPECT_TRUE(send(edit, EM_CANUNDO));
    h_.key('Z', kCtrl);
    EXPECT_EQ(text(edit), "");
    h_.key('Z', kCtrl);  // the undo is undone
    EXPECT_EQ(text(edit), "abc");
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{0}, DWORD{3}));

    send(edit, EM_SETSEL, 0, 1);
    h_.key(VK_DELETE, kNoModifiers);
    EXPECT_EQ(text(edit), "bc");
    EXPECT_TRUE(send(edit, WM_UNDO));
    EXPECT_EQ(text(edit), "abc");
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{0}, DWORD{1}));

    send(edit, EM_EMPTYUNDOBUFFER);
    EXPECT_FALSE(send(edit, EM_CANUNDO));
    EXPECT_FALSE(send(edit, EM_UNDO));
    EXPECT_EQ(text(edit), "abc");

    // A replacement the program marks as not undoable leaves nothing to undo.
    send(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("x"));
    EXPECT_FALSE(send(edit, EM_CANUNDO));
    send(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("y"));
    EXPECT_TRUE(send(edit, EM_UNDO));
    EXPECT_EQ(text(edit), "xbc");
    // Setting the text forgets the undo.
    SetWindowTextA(edit, "new");
    EXPECT_FALSE(send(edit, EM_CANUNDO));
}

}  // namespace
}  // namespace edit_test
