#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "window_fixture.h"
#include "winplat/owners.h"

namespace window_test {
namespace {

using winplat::OwnedMenu;
using MenuDataTest = WindowTest;

constexpr UINT kNone = static_cast<UINT>(-1);

std::string itemText(HMENU menu, UINT item, UINT flags) {
    char buffer[64] = {};
    const int length = GetMenuStringA(menu, item, buffer, sizeof buffer, flags);
    return std::string(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

// A bar with "&Soubor" opening { 1002 "&Otevřít...\tCtrl+O", separator, 1032 "&Přidat..." } and
// a plain item 1040 "&Nápověda" after it.
struct FileMenu {
    OwnedMenu bar{CreateMenu()};
    HMENU file = CreatePopupMenu();

    FileMenu() {
        AppendMenuA(file, MF_STRING, 1002, "&Otev\xF8\xEDt...\tCtrl+O");
        AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(file, MF_STRING, 1032, "&P\xF8idat...");
        AppendMenuA(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&Soubor");
        AppendMenuA(bar.get(), MF_STRING, 1040, "&N\xE1pov\xEC" "da");
    }
};

TEST_F(MenuDataTest, ItemsKeepTheirIdsTextsAndOrder) {
    FileMenu menu;
    ASSERT_TRUE(InsertMenuA(menu.file, 1032, MF_BYCOMMAND | MF_STRING, 1031, "&Zav\xF8\xEDt"));
    ASSERT_TRUE(InsertMenuA(menu.file, 0, MF_BYPOSITION | MF_STRING, 1001, "&Nov\xFD"));
    ASSERT_TRUE(InsertMenuA(menu.file, kNone, MF_BYPOSITION | MF_STRING, 1099, "&Konec"));
    const std::vector<UINT> ids = {1001, 1002, 0, 1031, 1032, 1099};
    ASSERT_EQ(GetMenuItemCount(menu.file), static_cast<int>(ids.size()));
    for (size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(GetMenuItemID(menu.file, static_cast<int>(i)), ids[i]) << i;
    EXPECT_EQ(GetMenuItemID(menu.bar.get(), 0), kNone) << "an item opening a sub-menu has no command";
    EXPECT_EQ(GetSubMenu(menu.bar.get(), 0), menu.file);
    EXPECT_EQ(GetSubMenu(menu.bar.get(), 1), nullptr);
    EXPECT_EQ(itemText(menu.bar.get(), 1002, MF_BYCOMMAND), "&Otev\xF8\xEDt...\tCtrl+O") << "found in the sub-menu";
    EXPECT_EQ(itemText(menu.bar.get(), 1, MF_BYPOSITION), "&N\xE1pov\xEC" "da");
}

TEST_F(MenuDataTest, GetMenuStringACopiesWhatFitsAndSaysTheLength) {
    FileMenu menu;
    const std::string full = "&P\xF8idat...";
    EXPECT_EQ(GetMenuStringA(menu.file, 1032, nullptr, 0, MF_BYCOMMAND), static_cast<int>(full.size()));
    char buffer[16];
    const int sizes[] = {1, 2, static_cast<int>(full.size()), static_cast<int>(full.size()) + 1};
    for (int size : sizes) {
        SCOPED_TRACE(size);
        std::fill(std::begin(buffer), std::end(buffer), 'x');
        const int copied = GetMenuStringA(menu.file, 1032, buffer, size, MF_BYCOMMAND);
        const int expected = std::min(size - 1, static_cast<int>(full.size()));
        EXPECT_EQ(copied, expected);
        EXPECT_EQ(std::string(buffer), full.substr(0, static_cast<size_t>(expected))) << "ended with a zero";
        EXPECT_EQ(buffer[size], 'x') << "nothing written past the size";
    }
}

TEST_F(MenuDataTest, ModifyMenuKeepsTheSubMenu) {
    const struct {
        const char* name;
        bool byCommandInside;  // rename an item of the drop-down through the bar by its command
        UINT flags;
    } cases[] = {
        {"drop-down by position", false, MF_BYPOSITION | MF_POPUP | MF_STRING},
        {"drop-down by its handle as command", false, MF_BYCOMMAND | MF_POPUP | MF_STRING},
        {"command inside the drop-down, through the bar", true, MF_BYCOMMAND | MF_STRING},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileMenu menu;
        BOOL done = FALSE;
        if (c.byCommandInside) {
            done = ModifyMenuA(menu.bar.get(), 1002, c.flags, 1002, "&Open...\tCtrl+O");
            EXPECT_EQ(itemText(menu.file, 0, MF_BYPOSITION), "&Open...\tCtrl+O");
            EXPECT_EQ(GetMenuItemID(menu.file, 0), 1002u);
        } else {
            const UINT where = (c.flags & MF_BYPOSITION) ? 0 : static_cast<UINT>(reinterpret_cast<UINT_PTR>(menu.file));
            done = ModifyMenuA(menu.bar.get(), where, c.flags, reinterpret_cast<UINT_PTR>(menu.file), "&File");
            EXPECT_EQ(itemText(menu.bar.get(), 0, MF_BYPOSITION), "&File");
        }
        EXPECT_TRUE(done);
        EXPECT_TRUE(IsMenu(menu.file)) << "the sub-menu lives on";
        EXPECT_EQ(GetSubMenu(menu.bar.get(), 0), menu.file);
        EXPECT_EQ(GetMenuItemCount(menu.file), 3);
        EXPECT_EQ(GetMenuItemCount(menu.bar.get()), 2);
    }
}

TEST_F(MenuDataTest, ReplacingADropDownByACommandDestroysIt) {
    FileMenu menu;
    ASSERT_TRUE(ModifyMenuA(menu.bar.get(), 0, MF_BYPOSITION | MF_STRING, 1050, "&Soubor"));
    EXPECT_FALSE(IsMenu(menu.file));
    EXPECT_EQ(GetMenuItemID(menu.bar.get(), 0), 1050u);
    EXPECT_EQ(GetSubMenu(menu.bar.get(), 0), nullptr);
}

TEST_F(MenuDataTest, DeleteMenuDestroysTheSubMenuAndRemoveMenuHandsItBack) {
    const struct {
        const char* name;
        BOOL (*take)(HMENU, UINT, UINT);
        bool subMenuLives;
    } cases[] = {{"DeleteMenu", DeleteMenu, false}, {"RemoveMenu", RemoveMenu, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileMenu menu;
        ASSERT_TRUE(c.take(menu.bar.get(), 0, MF_BYPOSITION));
        EXPECT_EQ(GetMenuItemCount(menu.bar.get()), 1);
        EXPECT_EQ(GetMenuItemID(menu.bar.get(), 0), 1040u);
        EXPECT_EQ(IsMenu(menu.file) != FALSE, c.subMenuLives);
        if (c.subMenuLives) {
            EXPECT_TRUE(DestroyMenu(menu.file));
        }
    }
}

TEST_F(MenuDataTest, DestroyMenuTakesTheSubMenusWithIt) {
    FileMenu menu;
    const HMENU inner = CreatePopupMenu();
    AppendMenuA(menu.file, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), "&Naposledy");
    EXPECT_TRUE(DestroyMenu(menu.bar.release()));
    EXPECT_FALSE(IsMenu(menu.file));
    EXPECT_FALSE(IsMenu(inner));
}

TEST_F(MenuDataTest, CheckEnableAndStateAnswerThePreviousAndCurrentBits) {
    FileMenu menu;
    EXPECT_EQ(CheckMenuItem(menu.bar.get(), 1032, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(menu.bar.get(), 1032, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(EnableMenuItem(menu.file, 2, MF_BYPOSITION | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(EnableMenuItem(menu.file, 2, MF_BYPOSITION | MF_GRAYED), MF_GRAYED);
    EXPECT_EQ(GetMenuState(menu.file, 1032, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED | MF_GRAYED));
    EXPECT_EQ(GetMenuState(menu.file, 1, MF_BYPOSITION), static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(GetMenuState(menu.bar.get(), 0, MF_BYPOSITION), (3u << 8) | MF_POPUP) << "item count in the high byte";
    EXPECT_TRUE(SetMenuDefaultItem(menu.file, 1002, FALSE));
    EXPECT_EQ(GetMenuState(menu.file, 0, MF_BYPOSITION), static_cast<UINT>(MF_DEFAULT));
    EXPECT_EQ(GetMenuDefaultItem(menu.file, TRUE, 0), 0u);
    EXPECT_TRUE(SetMenuDefaultItem(menu.file, 2, TRUE));
    EXPECT_EQ(GetMenuDefaultItem(menu.file, FALSE, 0), kNone) << "a grey default counts only with GMDI_USEDISABLED";
    EXPECT_EQ(GetMenuDefaultItem(menu.file, FALSE, GMDI_USEDISABLED), 1032u);
    EXPECT_EQ(GetMenuState(menu.file, 0, MF_BYPOSITION), 0u) << "one default per menu";
}

TEST_F(MenuDataTest, StaleMenusAndMissingItemsAreRefusedWithTheReason) {
    winplat::testing::DebugCapture debug;
    FileMenu menu;
    const HMENU stale = CreateMenu();
    ASSERT_TRUE(DestroyMenu(stale));
    const HMENU bar = menu.bar.get();
    const HMENU file = menu.file;
    const auto popupOf = [](HMENU m) { return reinterpret_cast<UINT_PTR>(m); };
    const struct {
        const char* name;
        std::function<bool()> refused;
        DWORD error;
        const char* why;
    } cases[] = {
        {"stale count", [&] { return GetMenuItemCount(stale) == -1; }, ERROR_INVALID_MENU_HANDLE,
         "not a live menu handle"},
        {"stale append", [&] { return !AppendMenuA(stale, MF_STRING, 1, "x"); }, ERROR_INVALID_MENU_HANDLE,
         "not a live menu handle"},
        {"stale destroy", [&] { return !DestroyMenu(stale); }, ERROR_INVALID_MENU_HANDLE, "not a live menu handle"},
        {"item id of a stale menu", [&] { return GetMenuItemID(stale, 0) == kNone; }, ERROR_INVALID_MENU_HANDLE,
         "not a live menu handle"},
        {"modify in a stale menu", [&] { return !ModifyMenuA(stale, 0, MF_BYPOSITION, 1, "x"); },
         ERROR_INVALID_MENU_HANDLE, "not a live menu handle"},
        {"popup of a stale menu", [&] { return !AppendMenuA(bar, MF_POPUP, popupOf(stale), "x"); },
         ERROR_INVALID_MENU_HANDLE, "the sub-menu is not a live menu"},
        {"a menu inside itself", [&] { return !AppendMenuA(file, MF_POPUP, popupOf(file), "x"); },
         ERROR_INVALID_MENU_HANDLE, "cannot open itself"},
        {"id one past the end", [&] { return GetMenuItemID(bar, 2) == kNone; }, ERROR_MENU_ITEM_NOT_FOUND,
         "no item at that position"},
        {"negative position", [&] { return GetSubMenu(bar, -1) == nullptr; }, ERROR_MENU_ITEM_NOT_FOUND,
         "never negative"},
        {"delete one past the end", [&] { return !DeleteMenu(bar, 2, MF_BYPOSITION); }, ERROR_MENU_ITEM_NOT_FOUND,
         "no item at that position"},
        {"modify a missing command", [&] { return !ModifyMenuA(bar, 4711, MF_BYCOMMAND, 4711, "x"); },
         ERROR_MENU_ITEM_NOT_FOUND, "no item has that command"},
        {"check a missing command", [&] { return CheckMenuItem(bar, 4711, MF_CHECKED) == kNone; },
         ERROR_MENU_ITEM_NOT_FOUND, "no item has that command"},
        {"insert before a missing command", [&] { return !InsertMenuA(bar, 4711, MF_BYCOMMAND, 1, "x"); },
         ERROR_MENU_ITEM_NOT_FOUND, "no item has that command"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        debug.clear();
        SetLastError(0);
        EXPECT_TRUE(c.refused());
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_TRUE(debug.contains(c.why)) << debug.text();
    }
    EXPECT_EQ(GetMenuItemID(bar, 1), 1040u) << "the last position is still an item";
    EXPECT_EQ(GetMenuItemCount(bar), 2) << "nothing was added or taken by a refused call";
    EXPECT_EQ(GetMenuItemCount(menu.file), 3);
}

TEST_F(MenuDataTest, MenuBarSetsTheFrameAndDiesWithTheWindow) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
    RECT before{};
    GetClientRect(window, &before);
    FileMenu menu;
    recorder().clear();
    ASSERT_TRUE(SetMenu(window, menu.bar.get()));
    EXPECT_EQ(GetMenu(window), menu.bar.get());
    RECT after{};
    GetClientRect(window, &after);
    EXPECT_EQ(before.bottom - after.bottom, 19) << "the menu bar strip";
    EXPECT_EQ(recorder().messagesOf(window, true, {WM_NCCALCSIZE}).size(), 1u);
    EXPECT_TRUE(DrawMenuBar(window));
    DestroyWindow(window);
    EXPECT_FALSE(IsMenu(menu.bar.release())) << "the window's menu is destroyed with it";
    EXPECT_FALSE(IsMenu(menu.file));
}

TEST_F(MenuDataTest, ChildWindowsHaveNoMenuBar) {
    winplat::testing::DebugCapture debug;
    HWND parent = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
    HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent, 0, "", 7);
    OwnedMenu menu(CreateMenu());
    EXPECT_FALSE(SetMenu(child, menu.get()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CHILD_WINDOW_MENU));
    EXPECT_EQ(GetMenu(child), nullptr);
    EXPECT_EQ(GetWindowLongA(child, GWL_ID), 7) << "the control id is untouched";
    EXPECT_TRUE(debug.contains("a child window has no menu bar"));
}

}  // namespace
}  // namespace window_test
