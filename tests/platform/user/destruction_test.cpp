#include "window_fixture.h"

namespace window_test {
namespace {

using DestructionTest = WindowTest;

const std::vector<UINT> kEnd{WM_DESTROY, WM_NCDESTROY};

TEST_F(DestructionTest, DestroyGoesDownTheTreeAndNcDestroyComesBackUp) {
    HWND top = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300);
    HWND a = make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
    HWND a1 = make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, a);
    HWND b = make(WS_CHILD, 60, 0, 50, 50, top);
    recorder().clear();
    ASSERT_TRUE(DestroyWindow(top));
    const std::map<HWND, std::string> n{{top, "top"}, {a, "a"}, {a1, "a1"}, {b, "b"}};
    EXPECT_EQ(recorder().named(n, kEnd),
              (std::vector<std::string>{"top:WM_DESTROY", "a:WM_DESTROY", "a1:WM_DESTROY", "b:WM_DESTROY",
                                        "a1:WM_NCDESTROY", "a:WM_NCDESTROY", "b:WM_NCDESTROY", "top:WM_NCDESTROY"}));
    for (HWND w : {top, a, a1, b}) EXPECT_FALSE(IsWindow(w));
}

TEST_F(DestructionTest, ChildrenStillExistDuringTheParentsDestroy) {
    HWND top = make(WS_POPUP, 0, 0, 100, 100);
    HWND child = make(WS_CHILD, 0, 0, 10, 10, top);
    bool childAlive = false;
    recorder().handlers[top] = [&](HWND, UINT message, WPARAM, LPARAM, bool&) -> LRESULT {
        if (message == WM_DESTROY) childAlive = IsWindow(child) && GetParent(child) == top;
        return 0;
    };
    DestroyWindow(top);
    EXPECT_TRUE(childAlive);
}

TEST_F(DestructionTest, OwnedWindowsAreDestroyedBeforeTheirOwner) {
    HWND owner = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300);
    HWND owned = make(WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, owner);
    HWND ownedByOwned = make(WS_POPUP | WS_VISIBLE, 20, 20, 20, 20, owned);
    HWND unrelated = make(WS_POPUP | WS_VISIBLE, 0, 0, 5, 5);
    EXPECT_EQ(GetWindow(ownedByOwned, GW_OWNER), owned);
    recorder().clear();
    DestroyWindow(owner);
    const std::map<HWND, std::string> n{{owner, "owner"}, {owned, "owned"}, {ownedByOwned, "inner"}};
    EXPECT_EQ(recorder().named(n, kEnd),
              (std::vector<std::string>{"inner:WM_DESTROY", "inner:WM_NCDESTROY", "owned:WM_DESTROY",
                                        "owned:WM_NCDESTROY", "owner:WM_DESTROY", "owner:WM_NCDESTROY"}));
    EXPECT_TRUE(IsWindow(unrelated));
}

TEST_F(DestructionTest, WindowDestroyedInItsOwnMessageStaysUsableUntilTheHandlerReturns) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, 0, "sam");
    BOOL validAfter = TRUE;
    std::string textAfter = "unset";
    recorder().handlers[window] = [&](HWND self, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
        if (message != WM_USER + 1) return 0;
        handled = true;
        DestroyWindow(self);
        // The handler is still running on the object: the handle is dead, calls on it fail
        // quietly, and nothing touches freed memory (ASan watches).
        validAfter = IsWindow(self);
        char buffer[8] = "x";
        GetWindowTextA(self, buffer, sizeof buffer);
        textAfter = buffer;
        return 7;
    };
    EXPECT_EQ(SendMessageA(window, WM_USER + 1, 0, 0), 7);
    EXPECT_FALSE(validAfter);
    EXPECT_EQ(textAfter, "");
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(SendMessageA(window, WM_USER + 1, 0, 0), 0) << "a dead window gets nothing";
}

TEST_F(DestructionTest, NestedDestroyOfTheParentFromAChildsDestroy) {
    HWND top = make(WS_POPUP, 0, 0, 100, 100);
    HWND child = make(WS_CHILD, 0, 0, 10, 10, top);
    recorder().handlers[child] = [&](HWND, UINT message, WPARAM, LPARAM, bool&) -> LRESULT {
        if (message == WM_DESTROY) DestroyWindow(top);  // already on its way: no second round
        return 0;
    };
    DestroyWindow(top);
    EXPECT_EQ(recorder().messagesOf(top, true, kEnd), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(recorder().messagesOf(child, true, kEnd), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(DestructionTest, PostedMessagesOfADestroyedWindowAreDropped) {
    HWND doomed = make(WS_POPUP, 0, 0, 10, 10);
    HWND other = make(WS_POPUP, 0, 0, 10, 10);
    PostMessageA(doomed, WM_USER, 1, 0);
    PostMessageA(other, WM_USER, 2, 0);
    DestroyWindow(doomed);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, other);
    EXPECT_EQ(msg.wParam, 2u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PostMessageA(doomed, WM_USER, 3, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(DestructionTest, StaleHandlesFailEvenAfterTheSlotIsReused) {
    HWND first = make(WS_POPUP, 0, 0, 10, 10);
    DestroyWindow(first);
    // Windows made and destroyed meanwhile: whatever slot they take, the old handle stays dead.
    for (int i = 0; i < 50; ++i) DestroyWindow(make(WS_POPUP, 0, 0, 10, 10));
    HWND later = make(WS_POPUP, 0, 0, 10, 10);
    EXPECT_NE(later, first);
    EXPECT_FALSE(IsWindow(first));
    SetLastError(0);
    EXPECT_EQ(GetWindowLongA(first, GWL_STYLE), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(DestroyWindow(first));
}

TEST_F(DestructionTest, FocusAndCaptureAreReleased) {
    HWND top = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
    HWND other = make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    SetFocus(child);
    SetCapture(child);
    DestroyWindow(top);
    // The activation moved on to the other window, which took the focus as it activated.
    EXPECT_EQ(GetFocus(), other);
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(GetCapture(), nullptr);
    SetFocus(other);
    DestroyWindow(make(WS_POPUP, 0, 0, 1, 1));
    EXPECT_EQ(GetFocus(), other) << "destroying another window leaves the focus alone";
}

TEST_F(DestructionTest, CloseThroughDefWindowProcDestroys) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(DestructionTest, TimersOfADestroyedWindowStop) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    SetTimer(window, 5, 50, nullptr);
    DestroyWindow(window);
    clock_.advance(500);
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace
}  // namespace window_test
