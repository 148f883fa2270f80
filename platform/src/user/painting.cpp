#include "user/painting.h"

#include <utility>
#include <vector>

#include "user/caret.h"
#include "user/message_source.h"
#include "user/paint_state.h"
#include "user/tree.h"
#include "user/update_region.h"
#include "user/visible_region.h"
#include "user/window_dc.h"
#include "user/window_events.h"
#include "winplat/host.h"

namespace winplat::user {
namespace {

// What a window and its children show on the screen.
gdi::Region footprint(WindowObject& window) { return *visibleRegion(window, DCX_WINDOW | DCX_CLIPSIBLINGS); }

// What a window may paint over: without WS_CLIPSIBLINGS a child paints under its siblings too (a
// radio button inside a group box created before it), so being shown there invalidates it.
gdi::Region paintableArea(WindowObject& window) {
    return *visibleRegion(window, DCX_WINDOW | (styleClipFlags(window) & DCX_CLIPSIBLINGS));
}

class Uncovering final : public WindowEvents {
  public:
    void placing(WindowObject& window, const WINDOWPOS&) override {
        before_.push_back({&window, footprint(window)});
    }

    void placed(WindowObject& window, const RECT& before, UINT flags) override {
        gdi::Region was = takeBefore(window);
        const gdi::Region now = footprint(window);
        invalidateScreenArea(desktop(), gdi::Region::combine(was, now, gdi::RegionOp::Diff), &window);
        if (flags & SWP_NOREDRAW) return;
        const gdi::DeviceRect rect = screenWindowRect(window);
        const bool moved = rect != gdi::DeviceRect{before.left, before.top, before.right, before.bottom};
        const gdi::Region paintable = paintableArea(window);
        const gdi::Region shown = moved ? paintable : gdi::Region::combine(paintable, was, gdi::RegionOp::Diff);
        invalidateScreenArea(window, shown, nullptr);
        if (flags & SWP_FRAMECHANGED) invalidateFrame(window);
    }

    void destroyed(WindowObject& window) override {
        windowLosesCaret(window);
        if (window.paint) validateAll(window);
    }

  private:
    gdi::Region takeBefore(const WindowObject& window) {
        for (auto it = before_.rbegin(); it != before_.rend(); ++it) {
            if (it->first != &window) continue;
            gdi::Region region = std::move(it->second);
            before_.erase(std::next(it).base());
            return region;
        }
        return {};
    }

    std::vector<std::pair<const WindowObject*, gdi::Region>> before_;
};

// The first showing window of the subtree, parents before children and siblings top first, that
// waits for WM_PAINT and that the filter takes.
WindowObject* firstToPaint(WindowObject& window, const MessageFilter& filter) {
    if (!window.visible()) return nullptr;
    if (window.paint && needsPaint(*window.paint) && filter.matchesWindow(window.handle)) return &window;
    for (const WindowRef& child : window.children) {
        if (WindowObject* found = firstToPaint(*child, filter)) return found;
    }
    return nullptr;
}

class PaintSource final : public MessageSource {
  public:
    bool fetch(const MessageFilter& filter, bool, MSG& message) override {
        if (windowsWaitingForPaint() == 0 || !filter.matchesNumber(WM_PAINT)) return false;
        WindowObject* window = firstToPaint(desktop(), filter);
        if (!window) return false;
        // WM_PAINT is never taken out: it comes again until the window is valid.
        message = MSG{window->handle, WM_PAINT, 0, 0, static_cast<DWORD>(host::clock().nowMs()), POINT{}};
        return true;
    }
};

}  // namespace

void installPainting() {
    static Uncovering uncovering;
    static PaintSource source;
    setWindowEvents(&uncovering);
    setMessageSource(SourceKind::Paint, &source);
    installWindowDcRefresher();
}

}  // namespace winplat::user
