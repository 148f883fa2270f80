#include "user/caption_buttons.h"

#include "user/caption_layout.h"
#include "user/modal_loop.h"
#include "user/nonclient_drawing.h"
#include "user/nonclient_state.h"
#include "user/send.h"
#include "user/tree.h"

namespace winplat::user {
namespace {

bool inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// The command of the button, as the window stands: the size buttons restore a window already in
// their state.
UINT commandOf(const WindowObject& window, int hit) {
    if (hit == HTCLOSE) return SC_CLOSE;
    if (hit == HTMAXBUTTON) return (window.style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
    return (window.style & WS_MINIMIZE) ? SC_RESTORE : SC_MINIMIZE;
}

bool buttonEnabled(const WindowObject& window, int hit) {
    if (hit == HTMAXBUTTON) return (window.style & WS_MAXIMIZEBOX) != 0;
    if (hit == HTMINBUTTON) return (window.style & WS_MINIMIZEBOX) != 0;
    return true;
}

void showPressed(const WindowRef& window, int hit, bool pressed) {
    if (window->gone) return;
    NonClientState& nc = nonClientState(*window);
    const int wanted = pressed ? hit : HTNOWHERE;
    if (nc.pressedButton == wanted) return;
    nc.pressedButton = wanted;
    drawCaption(*window);
}

POINT toWindow(const WindowObject& window, POINT screen) {
    const POINT origin = windowOrigin(window);
    return {screen.x - origin.x, screen.y - origin.y};
}

}  // namespace

void trackCaptionButton(const WindowRef& window, int hit) {
    const RECT button = captionButtonRect(*window, hit);
    if (button.right <= button.left || !buttonEnabled(*window, hit)) return;
    SetCapture(window->handle);
    showPressed(window, hit, true);
    bool released = false;
    bool onButton = true;
    MSG msg{};
    while (stillCaptured(window) && nextModalMessage(msg)) {
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            onButton = inside(button, toWindow(*window, msg.pt));
            showPressed(window, hit, onButton);
            if (msg.message == WM_LBUTTONUP) {
                released = true;
                break;
            }
            continue;
        }
        dispatchModal(msg);
    }
    showPressed(window, hit, false);
    if (!window->gone && GetCapture() == window->handle) ReleaseCapture();
    if (released && onButton && !window->gone) sendTo(window, WM_SYSCOMMAND, commandOf(*window, hit), 0);
}

}  // namespace winplat::user
