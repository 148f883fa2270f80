#include "core/rows/pixel_rows.h"

#include "core/rows/bitmap_math.h"

#include <cstring>

namespace pixmill {

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
        const WidePixel c = widenPixel16(row[0] | uint32_t{row[1]} << 8, is565);
        bgr[0] = c.blue;
        bgr[1] = c.green;
        bgr[2] = c.red;
    }
}

void unpackTwoBitRow(const uint8_t* in, int width, uint8_t* out) {
    for (int x = 0; x < width; x += 2) {
        const int shift = 6 - 2 * (x & 3);
        const uint8_t high = (in[x / 4] >> shift) & 3;
        const uint8_t low = x + 1 < width ? (in[x / 4] >> (shift - 2)) & 3 : 0;
        out[x / 2] = static_cast<uint8_t>(high << 4 | low);
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
                const WidePixel c = widenPixel16(row[2 * x] | uint32_t{row[2 * x + 1]} << 8, is565);
                rgb[0] = c.red;
                rgb[1] = c.green;
                rgb[2] = c.blue;
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
