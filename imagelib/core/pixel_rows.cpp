#include "core/pixel_rows.h"

#include "core/bitmap_math.h"

#include <cstring>

namespace pixmill {
namespace {

// The library's one rule for widening 16-bit pixels (its codecs use it too): the missing low bits
// are set, so full scale stays 255.
inline uint8_t expand5(uint32_t v) { return static_cast<uint8_t>((v << 3) | 7); }
inline uint8_t expand6(uint32_t v) { return static_cast<uint8_t>((v << 2) | 3); }

}  // namespace

uint8_t* rowFromTop(const ImageRecord& record, int y) {
    const int32_t stride = scanBytesForWidth(record.width(), record.bitCount());
    return record.bits + static_cast<size_t>(record.height() - 1 - y) * static_cast<size_t>(stride);
}

void copyPixel(const uint8_t* source, int sx, uint8_t* target, int tx, int bits) {
    switch (bits) {
        case 1: {
            const uint8_t mask = static_cast<uint8_t>(0x80 >> (tx & 7));
            uint8_t& byte = target[tx >> 3];
            byte = static_cast<uint8_t>(indexAt(source, sx, 1) ? byte | mask : byte & ~mask);
            break;
        }
        case 4: {
            const uint8_t nibble = indexAt(source, sx, 4);
            uint8_t& byte = target[tx >> 1];
            byte = static_cast<uint8_t>((tx & 1) ? (byte & 0xF0) | nibble : (byte & 0x0F) | (nibble << 4));
            break;
        }
        default: {
            const size_t bytes = static_cast<size_t>(bits / 8);
            std::memcpy(target + tx * bytes, source + sx * bytes, bytes);
            break;
        }
    }
}

void widenRow16(const uint8_t* row, int width, bool is565, uint8_t* bgr) {
    for (int x = 0; x < width; ++x, bgr += 3, row += 2) {
        const uint32_t v = row[0] | (row[1] << 8);
        bgr[0] = expand5(v & 0x1F);
        bgr[1] = is565 ? expand6((v >> 5) & 0x3F) : expand5((v >> 5) & 0x1F);
        bgr[2] = expand5(is565 ? (v >> 11) & 0x1F : (v >> 10) & 0x1F);
    }
}

void readRowRgb(const ImageRecord& record, int y, uint8_t* rgb) {
    const uint8_t* row = rowFromTop(record, y);
    const int width = record.width();
    const int bits = record.bitCount();
    switch (bits) {
        case 1:
        case 4:
        case 8: {
            const RGBQUAD* colors = record.colors();
            for (int x = 0; x < width; ++x, rgb += 3) {
                const RGBQUAD& c = colors[indexAt(row, x, bits)];
                rgb[0] = c.rgbRed;
                rgb[1] = c.rgbGreen;
                rgb[2] = c.rgbBlue;
            }
            break;
        }
        case 16: {
            const bool is565 = record.infoHeader().biCompression == BI_BITFIELDS;
            for (int x = 0; x < width; ++x, rgb += 3) {
                const uint32_t v = row[2 * x] | (row[2 * x + 1] << 8);
                if (is565) {
                    rgb[0] = expand5((v >> 11) & 0x1F);
                    rgb[1] = expand6((v >> 5) & 0x3F);
                } else {
                    rgb[0] = expand5((v >> 10) & 0x1F);
                    rgb[1] = expand5((v >> 5) & 0x1F);
                }
                rgb[2] = expand5(v & 0x1F);
            }
            break;
        }
        default: {
            const int step = bits / 8;  // 24 or 32 bits: blue, green, red (, unused)
            for (int x = 0; x < width; ++x, rgb += 3, row += step) {
                rgb[0] = row[2];
                rgb[1] = row[1];
                rgb[2] = row[0];
            }
            break;
        }
    }
}

}  // namespace pixmill
