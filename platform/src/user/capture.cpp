#include "user/capture.h"

#include <utility>

#include "user/input_state.h"
#include "user/send.h"

namespace winplat::user {
namespace {

// Moves the capture and tells the window that had it.
HWND moveCapture(HWND to) {
    const HWND previous = std::exchange(inputState().capture, to);
    const WindowRef loser = findWindow(previous);
    if (loser && previous != to) sendTo(loser, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(to));
    return loser ? previous : nullptr;
}

}  // namespace

void releaseCaptureWithin(const WindowObject& window) {
    if (heldWithin(inputState().capture, window)) moveCapture(nullptr);
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

HWND SetCapture(HWND window) {
    constexpr CallRefuser refuse("winplat: SetCapture", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return nullptr;
    if (isDesktop(*target)) return refuse(HWND{}, "the desktop cannot hold the mouse");
    return moveCapture(window);
}

HWND GetCapture(void) { return findWindow(inputState().capture) ? inputState().capture : nullptr; }

BOOL ReleaseCapture(void) {
    constexpr CallRefuser refuse("winplat: ReleaseCapture");
    if (!uiThreadCall(refuse)) return FALSE;
    moveCapture(nullptr);
    return TRUE;
}
