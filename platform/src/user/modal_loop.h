// What the frame's own modal loops (scroll bar tracking, caption buttons, moving and sizing)
// share: taking the next message, and the single place they wait when nothing is queued. There
// the host's idle hook is asked (host.h, Idle): under the virtual clock with no timer and no input
// left the loop ends instead of hanging.
#ifndef WINPLAT_SRC_USER_MODAL_LOOP_H
#define WINPLAT_SRC_USER_MODAL_LOOP_H

#include "user/window.h"
#include "winplat/host.h"

namespace winplat::user {

// The next message, removed; false when the loop is to end: WM_QUIT (posted again for the outer
// loop), nothing left to wait for, or the host's answerer ending a loop that asks it (moving and
// sizing do; tracking a button or a scroll bar does not).
// An answer that ends the loop leaves its result in 'answered' when one is given.
bool nextModalMessage(MSG& message, const host::ModalLoop* loop = nullptr, INT_PTR* answered = nullptr);

// Dispatches a message the loop does not handle itself.
void dispatchModal(const MSG& message);

// Whether the loop still holds the mouse: it ends when anything took the capture away
// (WM_CANCELMODE, another window, the window hidden or destroyed).
bool stillCaptured(const WindowRef& window);

}  // namespace winplat::user

#endif
