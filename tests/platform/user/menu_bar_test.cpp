// The window's menu bar: drawn in its frame, opened by a press on it and from the keyboard,
// answered through the harness.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "user/menu_bar.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace {

using winplat::host::ModalKind;
using winplat::host::ModalLoop;
using winplat::test::Harness;

constexpr const char* kClass = "MenuBarOwner";

LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

Harness::Options smallScreen() {
    Harness::Options options;
    options.width = 640;
    options.height = 480;
    options.goldenFolder = WINPLAT_GOLDEN_DIR;
    return options;
}

// A framed window with the bar "&Soubor" { 1002, 1032 }, "Ú&pravy" { 2001 }, "&Grey" (grey,
// { 3001 }) and "&Nápověda" { 4001 }; the window owns the bar.
HWND makeWithBar() {
    WNDCLASSA owner{};
    owner.lpfnWndProc = ownerProcedure;
    owner.lpszClassName = kClass;
    RegisterClassA(&owner);
    const HMENU bar = CreateMenu();
    const auto dropDown = [bar](const char* label, UINT flags, std::vector<std::pair<UINT, const char*>> items) {
        const HMENU menu = CreatePopupMenu();
        for (const auto& [id, text] : items) AppendMenuA(menu, MF_STRING, id, text);
        AppendMenuA(bar, MF_POPUP | flags, reinterpret_cast<UINT_PTR>(menu), label);
    };
    dropDown("&Soubor", 0, {{1002, "&Otev\xF8\xEDt...\tCtrl+O"}, {1032, "&P\xF8idat..."}});
    dropDown("\xDA&pravy", 0, {{2001, "&Kop\xEDrovat"}});
    dropDown("&Grey", MF_GRAYED, {{3001, "&Nothing"}});
    dropDown("&N\xE1pov\xEC" "da", 0, {{4001, "&O programu"}});
    HWND window = CreateWindowExA(0, kClass, "bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 160, nullptr, bar,
                                  nullptr, nullptr);
    SetActiveWindow(window);
    return window;
}

// makeWithBar's window, drawn, its messages logged from now on.
HWND loggedWindowWithBar(Harness& h) {
    HWND window = makeWithBar();
    h.pump();
    h.logMessages(window);
    return window;
}

Harness::Action choose(INT_PTR command) {
    return [command](const ModalLoop&) -> std::optional<INT_PTR> { return command; };
}

Harness::Action pressing(UINT key) {
    return [key](const ModalLoop&) -> std::optional<INT_PTR> {
        winplat::testing::keyDown(key);
        winplat::testing::keyUp(key);
        return std::nullopt;
    };
}

// The commands and menu announcements the window got, in order.
std::vector<std::string> told(const Harness& h, HWND window) {
    std::vector<std::string> out;
    for (const auto& m : h.messages(window)) {
        if (m.message == WM_COMMAND) out.push_back("WM_COMMAND " + std::to_string(m.wParam));
        if (m.message == WM_INITMENU) out.push_back("WM_INITMENU");
    }
    return out;
}

// A point on the bar, 'x' pixels into the strip.
POINT onBar(HWND window, int x) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left + GetSystemMetrics(SM_CXFRAME) + x,
            r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) / 2};
}

TEST(MenuBar, APressOpensTheDropDownUnderIt) {
    Harness h(smallScreen());
    HWND window = loggedWindowWithBar(h);
    RECT shown{};
    h.answer(ModalKind::PopupMenu, "Soubor", [&shown](const ModalLoop& loop) -> std::optional<INT_PTR> {
        GetWindowRect(loop.window, &shown);
        return 1032;
    });
    const POINT at = onBar(window, 10);
    h.click(at.x, at.y);
    EXPECT_EQ(told(h, window), (std::vector<std::string>{"WM_INITMENU", "WM_COMMAND 1032"}));
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ(shown.left, r.left + GetSystemMetrics(SM_CXFRAME)) << "under the bar item's left edge";
    EXPECT_EQ(shown.top, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU));
}

