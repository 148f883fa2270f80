// A plain model of depth conversion for the conversion tests: every rule written out one pixel at a
// time, with no tables shared with the library, plus helpers that build and read images through the
// public exports only. Pixels are given and read from the top-left; images store rows bottom-up.
#ifndef PIXMILL_TESTS_COLOUR_MODEL_H
#define PIXMILL_TESTS_COLOUR_MODEL_H

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <ostream>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "pixmill/pixmill.h"

namespace colour_model {

struct Colour {
    int r = 0, g = 0, b = 0;
    bool operator==(const Colour&) const = default;
};

inline void PrintTo(const Colour& c, std::ostream* os) {
    *os << "(" << c.r << "," << c.g << "," << c.b << ")";
}

using Palette = std::vector<Colour>;

// ---- fixed palettes ----------------------------------------------------------------------------

inline Palette blackAndWhite() {
    return {{0, 0, 0}, {255, 255, 255}};
}

inline Palette windows16() {
    return {{0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
            {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
            {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
}

inline Palette hardPalette() {
    Palette p;
    for (int i = 0; i < 256; ++i) p.push_back({(i >> 5) * 255 / 7, ((i >> 2) & 7) * 255 / 7, (i & 3) * 85});
    return p;
}

inline Palette cubeTable() {
    Palette p(192, Colour{0, 0, 0});
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k) p.push_back({85 * i, 85 * j, 85 * k});
    return p;
}

inline Palette fixedFills() {
    return {{0, 0, 0},   {128, 128, 128}, {192, 192, 192}, {255, 255, 255},
            {255, 0, 0}, {0, 255, 0},     {0, 0, 255}};
}

// ---- depth classes -----------------------------------------------------------------------------

inline int depthClass(int bits) {
    if (bits < 2) return 1;
    if (bits < 5) return 4;
    if (bits < 9) return 8;
    if (bits < 25) return 24;
    return 32;
}

inline int paletteSize(int depthClassBits) {
    switch (depthClassBits) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

inline Palette defaultPalette(int depthClassBits) {
    switch (depthClassBits) {
        case 1:
            return blackAndWhite();
        case 4:
            return windows16();
        case 8:
            return hardPalette();
        default:
            return {};
    }
}

// ---- nearest colours ---------------------------------------------------------------------------

// Least squared distance over the first `count` entries, the lowest index on ties.
inline int nearest(const Palette& palette, Colour c, size_t count) {
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < count; ++i) {
        const long dr = c.r - palette[i].r, dg = c.g - palette[i].g, db = c.b - palette[i].b;
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

inline int nearest(const Palette& palette, Colour c) {
    return nearest(palette, c, palette.size());
}

// The lowest corner of the 5-5-4 bit cell a colour falls in; true-colour pixels map through it.
inline Colour cellCorner(Colour c) {
    return {8 * (c.r >> 3), 8 * (c.g >> 3), 16 * (c.b >> 4)};
}

inline int cellIndex(const Palette& palette, Colour c) {
    return nearest(palette, cellCorner(c));
}

inline int grey(Colour c, int divisor) {
    return std::min(255, (30 * c.r + 59 * c.g + 11 * c.b) / divisor);
}

// ---- pictures ----------------------------------------------------------------------------------

// A picture as a test describes it. Palette pictures (1, 4, 8 bits) give indexes, 24- and 32-bit
// ones colours; 16-bit ones give their raw 5-6-5 words.
struct Picture {
    int bits = 24;
    int width = 0;
    int height = 0;
    Palette palette;
    std::vector<int> index;
    std::vector<Colour> colour;
    std::vector<uint16_t> word;

    size_t at(int x, int y) const { return static_cast<size_t>(y * width + x); }
    bool hasPalette() const { return bits <= 8; }
    // The colour a pixel shows (16-bit pictures are not modelled here).
    Colour shows(int x, int y) const {
        return hasPalette() ? palette[static_cast<size_t>(index[at(x, y)])] : colour[at(x, y)];
    }
};

// Deterministic pseudo-random numbers (the engine's sequence is fixed by the standard).
class Dice {
  public:
    explicit Dice(uint32_t seed) : engine_(seed) {}
    int below(int n) { return static_cast<int>(engine_() % static_cast<uint32_t>(n)); }
    Colour colour() { return {below(256), below(256), below(256)}; }

  private:
    std::mt19937 engine_;
};

inline Picture randomTrueColour(int width, int height, uint32_t seed, int bits = 24) {
    Dice dice(seed);
    Picture p{bits, width, height, {}, {}, {}, {}};
    for (int i = 0; i < width * height; ++i) p.colour.push_back(dice.colour());
    return p;
}

// Random indexes into a palette of distinct random colours.
inline Picture randomIndexed(int bits, int width, int height, uint32_t seed) {
    Dice dice(seed);
    Picture p{bits, width, height, {}, {}, {}, {}};
    while (p.palette.size() < static_cast<size_t>(paletteSize(bits))) {
        const Colour c = dice.colour();
        if (std::find(p.palette.begin(), p.palette.end(), c) == p.palette.end()) p.palette.push_back(c);
    }
    for (int i = 0; i < width * height; ++i) p.index.push_back(dice.below(paletteSize(bits)));
    return p;
}

inline Palette randomPalette(size_t count, uint32_t seed) {
    Dice dice(seed);
    Palette p;
    for (size_t i = 0; i < count; ++i) p.push_back(dice.colour());
    return p;
}

inline std::vector<PALETTEENTRY> entries(const Palette& palette) {
    std::vector<PALETTEENTRY> out;
    for (const Colour& c : palette)
        out.push_back({static_cast<BYTE>(c.r), static_cast<BYTE>(c.g), static_cast<BYTE>(c.b), 0x5A});
    return out;
}

// ---- images ------------------------------------------------------------------------------------

// Row y from the top, wherever the image keeps it.
inline uint8_t* rowOf(PxlImageId id, int y) {
    const BITMAPINFOHEADER& h = PXLGetBitmapInfoHeader(id)->bmiHeader;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    const int stored = h.biHeight < 0 ? y : height - 1 - y;
    return PXLGetBits(id) + static_cast<ptrdiff_t>(stored) * PXLGetScanBytes(id);
}

// Row y from the top of a picture as it is stored: bottom-up images number their bottom row 0.
inline int storageRow(const Picture& p, int y) {
    return p.height - 1 - y;
}

inline void putIndex(uint8_t* row, int x, int bits, int value) {
    if (bits == 8) {
        row[x] = static_cast<uint8_t>(value);
    } else if (bits == 4) {
        const int shift = (x & 1) ? 0 : 4;
        row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & ~(0x0F << shift)) | ((value & 15) << shift));
    } else {
        const int mask = 0x80 >> (x & 7);
        row[x >> 3] = static_cast<uint8_t>(value ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask));
    }
}

inline int indexIn(const uint8_t* row, int x, int bits) {
    if (bits == 8) return row[x];
    if (bits == 4) return (x & 1) ? (row[x >> 1] & 15) : (row[x >> 1] >> 4);
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

// Makes the picture as an image; 0 when the library refused.
inline PxlImageId makeImage(const Picture& p) {
    const PxlImageId id = PXLCreateImage(p.width, p.height, p.bits == 16 ? PXL_BITS_565 : p.bits);
    if (id == 0) return 0;
    if (p.hasPalette()) {
        const auto table = entries(p.palette);
        PXLSetNewPalette(id, table.data(), static_cast<int>(table.size()));
    }
    for (int y = 0; y < p.height; ++y) {
        uint8_t* row = rowOf(id, y);
        for (int x = 0; x < p.width; ++x) {
            if (p.hasPalette()) {
                putIndex(row, x, p.bits, p.index[p.at(x, y)]);
            } else if (p.bits == 16) {
                row[2 * x] = static_cast<uint8_t>(p.word[p.at(x, y)]);
                row[2 * x + 1] = static_cast<uint8_t>(p.word[p.at(x, y)] >> 8);
            } else {
                const int step = p.bits / 8;
                const Colour& c = p.colour[p.at(x, y)];
                row[step * x] = static_cast<uint8_t>(c.b);
                row[step * x + 1] = static_cast<uint8_t>(c.g);
                row[step * x + 2] = static_cast<uint8_t>(c.r);
                if (step == 4) row[4 * x + 3] = 0xA5;  // the spare byte carries no colour
            }
        }
    }
    return id;
}

inline int bitsOf(PxlImageId id) {
    return PXLGetBitmapInfoHeader(id)->bmiHeader.biBitCount;
}

// The first `count` entries of the image's DIB colour table.
inline Palette paletteOf(PxlImageId id, size_t count) {
    const BITMAPINFO* info = PXLGetBitmapInfoHeader(id);
    Palette p;
    for (size_t i = 0; i < count; ++i) {
        const RGBQUAD& q = info->bmiColors[i];
        p.push_back({q.rgbRed, q.rgbGreen, q.rgbBlue});
    }
    return p;
}

// Palette indexes of a 1-, 4- or 8-bit image, from the top-left.
inline std::vector<int> indexesOf(PxlImageId id) {
    const int bits = bitsOf(id), width = PXLWidth(id), height = PXLHeight(id);
    std::vector<int> out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) out.push_back(indexIn(rowOf(id, y), x, bits));
    return out;
}

// Pixels of a 24-bit image, from the top-left.
inline std::vector<Colour> coloursOf(PxlImageId id) {
    const int width = PXLWidth(id), height = PXLHeight(id);
    std::vector<Colour> out;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rowOf(id, y);
        for (int x = 0; x < width; ++x) out.push_back({row[3 * x + 2], row[3 * x + 1], row[3 * x]});
    }
    return out;
}

// The bytes of a row that hold pixels (the padding to four bytes excluded).
inline std::vector<uint8_t> pixelBytes(PxlImageId id, int y) {
    const size_t used = (static_cast<size_t>(PXLWidth(id)) * static_cast<size_t>(bitsOf(id)) + 7) / 8;
    const uint8_t* row = rowOf(id, y);
    return {row, row + used};
}

// Packs indexes into a row most significant bits first; the bits after the last pixel stay 0.
inline std::vector<uint8_t> packRow(const std::vector<int>& indexes, int bits) {
    std::vector<uint8_t> row((indexes.size() * static_cast<size_t>(bits) + 7) / 8, 0);
    for (size_t x = 0; x < indexes.size(); ++x) putIndex(row.data(), static_cast<int>(x), bits, indexes[x]);
    return row;
}

// ---- conversion without dithering ---------------------------------------------------------------

// Target indexes of a plain conversion: palette pixels go by their colour's nearest entry,
// true-colour pixels by their cell's. A 1-bit target sets the bit where the entry is 1.
inline std::vector<int> plainIndexes(const Picture& source, const Palette& target, int targetBits) {
    std::vector<int> out;
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            const Colour c = source.shows(x, y);
            const int i = source.hasPalette() ? nearest(target, c) : cellIndex(target, c);
            out.push_back(targetBits == 1 ? (i == 1 ? 1 : 0) : i);
        }
    }
    return out;
}

