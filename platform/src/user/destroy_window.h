// Destruction: owned windows first, then WM_DESTROY from the window down to its descendants,
// then WM_NCDESTROY from the deepest descendants up to the window, each handle dying right after
// its WM_NCDESTROY.
#ifndef WINPLAT_SRC_USER_DESTROY_WINDOW_H
#define WINPLAT_SRC_USER_DESTROY_WINDOW_H

#include "user/window.h"

namespace winplat::user {

void destroyWindow(const WindowRef& window);

// Takes a window that never finished creation out of the tree and the table, without messages.
void discardWindow(const WindowRef& window);

}  // namespace winplat::user

#endif
