#include "user/update_region.h"

#include "user/nonclient_drawing.h"
#include "user/paint_state.h"
#include "user/send.h"
#include "user/tree.h"
#include "user/visible_region.h"
#include "user/window_dc.h"

namespace winplat::user {
namespace {

bool reachesChildren(const WindowObject& window, UINT flags) {
    if (flags & RDW_ALLCHILDREN) return true;
    if (flags & RDW_NOCHILDREN) return false;
    return !(window.style & WS_CLIPCHILDREN);
}

// What of a region in the parent's client coordinates lies on the child, in the child's client
// coordinates.
gdi::Region partOnChild(const gdi::Region& region, const WindowObject& child) {
    const gdi::DeviceRect rect{child.window.left, child.window.top, child.window.right, child.window.bottom};
    if (!region.overlaps(rect)) return {};
    gdi::Region part = gdi::Region::combine(region, gdi::Region(rect), gdi::RegionOp::And);
    part.offset(-(child.window.left + child.client.left), -(child.window.top + child.client.top));
    return part;
}

void forChildren(WindowObject& window, const gdi::Region& region, UINT flags,
                 void (*apply)(WindowObject&, const gdi::Region&, UINT)) {
    if (!reachesChildren(window, flags) || region.empty()) return;
    // A copy: a child may not go away meanwhile, but the list is not ours to hold.
    const std::vector<WindowRef> children = window.children;
    for (const WindowRef& child : children) {
        if (!child->visible()) continue;
        const gdi::Region part = partOnChild(region, *child);
        if (!part.empty()) apply(*child, part, flags);
    }
}

}  // namespace

gdi::DeviceRect clientArea(const WindowObject& window) {
    return {0, 0, window.client.right - window.client.left, window.client.bottom - window.client.top};
}

void invalidateWindow(WindowObject& window, const gdi::Region& region, UINT flags) {
    if (!isShowing(window)) return;
    PaintState& state = paintState(window);
    const gdi::Region inside = gdi::Region::combine(region, gdi::Region(clientArea(window)), gdi::RegionOp::And);
    if (!inside.empty()) {
        state.update = state.update.empty() ? inside : gdi::Region::combine(state.update, inside, gdi::RegionOp::Or);
        if (flags & RDW_ERASE) state.erase = true;
        notePaintChange(state);
    }
    forChildren(window, region, flags, invalidateWindow);
}

void validateWindow(WindowObject& window, const gdi::Region& region, UINT flags) {
    PaintState& state = paintState(window);
    if (!state.update.empty()) {
        state.update = gdi::Region::combine(state.update, region, gdi::RegionOp::Diff);
        if (state.update.empty()) state.erase = false;
        notePaintChange(state);
    }
    // Validation reaches children only when asked to.
    if (flags & RDW_ALLCHILDREN) forChildren(window, region, flags, validateWindow);
}

void invalidateFrame(WindowObject& window) {
    if (!isShowing(window) || !hasNonClientArea(window)) return;
    PaintState& state = paintState(window);
    state.frame = true;
    notePaintChange(state);
}

void drawFrameNow(const WindowRef& window) {
    PaintState& state = paintState(*window);
    if (!state.frame) return;
    state.frame = false;
    notePaintChange(state);
    sendTo(window, WM_NCPAINT, 1, 0);
}

void validateAll(WindowObject& window) {
    PaintState& state = paintState(window);
    state.frame = false;
    state.update = gdi::Region();
    state.erase = false;
    state.internalPaint = false;
    notePaintChange(state);
}

namespace {

// Whether the screen region reaches a showing part of the window's frame.
bool reachesFrame(WindowObject& window, const gdi::Region& screen) {
    if (!hasNonClientArea(window) || !screen.overlaps(screenWindowRect(window))) return false;
    const auto visible = visibleRegion(window, DCX_WINDOW | DCX_CLIPSIBLINGS);
    gdi::Region frame = gdi::Region::combine(*visible, gdi::Region(screenClientRect(window)), gdi::RegionOp::Diff);
    return !gdi::Region::combine(frame, screen, gdi::RegionOp::And).empty();
}

void invalidateVisiblePart(WindowObject& window, const gdi::Region& screen, const WindowObject* skip) {
    if (&window == skip || !window.visible()) return;
    if (!screen.overlaps(screenWindowRect(window)) && window.parent) return;
    if (reachesFrame(window, screen)) invalidateFrame(window);
    // What the window paints over: its children and siblings only when its style says so (a
    // dialog paints under its transparent group boxes, a radio button under the group box
    // around it); top-level windows always keep to their own part.
    const auto visible = visibleRegion(window, styleClipFlags(window));
    gdi::Region part = gdi::Region::combine(screen, *visible, gdi::RegionOp::And);
    if (!part.empty()) {
        const POINT origin = clientOrigin(window);
        part.offset(-origin.x, -origin.y);
        invalidateWindow(window, part, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
    }
    const std::vector<WindowRef> children = window.children;
    for (const WindowRef& child : children) invalidateVisiblePart(*child, screen, skip);
}

}  // namespace

void invalidateScreenArea(WindowObject& root, const gdi::Region& screen, const WindowObject* skip) {
    if (!screen.empty()) invalidateVisiblePart(root, screen, skip);
}

void afterPaintMessage(const WindowRef& window) {
    if (window->gone || !window->paint || !needsPaint(*window->paint)) return;
    // A handler that validated without BeginPaint still gets its frame drawn.
    drawFrameNow(window);
    if (window->gone) return;
    validateAll(*window);
}

void paintNow(const WindowRef& window) {
    if (!isShowing(*window) || !needsPaint(paintState(*window))) return;
    sendTo(window, WM_PAINT, 0, 0);
    afterPaintMessage(window);
}

bool eraseNow(const WindowRef& window) {
    PaintState& state = paintState(*window);
    if (!state.erase) return false;
    state.erase = false;
    auto update = std::make_shared<gdi::Region>(state.update);
    const POINT origin = clientOrigin(*window);
    update->offset(origin.x, origin.y);
    const HDC dc = makeWindowDc(*window, styleClipFlags(*window) | DCX_INTERSECTRGN, std::move(update));
    if (!dc) return false;
    const bool erased = sendTo(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0;
    ReleaseDC(window->handle, dc);
    return erased;
}

}  // namespace winplat::user
