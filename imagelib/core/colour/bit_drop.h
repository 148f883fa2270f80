// Colour keys compared with low bits dropped: red loses a bit first, then green, then blue, then
// red again, so that near colours become equal in a fixed, repeatable order.
#ifndef PIXMILL_CORE_BIT_DROP_H
#define PIXMILL_CORE_BIT_DROP_H

#include <cstdint>

namespace pixmill {

inline int32_t colourKey(uint8_t r, uint8_t g, uint8_t b) {
    return (int32_t{r} << 16) | (int32_t{g} << 8) | b;
}

// Mask of the key bits still kept after 'dropped' bits were taken away (24 leaves none).
inline int32_t keyMaskAfter(int dropped) {
    auto keep = [](int bits) { return bits >= 8 ? 0 : (0xFF << bits) & 0xFF; };
    return (keep((dropped + 2) / 3) << 16) | (keep((dropped + 1) / 3) << 8) | keep(dropped / 3);
}

}  // namespace pixmill

#endif
