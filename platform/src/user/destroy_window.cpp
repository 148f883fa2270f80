#include "user/destroy_window.h"

#include <utility>

#include "user/input_state.h"
#include "user/menu_object.h"
#include "user/placement.h"
#include "user/posted_queue.h"
#include "user/send.h"
#include "user/timers.h"
#include "user/tree.h"
#include "user/window_events.h"

namespace winplat::user {
namespace {

// A top-level window's menu bar and its system menu copy die with it.
void releaseMenus(WindowObject& window) {
    if (!window.isChild() && window.id) destroyMenuTree(reinterpret_cast<HMENU>(window.id));
    window.id = window.isChild() ? window.id : 0;
    if (window.systemMenu) destroyMenuTree(std::exchange(window.systemMenu, nullptr));
}

void hideForDestruction(const WindowRef& window) {
    if (!window->visible()) return;
    WINDOWPOS pos{};
    pos.flags = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    placeWindow(window, pos);
}

// WM_DESTROY to the window, then to each descendant; every child still exists meanwhile.
void announceDestruction(const WindowRef& window) {
    window->destroying = true;
    for (const WindowRef& member : subtree(window)) {
        if (member != window && member->destroying) continue;
        member->destroying = true;
        sendTo(member, WM_DESTROY, 0, 0);
    }
}

// The window is gone: out of the tree, the table, the timers and the queue.
void release(const WindowRef& window) {
    window->gone = true;
    releaseMenus(*window);
    if (WindowEvents* events = windowEvents()) events->destroyed(*window);
    unlinkWindow(*window);
    window->parent = nullptr;
    window->owner = nullptr;
    killWindowTimers(window->handle);
    postedQueue().dropWindow(window->handle);
    if (window->windowClass) --window->windowClass->windows;
    handleTable().remove(handleValue(window->handle), HandleType::Window);
}

// WM_NCDESTROY children first; each window's handle dies after its own. A child that a handler
// created during the destruction hears WM_DESTROY first.
void finishDestruction(const WindowRef& window) {
    if (window->gone) return;  // a nested destruction finished it already
    while (!window->children.empty()) {
        const WindowRef child = window->children.front();
        if (!child->destroying) announceDestruction(child);
        finishDestruction(child);
    }
    sendTo(window, WM_NCDESTROY, 0, 0);
    while (!window->children.empty()) finishDestruction(window->children.front());
    release(window);
}

}  // namespace

void destroyWindow(const WindowRef& window) {
    window->destroying = true;
    hideForDestruction(window);
    if (isTopLevel(*window)) {
        for (const WindowRef& owned : ownedWindows(*window)) {
            if (!owned->destroying) destroyWindow(owned);
        }
    }
    releaseInputState(*window);
    announceDestruction(window);
    finishDestruction(window);
}

void discardWindow(const WindowRef& window) {
    window->destroying = true;
    release(window);
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

BOOL DestroyWindow(HWND window) {
    constexpr CallRefuser refuse("winplat: DestroyWindow", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return FALSE;
    if (isDesktop(*target)) return refuse(FALSE, "the desktop window stays");
    if (target->destroying) {
        refuse.log("the window is already being destroyed");
        return TRUE;
    }
    destroyWindow(target);
    return TRUE;
}
