// Inverting an image's colours in place.
#include "core/bitmap_math.h"
#include "core/image_registry.h"
#include "core/image_rotate.h"

using namespace pixmill;

int16_t PXLInvert(PxlImageId id) {
    ImageLock image = lockImage(id, Access::Write);
    if (!image || !image->header || !image->bits) return 0;
    const int bits = image->bitCount();
    if (bits == 4 || bits == 8) {
        // The palette carries the colours; the pixels keep their indexes.
        RGBQUAD* colors = image->colors();
        for (int i = 0; i < paletteSizeForBits(bits); ++i) {
            colors[i].rgbRed = static_cast<BYTE>(~colors[i].rgbRed);
            colors[i].rgbGreen = static_cast<BYTE>(~colors[i].rgbGreen);
            colors[i].rgbBlue = static_cast<BYTE>(~colors[i].rgbBlue);
        }
    } else {
        // 1-bit pixels swap indexes 0 and 1; deeper ones complement every channel.
        const size_t bytes = image->infoHeader().biSizeImage;
        for (size_t i = 0; i < bytes; ++i) image->bits[i] = static_cast<uint8_t>(~image->bits[i]);
    }
    dropRotatedCopy(*image);
    image.release();
    PXLFillDIBColorTable(id);
    return 1;
}
