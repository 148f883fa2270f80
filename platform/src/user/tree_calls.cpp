// Calls that walk the window tree: relations, enumeration, search.
#include <algorithm>
#include <vector>

#include "user/atoms.h"
#include "user/send.h"
#include "user/tree.h"
#include "user/window_class.h"
#include "user/window_events.h"
#include "winplat/base.h"

namespace winplat::user {
namespace {

HWND handleOf(const WindowObject* window) { return window ? window->handle : nullptr; }

HWND sibling(const WindowObject& window, UINT relation) {
    const std::vector<WindowRef>& list = window.parent->children;
    if (list.empty()) return nullptr;
    if (relation == GW_HWNDFIRST) return list.front()->handle;
    if (relation == GW_HWNDLAST) return list.back()->handle;
    const auto at = std::find_if(list.begin(), list.end(), [&](const WindowRef& w) { return w.get() == &window; });
    if (relation == GW_HWNDNEXT) return at + 1 < list.end() ? (*(at + 1))->handle : nullptr;
    return at != list.begin() ? (*(at - 1))->handle : nullptr;
}

// Handles first, so the callback may destroy windows while the walk goes on.
std::vector<HWND> handles(const std::vector<WindowRef>& windows) {
    std::vector<HWND> all;
    all.reserve(windows.size());
    for (const WindowRef& w : windows) all.push_back(w->handle);
    return all;
}

bool textMatches(const std::string& text, LPCSTR wanted) { return !wanted || lstrcmpiA(text.c_str(), wanted) == 0; }

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

HWND GetDesktopWindow(void) { return desktop().handle; }

BOOL IsWindow(HWND window) { return findWindow(window) ? TRUE : FALSE; }

HWND GetParent(HWND window) {
    constexpr CallRefuser refuse("winplat: GetParent", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return nullptr;
    if (target->isChild()) return handleOf(target->parent);
    return (target->style & WS_POPUP) ? handleOf(target->owner) : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
    constexpr CallRefuser refuse("winplat: SetParent", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef window = windowForCall(child, refuse);
    if (!window) return nullptr;
    if (isDesktop(*window)) return refuse(HWND{}, "the desktop has no parent");
    WindowRef parent = newParent ? windowForCall(newParent, refuse) : findWindow(desktop().handle);
    if (!parent) return nullptr;
    if (parent == window || isAncestor(*window, *parent)) {
        return refuse(HWND{}, "a window cannot move under itself or its own descendant");
    }
    HWND previous = window->parent->handle;
    // Keeping its coordinates, the window shows at its place in the new parent: what it leaves
    // behind and where it lands are painted again, as for a move.
    WindowEvents* events = windowEvents();
    const POINT oldOrigin = windowOrigin(*window);
    const RECT before{oldOrigin.x, oldOrigin.y, oldOrigin.x + window->width(), oldOrigin.y + window->height()};
    if (events) events->placing(*window, WINDOWPOS{child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER});
    window->owner = nullptr;  // a re-parented window starts without an owner
    relinkWindow(window, *parent);
    noteTreeChange();
    if (events) events->placed(*window, before, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    return previous;
}

HWND GetWindow(HWND window, UINT relation) {
    constexpr CallRefuser refuse("winplat: GetWindow", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return nullptr;
    switch (relation) {
        case GW_HWNDFIRST:
        case GW_HWNDLAST:
        case GW_HWNDNEXT:
        case GW_HWNDPREV: return target->parent ? sibling(*target, relation) : nullptr;
        case GW_OWNER: return handleOf(target->owner);
        case GW_CHILD: return target->children.empty() ? nullptr : target->children.front()->handle;
        default: return refuse.unsupported(HWND{}, "GetWindow relation " + std::to_string(relation));
    }
}

HWND GetTopWindow(HWND window) {
    return GetWindow(window ? window : desktop().handle, GW_CHILD);
}

BOOL IsChild(HWND parent, HWND window) {
    const WindowRef ancestor = findWindow(parent);
    const WindowRef target = findWindow(window);
    if (!ancestor || !target || isDesktop(*ancestor)) return FALSE;
    for (const WindowObject* w = target.get(); w->isChild() && w->parent; w = w->parent) {
        if (w->parent == ancestor.get()) return TRUE;
    }
    return FALSE;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam) {
    constexpr CallRefuser refuse("winplat: EnumWindows");
    if (!uiThreadCall(refuse)) return FALSE;
    if (!callback) return refuse(FALSE, "no callback");
    for (HWND window : handles(desktop().children)) {
        if (findWindow(window) && !callback(window, lParam)) break;
    }
    return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam) {
    constexpr CallRefuser refuse("winplat: EnumChildWindows", ERROR_INVALID_WINDOW_HANDLE);
    if (!parent) return EnumWindows(callback, lParam);
    const WindowRef window = windowForCall(parent, refuse);
    if (!window) return FALSE;
    if (!callback) return refuse(FALSE, "no callback");
    std::vector<WindowRef> all = subtree(window);
    all.erase(all.begin());  // the parent itself is not its own child
    for (HWND child : handles(all)) {
        if (findWindow(child) && !callback(child, lParam)) break;
    }
    return TRUE;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
    constexpr CallRefuser refuse("winplat: FindWindowA");
    if (!uiThreadCall(refuse)) return nullptr;
    const auto wantedClass = className ? findClass(className) : nullptr;
    if (className && !wantedClass) return nullptr;
    for (const WindowRef& window : desktop().children) {
        if (wantedClass && window->windowClass != wantedClass) continue;
        if (textMatches(window->text, windowName)) return window->handle;
    }
    return nullptr;
}

BOOL IsWindowVisible(HWND window) {
    const WindowRef target = findWindow(window);
    return target && isShowing(*target) ? TRUE : FALSE;
}

BOOL IsIconic(HWND window) {
    const WindowRef target = findWindow(window);
    return target && (target->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND window) {
    const WindowRef target = findWindow(window);
    return target && (target->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
    const WindowRef target = findWindow(window);
    return target && !(target->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    constexpr CallRefuser refuse("winplat: EnableWindow", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return FALSE;
    const BOOL wasDisabled = (target->style & WS_DISABLED) ? TRUE : FALSE;
    if (wasDisabled == !enable) return wasDisabled;
    if (enable) {
        target->style &= ~static_cast<DWORD>(WS_DISABLED);
    } else {
        target->style |= WS_DISABLED;
        // A disabled window cannot keep the keyboard.
        const WindowRef focus = findWindow(GetFocus());
        if (focus && (focus == target || isAncestor(*target, *focus))) SetFocus(nullptr);
    }
    sendTo(target, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}
