// The window tree: links between parents and children, the z-order of siblings, and where a
// window lies on the screen.
#ifndef WINPLAT_SRC_USER_TREE_H
#define WINPLAT_SRC_USER_TREE_H

#include <cstdint>
#include <vector>

#include "user/window.h"

namespace winplat::user {

// Links a new window under its parent: a top-level window on top of its band, a child window
// below its siblings (children keep their creation order, which dialogs tab through).
void linkNewWindow(const WindowRef& window);
// Takes the window out of its parent's list.
void unlinkWindow(WindowObject& window);
// Moves the window under another parent, on top of the new siblings.
void relinkWindow(const WindowRef& window, WindowObject& newParent);

// Places the window among its siblings after 'insertAfter' (HWND_TOP, HWND_BOTTOM, HWND_TOPMOST,
// HWND_NOTOPMOST or a sibling). Top-level windows keep the top-most band first, and a window's
// owned windows stay just above it (they move with it unless 'moveOwned' is false).
void restack(WindowObject& window, HWND insertAfter, bool moveOwned = true);

// Whether 'ancestor' is above 'window' in the parent chain (the desktop is above every window).
bool isAncestor(const WindowObject& ancestor, const WindowObject& window);
// Visible itself and every ancestor.
bool isShowing(const WindowObject& window);
// Top-level windows whose owner is 'owner', in z-order.
std::vector<WindowRef> ownedWindows(const WindowObject& owner);
// The window and all its descendants, depth first: each window before its children, siblings in
// z-order.
std::vector<WindowRef> subtree(const WindowRef& window);

// A number that changes whenever the tree may look different on the screen (a window linked,
// unlinked, restacked, placed, shown, hidden or restyled): what visible regions and window DCs
// worked out from the tree stay valid while it stays the same.
uint64_t treeGeneration();
void noteTreeChange();

// Screen coordinates of the window's top-left corner and of its client area's.
POINT windowOrigin(const WindowObject& window);
POINT clientOrigin(const WindowObject& window);

}  // namespace winplat::user

#endif
