#include <string>

#include "input_fixture.h"

namespace window_test {
namespace {

using winplat::testing::mouseButton;
using winplat::testing::mouseMove;
using winplat::testing::mouseWheel;

using MouseInputTest = InputTest;

TEST_F(MouseInputTest, CaptureKeepsMouseMessagesDuringADragOutsideTheWindow) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 100, 100, 200, 150);
    HWND other = make(WS_POPUP | WS_VISIBLE, 400, 100, 100, 100);
    recorder().handlers[window] = [](HWND self, UINT message, WPARAM, LPARAM, bool&) -> LRESULT {
        if (message == WM_LBUTTONDOWN) SetCapture(self);
        if (message == WM_LBUTTONUP) ReleaseCapture();
        return 0;
    };
    mouseMove(150, 120);
    mouseButton(MouseButton::Left, true);
    pump();
    recorder().clear();
    mouseMove(450, 150);  // over the other window
    pump();
    mouseMove(50, 40);  // above and left of the window: negative client coordinates
    pump();
    mouseButton(MouseButton::Left, false);
    pump();
    const std::vector<Received> got = mouseMessages(window);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(got[0].lParam, at(350, 50));
    EXPECT_EQ(got[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(got[1].message, WM_MOUSEMOVE);
    EXPECT_EQ(got[1].lParam, at(-50, -60));
    EXPECT_EQ(got[2].message, WM_LBUTTONUP);
    EXPECT_EQ(got[2].lParam, at(-50, -60));
    EXPECT_EQ(got[2].wParam, 0u) << "no button is down once it is released";
    EXPECT_TRUE(recorder().messagesOf(other).empty()) << "the window under the pointer hears nothing while captured";
    EXPECT_TRUE(received(window, [](UINT m) { return m == WM_SETCURSOR; }).empty())
        << "a captured mouse sends no WM_SETCURSOR";
    const std::vector<Received> changed = received(window, [](UINT m) { return m == WM_CAPTURECHANGED; });
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].lParam, 0);
    recorder().clear();
    mouseMove(450, 150);
    pump();
    EXPECT_EQ(mouseMessages(other).size(), 1u) << "released, the mouse reaches the window under it again";
}

TEST_F(MouseInputTest, CaptureEndsWhenItsWindowIsHiddenOrDestroyed) {
    HWND a = make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    HWND b = make(WS_POPUP | WS_VISIBLE, 60, 0, 50, 50);
    SetCapture(a);
    EXPECT_EQ(SetCapture(b), a);
    const std::vector<Received> toA = received(a, [](UINT m) { return m == WM_CAPTURECHANGED; });
    ASSERT_EQ(toA.size(), 1u);
    EXPECT_EQ(reinterpret_cast<HWND>(toA[0].lParam), b) << "the loser hears who took it";
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(received(b, [](UINT m) { return m == WM_CAPTURECHANGED; }).size(), 1u);
    SetCapture(a);
    DestroyWindow(a);
    EXPECT_EQ(GetCapture(), nullptr);
}

struct DoubleClickCase {
    const char* name;
    uint64_t delay;
    int dx;
    int dy;
    MouseButton second;
    bool otherWindow;
    bool plainClass;
    UINT expected;
};

