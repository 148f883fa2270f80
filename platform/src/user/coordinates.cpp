// Coordinates between windows and the screen, and which window lies under a point.
#include "user/tree.h"
#include "user/window.h"

namespace winplat::user {
namespace {

bool contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool enabled(const WindowObject& window) { return !(window.style & WS_DISABLED); }

// The screen offset of a window's client area; the desktop's (and a null window's) is 0, 0.
bool clientOffset(HWND handle, POINT& offset, const CallRefuser& refuse) {
    offset = {0, 0};
    if (!handle) return true;
    const WindowRef window = windowForCall(handle, refuse);
    if (!window) return false;
    offset = clientOrigin(*window);
    return true;
}

// The deepest visible, enabled descendant of 'parent' under the point (parent client
// coordinates), or 'parent' itself. A disabled child takes the point for its parent.
WindowObject* deepestUnder(WindowObject& parent, POINT point) {
    for (const WindowRef& child : parent.children) {
        if (!child->visible() || !contains(child->window, point)) continue;
        if (!enabled(*child)) return &parent;
        const RECT& client = child->client;
        const POINT inChild{point.x - child->window.left, point.y - child->window.top};
        if (!contains(client, inChild)) return child.get();
        return deepestUnder(*child, {inChild.x - client.left, inChild.y - client.top});
    }
    return &parent;
}

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

BOOL ClientToScreen(HWND window, LPPOINT point) {
    constexpr CallRefuser refuse("winplat: ClientToScreen", ERROR_INVALID_WINDOW_HANDLE);
    POINT offset{};
    if (!point) return refuse(FALSE, "no point");
    if (!window) return refuse(FALSE, "no window");
    if (!clientOffset(window, offset, refuse)) return FALSE;
    point->x += offset.x;
    point->y += offset.y;
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
    constexpr CallRefuser refuse("winplat: ScreenToClient", ERROR_INVALID_WINDOW_HANDLE);
    POINT offset{};
    if (!point) return refuse(FALSE, "no point");
    if (!window) return refuse(FALSE, "no window");
    if (!clientOffset(window, offset, refuse)) return FALSE;
    point->x -= offset.x;
    point->y -= offset.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    constexpr CallRefuser refuse("winplat: MapWindowPoints", ERROR_INVALID_WINDOW_HANDLE);
    POINT source{};
    POINT target{};
    if (!clientOffset(from, source, refuse) || !clientOffset(to, target, refuse)) return 0;
    const LONG dx = source.x - target.x;
    const LONG dy = source.y - target.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    SetLastError(ERROR_SUCCESS);  // a zero shift is no failure
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

HWND WindowFromPoint(POINT point) {
    // Top-level windows answer even when disabled: whether they take the input is for input
    // routing to decide (an owner behind a modal dialog beeps).
    constexpr CallRefuser refuse("winplat: WindowFromPoint");
    if (!uiThreadCall(refuse)) return nullptr;
    for (const WindowRef& top : desktop().children) {
        if (!top->visible() || !contains(top->window, point)) continue;
        if (!enabled(*top)) return top->handle;
        const POINT inWindow{point.x - top->window.left, point.y - top->window.top};
        if (!contains(top->client, inWindow)) return top->handle;
        const POINT inClient{inWindow.x - top->client.left, inWindow.y - top->client.top};
        return deepestUnder(*top, inClient)->handle;
    }
    return nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
    constexpr CallRefuser refuse("winplat: ChildWindowFromPointEx", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef window = windowForCall(parent, refuse);
    if (!window) return nullptr;
    if (flags & ~static_cast<UINT>(CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT)) {
        return refuse.unsupported(HWND{}, "ChildWindowFromPointEx flags");
    }
    const RECT area{-window->client.left, -window->client.top, window->width() - window->client.left,
                    window->height() - window->client.top};
    if (!contains(area, point)) return nullptr;
    for (const WindowRef& child : window->children) {
        if (!contains(child->window, point)) continue;
        if ((flags & CWP_SKIPINVISIBLE) && !child->visible()) continue;
        if ((flags & CWP_SKIPDISABLED) && !enabled(*child)) continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (child->exStyle & WS_EX_TRANSPARENT)) continue;
        return child->handle;
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) { return ChildWindowFromPointEx(parent, point, CWP_ALL); }
