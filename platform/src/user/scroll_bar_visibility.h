// Showing and hiding a window's scroll bars: the style bit changes and the client area is worked
// out again (WM_NCCALCSIZE, then WM_SIZE when it changed size), the frame and the client drawn
// again.
#ifndef WINPLAT_SRC_USER_SCROLL_BAR_VISIBILITY_H
#define WINPLAT_SRC_USER_SCROLL_BAR_VISIBILITY_H

#include "user/window.h"

namespace winplat::user {

void setScrollBarShown(const WindowRef& window, int bar, bool shown);
void setBothScrollBarsShown(const WindowRef& window, bool shown);

}  // namespace winplat::user

#endif
