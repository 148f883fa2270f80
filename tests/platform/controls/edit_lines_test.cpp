// A multi-line EDIT control: word wrap at the window's width, the line messages, and scrolling
// by messages, scroll bar, wheel and caret. In the test face at 20 pixels "alpha" is 45 wide
// (l is 5), "beta" 40, "gamma" 60 (m is 15), "delta" 45, a blank 5.
#include "edit_fixture.h"

namespace edit_test {
namespace {

using winplat::test::kCtrl;

using EditLinesTest = EditTest;

// 102 wide: 100 for text. "alpha beta " is 95; "gamma " 65 and "delta" 45 do not share a line.
constexpr const char* kWrapped = "alpha beta gamma delta\r\nepsilon";

TEST_F(EditLinesTest, WordWrapAndTheLineMessages) {
    HWND edit = makeEdit(ES_MULTILINE | ES_AUTOVSCROLL, 10, 10, 102, 200, kWrapped);
    EXPECT_EQ(send(edit, EM_GETLINECOUNT), 4);
    const struct {
        int line;
        LRESULT index, length;
    } lines[] = {{0, 0, 11}, {1, 11, 6}, {2, 17, 5}, {3, 24, 7}};
    for (const auto& l : lines) {
        SCOPED_TRACE(l.line);
        EXPECT_EQ(send(edit, EM_LINEINDEX, static_cast<WPARAM>(l.line)), l.index);
        EXPECT_EQ(send(edit, EM_LINELENGTH, static_cast<WPARAM>(l.index)), l.length);
        EXPECT_EQ(send(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(l.index)), l.line);
        // The line's last position belongs to it unless the next line starts there.
        EXPECT_EQ(HIWORD(send(edit, EM_POSFROMCHAR, static_cast<WPARAM>(l.index))), l.line * kLineHeight);
    }
    EXPECT_EQ(send(edit, EM_LINEINDEX, 4), -1);

    // -1: the line of the caret, or of the selection's start.
    send(edit, EM_SETSEL, 13, 3);
    EXPECT_EQ(send(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1)), 0);
    EXPECT_EQ(send(edit, EM_LINEINDEX, static_cast<WPARAM>(-1)), 0);
    // The selection's lines less the selection: "alp" before it, "mma " after it.
    EXPECT_EQ(send(edit, EM_LINELENGTH, static_cast<WPARAM>(-1)), 3 + 4);

