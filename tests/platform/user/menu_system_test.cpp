#include <string>
#include <vector>

#include "window_fixture.h"

namespace window_test {
namespace {

using SystemMenuTest = WindowTest;

// "grey" or "on" for each command, in the standard order.
std::vector<std::string> greying(HMENU menu) {
    const UINT commands[] = {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE};
    std::vector<std::string> out;
    for (UINT command : commands) out.push_back((GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED) ? "grey" : "on");
    return out;
}

TEST_F(SystemMenuTest, HoldsTheStandardCzechItems) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
    const HMENU menu = GetSystemMenu(window, FALSE);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetSystemMenu(window, FALSE), menu) << "one copy per window";
    const struct {
        UINT id;
        const char* text;
    } expected[] = {
        {SC_RESTORE, "&Obnovit"},       {SC_MOVE, "&P\xF8" "esunout"}, {SC_SIZE, "&Velikost"},
        {SC_MINIMIZE, "Mi&nimalizovat"}, {SC_MAXIMIZE, "Ma&ximalizovat"}, {0, ""},
        {SC_CLOSE, "&Zav\xF8\xEDt\tAlt+F4"},
    };
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(std::size(expected)));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        SCOPED_TRACE(i);
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(menu, i), expected[i].id);
        EXPECT_STREQ(text, expected[i].text);
    }
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(SC_CLOSE));
}

TEST_F(SystemMenuTest, GreysWhatTheWindowCannotDo) {
    const struct {
        const char* name;
        DWORD style;
        int show;
        std::vector<std::string> expected;  // Obnovit Přesunout Velikost Minimalizovat Maximalizovat Zavřít
    } cases[] = {
        {"normal frame", WS_OVERLAPPEDWINDOW, SW_SHOWNORMAL, {"grey", "on", "on", "on", "on", "on"}},
        {"maximised", WS_OVERLAPPEDWINDOW, SW_MAXIMIZE, {"on", "grey", "grey", "on", "grey", "on"}},
        {"minimised", WS_OVERLAPPEDWINDOW, SW_MINIMIZE, {"on", "on", "grey", "grey", "on", "on"}},
        {"fixed frame without boxes", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, SW_SHOWNORMAL,
         {"grey", "on", "grey", "grey", "grey", "on"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND window = make(c.style, 10, 10, 300, 200);
        const HMENU menu = GetSystemMenu(window, FALSE);
        ShowWindow(window, c.show);
        // Announcing the menu is when DefWindowProc brings its items up to date.
        SendMessageA(window, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        EXPECT_EQ(greying(menu), c.expected);
        DestroyWindow(window);
        EXPECT_FALSE(IsMenu(menu)) << "the copy dies with its window";
    }
}

TEST_F(SystemMenuTest, TheProgramsGreyCloseSurvivesAndRevertStartsAfresh) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
    const HMENU menu = GetSystemMenu(window, FALSE);
    EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    SendMessageA(window, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_EQ(greying(menu).back(), "grey");
    EXPECT_EQ(GetSystemMenu(window, TRUE), nullptr);
    EXPECT_FALSE(IsMenu(menu));
    const HMENU fresh = GetSystemMenu(window, FALSE);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(greying(fresh).back(), "on");
}

}  // namespace
}  // namespace window_test
