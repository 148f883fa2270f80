// The stored value table of the scripts: 533 doubles that commands and functions leave their
// results in. Slots 8 to 11 hold the end points of the segment "getl" picked (x1, y1, x2, y2);
// slots 21 to 532 are the stored point list, 256 points as x, y pairs, which "svxy" fills and
// the entity commands read and write.
#ifndef LINEWORK_SCRIPT_STORED_VALUES_H
#define LINEWORK_SCRIPT_STORED_VALUES_H

#include <array>
#include <cstddef>

namespace linework {

struct StoredValues {
    static constexpr size_t kCount = 533;
    static constexpr size_t kPickedSegment = 8;  // x1, y1, x2, y2
    static constexpr size_t kPointList = 21;
    static constexpr size_t kPointListPoints = 256;
    std::array<double, kCount> slots{};
};

}  // namespace linework

#endif
