// The text of an EDIT control: its limit, the styles that filter what is typed, the password
// character, the notifications and their order, the dialog code and the colours asked of the
// parent.
#include "edit_fixture.h"
#include "winplat/cp1250.h"

namespace edit_test {
namespace {

using EditTextTest = EditTest;

TEST_F(EditTextTest, A64KLimitHoldsAndOneMoreCharacterIsRefusedWithMaxText) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 300, 30);
    EXPECT_EQ(send(edit, EM_GETLIMITTEXT), 32767);
    send(edit, EM_LIMITTEXT, 0);
    EXPECT_EQ(send(edit, EM_GETLIMITTEXT), 65536);
    send(edit, EM_SETLIMITTEXT, 70000);
    EXPECT_EQ(send(edit, EM_GETLIMITTEXT), 65536);

    SetWindowTextA(edit, std::string(65535, 'a').c_str());
    SetFocus(edit);
    send(edit, EM_SETSEL, 65535, 65535);
    h_.clearLog();
    h_.type("b");
    EXPECT_EQ(send(edit, WM_GETTEXTLENGTH), 65536);
    EXPECT_EQ(notifications(), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    h_.clearLog();
    h_.type("c");
    EXPECT_EQ(send(edit, WM_GETTEXTLENGTH), 65536);
    EXPECT_EQ(notifications(), (std::vector<WORD>{EN_MAXTEXT}));
    EXPECT_EQ(text(edit).back(), 'b');
    // EM_GETSEL cannot pack an end past 16 bits into its result.
    EXPECT_EQ(send(edit, EM_GETSEL), -1);
    EXPECT_EQ(selection(edit), std::make_pair(DWORD{65536}, DWORD{65536}));
    // A program's text beyond the most any control holds is refused whole.
    EXPECT_FALSE(SetWindowTextA(edit, std::string(65537, 'z').c_str()));
    EXPECT_EQ(text(edit).front(), 'a');
}

TEST_F(EditTextTest, TheDefaultLimitAndALowerOne) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 300, 30);
    SetWindowTextA(edit, std::string(32766, 'a').c_str());
    SetFocus(edit);
    send(edit, EM_SETSEL, 0, 0);
    h_.type("xy");
    EXPECT_EQ(send(edit, WM_GETTEXTLENGTH), 32767);
    EXPECT_EQ(text(edit).substr(0, 2), "xa");

    // A limit below the text keeps the text; typing over a selection stays within the limit.
    send(edit, EM_LIMITTEXT, 3);
    SetWindowTextA(edit, "abcde");
    EXPECT_EQ(text(edit), "abcde");
    send(edit, EM_SETSEL, 0, 3);
    h_.type("12");
    EXPECT_EQ(text(edit), "1de");
}

struct FilterCase {
    const char* name;
    DWORD style;
    const char8_t* typed;
    const char8_t* expected;
    size_t beeps;
};

TEST_F(EditTextTest, StylesFilterWhatIsTyped) {
    const FilterCase cases[] = {
        {"number refuses non-digits", ES_NUMBER, u8"12a3 4", u8"1234", 2},
        {"upper case, cp1250 letters too", ES_UPPERCASE, u8"žluťoučký kůň", u8"ŽLUŤOUČKÝ KŮŇ", 0},
        {"lower case", ES_LOWERCASE, u8"ŠKODA Ř", u8"škoda ř", 0},
        {"read-only types nothing", ES_READONLY, u8"abc", u8"", 3},
        {"plain", 0, u8"Dobrý den", u8"Dobrý den", 0},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = makeEdit(ES_AUTOHSCROLL | c.style, 10, 10, 300, 30);
        SetFocus(edit);
        const size_t beepsBefore = h_.beeps();
        h_.type(std::u8string_view(c.typed));
        EXPECT_EQ(winplat::cp1250::toUtf8(text(edit)), reinterpret_cast<const char*>(c.expected));
        EXPECT_EQ(h_.beeps() - beepsBefore, c.beeps);
        DestroyWindow(edit);
    }
}