TEST_F(MouseInputTest, DoubleClickOnlyWithinTheTimeAndDistanceLimits) {
    WNDCLASSA plain{};
    plain.lpfnWndProc = recordingProcedure;
    plain.lpszClassName = "PlainClicks";
    ASSERT_NE(RegisterClassA(&plain), 0);
    const DoubleClickCase cases[] = {
        {"499 ms", 499, 0, 0, MouseButton::Left, false, false, WM_LBUTTONDBLCLK},
        {"500 ms", 500, 0, 0, MouseButton::Left, false, false, WM_LBUTTONDBLCLK},
        {"501 ms", 501, 0, 0, MouseButton::Left, false, false, WM_LBUTTONDOWN},
        {"4 px right", 10, 4, 0, MouseButton::Left, false, false, WM_LBUTTONDBLCLK},
        {"4 px up", 10, 0, -4, MouseButton::Left, false, false, WM_LBUTTONDBLCLK},
        {"5 px left", 10, -5, 0, MouseButton::Left, false, false, WM_LBUTTONDOWN},
        {"5 px down", 10, 0, 5, MouseButton::Left, false, false, WM_LBUTTONDOWN},
        {"other button", 10, 0, 0, MouseButton::Right, false, false, WM_RBUTTONDOWN},
        {"right twice", 10, 0, 0, MouseButton::Right, false, false, WM_RBUTTONDBLCLK},
        {"other window", 10, 3, 0, MouseButton::Left, true, false, WM_LBUTTONDOWN},
        {"class without CS_DBLCLKS", 10, 0, 0, MouseButton::Left, false, true, WM_LBUTTONDOWN},
    };
    for (const DoubleClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        const char* className = c.plainClass ? "PlainClicks" : kClass;
        HWND first = CreateWindowExA(0, className, "", WS_POPUP | WS_VISIBLE, 100, 100, 48, 50, nullptr, nullptr, nullptr, nullptr);
        HWND second = CreateWindowExA(0, className, "", WS_POPUP | WS_VISIBLE, 148, 100, 50, 50, nullptr, nullptr, nullptr, nullptr);
        const bool sameButton = std::string(c.name) == "right twice";
        const MouseButton firstButton = sameButton ? MouseButton::Right : MouseButton::Left;
        const int x = c.otherWindow ? 146 : 120;
        click(x, 120, firstButton);
        recorder().clear();
        clock_.advance(c.delay);
        click(x + c.dx, 120 + c.dy, c.second);
        const std::vector<Received> got =
            received(nullptr, [](UINT m) { return m != WM_MOUSEMOVE && m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK; });
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(messageName(got[0].message), messageName(c.expected));
        EXPECT_EQ(got[0].window, c.otherWindow ? second : first);
        DestroyWindow(first);
        DestroyWindow(second);
        clock_.advance(5000);
    }
}

TEST_F(MouseInputTest, AThirdPressStartsAnotherPairAndTheTimeCanBeSet) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    click(10, 10);
    click(10, 10);
    click(10, 10);
    click(10, 10);
    std::vector<UINT> presses;
    for (const Received& r : received(window, [](UINT m) { return m == WM_LBUTTONDOWN || m == WM_LBUTTONDBLCLK; })) {
        presses.push_back(r.message);
    }
    EXPECT_EQ(presses, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
    EXPECT_EQ(GetDoubleClickTime(), 500u);
    EXPECT_EQ(GetSystemMetrics(SM_CXDOUBLECLK), 4);
    EXPECT_EQ(GetSystemMetrics(SM_CYDOUBLECLK), 4);
    SetDoubleClickTime(300);
    recorder().clear();
    clock_.advance(1000);
    click(10, 10);
    clock_.advance(301);
    click(10, 10);
    EXPECT_EQ(received(window, [](UINT m) { return m == WM_LBUTTONDBLCLK; }).size(), 0u);
    SetDoubleClickTime(0);
    EXPECT_EQ(GetDoubleClickTime(), 500u) << "0 restores the default";
}

TEST_F(MouseInputTest, NonClientDoubleClicksNeedNoClassStyle) {
    WNDCLASSA plain{};
    plain.lpfnWndProc = recordingProcedure;
    plain.lpszClassName = "PlainCaption";
    ASSERT_NE(RegisterClassA(&plain), 0);
    HWND window = CreateWindowExA(0, "PlainCaption", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                  nullptr, nullptr, nullptr);
    click(250, 110);
    click(250, 110);
    const std::vector<Received> got =
        received(window, [](UINT m) { return m == WM_NCLBUTTONDOWN || m == WM_NCLBUTTONDBLCLK; });
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1].message, WM_NCLBUTTONDBLCLK);
    EXPECT_EQ(got[1].wParam, static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(got[1].lParam, at(250, 110)) << "non-client messages carry screen coordinates";
}

