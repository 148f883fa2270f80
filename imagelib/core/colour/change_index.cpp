// Moving the pixels of one palette index to another while the picture keeps its look.
#include <array>
#include <utility>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"
#include "core/edit/image_rotate.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

// What each index becomes: a to b, and with swap b to a.
std::array<uint8_t, 256> indexMap(int a, int b, bool swap) {
    std::array<uint8_t, 256> map{};
    for (int i = 0; i < 256; ++i) map[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    map[static_cast<size_t>(a)] = static_cast<uint8_t>(b);
    if (swap) map[static_cast<size_t>(b)] = static_cast<uint8_t>(a);
    return map;
}

// Every pixel is mapped by its value before the pass, so a swap does not undo itself.
void remapPixels(ImageRecord& image, const std::array<uint8_t, 256>& map) {
    const int bits = image.bitCount();
    const int perByte = 8 / bits;
    const uint8_t all = static_cast<uint8_t>((1 << bits) - 1);
    for (int y = 0; y < image.height(); ++y) {
        uint8_t* row = rowFromTop(image, y);
        for (int x = 0; x < image.width(); ++x) {
            const int shift = (perByte - 1 - x % perByte) * bits;
            uint8_t& byte = row[x / perByte];
            const uint8_t value = static_cast<uint8_t>((byte >> shift) & all);
            byte = static_cast<uint8_t>((byte & ~(all << shift)) | (map[value] << shift));
        }
    }
}

}  // namespace

int16_t PXLChangeIndexToIndex(PxlImageId id, int16_t a, int16_t b, int16_t swap) {
    if (id == 0 || a == b) return 0;
    ImageLock image = lockImage(id, Access::Write);
    if (!image || !image->header || !image->bits || image->bitCount() > 8) return 0;
    const int colors = paletteSizeForBits(image->bitCount());
    if (a < 0 || b < 0 || a >= colors || b >= colors) return 0;
    // 1-bit pixels change as 4- and 8-bit ones do; a palette change alone would repaint them.
    remapPixels(*image, indexMap(a, b, swap != 0));
    RGBQUAD* palette = image->colors();
    const RGBQUAD old = palette[a];
    palette[a] = palette[b];
    if (swap) palette[b] = old;
    dropRotatedCopy(*image);
    image.release();
    // The section's own colour table follows, or drawn pixels would show the old entries.
    PXLFillDIBColorTable(id);
    return 1;
}
