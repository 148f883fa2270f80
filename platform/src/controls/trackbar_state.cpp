#include "controls/trackbar_state.h"

#include <algorithm>
#include <cstdint>

namespace winplat::controls {

int TrackbarState::clamp(int position) const {
    return std::clamp(position, min, max);
}

void TrackbarState::setRange(int low, int high) {
    min = low;
    max = std::max(low, high);
    pos = clamp(pos);
    selStart = clamp(selStart);
    selEnd = clamp(selEnd);
}

std::vector<int> TrackbarState::innerTics(bool automatic) const {
    std::vector<int> out;
    for (int tic : tics) {
        if (tic > min && tic < max) out.push_back(tic);
    }
    if (automatic && ticFrequency > 0) {
        // 64-bit steps: a range near INT_MAX never wraps round.
        for (int64_t at = int64_t{min} + ticFrequency; at < max; at += ticFrequency)
            out.push_back(static_cast<int>(at));
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

bool TrackbarState::addTic(int position) {
    if (position < min || position > max) return false;
    const auto at = std::lower_bound(tics.begin(), tics.end(), position);
    if (at == tics.end() || *at != position) tics.insert(at, position);
    return true;
}

}  // namespace winplat::controls
