// The stored value table of the scripts: the first 533 elements of the "#" array, where commands
// and functions leave their results and scripts read them as n#. Slots 8 to 11 hold the end
// points of the segment "getl" picked (x1, y1, x2, y2: 8# to 11#); slots 21 to 532 are the
// stored point list, 256 points as x, y pairs (21# is the first point's x), which "svxy" fills
// and "pline", "hatch", "dim", "etsv" and "svte" read and write.
#ifndef LINEWORK_SCRIPT_STORED_VALUES_H
#define LINEWORK_SCRIPT_STORED_VALUES_H

#include <array>
#include <cstddef>
#include <span>

namespace linework {

struct StoredValues {
    static constexpr size_t kCount = 533;
    static constexpr size_t kPickedSegment = 8;  // x1, y1, x2, y2
    static constexpr size_t kPointList = 21;
    static constexpr size_t kPointListPoints = 256;
    // A view of the "#" array's first kCount elements.
    std::span<double, kCount> slots;

    template <size_t kArraySize>
    explicit StoredValues(std::array<double, kArraySize>& numbers) : slots(numbers.data(), kCount) {
        static_assert(kArraySize >= kCount);
    }
};

}  // namespace linework

#endif