// ---- popularity palettes ------------------------------------------------------------------------

inline int level5(int v) {
    return std::min(31, (v >> 3) + ((v & 16) ? 1 : 0));
}

inline int colourKey(Colour c) {
    return (level5(c.r) << 10) | (level5(c.g) << 5) | level5(c.b);
}

inline Colour keyColour(int key) {
    return {8 * (key >> 10), 8 * ((key >> 5) & 31), 8 * (key & 31)};
}

// The colours of a true-colour picture by rank: most frequent key first, the lower key among equal
// counts, keys that never occur after all that do, in key order.
inline Palette ranksOfTrueColour(const Picture& p, size_t count) {
    std::vector<uint32_t> counts(32768, 0);
    for (const Colour& c : p.colour) ++counts[static_cast<size_t>(colourKey(c))];
    std::vector<int> keys(32768);
    std::iota(keys.begin(), keys.end(), 0);
    std::stable_sort(keys.begin(), keys.end(),
                     [&](int a, int b) { return counts[size_t(a)] > counts[size_t(b)]; });
    Palette out;
    for (size_t i = 0; i < count; ++i) out.push_back(keyColour(keys[i]));
    return out;
}

// The colours of a palette picture by rank: entries by falling pixel count (tests give every entry
// its own count), ranks past the source palette in the colour of entry 0.
inline Palette ranksOfPaletteSource(const Picture& p, size_t count) {
    std::vector<uint32_t> counts(p.palette.size(), 0);
    for (int i : p.index) ++counts[static_cast<size_t>(i)];
    std::vector<int> order(p.palette.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return counts[size_t(a)] > counts[size_t(b)]; });
    Palette out;
    for (size_t i = 0; i < count; ++i)
        out.push_back(i < order.size() ? p.palette[static_cast<size_t>(order[i])] : p.palette[0]);
    return out;
}

