// Icon files assembled field by field: the header, 16-byte directory entries, and for each entry
// a bitmap header (12 or 40 bytes), palette, colour rows and AND-mask rows, both bottom row first.
#ifndef PIXMILL_TESTS_ICO_TEST_SUPPORT_H
#define PIXMILL_TESTS_ICO_TEST_SUPPORT_H

#include "codec_run_support.h"
#include "formats/ico_codec.h"

namespace ico_test {

using bmp_test::put16;
using bmp_test::put32;
using codec_test::Bytes;

struct IconEntry {
    int width = 4;
    int height = 2;
    int countByte = -1;     // -1: from the depth (2, 16, 0)
    int bits = 4;
    int headerSize = 40;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> palette;         // 0x00RRGGBB; empty: 2^bits grey steps
    std::vector<uint32_t> pixels;          // top row first: indexes, or 0x00RRGGBB above 8 bits
    std::vector<bool> mask;                // top row first; empty: nothing masked
    std::optional<Bytes> bitmap;           // the bitmap bytes as they stand, instead of the above
    uint8_t alpha = 0xFF;                  // fourth byte of 32-bit pixels

    Bytes build() const {
        if (bitmap) return *bitmap;
        Bytes b;
        if (headerSize == 12) {
            put32(b, 12);
            put16(b, static_cast<uint32_t>(width));
            put16(b, static_cast<uint32_t>(2 * height));
            put16(b, 1);
            put16(b, static_cast<uint32_t>(bits));
        } else {
            put32(b, 40);
            put32(b, static_cast<uint32_t>(width));
            put32(b, static_cast<uint32_t>(2 * height));
            put16(b, 1);
            put16(b, static_cast<uint32_t>(bits));
            for (int i = 0; i < 4; ++i) put32(b, 0);
            put32(b, colorsUsed);
            put32(b, 0);
        }
        const uint32_t entries = bits <= 8 ? (colorsUsed ? colorsUsed : 1u << bits) : 0;
        for (uint32_t i = 0; i < entries; ++i) {
            const uint32_t c = i < palette.size() ? palette[i] : (i * 255 / std::max(1u, (1u << bits) - 1)) * 0x010101u;
            b.insert(b.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16)});
            if (headerSize != 12) b.push_back(0);
        }
        const uint32_t stride = bmp_test::rowBytes(width, bits), maskStride = bmp_test::rowBytes(width, 1);
        for (int y = height - 1; y >= 0; --y) {
            Bytes row(stride, 0);
            for (int x = 0; x < width; ++x) {
                const uint32_t v = pixels.empty() ? 0 : pixels[static_cast<size_t>(y * width + x)];
                switch (bits) {
                    case 1:
                        row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>((v & 1) << (7 - x % 8));
                        break;
                    case 4:
                        row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4));
                        break;
                    case 8:
                        row[static_cast<size_t>(x)] = static_cast<uint8_t>(v);
                        break;
                    default: {
                        const size_t at = static_cast<size_t>(x) * static_cast<size_t>(bits / 8);
                        row[at] = static_cast<uint8_t>(v);
                        row[at + 1] = static_cast<uint8_t>(v >> 8);
                        row[at + 2] = static_cast<uint8_t>(v >> 16);
                        if (bits == 32) row[at + 3] = alpha;
                    }
                }
            }
            b.insert(b.end(), row.begin(), row.end());
        }
        for (int y = height - 1; y >= 0; --y) {
            Bytes row(maskStride, 0);
            for (int x = 0; x < width; ++x) {
                if (!mask.empty() && mask[static_cast<size_t>(y * width + x)]) {
                    row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
                }
            }
            b.insert(b.end(), row.begin(), row.end());
        }
        return b;
    }
};

inline Bytes iconFile(const std::vector<IconEntry>& entries, int64_t count = -1) {
    Bytes b;
    put16(b, 0);
    put16(b, 1);
    put16(b, static_cast<uint32_t>(count >= 0 ? count : static_cast<int64_t>(entries.size())));
    std::vector<Bytes> bitmaps;
    for (const IconEntry& e : entries) bitmaps.push_back(e.build());
    uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const IconEntry& e = entries[i];
        b.push_back(static_cast<uint8_t>(e.width));
        b.push_back(static_cast<uint8_t>(e.height));
        const int count = e.countByte >= 0 ? e.countByte : e.bits == 1 ? 2 : e.bits == 4 ? 16 : 0;
        b.push_back(static_cast<uint8_t>(count));
        b.push_back(0);
        put16(b, 1);
        put16(b, static_cast<uint32_t>(e.bits));
        put32(b, static_cast<uint32_t>(bitmaps[i].size()));
        put32(b, offset);
        offset += static_cast<uint32_t>(bitmaps[i].size());
    }
    for (const Bytes& bitmap : bitmaps) b.insert(b.end(), bitmap.begin(), bitmap.end());
    return b;
}

inline codec_test::CodecRun readIcon(const Bytes& bytes, codec_test::RunOptions options = {}) {
    return codec_test::runCodec(pixmill::icoInfo, pixmill::icoLoad, bytes, bmp_test::Form::File, options);
}

}  // namespace ico_test

#endif