TEST_F(EditTextTest, UpperCaseAppliesToAProgramsTextToo) {
    HWND edit = makeEdit(ES_UPPERCASE, 10, 10, 300, 30, "abc");
    EXPECT_EQ(text(edit), "ABC");
    SetWindowTextA(edit, "d\xE8");  // "dč"
    EXPECT_EQ(text(edit), "D\xC8");
}

TEST_F(EditTextTest, PasswordCharacterMasksTheLayout) {
    // "il" is 5 + 5 wide as itself, 10 + 10 as "**".
    HWND edit = makeEdit(ES_PASSWORD | ES_AUTOHSCROLL, 10, 10, 300, 30, "il");
    EXPECT_EQ(send(edit, EM_GETPASSWORDCHAR), '*');
    EXPECT_EQ(LOWORD(send(edit, EM_POSFROMCHAR, 2)), 1 + 20);
    send(edit, EM_SETPASSWORDCHAR, '#');
    EXPECT_EQ(send(edit, EM_GETPASSWORDCHAR), '#');
    EXPECT_NE(GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD, 0);
    send(edit, EM_SETPASSWORDCHAR, 0);
    EXPECT_EQ(GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD, 0);
    EXPECT_EQ(LOWORD(send(edit, EM_POSFROMCHAR, 2)), 1 + 10);
    EXPECT_EQ(text(edit), "il");
}

TEST_F(EditTextTest, NotificationsInOrder) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 300, 30);
    HWND other = makeEdit(ES_AUTOHSCROLL, 10, 50, 300, 30);
    h_.clearLog();
    SetFocus(edit);
    EXPECT_EQ(notifications(), (std::vector<WORD>{EN_SETFOCUS}));
    h_.clearLog();
    h_.type("a");
    EXPECT_EQ(notifications(), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    h_.clearLog();
    send(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("b"));
    EXPECT_EQ(notifications(), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    h_.clearLog();
    SetWindowTextA(edit, "text");
    EXPECT_EQ(notifications(), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    h_.clearLog();
    h_.key(VK_LEFT);  // moving the caret changes nothing
    EXPECT_EQ(notifications(), std::vector<WORD>{});
    h_.clearLog();
    SetFocus(other);
    EXPECT_EQ(notifications(), (std::vector<WORD>{EN_KILLFOCUS, EN_SETFOCUS}));
}

TEST_F(EditTextTest, ModifiedFlagFollowsTheUserNotTheProgram) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 300, 30, "start");
    EXPECT_FALSE(send(edit, EM_GETMODIFY));
    SetFocus(edit);
    h_.type("x");
    EXPECT_TRUE(send(edit, EM_GETMODIFY));
    send(edit, EM_SETMODIFY, FALSE);
    EXPECT_FALSE(send(edit, EM_GETMODIFY));
    send(edit, EM_SETMODIFY, TRUE);
    SetWindowTextA(edit, "again");
    EXPECT_FALSE(send(edit, EM_GETMODIFY));
}

TEST_F(EditTextTest, ReadOnlyBySetReadOnly) {
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 300, 30, "ab");
    SetFocus(edit);
    EXPECT_TRUE(send(edit, EM_SETREADONLY, TRUE));
    EXPECT_NE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY, 0);
    h_.type("x");
    EXPECT_EQ(text(edit), "ab");
    send(edit, EM_SETREADONLY, FALSE);
    h_.type("x");
    EXPECT_EQ(text(edit), "xab");
}

TEST_F(EditTextTest, WithoutAutomaticScrollingTextMayNotOutgrowTheWindow) {
    // 52 wide: 50 for text, five 10-pixel letters.
    HWND single = makeEdit(0, 10, 10, 52, 30);
    SetFocus(single);
    h_.clearLog();
    h_.type("abcdef");
    EXPECT_EQ(text(single), "abcde");
    EXPECT_EQ(notifications().back(), EN_MAXTEXT);

    // Two lines of 24 fit in 48.
    HWND multi = makeEdit(ES_MULTILINE, 10, 50, 200, 48);
    SetFocus(multi);
    h_.type("a\rb\rc");
    EXPECT_EQ(text(multi), "a\r\nbc");
}

