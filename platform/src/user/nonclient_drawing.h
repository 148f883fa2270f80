// DefWindowProc's drawing of the non-client frame through a window DC: the border or the
// dialog or sizing frame, the client edge, the caption with its title and buttons, the window
// scroll bars and the size box between them. The client area is never touched.
#ifndef WINPLAT_SRC_USER_NONCLIENT_DRAWING_H
#define WINPLAT_SRC_USER_NONCLIENT_DRAWING_H

#include "user/window.h"

namespace winplat::user {

// The whole frame (WM_NCPAINT); nothing for a window that is not showing or has no frame.
void drawNonClient(WindowObject& window);
// Only the caption: after WM_NCACTIVATE, WM_SETTEXT and a caption button's press.
void drawCaption(WindowObject& window);
// Only the scroll bar of SB_HORZ or SB_VERT, and the size box.
void drawScrollBar(WindowObject& window, int bar);

// Whether the window has anything outside its client area.
bool hasNonClientArea(const WindowObject& window);

}  // namespace winplat::user

#endif