inline Palette ranks(const Picture& p, size_t count) {
    return p.hasPalette() ? ranksOfPaletteSource(p, count) : ranksOfTrueColour(p, count);
}

// The popularity palette of a target class; `leaveLast` when the last entry is left out.
inline Palette popularityPalette(const Picture& p, int targetBits, bool dither, bool leaveLast) {
    const int r = leaveLast ? 1 : 0;
    const Palette fills = fixedFills();
    const Colour white{255, 255, 255};
    Palette out;
    if (targetBits == 1) {
        const Palette candidates = ranks(p, p.hasPalette() ? p.palette.size() : 2);
        Colour second = white;
        for (const Colour& c : candidates) {
            if (c.r > 180 || c.g > 180 || c.b > 180) {
                second = c;
                break;
            }
        }
        return {{0, 0, 0}, second};
    }
    if (targetBits == 4) {
        const size_t ranked = static_cast<size_t>((dither ? 9 : 12) - r);
        out = ranks(p, ranked);
        const size_t fixed = dither ? 7 : 4;
        if (r == 1) out.push_back(white);
        for (size_t i = 0; out.size() < ranked + fixed; ++i) out.push_back(fills[i]);
        return out;
    }
    if (!dither) {
        out = ranks(p, static_cast<size_t>(240 - r));
        if (r == 1) out.push_back(white);
        const Palette windows = windows16();
        for (size_t i = 0; i < static_cast<size_t>(16 - r); ++i) out.push_back(windows[i]);
        return out;
    }
    out = ranks(p, static_cast<size_t>(192 - r));
    const Palette cube = cubeTable();
    for (int i = 192 - r; i <= 255 - r; ++i) out.push_back(cube[static_cast<size_t>(i)]);
    return out;
}

