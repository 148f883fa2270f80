// The 8x8 ordered-dither thresholds shared by the depth converter and the box-splitting converter.
#ifndef PIXMILL_CORE_DITHER_MATRIX_H
#define PIXMILL_CORE_DITHER_MATRIX_H

#include <cstdint>

namespace pixmill {

// Thresholds 0..63, read as kOrderedDither[(x mod 8) * 8 + (y mod 8)]: each line below is one
// column x, its eight values the rows y = 0..7.
constexpr uint8_t kOrderedDither[64] = {
    0,  32, 8,  40, 2,  34, 10, 42,  //
    48, 16, 56, 24, 50, 18, 58, 26,  //
    12, 44, 4,  36, 14, 46, 6,  38,  //
    60, 28, 52, 20, 62, 30, 54, 22,  //
    3,  35, 11, 43, 1,  33, 9,  41,  //
    51, 19, 59, 27, 49, 17, 57, 25,  //
    15, 47, 7,  39, 13, 45, 5,  37,  //
    63, 31, 55, 23, 61, 29, 53, 21,  //
};

inline uint8_t orderedThreshold(int x, int y) { return kOrderedDither[((x & 7) << 3) | (y & 7)]; }

}  // namespace pixmill

#endif
