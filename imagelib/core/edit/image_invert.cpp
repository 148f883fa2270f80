// Inverting an image's colours: true-colour bytes are complemented, 1-bit pixels swap their two
// indices, and 4- and 8-bit images complement their palette, so their pixels keep their indices.
#include <algorithm>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"
#include "core/edit/image_rotate.h"

using namespace pixmill;

namespace {

void complement(uint8_t* bytes, size_t count) {
    std::transform(bytes, bytes + count, bytes, [](uint8_t b) { return static_cast<uint8_t>(~b); });
}

}  // namespace

extern "C" PXL_API int16_t PXLInvert(PxlImageId id) {
    bool paletteChanged = false;
    {
        ImageLock image = lockImage(id, Access::Write);
        if (!image || !image->header || !image->bits) return 0;
        const int bits = image->bitCount();
        if (bits == 4 || bits == 8) {
            for (int i = 0; i < paletteSizeForBits(bits); ++i) {
                RGBQUAD& c = image->colors()[i];
                c.rgbRed = static_cast<uint8_t>(~c.rgbRed);
                c.rgbGreen = static_cast<uint8_t>(~c.rgbGreen);
                c.rgbBlue = static_cast<uint8_t>(~c.rgbBlue);
            }
        } else {
            const size_t stride = static_cast<size_t>(scanBytesForWidth(image->width(), bits));
            complement(image->bits, stride * static_cast<size_t>(image->height()));
        }
        paletteChanged = bits <= 8;
        dropRotatedCopy(*image);  // made again from the inverted pixels when next drawn
    }
    if (paletteChanged) PXLFillDIBColorTable(id);
    return 1;
}
