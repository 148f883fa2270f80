// ScrollWindowEx and ScrollWindow: a window's pixels moved within its client area.
//
// The pixels that move are those of the scroll rectangle the window shows (its visible region,
// children cut away); they land only where the window shows, inside the clip rectangle. What
// inside the scroll and clip rectangles did not get moved pixels - the uncovered strip, and parts
// whose source was covered before - is what is left to repaint. The part of the update region
// inside the scroll rectangle moves with the pixels.
#include <string>

#include "base/call_refusal.h"
#include "gdi/objects.h"
#include "user/caret.h"
#include "user/paint_state.h"
#include "user/tree.h"
#include "user/update_region.h"
#include "user/visible_region.h"
#include "user/window_dc.h"
#include "winplat/region.h"

namespace winplat::user {
namespace {

constexpr UINT kScrollFlags = SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE;

gdi::DeviceRect rectOr(const RECT* rect, const gdi::DeviceRect& otherwise) {
    return rect ? gdi::DeviceRect{rect->left, rect->top, rect->right, rect->bottom} : otherwise;
}

gdi::Region moved(gdi::Region region, int dx, int dy) {
    region.offset(dx, dy);
    return region;
}

// Copies the pixels: the destination is the screen region 'copied', the source lies (dx, dy) away.
void movePixels(WindowObject& window, const gdi::Region& copied, int dx, int dy) {
    if (copied.empty()) return;
    const POINT origin = clientOrigin(window);
    const gdi::DeviceRect box = copied.bounds();
    const HDC dc = makeWindowDc(window, DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS | DCX_INTERSECTRGN,
                                std::make_shared<const gdi::Region>(copied));
    if (!dc) return;
    const int x = box.left - origin.x;
    const int y = box.top - origin.y;
    BitBlt(dc, x, y, box.right - box.left, box.bottom - box.top, dc, x - dx, y - dy, SRCCOPY);
    ReleaseDC(window.handle, dc);
}

// The update region's part inside the scroll rectangle moves with the pixels (within the clip).
void moveUpdateRegion(WindowObject& window, const gdi::Region& scroll, const gdi::Region& clip, int dx, int dy) {
    PaintState& state = paintState(window);
    if (state.update.empty()) return;
    const gdi::Region inside = gdi::Region::combine(state.update, scroll, gdi::RegionOp::And);
    if (inside.empty()) return;
    const gdi::Region kept = gdi::Region::combine(state.update, scroll, gdi::RegionOp::Diff);
    const gdi::Region carried = gdi::Region::combine(moved(inside, dx, dy), clip, gdi::RegionOp::And);
    state.update = gdi::Region::combine(kept, carried, gdi::RegionOp::Or);
    notePaintChange(state);
}

void scrollChildren(const WindowObject& window, const gdi::DeviceRect& scroll, bool whole, int dx, int dy) {
    const std::vector<WindowRef> children = window.children;
    for (const WindowRef& child : children) {
        const gdi::DeviceRect rect{child->window.left, child->window.top, child->window.right, child->window.bottom};
        if (!whole && intersect(rect, scroll).empty()) continue;
        SetWindowPos(child->handle, nullptr, rect.left + dx, rect.top + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The region left to repaint, in client coordinates.
gdi::Region scrollPixels(WindowObject& window, int dx, int dy, const gdi::DeviceRect& scroll,
                         const gdi::DeviceRect& clip) {
    const POINT origin = clientOrigin(window);
    gdi::Region visible = *visibleRegion(window, DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS);
    visible.offset(-origin.x, -origin.y);
    const gdi::Region area = gdi::Region::combine(gdi::Region(intersect(scroll, clip)), visible, gdi::RegionOp::And);
    const gdi::Region source = gdi::Region::combine(gdi::Region(scroll), visible, gdi::RegionOp::And);
    const gdi::Region copied = gdi::Region::combine(moved(source, dx, dy), area, gdi::RegionOp::And);
    movePixels(window, moved(copied, origin.x, origin.y), dx, dy);
    moveUpdateRegion(window, gdi::Region(scroll), gdi::Region(clip), dx, dy);
    return gdi::Region::combine(area, copied, gdi::RegionOp::Diff);
}

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

int ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                   LPRECT updateRect, UINT flags) {
    constexpr CallRefuser refuse("winplat: ScrollWindowEx", ERROR_INVALID_WINDOW_HANDLE);
    if (flags & ~kScrollFlags) return refuse.unsupported(ERROR, "flags " + std::to_string(flags));
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return ERROR;
    std::shared_ptr<gdi::RegionObject> updateObject;
    if (update) {
        std::lock_guard lock(gdi::gdiMutex());
        updateObject = gdi::liveRegion(refuse, update);
        if (!updateObject) return ERROR;
    }
    const gdi::DeviceRect client = clientArea(*target);
    const gdi::DeviceRect scrollRect = rectOr(scroll, client);
    const gdi::DeviceRect clipRect = intersect(rectOr(clip, client), client);
    hideCaretForPaint(*target);
    const gdi::Region uncovered = scrollPixels(*target, dx, dy, scrollRect, clipRect);
    if (flags & SW_SCROLLCHILDREN) scrollChildren(*target, scrollRect, scroll == nullptr, dx, dy);
    if ((flags & SW_INVALIDATE) && !target->gone) {
        invalidateWindow(*target, uncovered, RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0));
    }
    if (!target->gone) showCaretAfterPaint(*target);
    if (updateObject) {
        std::lock_guard lock(gdi::gdiMutex());
        updateObject->region = uncovered;
    }
    if (updateRect) {
        const gdi::DeviceRect box = uncovered.bounds();
        *updateRect = RECT{box.left, box.top, box.right, box.bottom};
    }
    return uncovered.kind();
}

BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip) {
    // Without a scroll rectangle the children move along.
    const UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(window, dx, dy, scroll, clip, nullptr, nullptr, flags) != ERROR ? TRUE : FALSE;
}
