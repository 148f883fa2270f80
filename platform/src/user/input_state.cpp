#include "user/input_state.h"

#include "user/tree.h"

namespace winplat::user {
namespace {

// Whether 'held' names the window or one of its descendants.
bool within(HWND held, const WindowObject& window) {
    const WindowRef object = findWindow(held);
    return object && (object.get() == &window || isAncestor(window, *object));
}

}  // namespace

InputState& inputState() {
    static InputState state;
    return state;
}

void releaseInputState(const WindowObject& window) {
    InputState& state = inputState();
    if (within(state.focus, window)) state.focus = nullptr;
    if (within(state.capture, window)) state.capture = nullptr;
    if (within(state.active, window)) state.active = nullptr;
}

void noteActivation(const WindowObject& window) {
    const WindowObject* top = &window;
    while (top->parent && !isTopLevel(*top)) top = top->parent;
    if (isTopLevel(*top)) inputState().active = top->handle;
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

HWND SetFocus(HWND window) {
    constexpr CallRefuser refuse("winplat: SetFocus", ERROR_INVALID_WINDOW_HANDLE);
    if (window && !windowForCall(window, refuse)) return nullptr;
    if (!window && !uiThreadCall(refuse)) return nullptr;
    HWND previous = GetFocus();
    inputState().focus = window;
    return previous;
}

HWND GetFocus(void) { return findWindow(inputState().focus) ? inputState().focus : nullptr; }

HWND SetCapture(HWND window) {
    constexpr CallRefuser refuse("winplat: SetCapture", ERROR_INVALID_WINDOW_HANDLE);
    if (!windowForCall(window, refuse)) return nullptr;
    HWND previous = GetCapture();
    inputState().capture = window;
    return previous;
}

HWND GetCapture(void) { return findWindow(inputState().capture) ? inputState().capture : nullptr; }

BOOL ReleaseCapture(void) {
    constexpr CallRefuser refuse("winplat: ReleaseCapture");
    if (!uiThreadCall(refuse)) return FALSE;
    inputState().capture = nullptr;
    return TRUE;
}

HWND GetActiveWindow(void) { return findWindow(inputState().active) ? inputState().active : nullptr; }
