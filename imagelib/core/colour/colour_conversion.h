// The per-call state of a depth conversion and the row passes that use it. Every table belongs to
// one call, so conversions may run on several threads at once.
#ifndef PIXMILL_CORE_COLOUR_CONVERSION_H
#define PIXMILL_CORE_COLOUR_CONVERSION_H

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/colour/inverse_colour_table.h"
#include "pixmill/pixmill.h"

namespace pixmill {

enum class Dither { None = 0, Ordered = 1, FloydSteinberg = 2, Burkes = 3 };

struct ColourConversion {
    int width = 0;
    int height = 0;
    int sourceBits = 0;  // as stored: 1, 4, 8, 16, 24 or 32
    int sourceClass = 0;  // 1, 4, 8, 24 or 32 (16-bit rows are read as 24-bit ones)
    int targetClass = 0;  // 1, 4, 8 or 24
    Dither dither = Dither::None;
    bool grey = false;
    bool leaveLast = false;  // the last palette entry is never written
    int paletteSize = 0;     // entries of the target palette in use

    std::array<RGBQUAD, 256> sourcePalette{};
    std::array<RGBQUAD, 256> targetPalette{};
    std::shared_ptr<const InverseColourTable> inverse;  // true-colour rows and every dither
    std::array<uint8_t, 256> remap{};                   // palette rows without dithering

    bool sourceHasPalette() const { return sourceClass <= 8; }
    uint8_t inverseOf(const uint8_t* bgr) const { return (*inverse)[inverseCell(bgr[2], bgr[1], bgr[0])]; }
};

// Delivers the source's rows in storage order, 16-bit rows widened to blue, green, red.
using SourceRow = std::function<const uint8_t*(int row)>;
// Called after each row written.
using RowDone = std::function<void()>;

// Without dithering: every row through the routine of the depth pair. The target rows must be 0.
void convertPlainRows(const ColourConversion& c, const SourceRow& source, uint8_t* target, int32_t targetStride,
                      const RowDone& done);

// With dithering (1-, 4- and 8-bit targets). Throws std::bad_alloc for its row buffers.
void convertDitheredRows(const ColourConversion& c, const SourceRow& source, uint8_t* target,
                         int32_t targetStride, const RowDone& done);

// Sets palette index v of pixel x in a zeroed row of 1, 4 or 8 bits; a 1-bit row takes v == 1.
inline void putIndex(uint8_t* row, int x, uint8_t v, int bits) {
    switch (bits) {
        case 1:
            if (v == 1) row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
            break;
        case 4: row[x >> 1] |= static_cast<uint8_t>((x & 1) ? (v & 0x0F) : (v << 4)); break;
        default: row[x] = v; break;
    }
}

// Grey level of a colour with the library's weights.
inline int greyWeighted(int r, int g, int b) { return 30 * r + 59 * g + 11 * b; }

}  // namespace pixmill

#endif
