// The frame's system menu opened by the mouse and the keyboard, answered through the harness.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace {

using winplat::host::ModalKind;
using winplat::host::ModalLoop;
using winplat::test::Harness;

constexpr const char* kClass = "SystemMenuOwner";

LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeFramed(DWORD style = WS_OVERLAPPEDWINDOW) {
    WNDCLASSA owner{};
    owner.lpfnWndProc = ownerProcedure;
    owner.lpszClassName = kClass;
    RegisterClassA(&owner);
    HWND window = CreateWindowExA(0, kClass, "framed", style | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    SetActiveWindow(window);
    return window;
}

// Where the system menu's window showed, and an answer choosing 'command' there.
Harness::Action choose(INT_PTR command, RECT* shown = nullptr) {
    return [command, shown](const ModalLoop& loop) -> std::optional<INT_PTR> {
        if (shown) GetWindowRect(loop.window, shown);
        return command;
    };
}

POINT captionPoint(HWND window, int fromLeft) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left + fromLeft, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
}

TEST(SystemMenuOpen, AltSpaceOpensItUnderTheBoxAndTheChoiceIsCarriedOut) {
    Harness h;
    HWND window = makeFramed();
    h.pump();
    RECT shown{};
    h.answer(ModalKind::PopupMenu, "system", choose(SC_MAXIMIZE, &shown));
    h.key(VK_SPACE, winplat::test::kAlt);
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_EQ(h.answersQueued(), 0u);
    EXPECT_EQ(shown.left, 100 + GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(shown.top, 100 + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION));
}

TEST(SystemMenuOpen, TheBoxAndARightClickOnTheCaptionOpenIt) {
    Harness h;
    HWND window = makeFramed();
    h.pump();
    h.answer(ModalKind::PopupMenu, "system", choose(SC_MINIMIZE));
    const POINT box = captionPoint(window, GetSystemMetrics(SM_CXFRAME) + 4);
    h.click(box.x, box.y);
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    h.pump();

    RECT shown{};
    h.answer(ModalKind::PopupMenu, "system", choose(SC_CLOSE, &shown));
    const POINT caption = captionPoint(window, 120);
    h.rightClick(caption.x, caption.y);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(shown.left, caption.x) << "at the pointer";
    EXPECT_EQ(shown.top, caption.y);
}

TEST(SystemMenuOpen, GreyItemsCannotBeChosen) {
    Harness h;
    HWND window = makeFramed();
    ShowWindow(window, SW_MAXIMIZE);
    h.pump();
    // Obnovit, Minimalizovat and Zavřít are live; the arrows pass Přesunout, Velikost and
    // Maximalizovat by.
    h.answer(ModalKind::PopupMenu, "system", [](const ModalLoop&) -> std::optional<INT_PTR> {
        for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
            winplat::testing::keyDown(key);
            winplat::testing::keyUp(key);
        }
        return std::nullopt;
    });
    h.key(VK_SPACE, winplat::test::kAlt);
    EXPECT_TRUE(IsIconic(window)) << "the second live item is Minimalizovat";

    ShowWindow(window, SW_MAXIMIZE);
    h.pump();
    winplat::testing::DebugCapture debug;
    h.answer(ModalKind::PopupMenu, "system", choose(SC_MAXIMIZE));
    h.key(VK_SPACE, winplat::test::kAlt);
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_TRUE(debug.contains("grey item"));
}

TEST(SystemMenuOpen, TrackedByTheProgramItStillGreysWhatDoesNotApply) {
    Harness h;
    HWND window = makeFramed();
    const HMENU menu = GetSystemMenu(window, FALSE);
    ShowWindow(window, SW_MAXIMIZE);
    h.pump();
    // The copy was made while the window was normal; tracking it brings it up to date.
    h.answer(ModalKind::PopupMenu, "Obnovit", choose(SC_MAXIMIZE));
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, window, nullptr), 0) << "Maximalizovat is grey";
    h.answer(ModalKind::PopupMenu, "Obnovit", choose(SC_RESTORE));
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, window, nullptr), SC_RESTORE);
}

}  // namespace
