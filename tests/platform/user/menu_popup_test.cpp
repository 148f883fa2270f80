// Drop-down menus tracked in their modal loop, answered through the harness.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "winplat/base.h"
#include "winplat/owners.h"
#include "winplat/testing.h"
#include "winplat/time.h"
#include "winplat_harness/harness.h"

namespace {

using winplat::OwnedMenu;
using winplat::host::ModalKind;
using winplat::host::ModalLoop;
using winplat::host::MouseButton;
using winplat::test::Harness;

constexpr const char* kClass = "MenuOwner";

// A 640 x 480 screen, goldens from the user tests' folder.
Harness::Options smallScreen() {
    Harness::Options options;
    options.width = 640;
    options.height = 480;
    options.goldenFolder = WINPLAT_GOLDEN_DIR;
    return options;
}
constexpr const char* kName = "Nov\xFD";  // the first label, "&Nový", without its '&'

LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeOwner() {
    WNDCLASSA owner{};
    owner.lpfnWndProc = ownerProcedure;
    owner.lpszClassName = kClass;
    RegisterClassA(&owner);
    return CreateWindowExA(0, kClass, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                           nullptr, nullptr);
}

// [0] "&Nový" 1001, [1] separator, [2] "&Otevřít...\tCtrl+O" 1002 grey, [3] "&Přidat" 1032 checked,
// [4] "Na&hradit\tF2" 1033, [5] "Po&slední" opening { 1100 "&1 a.lcn" }.
OwnedMenu makeMenu() {
    OwnedMenu menu(CreatePopupMenu());
    AppendMenuA(menu.get(), MF_STRING, 1001, "&Nov\xFD");
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING | MF_GRAYED, 1002, "&Otev\xF8\xEDt...\tCtrl+O");
    AppendMenuA(menu.get(), MF_STRING | MF_CHECKED, 1032, "&P\xF8idat");
    AppendMenuA(menu.get(), MF_STRING, 1033, "Na&hradit\tF2");
    const HMENU recent = CreatePopupMenu();
    AppendMenuA(recent, MF_STRING, 1100, "&1 a.lcn");
    AppendMenuA(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "Po&sledn\xED");
    return menu;
}

void press(UINT key) {
    winplat::testing::keyDown(key);
    winplat::testing::keyUp(key);
}

// An answer that types the keys and lets the loop go on with them.
Harness::Action typing(std::vector<UINT> keys) {
    return [keys](const ModalLoop&) -> std::optional<INT_PTR> {
        for (UINT key : keys) press(key);
        return std::nullopt;
    };
}

TEST(PopupMenu, AnAnswerChoosesTheCommand) {
    Harness h;
    HWND owner = makeOwner();
    OwnedMenu menu = makeMenu();
    h.answer(ModalKind::PopupMenu, kName, [](const ModalLoop& loop) -> std::optional<INT_PTR> {
        EXPECT_TRUE(IsWindowVisible(loop.window)) << "the menu shows while it is tracked";
        return 1033;
    });
    EXPECT_EQ(TrackPopupMenu(menu.get(), TPM_RETURNCMD, 150, 150, 0, owner, nullptr), 1033);
    EXPECT_EQ(h.answersQueued(), 0u);

    // Without TPM_RETURNCMD the command arrives as WM_COMMAND; a grey item is no answer.
    h.logMessages(owner);
    h.answer(ModalKind::PopupMenu, kName, [](const ModalLoop&) -> std::optional<INT_PTR> { return 1032; });
    EXPECT_TRUE(TrackPopupMenu(menu.get(), 0, 150, 150, 0, owner, nullptr));
    h.pump();
    std::vector<WPARAM> commands;
    for (const auto& m : h.messages(owner)) {
        if (m.message == WM_COMMAND) commands.push_back(m.wParam);
    }
    EXPECT_EQ(commands, std::vector<WPARAM>{1032});
    {
        winplat::testing::DebugCapture debug;
        h.answer(ModalKind::PopupMenu, kName, [](const ModalLoop&) -> std::optional<INT_PTR> { return 1002; });
        EXPECT_EQ(TrackPopupMenu(menu.get(), TPM_RETURNCMD, 150, 150, 0, owner, nullptr), 0);
        EXPECT_TRUE(debug.contains("grey item"));
    }
}

