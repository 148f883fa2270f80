#include "user/visible_region.h"

#include <algorithm>

#include "user/paint_state.h"
#include "user/tree.h"

namespace winplat::user {
namespace {

constexpr UINT kCounted = DCX_WINDOW | DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS;

bool clipsSiblings(const WindowObject& window) {
    return isTopLevel(window) || (window.style & WS_CLIPSIBLINGS) != 0;
}

// Takes away the windows in [first, last) that are shown and overlap the region's bounds.
void subtractWindows(gdi::Region& region, const std::vector<WindowRef>& windows, size_t last) {
    for (size_t i = 0; i < last && !region.empty(); ++i) {
        const WindowObject& other = *windows[i];
        if (!other.visible()) continue;
        const gdi::DeviceRect rect = intersect(screenWindowRect(other), region.bounds());
        if (rect.empty()) continue;
        region = gdi::Region::combine(region, gdi::Region(rect), gdi::RegionOp::Diff);
    }
}

size_t positionAmongSiblings(const WindowObject& window) {
    const auto& siblings = window.parent->children;
    const auto found = std::find_if(siblings.begin(), siblings.end(),
                                    [&](const WindowRef& w) { return w.get() == &window; });
    return static_cast<size_t>(found - siblings.begin());
}

gdi::Region computeVisible(const WindowObject& window, UINT flags) {
    if (!isShowing(window)) return {};
    gdi::DeviceRect area = (flags & DCX_WINDOW) ? screenWindowRect(window) : screenClientRect(window);
    for (const WindowObject* a = window.parent; a; a = a->parent) area = intersect(area, screenClientRect(*a));
    gdi::Region region(area);
    for (const WindowObject* w = &window; w->parent && !region.empty(); w = w->parent) {
        const bool clip = w == &window ? (flags & DCX_CLIPSIBLINGS) || isTopLevel(*w) : clipsSiblings(*w);
        if (clip) subtractWindows(region, w->parent->children, positionAmongSiblings(*w));
    }
    if (flags & DCX_CLIPCHILDREN) subtractWindows(region, window.children, window.children.size());
    return region;
}

}  // namespace

gdi::DeviceRect screenWindowRect(const WindowObject& window) {
    const POINT origin = windowOrigin(window);
    return {origin.x, origin.y, origin.x + window.width(), origin.y + window.height()};
}

gdi::DeviceRect screenClientRect(const WindowObject& window) {
    const POINT origin = windowOrigin(window);
    const RECT& c = window.client;
    return {origin.x + c.left, origin.y + c.top, origin.x + c.right, origin.y + c.bottom};
}

UINT styleClipFlags(const WindowObject& window) {
    UINT flags = 0;
    if (window.style & WS_CLIPCHILDREN) flags |= DCX_CLIPCHILDREN;
    if (window.style & WS_CLIPSIBLINGS) flags |= DCX_CLIPSIBLINGS;
    return flags;
}

std::shared_ptr<const gdi::Region> visibleRegion(WindowObject& window, UINT dcxFlags) {
    const UINT flags = dcxFlags & kCounted;
    const uint64_t generation = treeGeneration();
    auto& cache = paintState(window).visible;
    for (PaintState::Visible& entry : cache) {
        if (entry.flags != flags) continue;
        if (entry.generation != generation) {
            entry.region = std::make_shared<const gdi::Region>(computeVisible(window, flags));
            entry.generation = generation;
        }
        return entry.region;
    }
    auto region = std::make_shared<const gdi::Region>(computeVisible(window, flags));
    cache.push_back({flags, generation, region});
    return region;
}

}  // namespace winplat::user
