// Raster operations on stored pixel values, and reading and writing runs of values in a row.
//
// A ternary raster operation is a truth table: bit (4p + 2s + d) of its index byte is the result
// for pattern bit p, source bit s and destination bit d. It applies to every bit of the stored
// values alike, so on indexed surfaces it combines index values, never colours.
#ifndef WINPLAT_SRC_GDI_RASTER_H
#define WINPLAT_SRC_GDI_RASTER_H

#include <cstddef>
#include <cstdint>

#include "winplat/types.h"

namespace winplat::gdi {

// The index byte of a ROP code; the low word (an encoding of the formula) plays no part.
constexpr uint8_t ropIndex(DWORD rop) {
    return static_cast<uint8_t>(rop >> 16);
}
constexpr bool ropUsesSource(uint8_t index) {
    return ((index >> 2) & 0x33) != (index & 0x33);
}
constexpr bool ropUsesPattern(uint8_t index) {
    return (index >> 4) != (index & 0x0F);
}
constexpr bool ropUsesDestination(uint8_t index) {
    return ((index >> 1) & 0x55) != (index & 0x55);
}

// The ternary index that does what a binary (pen) raster operation R2_* does; 0 for codes outside
// 1..16 (callers check the code first).
uint8_t ternaryFromRop2(int rop2);

// dest[i] = op(pattern[i], source[i], dest[i]) for every bit. 'pattern' and 'source' may be null
// when the operation does not use them. Bits above the pixel's width come out as they may; the
// row writers drop them.
void applyRop(uint8_t index, const uint32_t* pattern, const uint32_t* source, uint32_t* dest, size_t count);

// Values of 'count' pixels of a row from column x, at 1, 4, 8, 16, 24 or 32 bits per pixel.
void readValues(const uint8_t* row, int bitsPerPixel, int x, int count, uint32_t* out);
// Values of the pixels at the given columns.
void gatherValues(const uint8_t* row, int bitsPerPixel, const int* columns, int count, uint32_t* out);
// Stores 'count' values from column x, each cut to the pixel's width; other pixels sharing a
// byte keep their bits.
void writeValues(uint8_t* row, int bitsPerPixel, int x, int count, const uint32_t* values);

}  // namespace winplat::gdi

#endif
