// Rows of an image being saved, turned into what the library-backed writers hand on: 24-bit
// blue-green-red pixels or 8-bit grey levels, from any depth an image can have.
#ifndef PIXMILL_FORMATS_BGR_ROWS_H
#define PIXMILL_FORMATS_BGR_ROWS_H

#include <array>
#include <cstdint>

#include "formats/codec.h"

namespace pixmill {

// The widest row a row source hands over for a picture this wide (32 bits a pixel, 4-byte aligned).
uint32_t widestSourceRow(int width);

// Converts one source row of 'bits' (1, 4, 8, 16 as 5-6-5, 24 or 32) to width blue-green-red
// pixels. Palette pixels go through the record's palette; 5-6-5 channels widen by the library's
// rule ((c << 3) | 7, (c << 2) | 3); 32-bit pixels lose their fourth byte.
void sourceRowToBgr(const uint8_t* in, int bits, int width, const PxlCodecInfo& info, uint8_t* out);

// The library's grey level of a colour: (30 R + 59 G + 11 B) / 100.
inline uint8_t greyLevel(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint8_t>((30 * red + 59 * green + 11 * blue) / 100);
}

// The grey level of every palette entry of the record.
std::array<uint8_t, 256> paletteGreyLevels(const PxlCodecInfo& info);

}  // namespace pixmill

#endif
