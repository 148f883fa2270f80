// Row sizes, depth classes and palette sizes shared by every image operation.
#ifndef PIXMILL_CORE_BITMAP_MATH_H
#define PIXMILL_CORE_BITMAP_MATH_H

#include <cstdint>
#include <cstdlib>

namespace pixmill {

// Bytes of one DIB row, padded to 4 bytes; both factors are 16-bit values as the stored
// headers have them.
inline int32_t scanBytesForWidth(int width, int bits) {
    return (static_cast<int32_t>(static_cast<int16_t>(width)) * static_cast<int16_t>(bits) + 31) / 32 * 4;
}

// Depth classes: below 2 -> 1, below 5 -> 4, below 9 -> 8, below 25 -> 24, else 32. A request for
// 16 bits therefore gives 24; only PXL_BITS_565 gives 16 (handled by the creator).
inline int normalizeBitsPerPixel(int bits) {
    if (bits < 2) return 1;
    if (bits < 5) return 4;
    if (bits < 9) return 8;
    if (bits < 25) return 24;
    return 32;
}

inline int paletteSizeForBits(int bits) {
    if (bits < 2) return 2;
    if (bits <= 4) return 16;
    if (bits <= 8) return 256;
    return 0;
}

inline int rectWidth(int left, int /*top*/, int right, int /*bottom*/) { return std::abs(right - left); }
inline int rectHeight(int /*left*/, int top, int /*right*/, int bottom) { return std::abs(bottom - top); }

}  // namespace pixmill

#endif
