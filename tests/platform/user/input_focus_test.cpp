#include "input_fixture.h"

namespace window_test {
namespace {

using FocusTest = InputTest;

const std::vector<UINT> kActivation{WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_SETFOCUS, WM_KILLFOCUS};

TEST_F(FocusTest, SwitchingBetweenTwoTopLevelWindows) {
    HWND a = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND b = make(WS_POPUP | WS_VISIBLE, 200, 0, 100, 100);
    SetActiveWindow(a);
    ASSERT_EQ(GetFocus(), a);
    recorder().clear();
    EXPECT_EQ(SetActiveWindow(b), a);
    EXPECT_EQ(recorder().named({{a, "a"}, {b, "b"}}, kActivation),
              (std::vector<std::string>{"a:WM_NCACTIVATE", "a:WM_ACTIVATE", "b:WM_NCACTIVATE", "b:WM_ACTIVATE",
                                        "a:WM_KILLFOCUS", "b:WM_SETFOCUS"}));
    const auto find = [](HWND window, UINT message) {
        for (const Received& r : recorder().received) {
            if (r.window == window && r.message == message) return r;
        }
        return Received{};
    };
    EXPECT_EQ(find(a, WM_NCACTIVATE).wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(find(a, WM_ACTIVATE).wParam, static_cast<WPARAM>(WA_INACTIVE));
    EXPECT_EQ(reinterpret_cast<HWND>(find(a, WM_ACTIVATE).lParam), b);
    EXPECT_EQ(find(b, WM_ACTIVATE).wParam, static_cast<WPARAM>(WA_ACTIVE));
    EXPECT_EQ(reinterpret_cast<HWND>(find(b, WM_ACTIVATE).lParam), a);
    EXPECT_EQ(reinterpret_cast<HWND>(find(a, WM_KILLFOCUS).wParam), b);
    EXPECT_EQ(reinterpret_cast<HWND>(find(b, WM_SETFOCUS).wParam), a);
    EXPECT_EQ(GetActiveWindow(), b);
    EXPECT_EQ(GetForegroundWindow(), b);
    EXPECT_EQ(GetFocus(), b);
    EXPECT_TRUE(SetForegroundWindow(a));
    EXPECT_EQ(GetTopWindow(nullptr), a) << "the activated window comes to the top";
}

TEST_F(FocusTest, DestroyingTheActiveWindowActivatesItsOwnerFirst) {
    HWND owner = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND other = make(WS_POPUP | WS_VISIBLE, 200, 0, 100, 100);
    HWND popup = make(WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, owner);
    ASSERT_EQ(GetActiveWindow(), popup);
    ASSERT_EQ(GetWindow(popup, GW_HWNDNEXT), other) << "the other window lies between the popup and its owner";
    recorder().clear();
    DestroyWindow(popup);
    EXPECT_EQ(recorder().named({{owner, "owner"}, {other, "other"}, {popup, "popup"}},
                               {WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_DESTROY}),
              (std::vector<std::string>{"popup:WM_NCACTIVATE", "popup:WM_ACTIVATE", "owner:WM_NCACTIVATE",
                                        "owner:WM_ACTIVATE", "popup:WM_KILLFOCUS", "owner:WM_SETFOCUS",
                                        "popup:WM_DESTROY"}));
    EXPECT_EQ(GetActiveWindow(), owner);
    DestroyWindow(owner);
    EXPECT_EQ(GetActiveWindow(), other) << "without an owner, the highest visible window";
    ShowWindow(other, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(FocusTest, ActivateAppComesOnceWhenTheProgramGainsAndOnceWhenItLoses) {
    HWND a = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND b = make(WS_POPUP | WS_VISIBLE, 200, 0, 100, 100);
    for (int i = 0; i < 3; ++i) {
        SetActiveWindow(a);
        SetActiveWindow(b);
    }
    DestroyWindow(b);
    const auto activateApp = [](HWND window) {
        std::vector<WPARAM> got;
        for (const Received& r : recorder().received) {
            if (r.window == window && r.message == WM_ACTIVATEAPP) got.push_back(r.wParam);
        }
        return got;
    };
    EXPECT_EQ(activateApp(a), (std::vector<WPARAM>{TRUE})) << "the first activation only";
    recorder().clear();
    DestroyWindow(a);
    EXPECT_EQ(activateApp(a), (std::vector<WPARAM>{FALSE})) << "the last window going";
    recorder().clear();
    HWND c = make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    EXPECT_EQ(activateApp(c), (std::vector<WPARAM>{TRUE})) << "active again";
}

TEST_F(FocusTest, FocusOnAChildOfAnInactiveWindowActivatesIt) {
    HWND a = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, a);
    HWND b = make(WS_POPUP | WS_VISIBLE, 200, 0, 100, 100);
    ASSERT_EQ(GetActiveWindow(), b);
    recorder().clear();
    EXPECT_EQ(SetFocus(child), a) << "DefWindowProc gave the window the focus as it activated";
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(GetFocus(), child);
    const std::vector<Received> set = received(child, [](UINT m) { return m == WM_SETFOCUS; });
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(reinterpret_cast<HWND>(set[0].wParam), a);
    EXPECT_EQ(SetFocus(child), child);
    EXPECT_EQ(received(child, [](UINT m) { return m == WM_SETFOCUS; }).size(), 1u) << "no messages when nothing moves";
}

TEST_F(FocusTest, DisablingAnAncestorOfTheFocusTakesTheFocusAway) {
    HWND top = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
    HWND leaf = make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, child);
    SetFocus(leaf);
    recorder().clear();
    EnableWindow(child, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    const std::vector<Received> killed = received(leaf, [](UINT m) { return m == WM_KILLFOCUS; });
    ASSERT_EQ(killed.size(), 1u);
    EXPECT_EQ(killed[0].wParam, 0u);
}

TEST_F(FocusTest, ShowingWithoutActivationLeavesTheActiveWindow) {
    HWND a = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND b = make(WS_POPUP, 200, 0, 100, 100);
    ShowWindow(b, SW_SHOWNOACTIVATE);
    EXPECT_EQ(GetActiveWindow(), a);
    ShowWindow(b, SW_HIDE);
    ShowWindow(b, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), b);
    HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, a);
    EXPECT_EQ(GetActiveWindow(), b) << "showing a child activates nothing";
    EXPECT_EQ(SetActiveWindow(child), b);
    EXPECT_EQ(GetActiveWindow(), a) << "a child stands for its top-level window";
}

}  // namespace
}  // namespace window_test
