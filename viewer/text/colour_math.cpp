#include "text/colour_math.h"

namespace lect32 {

int16_t ScaleByPercent(int16_t value, int16_t percent) {
    const int32_t product = int32_t{value} * percent;
    return static_cast<int16_t>(product / 100);  // C++ division truncates toward zero
}

ColourPartsResult ColourParts(COLORREF colour) {
    return {static_cast<uint16_t>(colour & 0xFFFF), static_cast<uint8_t>((colour >> 16) & 0xFF)};
}

}  // namespace lect32
