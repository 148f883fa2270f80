#include "controls/trackbar_drawing.h"

#include "winplat/controls.h"

namespace winplat::controls {
namespace {

void fill(HDC dc, const RECT& r, int colour) {
    FillRect(dc, &r, GetSysColorBrush(colour));
}

void drawChannel(HDC dc, const TrackbarLayout& layout, const TrackbarState& state, DWORD style) {
    RECT channel = layout.channel;
    DrawEdge(dc, &channel, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (!(style & TBS_ENABLESELRANGE)) return;
    fill(dc, channel, COLOR_BTNHIGHLIGHT);
    if (state.selEnd <= state.selStart) return;
    RECT selection = channel;
    const int from = layout.pixelOf(state, state.selStart);
    const int to = layout.pixelOf(state, state.selEnd) + 1;
    if (layout.vertical) {
        selection.top = from;
        selection.bottom = to;
    } else {
        selection.left = from;
        selection.right = to;
    }
    fill(dc, selection, COLOR_HIGHLIGHT);
}

void drawTicks(HDC dc, const TrackbarLayout& layout, const TrackbarState& state, DWORD style) {
    std::vector<int> at = state.innerTics((style & TBS_AUTOTICKS) != 0);
    at.push_back(state.min);
    at.push_back(state.max);
    for (const int position : at) {
        if (layout.ticksBefore) fill(dc, layout.tick(state, position, true), COLOR_BTNTEXT);
        if (layout.ticksAfter) fill(dc, layout.tick(state, position, false), COLOR_BTNTEXT);
    }
}

}  // namespace

void drawTrackbar(HDC dc, const RECT& client, const TrackbarState& state, const TrackbarLook& look) {
    FillRect(dc, &client, look.background ? look.background : GetSysColorBrush(COLOR_BTNFACE));
    const TrackbarLayout layout = layOutTrackbar(client, look.style);
    drawChannel(dc, layout, state, look.style);
    drawTicks(dc, layout, state, look.style);
    RECT thumb = layout.thumb(state, look.thumbAt);
    DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    if (look.focused) DrawFocusRect(dc, &client);
}

}  // namespace winplat::controls
