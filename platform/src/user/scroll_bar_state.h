// One scroll bar's numbers: range, page, position, the position a dragged thumb stands for, and
// which arrows are disabled. The rules of SetScrollInfo live here, apart from any window.
#ifndef WINPLAT_SRC_USER_SCROLL_BAR_STATE_H
#define WINPLAT_SRC_USER_SCROLL_BAR_STATE_H

#include "winplat/user.h"

namespace winplat::user {

struct ScrollBarState {
    // A window's scroll bars start with the range 0 .. 100.
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    UINT disabledArrows = ESB_ENABLE_BOTH;  // ESB_DISABLE_LTUP and/or ESB_DISABLE_RTDN
    bool tracking = false;                  // the thumb is being dragged: trackPos means something

    // The highest position: max - max(page - 1, 0), never below min.
    int highestPos() const;
    // Whether the range lets anything scroll: there is more than one page of it.
    bool scrolls() const;
};

// Applies the SIF_RANGE, SIF_PAGE and SIF_POS parts, keeping the page within 0 .. max - min + 1
// and the position within min .. highestPos().
void applyScrollInfo(ScrollBarState& state, const SCROLLINFO& info);

// Fills the parts fMask asks for.
void readScrollInfo(const ScrollBarState& state, SCROLLINFO& info);

}  // namespace winplat::user

#endif
