#include "user/input_state.h"

#include "user/activation.h"
#include "user/capture.h"
#include "user/focus.h"
#include "user/input_feed.h"
#include "user/tree.h"

namespace winplat::user {

InputState& inputState() {
    static InputState state;
    return state;
}

HCURSOR shownCursor() {
    const InputState& state = inputState();
    return state.cursorShowCount >= 0 ? state.cursorShape : nullptr;
}

bool heldWithin(HWND held, const WindowObject& window) {
    const WindowRef object = findWindow(held);
    return object && (object.get() == &window || isAncestor(window, *object));
}

void releaseInputState(const WindowObject& window) {
    releaseCaptureWithin(window);
    if (heldWithin(inputState().active, window)) activateNextAfter(window);
    if (heldWithin(inputState().focus, window)) changeFocus(nullptr);
}

}  // namespace winplat::user
