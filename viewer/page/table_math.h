// The small arithmetic the table's files share: a line's halves on either side of a cell
// boundary, and sums held to the ranges their users take.
#ifndef LECT32_PAGE_TABLE_MATH_H
#define LECT32_PAGE_TABLE_MATH_H

#include <algorithm>
#include <cstdint>
#include <limits>

namespace lect32::table_math {

// The part of a line of width w in the cell below or right of it, and in the one above or left.
constexpr int CeilHalf(int width) { return (width + 1) / 2; }
constexpr int FloorHalf(int width) { return width / 2; }

// A size sum from the grid: never negative, at most the largest 32-bit value.
constexpr int32_t Saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, std::numeric_limits<int32_t>::max()));
}

// A device coordinate: far enough out to be off any surface, near enough that adding a cell's
// size to it stays in range.
constexpr int Coordinate(int64_t value) {
    constexpr int64_t kFar = int64_t{1} << 29;
    return static_cast<int>(std::clamp<int64_t>(value, -kFar, kFar));
}

}  // namespace lect32::table_math

#endif
