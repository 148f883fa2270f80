// Presses on the frame and system commands: the live move and size loop with its limits and
// Esc, the caption buttons, a double click on the caption, Alt+F4 and SC_NEXTWINDOW.
#include "input_fixture.h"

namespace window_test {
namespace {

using winplat::testing::keyDown;
using winplat::testing::keyUp;
using winplat::testing::mouseButton;
using winplat::testing::mouseMove;

class CommandTest : public InputTest {
  protected:
    HWND framed() { return make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr, 0, "Main"); }
    static RECT rectOf(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }
    // A press at one point, a move to another seen by the loop, then what 'finish' queues.
    template <class Finish>
    void drag(HWND window, POINT from, POINT to, Finish finish) {
        recorder().handlers[window] = [to, finish, done = false](HWND, UINT message, WPARAM, LPARAM, bool&) mutable -> LRESULT {
            if (message == WM_ENTERSIZEMOVE) mouseMove(to.x, to.y);
            if ((message == WM_MOVING || message == WM_SIZING) && !done) {
                done = true;
                finish();
            }
            return 0;
        };
        mouseMove(from.x, from.y);
        mouseButton(MouseButton::Left, true);
        pump();
        recorder().handlers.erase(window);
    }
};

TEST_F(CommandTest, CaptionDragMovesTheWindowLive) {
    HWND window = framed();
    drag(window, {200, 110}, {260, 150}, [] { mouseButton(MouseButton::Left, false); });
    const RECT r = rectOf(window);
    EXPECT_EQ(r.left, 160);
    EXPECT_EQ(r.top, 140);
    EXPECT_EQ(r.right - r.left, 300);
    const auto order = recorder().messagesOf(window, true, {WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE});
    EXPECT_EQ(order, (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(CommandTest, EscDuringAMoveRestoresTheStart) {
    HWND window = framed();
    drag(window, {200, 110}, {260, 150}, [] { keyDown(VK_ESCAPE); });
    const RECT r = rectOf(window);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
}

TEST_F(CommandTest, BorderDragSizesWithinTheTrackingLimits) {
    HWND window = framed();
    recorder().handlers[window] = [](HWND, UINT message, WPARAM, LPARAM lParam, bool& handled) -> LRESULT {
        if (message != WM_GETMINMAXINFO) return 0;
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {150, 100};
        info->ptMaxTrackSize = {350, 260};
        handled = true;
        return 0;
    };
    auto minmax = recorder().handlers[window];
    // The right edge pulled far out: held at the largest width.
    recorder().handlers[window] = [minmax, done = false](HWND w, UINT m, WPARAM wp, LPARAM lp, bool& handled) mutable -> LRESULT {
        if (m == WM_ENTERSIZEMOVE) mouseMove(700, 200);
        if (m == WM_SIZING && !done) {
            done = true;
            mouseButton(MouseButton::Left, false);
        }
        return minmax(w, m, wp, lp, handled);
    };
    mouseMove(399, 200);
    mouseButton(MouseButton::Left, true);
    pump();
    EXPECT_EQ(rectOf(window).right - rectOf(window).left, 350);
    // The left edge pushed past the right: held at the smallest width, the right edge staying.
    recorder().handlers[window] = [minmax, done = false](HWND w, UINT m, WPARAM wp, LPARAM lp, bool& handled) mutable -> LRESULT {
        if (m == WM_ENTERSIZEMOVE) mouseMove(440, 200);
        if (m == WM_SIZING && !done) {
            done = true;
            mouseButton(MouseButton::Left, false);
        }
        return minmax(w, m, wp, lp, handled);
    };
    mouseMove(100, 200);
    mouseButton(MouseButton::Left, true);
    pump();
    const RECT r = rectOf(window);
    EXPECT_EQ(r.right - r.left, 150);
    EXPECT_EQ(r.right, 450);
}

TEST_F(CommandTest, CloseButtonActsOnlyWhenLetGoOnIt) {
    HWND window = framed();
    // Pressed on the close button, let go beside it: nothing.
    mouseMove(390, 110);
    mouseButton(MouseButton::Left, true);
    mouseMove(200, 110);
    mouseButton(MouseButton::Left, false);
    pump();
    EXPECT_TRUE(IsWindow(window));
    click(390, 110);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(CommandTest, MaximiseButtonAndCaptionDoubleClickMaximiseAndRestore) {
    HWND window = framed();
    click(372, 110);  // the maximise button
    EXPECT_TRUE(IsZoomed(window));
    ShowWindow(window, SW_RESTORE);
    ASSERT_FALSE(IsZoomed(window));
    const RECT before = rectOf(window);
    click(200, 110);
    click(200, 110);  // within the double-click time and distance
    EXPECT_TRUE(IsZoomed(window));
    const RECT zoomed = rectOf(window);
    click(200, zoomed.top + 10);
    click(200, zoomed.top + 10);
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_EQ(rectOf(window).left, before.left);
}

TEST_F(CommandTest, AltF4ClosesTheWindow) {
    HWND window = framed();
    SetActiveWindow(window);
    keyDown(VK_MENU);
    keyDown(VK_F4);
    keyUp(VK_F4);
    keyUp(VK_MENU);
    pump();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(CommandTest, NextWindowCyclesTheTopLevelWindows) {
    HWND a = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
    HWND b = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
    HWND c = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
    SetActiveWindow(c);
    SendMessageA(c, WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
    EXPECT_EQ(GetActiveWindow(), b);
    SendMessageA(b, WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
    EXPECT_EQ(GetActiveWindow(), a);
    SendMessageA(a, WM_SYSCOMMAND, SC_PREVWINDOW, 0);
    EXPECT_EQ(GetActiveWindow(), b) << "the window last sent to the bottom comes back";
}

}  // namespace
}  // namespace window_test
