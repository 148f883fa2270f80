// Filling an image's pixels through a 1-bit mask.
#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

bool maskBitAt(const uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }

// Writes the fill value into pixel x of a row of the given depth; the depth was checked before.
void putPixel(uint8_t* row, int x, int bits, COLORREF color) {
    const uint8_t low = static_cast<uint8_t>(color & 0xFF);
    switch (bits) {
        case 24:
            row[3 * x] = GetBValue(color);
            row[3 * x + 1] = GetGValue(color);
            row[3 * x + 2] = GetRValue(color);
            return;
        case 8:
            row[x] = low;
            return;
        case 4: {
            uint8_t& byte = row[x >> 1];
            const uint8_t nibble = low & 0x0F;
            byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0) | nibble)
                           : static_cast<uint8_t>((byte & 0x0F) | (nibble << 4));
            return;
        }
        default: {
            const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
            row[x >> 3] = static_cast<uint8_t>(low == 1 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
            return;
        }
    }
}

}  // namespace

extern "C" {

PXL_API int16_t PXLImageFillByColor(PxlImageId id, PxlImageId maskId, COLORREF color) {
    if (id == 0 || maskId == 0) return 0;
    auto [image, mask] = lockImages(id, Access::Write, maskId, Access::Read);
    if (!image || !mask || !image->header || !mask->header || !image->bits || !mask->bits) return 0;
    if (mask->bitCount() != 1 || mask->width() != image->width() || mask->height() != image->height()) return 0;
    const int bits = image->bitCount();
    // 16- and 32-bit pixels have no agreed layout for the fill value, so they are refused rather
    // than written in a guessed one.
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return 0;

    const int width = image->width();
    for (int y = 0; y < image->height(); ++y) {
        // The mask row is read before the image row is written: a 1-bit image may be its own mask.
        const uint8_t* maskRow = rowFromTop(*mask, y);
        uint8_t* row = rowFromTop(*image, y);
        for (int x = 0; x < width; ++x) {
            if (maskBitAt(maskRow, x)) putPixel(row, x, bits, color);
        }
    }
    return 1;
}

}  // extern "C"
