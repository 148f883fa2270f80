// Reading a packed DIB (header, colour table or masks, bits) out of a memory block.
#ifndef PIXMILL_CORE_PACKED_DIB_H
#define PIXMILL_CORE_PACKED_DIB_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "winplat/gdi.h"

namespace pixmill {

struct PackedDib {
    BITMAPINFOHEADER header{};
    int depth = 0;               // planes x bits per pixel
    uint32_t masks[3] = {0, 0, 0};  // BI_BITFIELDS only
    size_t colorsOffset = 0;     // first colour table entry
    int colorEntries = 0;        // entries the block holds
    size_t bitsOffset = 0;
    uint32_t imageBytes = 0;     // row size x height, the bytes that follow bitsOffset
};

// Accepts what the library can read: a bottom-up, uncompressed (or bit-field 16/32-bit) DIB of
// 1, 4, 8, 16, 24 or 32 bits, 1..32767 pixels a side, whose colour table and every row of bits
// lie inside the block. Anything else (damaged, top-down, compressed) gives nothing.
std::optional<PackedDib> parsePackedDib(std::span<const uint8_t> block);

}  // namespace pixmill

#endif
