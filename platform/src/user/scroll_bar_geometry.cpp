#include "user/scroll_bar_geometry.h"

#include <algorithm>
#include <cstdint>

#include "user/metrics.h"
#include "user/window.h"

namespace winplat::user {
namespace {

// The classic thumb: square when the bar has no page, never shorter than this with one.
constexpr int kMinThumb = 8;

bool inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

RECT along(const ScrollBarLayout& l, int start, int end) {
    if (l.vertical) return {l.bar.left, start, l.bar.right, end};
    return {start, l.bar.top, end, l.bar.bottom};
}

void placeThumb(ScrollBarLayout& l, const ScrollBarState& state) {
    const int track = l.trackEnd - l.trackStart;
    const int64_t span = int64_t{state.max} - state.min + 1;
    const int thickness = l.vertical ? l.bar.right - l.bar.left : l.bar.bottom - l.bar.top;
    int thumb = state.page == 0 ? thickness : static_cast<int>(track * int64_t{state.page} / span);
    thumb = std::max(thumb, kMinThumb);
    if (thumb > track) return;
    const int64_t range = int64_t{state.highestPos()} - state.min;
    const int travel = track - thumb;
    const int64_t offset = range > 0 ? (int64_t{state.pos} - state.min) * travel / range : 0;
    l.hasThumb = true;
    l.thumbStart = l.trackStart + static_cast<int>(offset);
    l.thumbEnd = l.thumbStart + thumb;
}

}  // namespace

RECT ScrollBarLayout::thumbRect() const { return hasThumb ? along(*this, thumbStart, thumbEnd) : RECT{}; }
RECT ScrollBarLayout::pageUpRect() const { return along(*this, trackStart, hasThumb ? thumbStart : trackStart); }
RECT ScrollBarLayout::pageDownRect() const { return along(*this, hasThumb ? thumbEnd : trackEnd, trackEnd); }

RECT scrollBarRect(const WindowObject& window, int bar) {
    const RECT& c = window.client;
    if (bar == SB_VERT) {
        if (!(window.style & WS_VSCROLL)) return {};
        return {c.right, c.top, c.right + systemMetric(SM_CXVSCROLL), c.bottom};
    }
    if (!(window.style & WS_HSCROLL)) return {};
    return {c.left, c.bottom, c.right, c.bottom + systemMetric(SM_CYHSCROLL)};
}

RECT sizeBoxRect(const WindowObject& window) {
    if ((window.style & (WS_VSCROLL | WS_HSCROLL)) != (WS_VSCROLL | WS_HSCROLL)) return {};
    const RECT& c = window.client;
    return {c.right, c.bottom, c.right + systemMetric(SM_CXVSCROLL), c.bottom + systemMetric(SM_CYHSCROLL)};
}

ScrollBarLayout layoutScrollBar(const RECT& bar, bool vertical, const ScrollBarState& state, bool enabled) {
    ScrollBarLayout l;
    l.vertical = vertical;
    l.bar = bar;
    const int start = vertical ? bar.top : bar.left;
    const int end = vertical ? bar.bottom : bar.right;
    const int thickness = vertical ? bar.right - bar.left : bar.bottom - bar.top;
    // Arrows are square; on a bar too short for two squares they share its length.
    const int arrow = std::min(thickness, (end - start) / 2);
    l.lineUp = along(l, start, start + arrow);
    l.lineDown = along(l, end - arrow, end);
    l.trackStart = start + arrow;
    l.trackEnd = end - arrow;
    if (enabled && state.scrolls()) placeThumb(l, state);
    return l;
}

ScrollPart scrollPartAt(const ScrollBarLayout& l, POINT p) {
    if (!inside(l.bar, p)) return ScrollPart::None;
    if (inside(l.lineUp, p)) return ScrollPart::LineUp;
    if (inside(l.lineDown, p)) return ScrollPart::LineDown;
    const int at = l.vertical ? p.y : p.x;
    if (!l.hasThumb) return ScrollPart::None;
    if (at < l.thumbStart) return ScrollPart::PageUp;
    if (at >= l.thumbEnd) return ScrollPart::PageDown;
    return ScrollPart::Thumb;
}

int positionForThumb(const ScrollBarLayout& l, const ScrollBarState& state, int thumbStart) {
    const int travel = l.thumbTravel();
    const int64_t range = int64_t{state.highestPos()} - state.min;
    if (travel <= 0 || range <= 0) return state.min;
    const int64_t offset = std::clamp(thumbStart - l.trackStart, 0, travel);
    // Rounded to the nearest position, so that the thumb put back where it was gives its position.
    return state.min + static_cast<int>((offset * range + travel / 2) / travel);
}

}  // namespace winplat::user
