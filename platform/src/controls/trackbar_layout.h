// Where a trackbar's parts lie in its client area: the channel the thumb runs along, the thumb at
// a position, the tick marks on either side, and the position a point along the channel stands
// for. A vertical trackbar is the horizontal one turned: its minimum at the top.
#ifndef WINPLAT_SRC_CONTROLS_TRACKBAR_LAYOUT_H
#define WINPLAT_SRC_CONTROLS_TRACKBAR_LAYOUT_H

#include "controls/trackbar_state.h"
#include "winplat/draw.h"

namespace winplat::controls {

struct TrackbarLayout {
    bool vertical = false;
    bool ticksBefore = false;  // above (left of) the thumb: TBS_TOP/TBS_LEFT or TBS_BOTH
    bool ticksAfter = false;   // below (right of) it: the default, or TBS_BOTH
    int start = 0;             // along the axis: the pixel of the minimum
    int end = 0;               // the pixel of the maximum
    int thumbAcrossStart = 0;  // across the axis
    int thumbAcrossEnd = 0;
    RECT channel{};

    // The pixel along the axis a position stands at.
    int pixelOf(const TrackbarState& state, int position) const;
    // The position nearest a pixel along the axis, within the range.
    int positionAt(const TrackbarState& state, int pixel) const;
    RECT thumb(const TrackbarState& state, int position) const;
    // A tick mark at a position on one side (before: above or left).
    RECT tick(const TrackbarState& state, int position, bool before) const;
    // The pixel along the axis of a client point.
    int along(POINT p) const { return vertical ? p.y : p.x; }
};

constexpr int kThumbAlong = 11;   // the thumb's width along the channel
constexpr int kThumbAcross = 21;  // its length across, when the control is tall enough
constexpr int kTickLength = 3;
constexpr int kTickGap = 2;  // between the thumb and its ticks

TrackbarLayout layOutTrackbar(const RECT& client, DWORD style);

}  // namespace winplat::controls

#endif
