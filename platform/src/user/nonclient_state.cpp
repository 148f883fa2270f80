#include "user/nonclient_state.h"

namespace winplat::user {

NonClientState& nonClientState(WindowObject& window) {
    if (!window.nonClient) window.nonClient = std::make_shared<NonClientState>();
    return *window.nonClient;
}

ScrollBarState& scrollBar(WindowObject& window, int bar) {
    NonClientState& state = nonClientState(window);
    return bar == SB_HORZ ? state.horizontal : state.vertical;
}

}  // namespace winplat::user
