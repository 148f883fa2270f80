#include "user/tree.h"

#include <algorithm>

namespace winplat::user {
namespace {

bool isTopMost(const WindowObject& window) { return (window.exStyle & WS_EX_TOPMOST) != 0; }

std::vector<WindowRef>& siblingsOf(WindowObject& window) { return window.parent->children; }

size_t positionOf(const std::vector<WindowRef>& list, const WindowObject* window) {
    const auto found = std::find_if(list.begin(), list.end(), [window](const WindowRef& w) { return w.get() == window; });
    return static_cast<size_t>(found - list.begin());
}

// Number of top-most windows at the front of a top-level list.
size_t topMostCount(const std::vector<WindowRef>& list) {
    return static_cast<size_t>(std::count_if(list.begin(), list.end(), [](const WindowRef& w) { return isTopMost(*w); }));
}

bool ownedBy(const WindowObject& window, const WindowObject& owner) {
    for (const WindowObject* o = window.owner; o; o = o->owner) {
        if (o == &owner) return true;
    }
    return false;
}

// The window and the windows it owns, directly or not, top first with the window itself last.
std::vector<WindowRef> ownershipGroup(WindowObject& window, bool withOwned) {
    std::vector<WindowRef> group;
    WindowRef self;
    for (const WindowRef& sibling : siblingsOf(window)) {
        if (sibling.get() == &window) {
            self = sibling;
        } else if (withOwned && isTopLevel(window) && ownedBy(*sibling, window)) {
            group.push_back(sibling);
        }
    }
    group.push_back(self);
    return group;
}

// Applies what the insert-after value says about the band; false when nothing is to move.
bool settleBand(WindowObject& window, HWND insertAfter, const std::vector<WindowRef>& group) {
    if (!isTopLevel(window)) return insertAfter != HWND_NOTOPMOST;
    if (insertAfter == HWND_TOPMOST) {
        // What a top-most window owns must stay above it, so it joins the band too.
        for (const WindowRef& member : group) member->exStyle |= WS_EX_TOPMOST;
    } else if (insertAfter == HWND_NOTOPMOST) {
        if (!isTopMost(window)) return false;
        window.exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
    } else if (insertAfter == HWND_BOTTOM) {
        window.exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
    }
    return true;
}

// Where the group goes in the list without it.
size_t insertPosition(const WindowObject& window, HWND insertAfter, const std::vector<WindowRef>& list) {
    const bool banded = isTopLevel(window);
    const size_t bandStart = banded && !isTopMost(window) ? topMostCount(list) : 0;
    const size_t bandEnd = banded && isTopMost(window) ? topMostCount(list) : list.size();
    size_t position = bandStart;
    if (insertAfter == HWND_BOTTOM) {
        position = bandEnd;
    } else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) {
        const size_t after = positionOf(list, findWindow(insertAfter).get());
        position = after < list.size() ? after + 1 : bandStart;
    }
    position = std::clamp(position, bandStart, bandEnd);
    if (window.owner) position = std::min(position, positionOf(list, window.owner));
    return position;
}

uint64_t generation = 1;

}  // namespace

uint64_t treeGeneration() { return generation; }

void noteTreeChange() { ++generation; }

void linkNewWindow(const WindowRef& window) {
    noteTreeChange();
    std::vector<WindowRef>& list = siblingsOf(*window);
    list.push_back(window);
    if (isTopLevel(*window)) restack(*window, HWND_TOP);
}

void unlinkWindow(WindowObject& window) {
    if (!window.parent) return;
    noteTreeChange();
    std::vector<WindowRef>& list = siblingsOf(window);
    const size_t position = positionOf(list, &window);
    if (position < list.size()) list.erase(list.begin() + static_cast<std::ptrdiff_t>(position));
}

void relinkWindow(const WindowRef& window, WindowObject& newParent) {
    noteTreeChange();
    unlinkWindow(*window);
    window->parent = &newParent;
    newParent.children.insert(newParent.children.begin(), window);
    if (isTopLevel(*window)) restack(*window, HWND_TOP);
}

void restack(WindowObject& window, HWND insertAfter, bool moveOwned) {
    noteTreeChange();
    std::vector<WindowRef>& list = siblingsOf(window);
    const std::vector<WindowRef> group = ownershipGroup(window, moveOwned);
    if (!settleBand(window, insertAfter, group)) return;
    for (const WindowRef& member : group) list.erase(list.begin() + static_cast<std::ptrdiff_t>(positionOf(list, member.get())));
    const size_t position = insertPosition(window, insertAfter, list);
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), group.begin(), group.end());
}

bool isAncestor(const WindowObject& ancestor, const WindowObject& window) {
    for (const WindowObject* w = window.parent; w; w = w->parent) {
        if (w == &ancestor) return true;
    }
    return false;
}

bool isShowing(const WindowObject& window) {
    for (const WindowObject* w = &window; w && !isDesktop(*w); w = w->parent) {
        if (!w->visible()) return false;
    }
    return true;
}

std::vector<WindowRef> ownedWindows(const WindowObject& owner) {
    std::vector<WindowRef> owned;
    for (const WindowRef& w : desktop().children) {
        if (w->owner == &owner) owned.push_back(w);
    }
    return owned;
}

namespace {
void collectSubtree(const WindowRef& window, std::vector<WindowRef>& all) {
    all.push_back(window);
    for (const WindowRef& child : window->children) collectSubtree(child, all);
}
}  // namespace

std::vector<WindowRef> subtree(const WindowRef& window) {
    std::vector<WindowRef> all;
    collectSubtree(window, all);
    return all;
}

POINT windowOrigin(const WindowObject& window) {
    POINT origin{window.window.left, window.window.top};
    if (window.parent && !isDesktop(*window.parent)) {
        const POINT parent = clientOrigin(*window.parent);
        origin.x += parent.x;
        origin.y += parent.y;
    }
    return origin;
}

POINT clientOrigin(const WindowObject& window) {
    const POINT origin = windowOrigin(window);
    return {origin.x + window.client.left, origin.y + window.client.top};
}

}  // namespace winplat::user
