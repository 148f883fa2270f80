// Quick 8-bit and 16-bit (5-6-5) copies of a true-colour image, each by fixed rules of its own
// rather than through the general depth converter.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <new>
#include <numeric>
#include <vector>

#include "core/registry/image_create.h"
#include "core/registry/library_state.h"
#include "core/palette/palettes.h"
#include "core/rows/pixel_rows.h"
#include "pixmill/pixmill.h"

using namespace pixmill;

namespace {

constexpr int kCells = 4096;      // 4 bits a channel
constexpr int kPickedEntries = 192;  // the rest of the palette is the 4x4x4 cube

// A channel's 4-bit level, rounded to the nearest sixteenth and kept within 15.
inline int level4(int v) { return std::min(15, (v >> 4) + ((v & 15) > 7 ? 1 : 0)); }

inline int cellOf(int r, int g, int b) { return (level4(r) << 8) | (level4(g) << 4) | level4(b); }

// The 192 most frequent cells, most frequent first and the lower cell first among equal counts.
// Only occupied cells are picked; when fewer are occupied the last one picked fills the rest.
void pickPopularColours(const std::vector<uint32_t>& counts, std::array<RGBQUAD, 256>& palette) {
    std::vector<int> occupied;
    occupied.reserve(kCells);
    for (int cell = 0; cell < kCells; ++cell)
        if (counts[cell] > 0) occupied.push_back(cell);
    std::stable_sort(occupied.begin(), occupied.end(), [&](int a, int b) { return counts[a] > counts[b]; });
    RGBQUAD last{0, 0, 0, 0};
    for (int j = 0; j < kPickedEntries; ++j) {
        if (j < static_cast<int>(occupied.size())) {
            const int cell = occupied[j];
            last = RGBQUAD{static_cast<BYTE>((cell & 15) * 16), static_cast<BYTE>(((cell >> 4) & 15) * 16),
                           static_cast<BYTE>((cell >> 8) * 16), 0};
        }
        palette[j] = last;
    }
}

// For each cell, the first palette entry at the least L1 distance from the cell's colour.
void buildInverseTable(const std::array<RGBQUAD, 256>& palette, std::vector<uint8_t>& inverse) {
    for (int cell = 0; cell < kCells; ++cell) {
        const int r = (cell >> 8) * 16;
        const int g = ((cell >> 4) & 15) * 16;
        const int b = (cell & 15) * 16;
        int best = 25500;
        int bestIndex = 0;
        for (int i = 0; i < 256; ++i) {
            const int d = std::abs(r - palette[i].rgbRed) + std::abs(g - palette[i].rgbGreen) +
                          std::abs(b - palette[i].rgbBlue);
            if (d < best) {
                best = d;
                bestIndex = i;
            }
        }
        inverse[cell] = static_cast<uint8_t>(bestIndex);
    }
}

// Rounds v to 5 bits; a value that would round up past the top stays at 31.
inline uint16_t level5(int v) { return v + 4 > 248 ? 31 : static_cast<uint16_t>((v + 4) >> 3); }

// Rounds g to 6 bits. The cut-off is the 5-bit one, so g = 247..251 already give 63 though
// rounding alone would give 62; kept so that copies match those the library always made.
inline uint16_t level6(int g) { return g + 2 > 248 ? 63 : static_cast<uint16_t>((g + 2) >> 2); }

}  // namespace

PxlImageId PXLCreateImage8from24(PxlImageId image) {
    ImageLock source = lockImage(image, Access::Read);
    if (!source || !source->header || source->bitCount() != 24) return 0;
    const int width = source->width();
    const int height = source->height();
    ImageLock target = newImage(width, height, 8);
    if (!target) return 0;
    try {
        std::vector<uint32_t> counts(kCells, 0);
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = rowFromTop(*source, y);
            for (int x = 0; x < width; ++x) ++counts[cellOf(row[3 * x + 2], row[3 * x + 1], row[3 * x])];
        }

        std::array<RGBQUAD, 256> palette{};
        pickPopularColours(counts, palette);
        const PALETTEENTRY* cube = cubePalette();
        for (int i = kPickedEntries; i < 256; ++i)
            palette[i] = RGBQUAD{cube[i].peBlue, cube[i].peGreen, cube[i].peRed, 0};

        std::vector<uint8_t> inverse(kCells);
        buildInverseTable(palette, inverse);

        for (int y = 0; y < height; ++y) {
            const uint8_t* in = rowFromTop(*source, y);
            uint8_t* out = rowFromTop(*target, y);
            for (int x = 0; x < width; ++x) {
                const uint8_t b = in[3 * x], g = in[3 * x + 1], r = in[3 * x + 2];
                // Cell 15,15,15 stands for (240,240,240); true white goes to the cube's white.
                out[x] = (r == 255 && g == 255 && b == 255) ? 255 : inverse[cellOf(r, g, b)];
            }
        }
        std::memcpy(target->colors(), palette.data(), sizeof(palette));
    } catch (const std::bad_alloc&) {
        discardImage(target);
        return 0;
    }
    const PxlImageId result = target->id;
    target.release();
    PXLFillDIBColorTable(result);
    return result;
}

PxlImageId PXLCreateImage16from24(PxlImageId image) {
    if (image == 0) return 0;
    ImageLock source = lockImage(image, Access::Read);
    if (!source || !source->header || source->bitCount() != 24) return 0;
    const int width = source->width();
    const int height = source->height();
    ImageLock target = newImage(width, height, PXL_BITS_565);
    if (!target) return 0;
    if (target->bitCount() != 16) {
        discardImage(target);
        return 0;
    }
    // Row padding keeps the 0xFF the whole image starts with.
    std::memset(target->bits, 0xFF, target->infoHeader().biSizeImage);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = rowFromTop(*source, y);
        uint8_t* out = rowFromTop(*target, y);
        for (int x = 0; x < width; ++x) {
            const uint16_t pixel = static_cast<uint16_t>((level5(in[3 * x + 2]) << 11) | (level6(in[3 * x + 1]) << 5) |
                                                         level5(in[3 * x]));
            out[2 * x] = static_cast<uint8_t>(pixel & 0xFF);
            out[2 * x + 1] = static_cast<uint8_t>(pixel >> 8);
        }
    }
    const PxlImageId result = target->id;
    target.release();
    return result;
}
