#include "controls/trackbar_layout.h"

#include <algorithm>
#include <cstdint>

#include "winplat/controls.h"

namespace winplat::controls {
namespace {

// The channel ends where a thumb at either end still fits, with a little room.
constexpr int kEndMargin = kThumbAlong / 2 + 3;
constexpr int kChannelThickness = 4;
constexpr int kSelectionChannelThickness = 8;  // room inside the edges for the selection
constexpr int kEdgeRoom = 2;

// A rectangle given along and across the axis, as client coordinates.
RECT turned(bool vertical, int alongStart, int alongEnd, int acrossStart, int acrossEnd) {
    if (vertical) return {acrossStart, alongStart, acrossEnd, alongEnd};
    return {alongStart, acrossStart, alongEnd, acrossEnd};
}

}  // namespace

TrackbarLayout layOutTrackbar(const RECT& client, DWORD style) {
    TrackbarLayout l;
    l.vertical = (style & TBS_VERT) != 0;
    const bool ticks = !(style & TBS_NOTICKS);
    l.ticksBefore = ticks && (style & (TBS_TOP | TBS_BOTH));
    l.ticksAfter = ticks && (!(style & TBS_TOP) || (style & TBS_BOTH));
    const int length = l.vertical ? client.bottom - client.top : client.right - client.left;
    const int breadth = l.vertical ? client.right - client.left : client.bottom - client.top;
    const int tickRoom = kTickLength + kTickGap;
    l.start = kEndMargin;
    l.end = std::max(l.start, length - kEndMargin - 1);
    l.thumbAcrossStart = kEdgeRoom + (l.ticksBefore ? tickRoom : 0);
    const int room = breadth - l.thumbAcrossStart - kEdgeRoom - (l.ticksAfter ? tickRoom : 0);
    l.thumbAcrossEnd = l.thumbAcrossStart + std::clamp(room, kThumbAlong / 2, kThumbAcross);
    const int middle = (l.thumbAcrossStart + l.thumbAcrossEnd) / 2;
    const int thickness = (style & TBS_ENABLESELRANGE) ? kSelectionChannelThickness : kChannelThickness;
    l.channel = turned(l.vertical, l.start - kThumbAlong / 2, l.end + kThumbAlong / 2 + 1,
                       middle - thickness / 2, middle + thickness / 2);
    return l;
}

int TrackbarLayout::pixelOf(const TrackbarState& state, int position) const {
    const int64_t range = int64_t{state.max} - state.min;
    if (range <= 0) return start;
    return start + static_cast<int>((int64_t{state.clamp(position)} - state.min) * (end - start) / range);
}

int TrackbarLayout::positionAt(const TrackbarState& state, int pixel) const {
    const int travel = end - start;
    if (travel <= 0) return state.min;
    const int64_t range = int64_t{state.max} - state.min;
    const int64_t offset = std::clamp(pixel - start, 0, travel);
    // Rounded to the nearest position, so that the pixel of a position gives it back.
    return state.clamp(static_cast<int>(state.min + (offset * range + travel / 2) / travel));
}

RECT TrackbarLayout::thumb(const TrackbarState& state, int position) const {
    const int at = pixelOf(state, position);
    return turned(vertical, at - kThumbAlong / 2, at + kThumbAlong / 2 + 1, thumbAcrossStart, thumbAcrossEnd);
}

RECT TrackbarLayout::tick(const TrackbarState& state, int position, bool before) const {
    const int at = pixelOf(state, position);
    const int from = before ? thumbAcrossStart - kTickGap - kTickLength : thumbAcrossEnd + kTickGap;
    return turned(vertical, at, at + 1, from, from + kTickLength);
}

}  // namespace winplat::controls
