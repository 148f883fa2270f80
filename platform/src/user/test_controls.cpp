// Test controls over the window manager's queue, timers, screen and pointer.
#include <algorithm>

#include "gdi/screen_surface.h"
#include "user/window.h"
#include "user/update_region.h"
#include "user/tree.h"
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

bool takeReadyMessageExceptTimers(MSG* message) {
    if (!message) return false;
    return user::fetchMessageBeforeTimers(user::MessageFilter{}, true, *message);
}

std::vector<TimerInfo> pendingTimers() {
    std::vector<TimerInfo> all = user::timers().listing();
    const std::vector<TimerInfo> layers = user::layerTimers().listing();
    all.insert(all.end(), layers.begin(), layers.end());
    std::stable_sort(all.begin(), all.end(), [](const TimerInfo& a, const TimerInfo& b) { return a.dueMs < b.dueMs; });
    return all;
}

bool setScreenSize(int width, int height) {
    constexpr int kLargest = 16384;
    if (width < 1 || height < 1 || width > kLargest || height > kLargest) return false;
    if (!gdi::resizeScreenSurface(width, height)) return false;
    // The desktop covers the new screen and paints its background on the new (black) pixels at once.
    user::WindowObject& desktop = user::desktop();
    desktop.window = {0, 0, width, height};
    desktop.client = desktop.window;
    desktop.restore = desktop.window;
    user::noteTreeChange();
    user::invalidateWindow(desktop, gdi::Region(user::clientArea(desktop)), RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    user::paintNow(user::findWindow(desktop.handle));
    return true;
}

bool drawPointer(HDC dc, int originX, int originY) { return user::drawPointer(dc, {originX, originY}); }

}  // namespace winplat::testing
