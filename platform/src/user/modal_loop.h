// What the frame's own modal loops (scroll bar tracking, caption buttons, moving and sizing)
// share beside the message pump: whether the loop still holds the mouse.
#ifndef WINPLAT_SRC_USER_MODAL_LOOP_H
#define WINPLAT_SRC_USER_MODAL_LOOP_H

#include "user/message_pump.h"
#include "user/window.h"

namespace winplat::user {

// Whether the loop still holds the mouse: it ends when anything took the capture away
// (WM_CANCELMODE, another window, the window hidden or destroyed).
bool stillCaptured(const WindowRef& window);

}  // namespace winplat::user

#endif
