// What the input tests share: the recording windows of the window tests, hardware input through
// the test entry points, and helpers to read the mouse and key messages a window got.
#ifndef TESTS_PLATFORM_USER_INPUT_FIXTURE_H
#define TESTS_PLATFORM_USER_INPUT_FIXTURE_H

#include <vector>

#include "window_fixture.h"

namespace window_test {

using winplat::host::MouseButton;

inline bool isMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

inline LPARAM at(int x, int y) { return MAKELONG(static_cast<SHORT>(x), static_cast<SHORT>(y)); }

class InputTest : public WindowTest {
protected:
    // The messages of one window (all windows: null) that satisfy the test, in order.
    template <class Wanted>
    static std::vector<Received> received(HWND window, Wanted wanted) {
        std::vector<Received> out;
        for (const Received& r : recorder().received) {
            if ((!window || r.window == window) && wanted(r.message)) out.push_back(r);
        }
        return out;
    }
    static std::vector<Received> mouseMessages(HWND window) { return received(window, isMouseMessage); }

    // A press and release of the button at a screen point, taken and dispatched.
    void click(int x, int y, MouseButton button = MouseButton::Left) {
        winplat::testing::mouseMove(x, y);
        winplat::testing::mouseButton(button, true);
        winplat::testing::mouseButton(button, false);
        pump();
    }
};

}  // namespace window_test

#endif