TEST_F(MouseInputTest, SetCursorComesBeforeEveryMouseMessageWithTheHitCode) {
    HWND window = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    recorder().clear();
    mouseMove(200, 200);  // client
    pump();
    mouseMove(250, 110);  // caption
    pump();
    mouseMove(101, 200);  // left sizing frame
    pump();
    mouseMove(200, 200);
    mouseButton(MouseButton::Left, true);
    mouseButton(MouseButton::Left, false);
    pump();
    const std::vector<Received> got = received(window, [](UINT m) { return m == WM_SETCURSOR || isMouseMessage(m); });
    const std::vector<std::pair<UINT, int>> expected{{WM_MOUSEMOVE, HTCLIENT},   {WM_NCMOUSEMOVE, HTCAPTION},
                                                     {WM_NCMOUSEMOVE, HTLEFT},   {WM_MOUSEMOVE, HTCLIENT},
                                                     {WM_LBUTTONDOWN, HTCLIENT}, {WM_LBUTTONUP, HTCLIENT}};
    ASSERT_EQ(got.size(), 2 * expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(messageName(expected[i].first));
        const Received& cursor = got[2 * i];
        const Received& mouse = got[2 * i + 1];
        EXPECT_EQ(cursor.message, static_cast<UINT>(WM_SETCURSOR));
        EXPECT_EQ(reinterpret_cast<HWND>(cursor.wParam), window);
        EXPECT_EQ(static_cast<SHORT>(LOWORD(cursor.lParam)), expected[i].second);
        EXPECT_EQ(HIWORD(cursor.lParam), expected[i].first);
        EXPECT_EQ(mouse.message, expected[i].first);
    }
    EXPECT_EQ(got[3].wParam, static_cast<WPARAM>(HTCAPTION));
    EXPECT_EQ(got[1].lParam, at(200 - 104, 200 - 123)) << "client coordinates inside the frame and caption";
}

TEST_F(MouseInputTest, DefWindowProcSetsTheClassCursorOrTheFrameArrowsAndAsksTheParentFirst) {
    WNDCLASSA text{};
    text.lpfnWndProc = recordingProcedure;
    text.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    text.lpszClassName = "TextCursor";
    ASSERT_NE(RegisterClassA(&text), 0);
    HWND window = CreateWindowExA(0, "TextCursor", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                  nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, "TextCursor", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, window, nullptr, nullptr,
                                 nullptr);
    const struct {
        int x, y;
        LPCSTR cursor;
    } cases[] = {{200, 200, IDC_IBEAM}, {101, 200, IDC_SIZEWE},   {200, 298, IDC_SIZENS},
                 {101, 101, IDC_SIZENWSE}, {398, 101, IDC_SIZENESW}, {250, 110, IDC_ARROW}};
    for (const auto& c : cases) {
        SetCursor(nullptr);
        mouseMove(c.x, c.y);
        pump();
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.cursor)) << c.x << "," << c.y;
    }
    recorder().handlers[window] = [](HWND, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
        if (message != WM_SETCURSOR) return 0;
        handled = true;
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
    };
    recorder().clear();
    mouseMove(110, 130);  // over the child
    pump();
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT)) << "the parent answered for its child";
    const std::vector<Received> asked = received(window, [](UINT m) { return m == WM_SETCURSOR; });
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(reinterpret_cast<HWND>(asked[0].wParam), child) << "the parent hears which window holds the pointer";
}

