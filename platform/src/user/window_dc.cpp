#include "user/window_dc.h"

#include <string>

#include "base/call_refusal.h"
#include "gdi/paint.h"
#include "user/tree.h"
#include "user/visible_region.h"
#include "winplat/region.h"

namespace winplat::user {
namespace {

constexpr UINT kSupported = DCX_WINDOW | DCX_CACHE | DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS | DCX_EXCLUDERGN |
                            DCX_INTERSECTRGN;

// Sets the DC's system region and origin from its window as the tree stands now. Runs under the
// GDI lock (from findDc): it reads the tree and regions only, never a GDI object.
void refresh(gdi::DeviceContextObject& dc) {
    const uint64_t generation = treeGeneration();
    if (dc.link.generation == generation) return;
    dc.link.generation = generation;
    const WindowRef window = findWindow(makeHandle<HWND>(dc.window));
    if (!window) {
        // The window is gone: the DC draws nowhere until it is released.
        dc.systemRegion = std::make_shared<const gdi::Region>();
        return;
    }
    const UINT flags = dc.link.flags;
    const POINT origin = (flags & DCX_WINDOW) ? windowOrigin(*window) : clientOrigin(*window);
    dc.deviceOrigin = origin;
    dc.origin = {origin.x + dc.state.viewport.x, origin.y + dc.state.viewport.y};
    std::shared_ptr<const gdi::Region> visible = visibleRegion(*window, flags);
    if (dc.link.extra) {
        const gdi::RegionOp op = (flags & DCX_EXCLUDERGN) ? gdi::RegionOp::Diff : gdi::RegionOp::And;
        visible = std::make_shared<const gdi::Region>(gdi::Region::combine(*visible, *dc.link.extra, op));
    }
    dc.systemRegion = std::move(visible);
}

}  // namespace

HDC makeWindowDc(WindowObject& window, UINT flags, std::shared_ptr<const gdi::Region> extra) {
    std::shared_ptr<gdi::DeviceContextObject> dc;
    const HDC handle = gdi::newScreenDc(&dc);
    if (!handle) return nullptr;
    std::lock_guard lock(gdi::gdiMutex());
    dc->window = handleValue(window.handle);
    dc->link.flags = flags;
    dc->link.extra = std::move(extra);
    dc->link.generation = 0;
    refresh(*dc);
    return handle;
}

void installWindowDcRefresher() { gdi::setWindowDcRefresher(refresh); }

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

HDC GetDCEx(HWND window, HRGN clip, DWORD flags) {
    constexpr CallRefuser refuse("winplat: GetDCEx", ERROR_INVALID_WINDOW_HANDLE);
    if (!window) return gdi::newScreenDc(nullptr);
    if (flags & ~kSupported) return refuse.unsupported(HDC{}, "flags " + std::to_string(flags));
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return nullptr;
    std::shared_ptr<const gdi::Region> extra;
    if (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) {
        std::lock_guard lock(gdi::gdiMutex());
        auto region = gdi::liveRegion(refuse, clip);
        if (!region) return nullptr;
        extra = std::make_shared<const gdi::Region>(region->region);
    }
    return makeWindowDc(*target, flags, std::move(extra));
}

HDC GetDC(HWND window) {
    if (!window) return GetDCEx(nullptr, nullptr, 0);
    constexpr CallRefuser refuse("winplat: GetDC", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return nullptr;
    return makeWindowDc(*target, styleClipFlags(*target), nullptr);
}

HDC GetWindowDC(HWND window) {
    constexpr CallRefuser refuse("winplat: GetWindowDC", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return nullptr;
    return makeWindowDc(*target, DCX_WINDOW | (styleClipFlags(*target) & DCX_CLIPSIBLINGS), nullptr);
}

int ReleaseDC(HWND window, HDC dc) {
    const uint32_t windowValue = handleValue(window);
    const bool releasable = gdi::onDc(dc, false, [windowValue](gdi::DeviceContextObject& context) {
        return context.fromGetDc && (windowValue == 0 || context.window == windowValue || context.window == 0);
    });
    return releasable && DeleteDC(dc) ? 1 : 0;
}
