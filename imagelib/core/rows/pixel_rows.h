// Reading an image's rows as colours, whatever its depth.
#ifndef PIXMILL_CORE_PIXEL_ROWS_H
#define PIXMILL_CORE_PIXEL_ROWS_H

#include <cstdint>
#include <cstring>

#include "core/registry/image_record.h"

namespace pixmill {

// Row y counted from the top of the picture (images are stored bottom-up).
uint8_t* rowFromTop(const ImageRecord& record, int y);

// Fills rgb with width triplets red, green, blue for row y (from the top). Palette images go
// through their colour table; 16-bit images are 5-6-5 with bit fields, else 5-5-5.
void readRowRgb(const ImageRecord& record, int y, uint8_t* rgb);

// A pixel widened to 8 bits a channel.
struct WidePixel {
    uint8_t blue, green, red;
};

// The library's one rule for widening 16-bit pixels (its codecs use it too): the missing low bits
// of a channel are set, so full scale stays 255: a 5-bit channel c becomes (c << 3) | 7, a 6-bit
// one (c << 2) | 3. A format with a rule of its own says so where it widens.
inline WidePixel widenPixel16(uint32_t pixel, bool is565) {
    const auto expand5 = [](uint32_t c) { return static_cast<uint8_t>((c << 3) | 7); };
    const auto expand6 = [](uint32_t c) { return static_cast<uint8_t>((c << 2) | 3); };
    if (is565) return {expand5(pixel & 0x1F), expand6((pixel >> 5) & 0x3F), expand5((pixel >> 11) & 0x1F)};
    return {expand5(pixel & 0x1F), expand5((pixel >> 5) & 0x1F), expand5((pixel >> 10) & 0x1F)};
}

// Widens a row of 16-bit little-endian pixels (5-6-5, or 5-5-5 when not is565) to blue, green,
// red triplets by the library's rule.
void widenRow16(const uint8_t* row, int width, bool is565, uint8_t* bgr);

// Unpacks a row of 2-bit pixels into 4-bit ones (even pixels in the high nibble; a last odd
// pixel leaves the low nibble 0): the library has no 2-bit images.
void unpackTwoBitRow(const uint8_t* in, int width, uint8_t* out);

// Palette index of pixel x in a row of a 1-, 4- or 8-bit image.
inline uint8_t indexAt(const uint8_t* row, int x, int bits) {
    switch (bits) {
        case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
        default: return row[x];
    }
}

// A byte whose every pixel is palette index `index` in a row of 1, 4 or 8 bits (a 1-bit row takes
// index 1 as set bits and anything else as clear ones).
inline uint8_t repeatedIndexByte(int bits, int index) {
    switch (bits) {
        case 1: return index == 1 ? 0xFF : 0x00;
        case 4: return static_cast<uint8_t>((index & 0x0F) * 0x11);
        default: return static_cast<uint8_t>(index);
    }
}

// Sets bit x (most significant bit first) of a 1-bit row.
inline void setMaskBit(uint8_t* row, int x) { row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7)); }

// Copies pixel sx of a source row into pixel tx of a target row of the same depth (1, 4, 8, 16,
// 24 or 32 bits).
void copyPixel(const uint8_t* source, int sx, uint8_t* target, int tx, int bits);

}  // namespace pixmill

#endif