TEST_F(MouseInputTest, DisabledWindowsRefuseClicks) {
    winplat::testing::BeepCounter beeps;
    HWND owner = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND dialog = make(WS_POPUP | WS_VISIBLE, 200, 0, 100, 100, owner);
    EnableWindow(owner, FALSE);  // as a modal dialog disables its owner
    recorder().clear();
    click(50, 50);
    EXPECT_TRUE(mouseMessages(owner).empty());
    const std::vector<Received> cursor = received(owner, [](UINT m) { return m == WM_SETCURSOR; });
    ASSERT_EQ(cursor.size(), 3u) << "move, press, release";
    EXPECT_EQ(static_cast<SHORT>(LOWORD(cursor[1].lParam)), HTERROR);
    EXPECT_EQ(HIWORD(cursor[1].lParam), WM_LBUTTONDOWN);
    EXPECT_EQ(beeps.count(), 1u) << "the press beeps, the move and the release do not";
    EXPECT_EQ(GetActiveWindow(), dialog) << "the refused click activates nothing";

    HWND parent = make(WS_POPUP | WS_VISIBLE, 400, 0, 100, 100);
    HWND disabledChild = make(WS_CHILD | WS_VISIBLE | WS_DISABLED, 10, 10, 30, 30, parent);
    recorder().clear();
    click(420, 20);
    EXPECT_TRUE(mouseMessages(disabledChild).empty());
    const std::vector<Received> toParent = received(parent, [](UINT m) { return m == WM_LBUTTONDOWN; });
    ASSERT_EQ(toParent.size(), 1u) << "a disabled child lets its parent have the click";
    EXPECT_EQ(toParent[0].lParam, at(20, 20));
}

TEST_F(MouseInputTest, ClickActivationFollowsTheMouseActivateAnswer) {
    const struct {
        LRESULT answer;
        bool activates;
        bool delivered;
    } cases[] = {{MA_ACTIVATE, true, true},
                 {MA_ACTIVATEANDEAT, true, false},
                 {MA_NOACTIVATE, false, true},
                 {MA_NOACTIVATEANDEAT, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        HWND inactive = make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
        HWND child = make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, inactive);
        HWND active = make(WS_POPUP | WS_VISIBLE, 200, 0, 100, 100);
        ASSERT_EQ(GetActiveWindow(), active);
        recorder().handlers[inactive] = [answer = c.answer](HWND, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
            if (message != WM_MOUSEACTIVATE) return 0;
            handled = true;
            return answer;
        };
        recorder().clear();
        click(20, 20);  // on the child: its DefWindowProc asks the parent
        const std::vector<Received> asked = received(child, [](UINT m) { return m == WM_MOUSEACTIVATE; });
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(reinterpret_cast<HWND>(asked[0].wParam), inactive) << "wParam names the top-level window";
        EXPECT_EQ(asked[0].lParam, MAKELONG(HTCLIENT, WM_LBUTTONDOWN));
        EXPECT_EQ(GetActiveWindow(), c.activates ? inactive : active);
        EXPECT_EQ(received(child, [](UINT m) { return m == WM_LBUTTONDOWN; }).size(), c.delivered ? 1u : 0u);
        EXPECT_EQ(received(child, [](UINT m) { return m == WM_LBUTTONUP; }).size(), 1u) << "the release always arrives";
        if (c.activates) {
            const std::vector<Received> activate = received(inactive, [](UINT m) { return m == WM_ACTIVATE; });
            ASSERT_EQ(activate.size(), 1u);
            EXPECT_EQ(LOWORD(activate[0].wParam), WA_CLICKACTIVE);
        }
        recorder().clear();
        click(20, 20);
        const size_t again = received(child, [](UINT m) { return m == WM_MOUSEACTIVATE; }).size();
        EXPECT_EQ(again, c.activates ? 0u : 1u) << "a press in the active window asks nothing";
        recorder().handlers.clear();
        DestroyWindow(inactive);
        DestroyWindow(active);
    }
}

