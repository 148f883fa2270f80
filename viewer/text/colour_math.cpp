#include "text/colour_math.h"

#include "text/format_parts.h"

namespace lect32 {

// The zoom's scaling: a measure scaled past 16 bits keeps its sign instead of wrapping to the far end.
int16_t ScaleByPercent(int16_t value, int16_t percent) { return ScaleClamped(value, percent); }

ColourPartsResult ColourParts(COLORREF colour) {
    return {static_cast<uint16_t>(colour & 0xFFFF), static_cast<uint8_t>((colour >> 16) & 0xFF)};
}

}  // namespace lect32