TEST(MenuBar, TheKeyboardEntersAndMovesAlongTheBar) {
    const struct {
        const char* name;
        UINT key;
        unsigned modifiers;
        std::vector<std::pair<const char*, Harness::Action>> answers;
        std::string expected;
    } cases[] = {
        {"F10 opens the first", VK_F10, winplat::test::kNoModifiers, {{"Soubor", choose(1002)}}, "WM_COMMAND 1002"},
        {"Right moves on", VK_F10, winplat::test::kNoModifiers,
         {{"Soubor", pressing(VK_RIGHT)}, {"\xDApravy", choose(2001)}}, "WM_COMMAND 2001"},
        {"Right passes a grey item", VK_F10, winplat::test::kNoModifiers,
         {{"Soubor", pressing(VK_RIGHT)}, {"\xDApravy", pressing(VK_RIGHT)}, {"N\xE1pov\xEC" "da", choose(4001)}},
         "WM_COMMAND 4001"},
        {"Left wraps round", VK_F10, winplat::test::kNoModifiers,
         {{"Soubor", pressing(VK_LEFT)}, {"N\xE1pov\xEC" "da", choose(4001)}}, "WM_COMMAND 4001"},
        {"Alt+P opens by mnemonic", 'P', winplat::test::kAlt, {{"\xDApravy", choose(2001)}}, "WM_COMMAND 2001"},
        {"Alt+G of a grey item opens nothing", 'G', winplat::test::kAlt, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(smallScreen());
        HWND window = loggedWindowWithBar(h);
        for (const auto& [name, action] : c.answers) h.answer(ModalKind::PopupMenu, name, action);
        h.key(c.key, c.modifiers);
        std::string commands;
        for (const std::string& m : told(h, window)) {
            if (m.rfind("WM_COMMAND", 0) == 0) commands += m;
        }
        EXPECT_EQ(commands, c.expected);
        EXPECT_EQ(h.answersQueued(), 0u);
    }
}

// The middle of a bar item on the screen.
POINT barItemCentre(HWND window, int item) {
    const auto object = winplat::user::findWindow(window);
    const RECT place = winplat::user::layOutMenuBar(*object)[static_cast<size_t>(item)];
    return {object->window.left + (place.left + place.right) / 2, object->window.top + (place.top + place.bottom) / 2};
}

Harness::Action hoveringBarItem(HWND window, int item) {
    return [window, item](const ModalLoop&) -> std::optional<INT_PTR> {
        const POINT at = barItemCentre(window, item);
        winplat::testing::mouseMove(at.x, at.y);
        return std::nullopt;
    };
}

TEST(MenuBar, ThePointerOverAnotherBarItemSwitchesTheOpenDropDown) {
    const struct {
        const char* name;
        int hovered;
        const char* opened;  // the drop-down that shows after the move
        INT_PTR chosen;
    } cases[] = {
        {"to the next item", 1, "\xDApravy", 2001},
        {"to the last item", 3, "N\xE1pov\xEC" "da", 4001},
        {"a grey item is passed over", 2, "Soubor", 1032},
        {"the same item keeps it", 0, "Soubor", 1002},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(smallScreen());
        HWND window = loggedWindowWithBar(h);
        h.answer(ModalKind::PopupMenu, "Soubor", hoveringBarItem(window, c.hovered));
        h.answer(ModalKind::PopupMenu, c.opened, choose(c.chosen));
        h.key(VK_F10);
        std::vector<std::string> selected;
        for (const auto& m : h.messages(window)) {
            if (m.message == WM_MENUSELECT && HIWORD(m.wParam) != 0xFFFF && (HIWORD(m.wParam) & MF_POPUP)) {
                selected.push_back(std::to_string(LOWORD(m.wParam)));
            }
        }
        const bool switched = std::string(c.opened) != "Soubor";
        std::vector<std::string> expected{"0"};
        if (switched) expected.push_back(std::to_string(c.hovered));
        EXPECT_EQ(selected, expected)
            << "WM_MENUSELECT names each bar item as its drop-down opens";
        EXPECT_EQ(told(h, window).back(), "WM_COMMAND " + std::to_string(c.chosen));
        EXPECT_EQ(h.answersQueued(), 0u);
    }
}

TEST(MenuBar, DrawnInTheFrameWithTheTestFace) {
    Harness h(smallScreen());
    HWND window = makeWithBar();
    h.pump();
    h.expectImage(h.windowImage(window, false), "menu_bar");
    // The open item is drawn pushed in while its drop-down shows.
    h.answer(ModalKind::PopupMenu, "\xDApravy", [&h, window](const ModalLoop&) -> std::optional<INT_PTR> {
        h.expectImage(h.windowImage(window, false), "menu_bar_open");
        return 0;
    });
    h.key('P', winplat::test::kAlt);
}

}  // namespace
