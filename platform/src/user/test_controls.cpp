// Test controls over the window manager's queue, timers, screen and pointer.
#include "gdi/screen_surface.h"
#include "user/cursor_drawing.h"
#include "user/retrieval.h"
#include "user/screen.h"
#include "user/timers.h"
#include "winplat/testing.h"

namespace winplat::testing {

bool takeReadyMessage(MSG* message) {
    if (!message) return false;
    return user::fetchMessage(user::MessageFilter{}, true, *message);
}

std::vector<TimerInfo> pendingTimers() { return user::timers().listing(); }

bool setScreenSize(int width, int height) {
    constexpr int kLargest = 16384;
    if (width < 1 || height < 1 || width > kLargest || height > kLargest) return false;
    if (!gdi::resizeScreenSurface(width, height)) return false;
    user::setScreenSize({width, height});
    return true;
}

bool drawPointer(HDC dc, int originX, int originY) { return user::drawPointer(dc, {originX, originY}); }

}  // namespace winplat::testing