TEST(PopupMenu, AnUnansweredMenuFailsTheTestAndIsCancelled) {
    Harness h;
    HWND owner = makeOwner();
    OwnedMenu menu = makeMenu();
    BOOL chosen = -1;
    EXPECT_NONFATAL_FAILURE(chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD, 150, 150, 0, owner, nullptr), kName);
    EXPECT_EQ(chosen, 0);
    EXPECT_EQ(h.unexpectedModalLoops(), 1);
}

TEST(PopupMenu, KeysSkipSeparatorsAndGreyItemsAndMnemonicsChoose) {
    const struct {
        const char* name;
        std::vector<UINT> keys;
        BOOL expected;
    } cases[] = {
        {"Down Down Enter passes the separator and the grey item", {VK_DOWN, VK_DOWN, VK_RETURN}, 1032},
        {"Down Enter takes the first", {VK_DOWN, VK_RETURN}, 1001},
        {"Up from nothing wraps to the last", {VK_UP, VK_UP, VK_RETURN}, 1033},
        {"Down Up wraps to the end", {VK_DOWN, VK_UP, VK_UP, VK_RETURN}, 1033},
        {"the mnemonic h chooses", {'H'}, 1033},
        {"a grey item's mnemonic does nothing", {'O', VK_ESCAPE}, 0},
        {"Escape cancels", {VK_DOWN, VK_ESCAPE}, 0},
        {"Enter opens a sub-menu and Esc closes it alone", {VK_UP, VK_RETURN, VK_ESCAPE, VK_ESCAPE}, 0},
        {"Right opens a sub-menu and Enter chooses in it", {VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN}, 1100},
        {"Left goes back from a sub-menu", {VK_UP, VK_RIGHT, VK_LEFT, VK_DOWN, VK_RETURN}, 1001},
        {"a mnemonic opens a sub-menu and one inside chooses", {'S', '1'}, 1100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        HWND owner = makeOwner();
        OwnedMenu menu = makeMenu();
        h.answer(ModalKind::PopupMenu, kName, typing(c.keys));
        EXPECT_EQ(TrackPopupMenu(menu.get(), TPM_RETURNCMD, 150, 150, 0, owner, nullptr), c.expected);
        EXPECT_EQ(h.answersQueued(), 0u);
    }
}

TEST(PopupMenu, TheMouseChoosesAndAPressOutsideCancels) {
    Harness h;
    HWND owner = makeOwner();
    OwnedMenu menu = makeMenu();
    // The fifth row, Na&hradit: under the two rows and the separator above it.
    h.answer(ModalKind::PopupMenu, kName, [](const ModalLoop& loop) -> std::optional<INT_PTR> {
        RECT r{};
        GetWindowRect(loop.window, &r);
        const int row = (r.bottom - r.top - 6 - 8) / 5;
        winplat::testing::mouseMove(r.left + 20, r.top + 3 + 3 * row + 8 + row / 2);
        winplat::testing::mouseButton(MouseButton::Left, true);
        winplat::testing::mouseButton(MouseButton::Left, false);
        return std::nullopt;
    });
    EXPECT_EQ(TrackPopupMenu(menu.get(), TPM_RETURNCMD, 150, 150, 0, owner, nullptr), 1033);

    h.answer(ModalKind::PopupMenu, kName, [](const ModalLoop&) -> std::optional<INT_PTR> {
        winplat::testing::mouseMove(5, 5);
        winplat::testing::mouseButton(MouseButton::Left, true);
        winplat::testing::mouseButton(MouseButton::Left, false);
        return std::nullopt;
    });
    EXPECT_EQ(TrackPopupMenu(menu.get(), TPM_RETURNCMD, 150, 150, 0, owner, nullptr), 0);
    EXPECT_EQ(GetCapture(), nullptr) << "the menu let the mouse go";
}

TEST(PopupMenu, AlignsToThePointAndStaysOnTheScreen) {
    Harness h(smallScreen());
    HWND owner = makeOwner();
    OwnedMenu menu = makeMenu();
    SIZE size{};
    h.answer(ModalKind::PopupMenu, kName, [&size](const ModalLoop& loop) -> std::optional<INT_PTR> {
        RECT r{};
        GetWindowRect(loop.window, &r);
        size = {r.right - r.left, r.bottom - r.top};
        return 0;
    });
    TrackPopupMenu(menu.get(), TPM_RETURNCMD, 0, 0, 0, owner, nullptr);
    ASSERT_GT(size.cx, 0);
    const struct {
        const char* name;
        UINT flags;
        POINT at;
        POINT expected;
    } cases[] = {
        {"left top", TPM_LEFTALIGN | TPM_TOPALIGN, {200, 100}, {200, 100}},
        {"centre", TPM_CENTERALIGN, {200, 100}, {200 - size.cx / 2, 100}},
        {"right bottom", TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {400, 300}, {400 - size.cx, 300 - size.cy}},
        {"vertical centre", TPM_VCENTERALIGN, {200, 300}, {200, 300 - size.cy / 2}},
        {"kept inside the right and bottom edges", 0, {630, 470}, {640 - size.cx, 480 - size.cy}},
        {"kept inside the left and top edges", TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {5, 5}, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        POINT at{-1, -1};
        h.answer(ModalKind::PopupMenu, kName, [&at](const ModalLoop& loop) -> std::optional<INT_PTR> {
            RECT r{};
            GetWindowRect(loop.window, &r);
            at = {r.left, r.top};
            return 0;
        });
        TrackPopupMenu(menu.get(), c.flags | TPM_RETURNCMD, c.at.x, c.at.y, 0, owner, nullptr);
        EXPECT_EQ(at.x, c.expected.x);
        EXPECT_EQ(at.y, c.expected.y);
    }
}

TEST(PopupMenu, TellsTheOwnerUnlessAskedNotTo) {
    for (const bool quiet : {false, true}) {
        SCOPED_TRACE(quiet ? "TPM_NONOTIFY" : "notifying");
        Harness h;
        HWND owner = makeOwner();
        OwnedMenu menu = makeMenu();
        h.logMessages(owner);
        h.answer(ModalKind::PopupMenu, kName, typing({VK_DOWN, VK_ESCAPE}));
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | (quiet ? TPM_NONOTIFY : 0), 150, 150, 0, owner, nullptr);
        std::vector<std::string> told;
        for (const auto& m : h.messages(owner)) {
            if (m.message == WM_INITMENUPOPUP) told.push_back("WM_INITMENUPOPUP");
            if (m.message == WM_MENUSELECT) told.push_back("WM_MENUSELECT " + std::to_string(LOWORD(m.wParam)));
        }
        const std::vector<std::string> expected =
            quiet ? std::vector<std::string>{}
                  : std::vector<std::string>{"WM_INITMENUPOPUP", "WM_MENUSELECT 1001", "WM_MENUSELECT 0"};
        EXPECT_EQ(told, expected);
    }
}

TEST(PopupMenu, RefusesAStaleMenuAndASecondMenu) {
    winplat::testing::DebugCapture debug;
    Harness h;
    HWND owner = makeOwner();
    const HMENU stale = CreatePopupMenu();
    DestroyMenu(stale);
    EXPECT_FALSE(TrackPopupMenu(stale, TPM_RETURNCMD, 0, 0, 0, owner, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
    OwnedMenu menu = makeMenu();
    h.answer(ModalKind::PopupMenu, kName, [&menu, owner](const ModalLoop&) -> std::optional<INT_PTR> {
        EXPECT_FALSE(TrackPopupMenu(menu.get(), TPM_RETURNCMD, 0, 0, 0, owner, nullptr));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_POPUP_ALREADY_ACTIVE));
        return 0;
    });
    TrackPopupMenu(menu.get(), TPM_RETURNCMD, 0, 0, 0, owner, nullptr);
    EXPECT_TRUE(debug.contains("another menu is open"));
}

// The middle of an item of makeMenu's menu shown at 'menu': a row per item, 8 pixels for the
// separator, inside a 3-pixel border.
POINT itemCentre(const RECT& menu, int index) {
    const int row = (menu.bottom - menu.top - 6 - 8) / 5;
    const int above = index < 2 ? index * row : (index - 1) * row + 8;
    return {menu.left + 20, menu.top + 3 + above + row / 2};
}

TEST(PopupMenu, ThePointerOpensASubMenuAfterTheShowDelayAndMovingOnClosesIt) {
    constexpr int kRecent = 5;  // "Po&slední", opening { 1100 }
    constexpr const char* kSub = "Posledn\xED";
    struct Step {
        const char* loop;  // the menu whose loop answers: the outer one or the sub-menu
        int hover;         // the outer menu's item the pointer moves to, -1 for none
        std::vector<UINT> keys;
        DWORD sleep;       // then the clock moves on by this much at once
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
        BOOL expected;
        uint64_t subOpensAfter;  // ms from the first hover to the sub-menu's loop; 0: it never opens
    } cases[] = {
        {"resting opens the sub-menu after 400 ms",
         {{kName, kRecent, {}, 0}, {kName, -1, {}, 0}, {kSub, -1, {VK_DOWN, VK_RETURN}, 0}}, 1100, 400},
        {"moving on before the delay opens nothing",
         {{kName, kRecent, {}, 0}, {kName, 4, {}, 0}, {kName, -1, {}, 1000}, {kName, -1, {VK_RETURN}, 0}}, 1033, 0},
        {"moving to another outer item closes it",
         {{kName, kRecent, {}, 0}, {kName, -1, {}, 0}, {kSub, 0, {}, 0}, {kName, -1, {VK_RETURN}, 0}}, 1001, 400},
        {"the item that opened it keeps it open",
         {{kName, kRecent, {}, 0}, {kName, -1, {}, 0}, {kSub, kRecent, {}, 0}, {kSub, -1, {VK_DOWN, VK_RETURN}, 0}},
         1100, 400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        HWND owner = makeOwner();
        OwnedMenu menu = makeMenu();
        h.logMessages(owner);
        RECT outer{};
        uint64_t hoveredAt = 0;
        uint64_t subOpenedAt = 0;
        for (const Step& step : c.steps) {
            h.answer(ModalKind::PopupMenu, step.loop,
                     [&, step](const ModalLoop& loop) -> std::optional<INT_PTR> {
                         if (std::string(step.loop) == kName) GetWindowRect(loop.window, &outer);
                         if (std::string(step.loop) == kSub && !subOpenedAt) subOpenedAt = h.now();
                         if (step.hover >= 0) {
                             const POINT at = itemCentre(outer, step.hover);
                             if (!hoveredAt) hoveredAt = h.now();
                             winplat::testing::mouseMove(at.x, at.y);
                         }
                         for (UINT key : step.keys) press(key);
                         if (step.sleep) {
                             // Time passes with a message to take, so that a timer still set
                             // would fire before the next answer.
                             Sleep(step.sleep);
                             PostMessageA(owner, WM_NULL, 0, 0);
                         }
                         return std::nullopt;
                     });
        }
        EXPECT_EQ(TrackPopupMenu(menu.get(), TPM_RETURNCMD, 150, 150, 0, owner, nullptr), c.expected);
        EXPECT_EQ(subOpenedAt ? subOpenedAt - hoveredAt : 0, c.subOpensAfter);
        EXPECT_EQ(h.answersQueued(), 0u);
        bool toldRecent = false;
        for (const auto& m : h.messages(owner)) {
            if (m.message == WM_MENUSELECT && LOWORD(m.wParam) == kRecent && (HIWORD(m.wParam) & MF_POPUP)) {
                toldRecent = true;
            }
        }
        EXPECT_TRUE(toldRecent) << "WM_MENUSELECT names the hovered item";
    }
}

TEST(PopupMenu, DrawnInTheClassicLookWithTheTestFace) {
    Harness h(smallScreen());
    HWND owner = makeOwner();
    OwnedMenu menu = makeMenu();
    h.answer(ModalKind::PopupMenu, kName, typing({VK_DOWN, VK_DOWN}));
    h.answer(ModalKind::PopupMenu, kName, [&h](const ModalLoop& loop) -> std::optional<INT_PTR> {
        h.expectImage(h.windowImage(loop.window, false), "menu_popup");
        return 0;
    });
    TrackPopupMenu(menu.get(), TPM_RETURNCMD, 20, 20, 0, owner, nullptr);
}

}  // namespace
