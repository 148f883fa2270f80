// Small number helpers of the text engine that the store and page styles use.
#ifndef LECT32_TEXT_COLOUR_MATH_H
#define LECT32_TEXT_COLOUR_MATH_H

#include <cstdint>

#include "winplat/types.h"

namespace lect32 {

// value x percent / 100 on signed 16-bit operands, truncated toward zero and held to the 16-bit
// range (-32768 to 32767) instead of wrapping.
int16_t ScaleByPercent(int16_t value, int16_t percent);

// A colour split the way the text engine handles it: red and green in one 16-bit word (red in the
// low byte), blue apart.
struct ColourPartsResult {
    uint16_t redGreen;
    uint8_t blue;
};
ColourPartsResult ColourParts(COLORREF colour);

}  // namespace lect32

#endif