// ---- dithering ------------------------------------------------------------------------------------

// Threshold of column x in the row numbered y in storage order.
inline int threshold(int x, int y) {
    // clang-format off
    static constexpr std::array<int, 64> kMatrix = {
         0, 32,  8, 40,  2, 34, 10, 42,
        48, 16, 56, 24, 50, 18, 58, 26,
        12, 44,  4, 36, 14, 46,  6, 38,
        60, 28, 52, 20, 62, 30, 54, 22,
         3, 35, 11, 43,  1, 33,  9, 41,
        51, 19, 59, 27, 49, 17, 57, 25,
        15, 47,  7, 39, 13, 45,  5, 37,
        63, 31, 55, 23, 61, 29, 53, 21,
    };
    // clang-format on
    return kMatrix[static_cast<size_t>((x % 8) * 8 + (y % 8))];
}

// The grey a bilevel dither starts from: /85 for true colour, /90 for palette sources.
inline int bilevelGrey(const Picture& p, int x, int y) {
    return grey(p.shows(x, y), p.hasPalette() ? 90 : 85);
}

inline int orderedBit(int v, int t) {
    if (v > 250) return 1;
    return (v > 4 && t < (v >> 2)) ? 1 : 0;
}

// Bits of an ordered bilevel dither, from the top-left.
inline std::vector<int> orderedBilevel(const Picture& p) {
    std::vector<int> out;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            out.push_back(orderedBit(bilevelGrey(p, x, y), threshold(x, storageRow(p, y))));
    return out;
}

// Indexes of an ordered dither to 8 bits: each channel far enough from its palette colour is
// pushed away from it by the same amount, and the moved colour's cell gives the entry.
inline std::vector<int> ordered8(const Picture& p, const Palette& target) {
    std::vector<int> out;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const int t = threshold(x, storageRow(p, y));
            Colour c = p.shows(x, y);
            const Colour q = target[static_cast<size_t>(cellIndex(target, c))];
            const auto push = [t](int& v, int w) {
                if (t < std::abs(v - w)) v = std::clamp(v + (v - w), 0, 255);
            };
            push(c.b, q.b);
            push(c.g, q.g);
            push(c.r, q.r);
            out.push_back(cellIndex(target, c));
        }
    }
    return out;
}

struct Share {
    int row;  // 0 this row, 1 the next
    int dx;
    int weight;
    int shift;
};

inline const std::vector<Share>& floydSteinberg() {
    static const std::vector<Share> kShares = {{0, 1, 7, 4}, {1, -1, 3, 4}, {1, 0, 5, 4}, {1, 1, 1, 4}};
    return kShares;
}

