// The pointer: where it is, moving it from the program, and keeping it inside a rectangle.
#include <algorithm>

#include "user/hardware_input.h"
#include "user/input_state.h"
#include "user/screen.h"
#include "winplat/host.h"

using namespace winplat;
using namespace winplat::user;

BOOL GetCursorPos(LPPOINT point) {
    constexpr CallRefuser refuse("winplat: GetCursorPos");
    if (!point) return refuse(FALSE, "no point");
    *point = inputState().cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    // As if the mouse moved there: the pointer moves (within the clip) and a WM_MOUSEMOVE follows.
    constexpr CallRefuser refuse("winplat: SetCursorPos");
    if (!uiThreadCall(refuse)) return FALSE;
    hardwareMouseMove({x, y});
    if (host::Waiter* waiter = host::waiter()) waiter->pointerMoved(inputState().cursor.x, inputState().cursor.y);
    return TRUE;
}

BOOL ClipCursor(const RECT* rect) {
    constexpr CallRefuser refuse("winplat: ClipCursor");
    if (!uiThreadCall(refuse)) return FALSE;
    InputState& state = inputState();
    if (!rect) {
        state.clip.reset();
        return TRUE;
    }
    const SIZE screen = screenSize();
    const RECT clip{std::max<LONG>(rect->left, 0), std::max<LONG>(rect->top, 0), std::min<LONG>(rect->right, screen.cx),
                    std::min<LONG>(rect->bottom, screen.cy)};
    if (clip.left >= clip.right || clip.top >= clip.bottom) return refuse(FALSE, "the rectangle holds no point of the screen");
    state.clip = clip;
    const POINT at = state.cursor;
    if (at.x < clip.left || at.x >= clip.right || at.y < clip.top || at.y >= clip.bottom) hardwareMouseMove(at);
    return TRUE;
}

BOOL GetClipCursor(LPRECT rect) {
    constexpr CallRefuser refuse("winplat: GetClipCursor");
    if (!rect) return refuse(FALSE, "no rectangle");
    if (const auto& clip = inputState().clip) {
        *rect = *clip;
    } else {
        const SIZE screen = screenSize();
        *rect = {0, 0, screen.cx, screen.cy};
    }
    return TRUE;
}
