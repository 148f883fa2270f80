// Cropped copies of an image.
#include <algorithm>
#include <cstring>
#include <utility>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_create.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

struct Span {
    int left, top, right, bottom;  // inclusive, inside the image
};

Span clampedSpan(const ImageRecord& image, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const int maxX = image.width() - 1, maxY = image.height() - 1;
    return {std::clamp<int32_t>(left, 0, maxX), std::clamp<int32_t>(top, 0, maxY),
            std::clamp<int32_t>(right, 0, maxX), std::clamp<int32_t>(bottom, 0, maxY)};
}

// Pixels below a byte: the row is shifted left by whole pixels, each byte taking the start of the
// next; the bits after the last pixel are cleared.
void copyPackedRow(const uint8_t* in, size_t inBytes, int left, int width, int bits, uint8_t* out) {
    const int firstBit = left * bits;
    const size_t start = static_cast<size_t>(firstBit / 8);
    const int shift = firstBit % 8;
    const size_t outBytes = static_cast<size_t>((width * bits + 7) / 8);
    for (size_t k = 0; k < outBytes; ++k) {
        const uint8_t byte = in[start + k];
        const uint8_t next = start + k + 1 < inBytes ? in[start + k + 1] : 0;
        out[k] = shift == 0 ? byte : static_cast<uint8_t>((byte << shift) | (next >> (8 - shift)));
    }
    const int tailBits = (width * bits) % 8;
    if (tailBits) out[outBytes - 1] &= static_cast<uint8_t>(0xFF00 >> tailBits);
}

void copyRows(const ImageRecord& source, ImageRecord& crop, const Span& span) {
    const int bits = source.bitCount();
    const int width = crop.width();
    const size_t inBytes = static_cast<size_t>(scanBytesForWidth(source.width(), bits));
    for (int y = span.top; y <= span.bottom; ++y) {
        const uint8_t* in = rowFromTop(source, y);
        uint8_t* out = rowFromTop(crop, y - span.top);
        if (bits < 8) {
            copyPackedRow(in, inBytes, span.left, width, bits, out);
        } else {
            const size_t bytes = static_cast<size_t>(bits / 8);
            std::memcpy(out, in + bytes * static_cast<size_t>(span.left), bytes * static_cast<size_t>(width));
        }
    }
}

}  // namespace

PxlImageId PXLCropImage(PxlImageId id, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    // Held for reading until the rows are copied, so no writer changes them half way.
    ImageLock source = lockImage(id, Access::Read);
    if (!source || !source->header || !source->bits) return 0;
    const Span span = clampedSpan(*source, left, top, right, bottom);
    const BITMAPINFOHEADER& h = source->infoHeader();
    const bool is565 = h.biBitCount == 16 && h.biCompression == BI_BITFIELDS;
    ImageLock crop =
        newImage(span.right - span.left + 1, span.bottom - span.top + 1, is565 ? PXL_BITS_565 : h.biBitCount);
    if (!crop) return 0;
    if (crop->bitCount() != h.biBitCount) {
        discardImage(crop);  // a depth the creator cannot make (16-bit 5-5-5)
        return 0;
    }
    const int colors = paletteSizeForBits(h.biBitCount);
    if (colors > 0) {
        const uint32_t used = h.biClrUsed == 0
                                  ? static_cast<uint32_t>(colors)
                                  : std::min<uint32_t>(h.biClrUsed, static_cast<uint32_t>(colors));
        std::memcpy(crop->colors(), source->colors(), sizeof(RGBQUAD) * used);
    }
    copyRows(*source, *crop, span);
    const PxlImageId result = crop->id;
    crop.release();
    source.release();
    PXLFillDIBColorTable(result);
    return result;
}

PxlImageId PXLCropImageEx(PxlImageId id, int32_t left, int32_t top, int32_t right, int32_t bottom,
                          int16_t withTransparency) {
    ImageLock source = lockImage(id, Access::Read);  // the transparency is read as the pixels were
    const PxlImageId crop = PXLCropImage(id, left, top, right, bottom);
    if (crop == 0 || !withTransparency || !source) return crop;
    // Entries are kept as they are: a region's seed is not moved with the crop.
    if (source->entryCount > 0) PXLSetImageTransparent(crop, source->entries.data(), source->entryCount);
    if (source->transparencyImage) {
        const PxlImageId part = PXLCropImage(source->transparencyImage, left, top, right, bottom);
        if (part && PXLSetImageTransparentEx(crop, part) != 1) PXLDeleteImage(part);
    }
    return crop;
}