inline const std::vector<Share>& burkes() {
    static const std::vector<Share> kShares = {{0, 1, 8, 5}, {0, 2, 4, 5}, {1, -2, 2, 5}, {1, -1, 4, 5},
                                               {1, 0, 8, 5}, {1, 1, 4, 5}, {1, 2, 2, 5}};
    return kShares;
}

inline const std::vector<Share>& sharesOf(int ditherType) {
    return ditherType == 2 ? floydSteinberg() : burkes();
}

// Error diffusion over rows of per-pixel channels (one channel for bilevel, three for colour), in
// storage order (bottom row first). `quantise` turns a pixel into its output value and the colour
// it stands for. The first row is dithered once against a copy of itself, and the copy, carrying
// the pushed error, is what that row starts from. Shares leaving the picture are dropped; every
// share is added with an arithmetic shift and clamped at once.
template <size_t N, typename Quantise>
std::vector<int> diffuse(const std::vector<std::vector<std::array<int, N>>>& storageRows, int ditherType,
                         Quantise quantise) {
    const auto& shares = sharesOf(ditherType);
    const int width = static_cast<int>(storageRows[0].size());
    const auto pass = [&](std::vector<std::array<int, N>>& cur, std::vector<std::array<int, N>>& next,
                          std::vector<int>* out) {
        for (int x = 0; x < width; ++x) {
            std::array<int, N> stands{};
            const int value = quantise(cur[static_cast<size_t>(x)], stands);
            if (out) out->push_back(value);
            for (size_t c = 0; c < N; ++c) {
                const int e = cur[static_cast<size_t>(x)][c] - stands[c];
                for (const Share& s : shares) {
                    const int to = x + s.dx;
                    if (to < 0 || to >= width) continue;
                    int& v = (s.row == 0 ? cur : next)[static_cast<size_t>(to)][c];
                    v = std::clamp(v + ((e * s.weight) >> s.shift), 0, 255);
                }
            }
        }
    };
    std::vector<int> outStorage;
    auto cur = storageRows[0];
    auto next = storageRows[0];
    pass(cur, next, nullptr);
    cur = next;
    for (size_t y = 0; y < storageRows.size(); ++y) {
        next = y + 1 < storageRows.size() ? storageRows[y + 1] : storageRows[y];
        pass(cur, next, &outStorage);
        cur = next;
    }
    return outStorage;
}

// Storage-order output back into rows from the top.
inline std::vector<int> fromStorageOrder(const std::vector<int>& storage, int width, int height) {
    std::vector<int> out;
    for (int y = 0; y < height; ++y) {
        const auto begin = storage.begin() + static_cast<ptrdiff_t>((height - 1 - y) * width);
        out.insert(out.end(), begin, begin + width);
    }
    return out;
}

inline std::vector<int> diffusedBilevel(const Picture& p, int ditherType) {
    std::vector<std::vector<std::array<int, 1>>> rows;
    for (int s = 0; s < p.height; ++s) {
        std::vector<std::array<int, 1>> row;
        for (int x = 0; x < p.width; ++x) row.push_back({bilevelGrey(p, x, p.height - 1 - s)});
        rows.push_back(row);
    }
    const auto storage =
        diffuse<1>(rows, ditherType, [](const std::array<int, 1>& v, std::array<int, 1>& stands) {
            const int bit = v[0] >= 128 ? 1 : 0;
            stands[0] = bit ? 255 : 0;
            return bit;
        });
    return fromStorageOrder(storage, p.width, p.height);
}

// Colour error diffusion; exact when every palette colour is the lowest corner of its own cell.
inline std::vector<int> diffusedColour(const Picture& p, const Palette& target, int ditherType) {
    std::vector<std::vector<std::array<int, 3>>> rows;
    for (int s = 0; s < p.height; ++s) {
        std::vector<std::array<int, 3>> row;
        for (int x = 0; x < p.width; ++x) {
            const Colour c = p.shows(x, p.height - 1 - s);
            row.push_back({c.b, c.g, c.r});
        }
        rows.push_back(row);
    }
    const auto storage =
        diffuse<3>(rows, ditherType, [&](const std::array<int, 3>& v, std::array<int, 3>& stands) {
            const int i = cellIndex(target, {v[2], v[1], v[0]});
            const Colour& q = target[static_cast<size_t>(i)];
            stands = {q.b, q.g, q.r};
            return i;
        });
    return fromStorageOrder(storage, p.width, p.height);
}

}  // namespace colour_model

#endif
