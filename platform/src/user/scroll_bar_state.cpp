#include "user/scroll_bar_state.h"

#include <algorithm>
#include <cstdint>

namespace winplat::user {

int ScrollBarState::highestPos() const {
    const int64_t highest = int64_t{max} - std::max<int64_t>(int64_t{page} - 1, 0);
    return static_cast<int>(std::max<int64_t>(highest, min));
}

bool ScrollBarState::scrolls() const { return max > min && int64_t{page} <= int64_t{max} - min; }

void applyScrollInfo(ScrollBarState& state, const SCROLLINFO& info) {
    if (info.fMask & SIF_RANGE) {
        state.min = info.nMin;
        state.max = std::max(info.nMin, info.nMax);
    }
    if (info.fMask & SIF_PAGE) state.page = info.nPage;
    const int64_t widest = int64_t{state.max} - state.min + 1;
    state.page = static_cast<UINT>(std::min<int64_t>(state.page, widest));
    if (info.fMask & SIF_POS) state.pos = info.nPos;
    state.pos = std::clamp(state.pos, state.min, state.highestPos());
}

void readScrollInfo(const ScrollBarState& state, SCROLLINFO& info) {
    if (info.fMask & SIF_RANGE) {
        info.nMin = state.min;
        info.nMax = state.max;
    }
    if (info.fMask & SIF_PAGE) info.nPage = state.page;
    if (info.fMask & SIF_POS) info.nPos = state.pos;
    if (info.fMask & SIF_TRACKPOS) info.nTrackPos = state.tracking ? state.trackPos : state.pos;
}

}  // namespace winplat::user
