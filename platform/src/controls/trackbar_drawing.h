// Drawing a trackbar in the classic look: the background the parent chose, a sunken channel
// (white inside, the selection highlighted, with TBS_ENABLESELRANGE), the tick marks and a
// raised thumb; the focus rectangle round it all while it has the focus.
#ifndef WINPLAT_SRC_CONTROLS_TRACKBAR_DRAWING_H
#define WINPLAT_SRC_CONTROLS_TRACKBAR_DRAWING_H

#include "controls/trackbar_layout.h"
#include "winplat/user.h"

namespace winplat::controls {

struct TrackbarLook {
    DWORD style = 0;
    HBRUSH background = nullptr;
    int thumbAt = 0;  // the position the thumb shows (the dragged one while dragging)
    bool focused = false;  // the dotted focus rectangle round the whole control
};

void drawTrackbar(HDC dc, const RECT& client, const TrackbarState& state, const TrackbarLook& look);

}  // namespace winplat::controls

#endif
