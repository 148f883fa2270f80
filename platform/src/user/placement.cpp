#include "user/placement.h"

#include <algorithm>

#include "user/activation.h"
#include "user/metrics.h"
#include "user/send.h"
#include "user/tree.h"
#include "user/window_events.h"

namespace winplat::user {
namespace {

RECT offsetRect(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

bool sameSize(const RECT& a, const RECT& b) {
    return a.right - a.left == b.right - b.left && a.bottom - a.top == b.bottom - b.top;
}

// The new window rectangle the placement asks for.
RECT requestedRect(const WindowObject& window, const WINDOWPOS& pos) {
    RECT rect = window.window;
    if (!(pos.flags & SWP_NOMOVE)) rect = offsetRect(rect, pos.x - rect.left, pos.y - rect.top);
    if (!(pos.flags & SWP_NOSIZE)) {
        rect.right = rect.left + std::max(pos.cx, 0);
        rect.bottom = rect.top + std::max(pos.cy, 0);
    }
    return rect;
}

// WM_NCCALCSIZE in its placement form: the new, old and old client rectangles, answered with the
// new client rectangle; all in parent coordinates.
RECT recalculateClient(const WindowRef& window, const RECT& newRect, WINDOWPOS& pos) {
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = newRect;
    params.rgrc[1] = window->window;
    params.rgrc[2] = offsetRect(window->client, window->window.left, window->window.top);
    params.lppos = &pos;
    sendTo(window, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    return offsetRect(params.rgrc[0], -newRect.left, -newRect.top);
}

void applyVisibility(WindowObject& window, UINT flags) {
    if (flags & SWP_SHOWWINDOW) window.style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) window.style &= ~static_cast<DWORD>(WS_VISIBLE);
}

// The flags WM_WINDOWPOSCHANGED reports: what was asked, less what cannot happen, plus whether
// the client area moved or changed size.
UINT changedFlags(UINT flags, const RECT& oldWindow, const RECT& oldClient, const WindowObject& window) {
    const RECT oldClientInParent = offsetRect(oldClient, oldWindow.left, oldWindow.top);
    const RECT newClientInParent = offsetRect(window.client, window.window.left, window.window.top);
    if (sameSize(oldClient, window.client)) flags |= SWP_NOCLIENTSIZE;
    if (oldClientInParent.left == newClientInParent.left && oldClientInParent.top == newClientInParent.top) {
        flags |= SWP_NOCLIENTMOVE;
    }
    return flags;
}

// Showing a shown window or hiding a hidden one is no change.
UINT settleShowFlags(const WindowObject& window, UINT flags) {
    if (window.visible()) flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
    if (!window.visible()) flags &= ~static_cast<UINT>(SWP_HIDEWINDOW);
    return flags;
}

}  // namespace

bool placeWindow(const WindowRef& window, WINDOWPOS pos) {
    pos.hwnd = window->handle;
    pos.flags = settleShowFlags(*window, pos.flags);
    if (!(pos.flags & SWP_NOSENDCHANGING)) {
        sendTo(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        if (!findWindow(window->handle)) return false;
    }
    const RECT oldWindow = window->window;
    const RECT oldClient = window->client;
    const POINT oldOrigin = windowOrigin(*window);
    const RECT newRect = requestedRect(*window, pos);
    RECT newClient = window->client;
    if (!sameSize(newRect, oldWindow) || (pos.flags & SWP_FRAMECHANGED)) {
        newClient = recalculateClient(window, newRect, pos);
        if (!findWindow(window->handle)) return false;
    }
    if (WindowEvents* events = windowEvents()) events->placing(*window, pos);
    window->window = newRect;
    window->client = newClient;
    if (!(pos.flags & SWP_NOZORDER) && window->parent) {
        restack(*window, pos.hwndInsertAfter, !(pos.flags & SWP_NOOWNERZORDER));
    }
    applyVisibility(*window, pos.flags);
    noteTreeChange();
    if (!(pos.flags & SWP_NOACTIVATE) && isShowing(*window)) {
        activateOnPlacement(window, (pos.flags & SWP_NOZORDER) != 0);
        if (!findWindow(window->handle)) return false;
    }
    pos.x = newRect.left;
    pos.y = newRect.top;
    pos.cx = newRect.right - newRect.left;
    pos.cy = newRect.bottom - newRect.top;
    pos.flags = changedFlags(pos.flags, oldWindow, oldClient, *window);
    if (WindowEvents* events = windowEvents()) {
        const RECT before{oldOrigin.x, oldOrigin.y, oldOrigin.x + oldWindow.right - oldWindow.left,
                          oldOrigin.y + oldWindow.bottom - oldWindow.top};
        events->placed(*window, before, pos.flags);
    }
    sendTo(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    if (!findWindow(window->handle)) return false;
    // A hidden window lets go of the mouse and hands the activation on once it is out of sight.
    if (pos.flags & SWP_HIDEWINDOW) windowHidden(*window);
    return findWindow(window->handle) != nullptr;
}

RECT askClientRect(const WindowRef& window, const RECT& windowRect) {
    RECT rect = windowRect;
    sendTo(window, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rect));
    return offsetRect(rect, -windowRect.left, -windowRect.top);
}

MINMAXINFO defaultMinMaxInfo(const WindowObject& window) {
    // A maximised window fills its parent's client area (the screen for top-level windows) with
    // its frame pushed just outside.
    const WindowObject& parent = window.parent ? *window.parent : desktop();
    const int areaWidth = parent.client.right - parent.client.left;
    const int areaHeight = parent.client.bottom - parent.client.top;
    const int frame = frameWidth(window.style, window.exStyle);
    MINMAXINFO info{};
    info.ptMaxSize = {areaWidth + 2 * frame, areaHeight + 2 * frame};
    info.ptMaxPosition = {-frame, -frame};
    info.ptMinTrackSize = {systemMetric(SM_CXMINTRACK), systemMetric(SM_CYMINTRACK)};
    info.ptMaxTrackSize = {systemMetric(SM_CXMAXTRACK), systemMetric(SM_CYMAXTRACK)};
    return info;
}

MINMAXINFO askMinMaxInfo(const WindowRef& window) {
    MINMAXINFO info = defaultMinMaxInfo(*window);
    sendTo(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

void sendSize(const WindowRef& window) {
    WPARAM kind = SIZE_RESTORED;
    if (window->style & WS_MINIMIZE) kind = SIZE_MINIMIZED;
    if (window->style & WS_MAXIMIZE) kind = SIZE_MAXIMIZED;
    const RECT& client = window->client;
    sendTo(window, WM_SIZE, kind, MAKELONG(client.right - client.left, client.bottom - client.top));
}

void sendMove(const WindowRef& window) {
    const int x = window->window.left + window->client.left;
    const int y = window->window.top + window->client.top;
    sendTo(window, WM_MOVE, 0, MAKELONG(static_cast<SHORT>(x), static_cast<SHORT>(y)));
}

}  // namespace winplat::user
