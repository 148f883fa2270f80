// How a modal loop takes its messages, for the frame's own loops (scroll bar tracking, caption
// buttons, menus, moving and sizing) and the dialogs' modal loops alike: the next message, and the
// single place they wait when nothing is queued. There the host's idle hook is asked (host.h,
// Idle): under the virtual clock with no timer and no input left the loop ends instead of
// hanging.
#ifndef WINPLAT_SRC_USER_MESSAGE_PUMP_H
#define WINPLAT_SRC_USER_MESSAGE_PUMP_H

#include <functional>

#include "winplat/host.h"
#include "winplat/user.h"

namespace winplat::user {

// What a loop asks of the pump beside the next message.
struct ModalPump {
    const host::ModalLoop* loop = nullptr;  // the host's answerer, asked when idle; null: never
    INT_PTR* answered = nullptr;            // where an answer that ends the loop leaves its result
    // Asked after the answerer acted and after each wait: true ends the loop, which something
    // other than a message ended (a dialog the answerer ended through its controls).
    std::function<bool()> ended;
    const char* name = "a frame's modal loop";  // how a stall names the loop
};

// The next message, removed; false when the loop is to end: WM_QUIT (posted again for the outer
// loop), nothing left to wait for, the host's answerer ending a loop that asks it (moving,
// sizing, menus and dialogs do; tracking a button or a scroll bar does not), or 'ended'.
bool nextModalMessage(MSG& message, const ModalPump& pump);
bool nextModalMessage(MSG& message, const host::ModalLoop* loop = nullptr, INT_PTR* answered = nullptr);

// Dispatches a message the loop does not handle itself (translated first).
void dispatchModal(const MSG& message);

}  // namespace winplat::user

#endif
