// A trackbar's numbers apart from any window: range, position, line and page steps, tick marks
// and the selection, with the rules that keep them consistent.
#ifndef WINPLAT_SRC_CONTROLS_TRACKBAR_STATE_H
#define WINPLAT_SRC_CONTROLS_TRACKBAR_STATE_H

#include <cstdint>
#include <optional>
#include <vector>

namespace winplat::controls {

struct TrackbarState {
    int min = 0;
    int max = 100;
    int pos = 0;
    int line = 1;
    std::optional<int> page;  // none: a fifth of the range, following it
    int ticFrequency = 1;     // automatic ticks every so many positions (TBS_AUTOTICKS); 0: none
    std::vector<int> tics;    // ticks set one by one, sorted, inside the range
    int selStart = 0;
    int selEnd = 0;

    int pageSize() const { return page ? *page : static_cast<int>((int64_t{max} - min) / 5); }
    int clamp(int position) const;

    // Sets the range (max below min is taken as min), keeping the position and selection inside.
    void setRange(int low, int high);

    // The tick marks between the first and the last (which every ticked trackbar has), sorted and
    // each once: the automatic ones when 'automatic', and those set one by one.
    std::vector<int> innerTics(bool automatic) const;
    // Adds a tick; false outside the range.
    bool addTic(int position);
};

}  // namespace winplat::controls

#endif