    // Wider, the first hard line fits on one line (205 pixels).
    MoveWindow(edit, 10, 10, 302, 200, TRUE);
    EXPECT_EQ(send(edit, EM_GETLINECOUNT), 2);
    EXPECT_EQ(send(edit, EM_LINEINDEX, 1), 24);
}

TEST_F(EditLinesTest, GetLineCopiesAtMostTheBuffersSizeWithoutAZero) {
    HWND edit = makeEdit(ES_MULTILINE | ES_AUTOVSCROLL, 10, 10, 102, 200, kWrapped);
    char buffer[16];
    std::memset(buffer, '~', sizeof buffer);
    const WORD room = 3;
    std::memcpy(buffer, &room, sizeof room);
    EXPECT_EQ(send(edit, EM_GETLINE, 3, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_EQ(std::string(buffer, 4), "eps~");

    const WORD all = sizeof buffer;
    std::memcpy(buffer, &all, sizeof all);
    EXPECT_EQ(send(edit, EM_GETLINE, 3, reinterpret_cast<LPARAM>(buffer)), 7);
    EXPECT_EQ(std::string(buffer, 7), "epsilon");
    EXPECT_EQ(send(edit, EM_GETLINE, 9, reinterpret_cast<LPARAM>(buffer)), 0);

    HWND single = makeEdit(ES_AUTOHSCROLL, 10, 250, 200, 30, "single");
    std::memcpy(buffer, &all, sizeof all);
    EXPECT_EQ(send(single, EM_GETLINE, 0, reinterpret_cast<LPARAM>(buffer)), 6);
    EXPECT_EQ(std::string(buffer, 6), "single");
    EXPECT_EQ(send(single, EM_GETLINECOUNT), 1);
}

std::string numberedLines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += (i > 1 ? "\r\n" : "") + std::to_string(i);
    return text;
}

TEST_F(EditLinesTest, ScrollingByMessagesScrollBarWheelAndCaret) {
    // Three lines show in 72 pixels; ten lines can scroll until the eighth is on top.
    HWND edit = makeEdit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 10, 10, 200, 72, numberedLines(10).c_str());
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 0);
    EXPECT_EQ(send(edit, EM_SCROLL, SB_LINEDOWN), MAKELRESULT(1, TRUE));
    EXPECT_EQ(send(edit, EM_SCROLL, SB_PAGEDOWN), MAKELRESULT(3, TRUE));
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 4);
    EXPECT_TRUE(send(edit, EM_LINESCROLL, 0, 100));
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 7);
    EXPECT_EQ(LOWORD(send(edit, EM_SCROLL, SB_LINEDOWN)), 0);

    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(edit, SB_VERT, &info);
    EXPECT_EQ(info.nMax, 9);
    EXPECT_EQ(info.nPage, 3u);
    EXPECT_EQ(info.nPos, 7);

    send(edit, EM_SETSEL, 0, 0);
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 7);  // selecting does not scroll
    EXPECT_TRUE(send(edit, EM_SCROLLCARET));
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 0);

    h_.clearLog();
    send(edit, WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(notifications(), (std::vector<WORD>{EN_VSCROLL}));
    send(edit, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5));
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 5);
    send(edit, WM_VSCROLL, SB_TOP);
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 0);

    SetFocus(edit);
    h_.wheel(-WHEEL_DELTA);  // towards the user: three lines down
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 3);

    // The caret pulls the view along: to the end, then up past the top line.
    h_.key(VK_END, kCtrl);
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 7);
    for (int i = 0; i < 3; ++i) h_.key(VK_UP);
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 6);

    // Typing at the end of a full view scrolls it.
    h_.key(VK_END, kCtrl);
    h_.type("\r");
    EXPECT_EQ(send(edit, EM_GETLINECOUNT), 11);
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 8);
}

TEST_F(EditLinesTest, ASingleLineScrollsSidewaysAndNotByLines) {
    // 52 wide: 50 pixels of text, five letters.
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 52, 30);
    SetFocus(edit);
    h_.type("abcdef");
    // The caret reaching the edge (50) moved the view on by a quarter of the width past it, to 12:
    // 'b' (10..20) shows first, and the caret after 'f' is at 60 - 12.
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 1);
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, 1 + 60 - 12);
    h_.key(VK_HOME);
    EXPECT_EQ(send(edit, EM_GETFIRSTVISIBLELINE), 0);
    EXPECT_EQ(send(edit, EM_SCROLL, SB_LINEDOWN), FALSE);
    EXPECT_EQ(send(edit, EM_LINESCROLL, 0, 1), FALSE);
}

TEST_F(EditLinesTest, CentredAndRightAlignedLinesStartWhereTheirWidthLeavesRoom) {
    // "abc" is 30 wide in 100 pixels of text.
    const struct {
        DWORD style;
        int x;
    } cases[] = {{ES_LEFT, 1}, {ES_CENTER, 1 + 35}, {ES_RIGHT, 1 + 70}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        HWND edit = makeEdit(c.style, 10, 10, 102, 30, "abc");
        EXPECT_EQ(static_cast<short>(LOWORD(send(edit, EM_POSFROMCHAR, 0))), c.x);
        DestroyWindow(edit);
    }
}

TEST_F(EditLinesTest, SidewaysScrollBarOfALineThatDoesNotWrap) {
    HWND edit = makeEdit(ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL, 10, 10, 102, 100,
                         "a line much wider than the window\r\nand another");
    EXPECT_EQ(send(edit, EM_GETLINECOUNT), 2);  // no wrapping
    h_.clearLog();
    send(edit, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30));
    EXPECT_EQ(notifications(), (std::vector<WORD>{EN_HSCROLL}));
    EXPECT_EQ(static_cast<short>(LOWORD(send(edit, EM_POSFROMCHAR, 0))), 1 - 30);
    send(edit, WM_HSCROLL, SB_LEFT);
    EXPECT_EQ(static_cast<short>(LOWORD(send(edit, EM_POSFROMCHAR, 0))), 1);
}

}  // namespace
}  // namespace edit_test
