// What the scroll and media commands of buttons and hot spots act on: the nearest media window
// or text frame, and the scroller thumbs that follow a text frame.
#include <algorithm>
#include <cstdint>

#include "page/page.h"
#include "page/scroller_geometry.h"
#include "pixmill/pixmill.h"

namespace lect32 {
namespace {

// Beyond this distance nothing counts as near.
constexpr int64_t kFar = 0x7FFF;
// The band repainted around a moved thumb reaches this far past it.
constexpr int kThumbMargin = 5;

// The gap between two ranges along one axis: 0 when they overlap.
int64_t gap(int64_t lowA, int64_t highA, int64_t lowB, int64_t highB) {
    if (highA <= lowB) return lowB - highA;
    if (highB <= lowA) return lowA - highB;
    return 0;
}

}  // namespace

int16_t Page::FindNearestObject(const RECT& reference, int16_t from, bool textFramesOnly) const {
    int16_t nearest = kNone;
    int64_t best = kFar;
    for (uint16_t i = 0; i < GetCount(); ++i) {
        const PageObject& o = objects_[i];
        if (static_cast<int16_t>(i) == from) continue;
        const bool frame = o.Is(ObjectKind::TextFrame);
        if (textFramesOnly ? !frame : !(frame || o.window)) continue;
        const int64_t dx = gap(reference.left, reference.right, o.x, int64_t{o.x} + o.width);
        const int64_t dy = gap(reference.top, reference.bottom, o.y, o.Bottom());
        const int64_t distance = std::max(dx, dy);
        if (distance < best) {
            best = distance;
            nearest = static_cast<int16_t>(i);
        }
    }
    return nearest;
}

int Page::ScrollerPartAt(uint16_t i, int x, int y) {
    if (!objects_.Contains(i)) return 0;
    const RECT box = ContentBox(i);
    ScrollerRecord scroller = GetScroller(i);
    if (x == -1 && y == -1) {
        const uint16_t image = cachedImage(objects_[i].cacheIndex);
        scroller.track = static_cast<int16_t>(box.bottom - box.top);
        scroller.thumbLength = image ? PXLHeight(static_cast<PxlImageId>(image)) : int16_t{0};
        SetScroller(i, scroller);
        return 0;
    }
    // The content box lies inside the object by its border and spacing.
    const RECT whole = WindowRect(objects_[i]);
    return ScrollerPartAtY(scroller, y - (box.top - whole.top));
}

int32_t Page::DragScrollerThumb(uint16_t i, int dy) {
    if (!objects_.Contains(i)) return -1;
    ScrollerRecord scroller = GetScroller(i);
    const int16_t moved = DraggedThumb(scroller, dy);
    if (moved < 0) return -1;
    const int16_t old = scroller.thumb;
    scroller.thumb = moved;
    SetScroller(i, scroller);
    const RECT box = ContentBox(i);
    const RECT whole = WindowRect(objects_[i]);
    const int offset = box.top - whole.top;
    const int top = offset + std::min(old, moved) - kThumbMargin;
    const int bottom = offset + std::max(old, moved) + scroller.thumbLength + kThumbMargin;
    InvalidateObject(i, std::max(top, 0), bottom);
    return ScrollForThumb(scroller, moved);
}

}  // namespace lect32
