// Reading a bitmap's pixels in tests straight from its stored rows (never through the canvas or
// GetPixel), and drawing them as rows of characters that tables of cases compare.
#ifndef WINFORMS_TESTS_PIXEL_GRID_H
#define WINFORMS_TESTS_PIXEL_GRID_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "winforms/bitmap.h"

namespace formstest {

// The colour of a pixel of a 24- or 32-bit bitmap as 0xRRGGBB, read from its bytes (blue, green,
// red in that order in the file and in memory).
inline uint32_t RgbAt(const winforms::Bitmap& bitmap, int x, int y) {
    const auto row = bitmap.Row(y);
    const size_t bytes = bitmap.Format() == winforms::PixelFormat::Bits32 ? 4 : 3;
    const size_t at = static_cast<size_t>(x) * bytes;
    return (uint32_t{row[at + 2]} << 16) | (uint32_t{row[at + 1]} << 8) | row[at];
}

// The stored index of a pixel of an indexed bitmap.
inline unsigned IndexAt(const winforms::Bitmap& bitmap, int x, int y) {
    const auto row = bitmap.Row(y);
    switch (bitmap.Format()) {
        case winforms::PixelFormat::Bits1:
            return (row[static_cast<size_t>(x) / 8] >> (7 - x % 8)) & 1u;
        case winforms::PixelFormat::Bits4:
            return x % 2 == 0 ? row[static_cast<size_t>(x) / 2] >> 4 : row[static_cast<size_t>(x) / 2] & 0x0Fu;
        default:
            return row[static_cast<size_t>(x)];
    }
}

// Rows of characters: 'mark' for each pixel whose colour is not 'background', '.' for the others.
inline std::vector<std::string> Grid(const winforms::Bitmap& bitmap, uint32_t background = 0xFFFFFF,
                                     char mark = '#') {
    std::vector<std::string> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x) row += RgbAt(bitmap, x, y) == background ? '.' : mark;
        rows.push_back(row);
    }
    return rows;
}

// The same rows from a predicate of the test's own.
inline std::vector<std::string> GridOf(int width, int height, const std::function<bool(int, int)>& set) {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) row += set(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// Every byte of every row, to compare two states of a bitmap whole.
inline std::vector<uint8_t> AllBytes(const winforms::Bitmap& bitmap) {
    std::vector<uint8_t> bytes;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const auto row = bitmap.Row(y);
        bytes.insert(bytes.end(), row.begin(), row.end());
    }
    return bytes;
}

}  // namespace formstest

#endif
