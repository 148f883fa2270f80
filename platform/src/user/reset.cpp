// Back to an empty desktop, for tests.
#include "user/caret.h"
#include "user/destroy_window.h"
#include "user/hardware_input.h"
#include "user/input_state.h"
#include "user/posted_queue.h"
#include "user/retrieval.h"
#include "user/timers.h"
#include "user/update_region.h"
#include "user/window_class.h"
#include "winplat/testing.h"

namespace winplat::testing {

void resetWindowManager() {
    using namespace user;
    while (!desktop().children.empty()) {
        const WindowRef top = desktop().children.front();
        if (top->destroying) {
            discardWindow(top);  // stuck half-way by a failed test: take it out without messages
        } else {
            destroyWindow(top);
        }
    }
    clearTimers();
    postedQueue().clear();
    forgetClasses();
    inputState() = InputState{};
    resetHardwareInput();
    lastMessage() = LastMessage{};
    resetCaret();
    // The desktop shows its background everywhere again, painted now.
    invalidateWindow(desktop(), gdi::Region(clientArea(desktop())), RDW_INVALIDATE | RDW_ERASE);
    paintNow(findWindow(desktop().handle));
}

}  // namespace winplat::testing
