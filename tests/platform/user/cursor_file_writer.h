// A small writer of cursor files for the tests and the fuzz seeds: a directory of type 2 and one
// bitmap picture per entry (the colour rows, then the AND mask, bottom row first), or a PNG
// picture given whole. Offsets of the fields the damage tests change are named here.
#ifndef TESTS_PLATFORM_USER_CURSOR_FILE_WRITER_H
#define TESTS_PLATFORM_USER_CURSOR_FILE_WRITER_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "winplat/draw.h"

namespace cursor_file {

// Where the fields lie: in the file, in an entry of the directory, in a bitmap picture.
constexpr size_t kCountAt = 4;
constexpr size_t kEntriesAt = 6;
constexpr size_t kEntryBytes = 16;
constexpr size_t kEntryWidthAt = 0, kEntryHotXAt = 4, kEntryHotYAt = 6, kEntryLengthAt = 8, kEntryOffsetAt = 12;
constexpr size_t kHeaderSizeAt = 0, kWidthAt = 4, kHeightAt = 8, kPlanesAt = 12, kBitCountAt = 14,
                 kCompressionAt = 16, kColoursUsedAt = 32;

struct Picture {
    int width = 0;
    int height = 0;
    int bits = 0;  // 1, 4, 8, 24 or 32 (any number for a damaged file)
    POINT hotSpot{};
    std::vector<COLORREF> palette;  // indexed depths: the colour table as written
    std::vector<uint32_t> pixels;   // top row first: a palette index, or 0xAARRGGBB at 24 and 32 bits
    std::vector<uint8_t> mask;      // top row first: 1 lets the screen through
    std::vector<uint8_t> png;       // when set, written as the picture instead of a bitmap
};

inline void put16(std::vector<uint8_t>& out, unsigned value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
inline void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}
inline void set32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) out.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}
inline void set16(std::vector<uint8_t>& out, size_t at, unsigned value) {
    out.at(at) = static_cast<uint8_t>(value);
    out.at(at + 1) = static_cast<uint8_t>(value >> 8);
}
inline uint32_t get32(const std::vector<uint8_t>& in, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= uint32_t{in.at(at + i)} << (8 * i);
    return value;
}

// Packs one row of 'bits'-bit values, most significant bits first, padded to 32-bit words.
inline void putRow(std::vector<uint8_t>& out, const std::vector<uint32_t>& values, int bits) {
    std::vector<uint8_t> row((values.size() * static_cast<size_t>(bits) + 31) / 32 * 4, 0);
    for (size_t x = 0; x < values.size(); ++x) {
        if (bits >= 24) {
            for (int byte = 0; byte < bits / 8; ++byte)
                row[x * static_cast<size_t>(bits / 8) + static_cast<size_t>(byte)] =
                    static_cast<uint8_t>(values[x] >> (8 * byte));  // blue, green, red, alpha
        } else {
            const size_t bit = x * static_cast<size_t>(bits);
            row[bit / 8] |= static_cast<uint8_t>(values[x] << (8 - static_cast<size_t>(bits) - bit % 8));
        }
    }
    out.insert(out.end(), row.begin(), row.end());
}

inline std::vector<uint8_t> bitmapOf(const Picture& picture) {
    std::vector<uint8_t> out;
    put32(out, 40);
    put32(out, static_cast<uint32_t>(picture.width));
    put32(out, static_cast<uint32_t>(picture.height * 2));
    put16(out, 1);
    put16(out, static_cast<unsigned>(picture.bits));
    put32(out, 0);  // uncompressed
    for (int i = 0; i < 3; ++i) put32(out, 0);
    put32(out, static_cast<uint32_t>(picture.palette.size()));
    put32(out, 0);
    for (COLORREF colour : picture.palette) {
        out.push_back(GetBValue(colour));
        out.push_back(GetGValue(colour));
        out.push_back(GetRValue(colour));
        out.push_back(0);
    }
    const auto width = static_cast<size_t>(picture.width);
    for (int y = picture.height - 1; y >= 0; --y) {
        const auto row = picture.pixels.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(y) * width);
        putRow(out, std::vector<uint32_t>(row, row + static_cast<std::ptrdiff_t>(width)), picture.bits);
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        const auto row = picture.mask.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(y) * width);
        putRow(out, std::vector<uint32_t>(row, row + static_cast<std::ptrdiff_t>(width)), 1);
    }
    return out;
}

// The file: directory, then the pictures in entry order.
inline std::vector<uint8_t> write(const std::vector<Picture>& pictures) {
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 2);
    put16(out, static_cast<unsigned>(pictures.size()));
    std::vector<std::vector<uint8_t>> images;
    for (const Picture& picture : pictures) images.push_back(picture.png.empty() ? bitmapOf(picture) : picture.png);
    size_t offset = kEntriesAt + kEntryBytes * pictures.size();
    for (size_t i = 0; i < pictures.size(); ++i) {
        const Picture& picture = pictures[i];
        out.push_back(static_cast<uint8_t>(picture.width));  // 256 wraps to 0, as the format wants
        out.push_back(static_cast<uint8_t>(picture.height));
        out.push_back(0);
        out.push_back(0);
        put16(out, static_cast<unsigned>(picture.hotSpot.x));
        put16(out, static_cast<unsigned>(picture.hotSpot.y));
        put32(out, static_cast<uint32_t>(images[i].size()));
        put32(out, static_cast<uint32_t>(offset));
        offset += images[i].size();
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

// A picture of one colour per pixel with nothing transparent, every pixel at 'value'.
inline Picture plainPicture(int width, int height, int bits, uint32_t value, POINT hotSpot = {0, 0}) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.bits = bits;
    picture.hotSpot = hotSpot;
    const auto pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    picture.pixels.assign(pixels, value);
    picture.mask.assign(pixels, 0);
    if (bits <= 8) picture.palette = {RGB(0, 0, 0), RGB(255, 255, 255)};
    return picture;
}

}  // namespace cursor_file

#endif
