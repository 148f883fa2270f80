// The popularity palette: the colours a picture uses most, completed by fixed colours chosen by
// the target depth, so that a few colours of a large area are never lost to dithering.
#ifndef PIXMILL_CORE_POPULARITY_PALETTE_H
#define PIXMILL_CORE_POPULARITY_PALETTE_H

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "pixmill/pixmill.h"

namespace pixmill {

class PopularityPalette {
public:
    // sourcePalette is empty for true-colour sources. Throws std::bad_alloc.
    explicit PopularityPalette(std::span<const RGBQUAD> sourcePalette);

    // Counts one row: blue, green, red triplets, or packed palette indices of 1, 4 or 8 bits.
    void countBgrRow(const uint8_t* row, int width);
    void countIndexRow(const uint8_t* row, int width, int bits);

    // Writes the palette of a 1-, 4- or 8-bit target (entries 0 .. size-1, size being 2, 16 or
    // 256 less one when the last entry is left out).
    void build(RGBQUAD* target, int targetBits, bool dithered, bool leaveLast) const;

    // A true-colour channel's 5-bit level: rounded up from half a step, 31 at most.
    static int level5(int v) { return std::min(31, (v >> 3) + ((v >> 4) & 1)); }

private:
    std::vector<RGBQUAD> rankedColours(int wanted) const;
    std::vector<RGBQUAD> rankedTrueColours(int wanted) const;
    std::vector<RGBQUAD> rankedPaletteColours(int wanted) const;
    RGBQUAD brightCandidate() const;

    std::span<const RGBQUAD> sourcePalette_;
    std::vector<uint32_t> counts_;
};

}  // namespace pixmill

#endif
