// Moving, sizing, restacking, showing and hiding windows: the one path SetWindowPos, MoveWindow,
// ShowWindow, creation and destruction all take, with WM_WINDOWPOSCHANGING, WM_NCCALCSIZE and
// WM_WINDOWPOSCHANGED in that order.
#ifndef WINPLAT_SRC_USER_PLACEMENT_H
#define WINPLAT_SRC_USER_PLACEMENT_H

#include "user/window.h"

namespace winplat::user {

// Applies a placement (pos.hwnd is ignored); false when the window died on the way.
bool placeWindow(const WindowRef& window, WINDOWPOS pos);

// The client rectangle (window coordinates) the window's procedure gives for a window rectangle
// (parent coordinates), asked with WM_NCCALCSIZE as at creation.
RECT askClientRect(const WindowRef& window, const RECT& windowRect);

// The default sizes WM_GETMINMAXINFO starts from, and what the window's procedure made of them.
MINMAXINFO defaultMinMaxInfo(const WindowObject& window);
MINMAXINFO askMinMaxInfo(const WindowRef& window);

// WM_SIZE (with the kind of the window's state) and WM_MOVE (the client origin in parent
// coordinates), as DefWindowProc and creation send them.
void sendSize(const WindowRef& window);
void sendMove(const WindowRef& window);

}  // namespace winplat::user

#endif