struct DialogCodeCase {
    const char* name;
    DWORD style;
    UINT key;  // the WM_KEYDOWN asked about, 0 for none
    LRESULT expected;
};

TEST_F(EditTextTest, DialogCodes) {
    constexpr LRESULT kBase = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    const DialogCodeCase cases[] = {
        {"single line", 0, 0, kBase},
        {"single line, enter", 0, VK_RETURN, kBase},
        {"multi-line wants all keys", ES_MULTILINE, 0, kBase | DLGC_WANTALLKEYS},
        {"but not enter without want-return", ES_MULTILINE, VK_RETURN, kBase},
        {"enter with want-return", ES_MULTILINE | ES_WANTRETURN, VK_RETURN, kBase | DLGC_WANTALLKEYS},
        {"nor tab", ES_MULTILINE | ES_WANTRETURN, VK_TAB, kBase},
        {"nor escape", ES_MULTILINE | ES_WANTRETURN, VK_ESCAPE, kBase},
        {"other keys", ES_MULTILINE, 'A', kBase | DLGC_WANTALLKEYS},
    };
    for (const DialogCodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = makeEdit(c.style, 10, 10, 100, 30);
        MSG message{edit, WM_KEYDOWN, c.key, 0, 0, {}};
        EXPECT_EQ(send(edit, WM_GETDLGCODE, c.key, c.key ? reinterpret_cast<LPARAM>(&message) : 0), c.expected);
        DestroyWindow(edit);
    }
}

HBRUSH editBrush = nullptr;
HBRUSH staticBrush = nullptr;

LRESULT CALLBACK colouringParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLOREDIT && editBrush) return reinterpret_cast<LRESULT>(editBrush);
    if (message == WM_CTLCOLORSTATIC && staticBrush) return reinterpret_cast<LRESULT>(staticBrush);
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(EditTextTest, BackgroundFromTheParentAskedAsStaticWhenReadOnlyOrDisabled) {
    winplat::GdiObject<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    winplat::GdiObject<HBRUSH> blue(CreateSolidBrush(RGB(0, 0, 255)));
    SetWindowLongPtrA(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(colouringParent));
    HWND plain = makeEdit(0, 10, 10, 100, 30);
    HWND readOnly = makeEdit(ES_READONLY, 10, 50, 100, 30);
    HWND disabled = makeEdit(WS_DISABLED, 10, 90, 100, 30);
    HWND unanswered = makeEdit(0, 10, 130, 100, 30);
    const struct {
        HWND edit;
        HBRUSH editAnswer, staticAnswer;
        uint32_t pixel;
    } cases[] = {
        {plain, red.get(), blue.get(), 0xFF0000u},
        {readOnly, red.get(), blue.get(), 0x0000FFu},
        {disabled, red.get(), blue.get(), 0x0000FFu},
        {unanswered, nullptr, nullptr, 0xFFFFFFu},  // COLOR_WINDOW
    };
    for (const auto& c : cases) {
        editBrush = c.editAnswer;
        staticBrush = c.staticAnswer;
        InvalidateRect(c.edit, nullptr, TRUE);
        UpdateWindow(c.edit);
        RECT r{};
        GetWindowRect(c.edit, &r);
        EXPECT_EQ(h_.screenshot().at(r.right - 5, r.bottom - 5), c.pixel) << r.top;
    }
    editBrush = staticBrush = nullptr;
}

LRESULT CALLBACK destroyingParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_UPDATE) DestroyWindow(reinterpret_cast<HWND>(lParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(EditTextTest, AParentMayDestroyTheControlWhenToldOfAChange) {
    SetWindowLongPtrA(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(destroyingParent));
    HWND edit = makeEdit(ES_AUTOHSCROLL, 10, 10, 100, 30);
    SetFocus(edit);
    h_.type("ab");
    EXPECT_FALSE(IsWindow(edit));
}

}  // namespace
}  // namespace edit_test
