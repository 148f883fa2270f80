#include "user/focus.h"

#include "user/activation.h"
#include "user/input_state.h"
#include "user/send.h"

namespace winplat::user {

HWND changeFocus(HWND window) {
    InputState& state = inputState();
    const WindowRef previous = findWindow(state.focus);
    const HWND previousHandle = previous ? previous->handle : nullptr;
    if (previousHandle == window) return previousHandle;
    // The window losing the focus still has it while it hears so.
    if (previous) sendTo(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    const WindowRef next = findWindow(window);
    state.focus = next ? window : nullptr;
    if (next) sendTo(next, WM_SETFOCUS, reinterpret_cast<WPARAM>(previousHandle), 0);
    return previousHandle;
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

HWND SetFocus(HWND window) {
    constexpr CallRefuser refuse("winplat: SetFocus", ERROR_INVALID_WINDOW_HANDLE);
    if (!window) return uiThreadCall(refuse) ? changeFocus(nullptr) : nullptr;
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return nullptr;
    if (isDesktop(*target)) return refuse(HWND{}, "the desktop takes no keys");
    // The focus lives in the active window: a window of an inactive one activates that first.
    const WindowRef top = topLevelOf(target);
    if (top && top->handle != inputState().active) {
        activateWindow(top, WA_ACTIVE);
        if (inputState().active != top->handle) return refuse(HWND{}, "its top-level window did not become active");
        if (!findWindow(window)) return refuse(HWND{}, "the window died while its top-level window activated");
    }
    const HWND previous = GetFocus();
    changeFocus(window);
    return previous;
}

HWND GetFocus(void) { return findWindow(inputState().focus) ? inputState().focus : nullptr; }