TEST_F(MouseInputTest, WheelGoesToTheFocusWindowAndUpTheParentChain) {
    HWND top = make(WS_POPUP | WS_VISIBLE, 0, 0, 300, 300);
    HWND child = make(WS_CHILD | WS_VISIBLE, 10, 10, 200, 200, top);
    HWND leaf = make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, child);
    ASSERT_NE(make(WS_POPUP | WS_VISIBLE, 400, 0, 50, 50), nullptr);
    SetFocus(leaf);
    recorder().clear();
    mouseMove(420, 20);  // the pointer over another window does not matter
    pump();
    recorder().clear();
    winplat::testing::keyDown(VK_SHIFT);
    mouseWheel(-2 * WHEEL_DELTA);
    pump();
    std::vector<HWND> heard;
    for (const Received& r : received(nullptr, [](UINT m) { return m == WM_MOUSEWHEEL; })) {
        heard.push_back(r.window);
        EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(r.wParam), -240);
        EXPECT_EQ(GET_KEYSTATE_WPARAM(r.wParam), MK_SHIFT);
        EXPECT_EQ(r.lParam, at(420, 20)) << "screen coordinates";
    }
    EXPECT_EQ(heard, (std::vector<HWND>{leaf, child, top}));
    recorder().handlers[child] = [](HWND, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
        handled = message == WM_MOUSEWHEEL;
        return 0;
    };
    recorder().clear();
    mouseWheel(WHEEL_DELTA);
    pump();
    heard.clear();
    for (const Received& r : received(nullptr, [](UINT m) { return m == WM_MOUSEWHEEL; })) heard.push_back(r.window);
    EXPECT_EQ(heard, (std::vector<HWND>{leaf, child})) << "a window that handles the wheel stops it";
}

TEST_F(MouseInputTest, MovesCoalesceIntoTheLatestPositionUntilAnotherEventComes) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    recorder().clear();
    mouseMove(10, 10);
    mouseMove(20, 20);
    mouseMove(30, 35);
    pump();
    std::vector<Received> got = mouseMessages(window);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].lParam, at(30, 35));
    recorder().clear();
    mouseMove(40, 40);
    mouseButton(MouseButton::Left, true);
    mouseMove(50, 50);
    mouseMove(60, 60);
    pump();
    got = mouseMessages(window);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].lParam, at(40, 40));
    EXPECT_EQ(got[1].message, WM_LBUTTONDOWN);
    EXPECT_EQ(got[2].lParam, at(60, 60));
    EXPECT_EQ(got[2].wParam, static_cast<WPARAM>(MK_LBUTTON));
}

TEST_F(MouseInputTest, TransparentHitPassesTheClickToTheWindowBelow) {
    HWND top = make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND lower = make(WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, top);
    HWND glass = make(WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, top);
    SetWindowPos(glass, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    recorder().handlers[glass] = [](HWND, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
        handled = message == WM_NCHITTEST;
        return HTTRANSPARENT;
    };
    recorder().clear();
    click(30, 30);
    EXPECT_TRUE(mouseMessages(glass).empty());
    EXPECT_EQ(received(lower, [](UINT m) { return m == WM_LBUTTONDOWN; }).size(), 1u);
}

TEST_F(MouseInputTest, FilteredRetrievalLeavesOtherInputQueued) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    ValidateRect(window, nullptr);  // no WM_PAINT among the messages counted
    SetFocus(window);
    winplat::testing::keyDown('K');
    mouseMove(10, 10);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(msg.hwnd, window);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN)) << "looking left it queued";
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MouseInputTest, InputComesAfterPostedMessagesAndBeforeTimers) {
    HWND window = make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    ValidateRect(window, nullptr);  // no WM_PAINT among the messages counted
    SetTimer(window, 1, 10, nullptr);
    clock_.advance(50);
    mouseMove(5, 5);
    PostMessageA(window, WM_USER, 0, 0);
    std::vector<UINT> order;
    MSG msg{};
    while (order.size() < 3 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) order.push_back(msg.message);
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_MOUSEMOVE, WM_TIMER}));
}

}  // namespace
}  // namespace window_test
