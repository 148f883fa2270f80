// What the non-client frame keeps per window: whether the caption shows active, and the state
// of the window's two scroll bars.
#ifndef WINPLAT_SRC_USER_NONCLIENT_STATE_H
#define WINPLAT_SRC_USER_NONCLIENT_STATE_H

#include "user/scroll_bar_geometry.h"
#include "user/scroll_bar_state.h"
#include "user/window.h"

namespace winplat::user {

struct NonClientState {
    bool active = false;  // the caption in the active colours (WM_NCACTIVATE)
    ScrollBarState horizontal;
    ScrollBarState vertical;
    int pressedButton = HTNOWHERE;  // the caption button drawn pushed while a click is tracked
    int pressedBar = -1;             // the scroll bar (SB_HORZ, SB_VERT) whose part is held down
    ScrollPart pressedPart = ScrollPart::None;
};

NonClientState& nonClientState(WindowObject& window);
// The bar of SB_HORZ or SB_VERT.
ScrollBarState& scrollBar(WindowObject& window, int bar);

}  // namespace winplat::user

#endif
