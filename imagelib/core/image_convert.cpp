#include "core/image_convert.h"

#include <cstring>
#include <vector>

#include "core/bitmap_math.h"
#include "core/image_create.h"
#include "core/pixel_rows.h"

namespace pixmill {
PxlImageId resizeNearest(PxlImageId id, int width, int height) {
    ImageLock source = lockImage(id, Access::Read);
    if (!source || !source->header) return 0;
    const BITMAPINFOHEADER& h = source->infoHeader();
    const bool is565 = h.biBitCount == 16 && h.biCompression == BI_BITFIELDS;
    ImageLock target = newImage(width, height, is565 ? PXL_BITS_565 : h.biBitCount);
    if (!target) return 0;
    if (target->bitCount() != h.biBitCount) {
        discardImage(target);
        return 0;
    }
    if (h.biBitCount <= 8) {
        std::memcpy(target->colors(), source->colors(), 4 * size_t(paletteSizeForBits(h.biBitCount)));
    }
    std::vector<int> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) columns[x] = static_cast<int>(int64_t{x} * source->width() / width);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = rowFromTop(*source, static_cast<int>(int64_t{y} * source->height() / height));
        uint8_t* out = rowFromTop(*target, y);
        for (int x = 0; x < width; ++x) copyPixel(in, columns[x], out, x, h.biBitCount);
    }
    target->rotateAngle = source->rotateAngle;
    const PxlImageId result = target->id;
    target.release();
    PXLFillDIBColorTable(result);
    return result;
}

bool attachTransparencyImage(PxlImageId id, PxlImageId attached) {
    // The same rules as every other attachment: depth, size, no ownership cycles.
    return PXLSetImageTransparentEx(id, attached) == 1;
}

}  // namespace pixmill
