// Resized copies of an image: drawn as the display draws them, or resampled.
#include "core/edit/image_resize.h"

#include <algorithm>
#include <cstring>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_create.h"
#include "winplat/owners.h"

using namespace pixmill;

namespace {

// A blank image of the source's depth (16 bits with its own fields) and palette, still locked.
ImageLock blankLike(const ImageRecord& source, int width, int height) {
    const BITMAPINFOHEADER& h = source.infoHeader();
    const bool is565 = h.biBitCount == 16 && h.biCompression == BI_BITFIELDS;
    ImageLock target = newImage(width, height, is565 ? PXL_BITS_565 : h.biBitCount);
    if (!target) return {};
    if (target->bitCount() != h.biBitCount) {
        discardImage(target);  // a depth the creator cannot make (16-bit 5-5-5)
        return {};
    }
    const int colors = paletteSizeForBits(h.biBitCount);
    if (colors > 0) {
        const uint32_t used = h.biClrUsed == 0
                                  ? static_cast<uint32_t>(colors)
                                  : std::min<uint32_t>(h.biClrUsed, static_cast<uint32_t>(colors));
        std::memcpy(target->colors(), source.colors(), sizeof(RGBQUAD) * used);
    }
    return target;
}

void tickTimes(PxlProgressFn tick, int count) {
    for (int i = 0; tick && i < count; ++i) tick();
}

PxlImageId resampled(const ImageRecord& source, int width, int height, int mode) {
    // The covered-area average only reduces; growing along either side is bilinear.
    if (mode == PXL_RESIZE_BOX && (width > source.width() || height > source.height()))
        mode = PXL_RESIZE_BILINEAR;
    ImageLock target = blankLike(source, width, height);
    if (!target) return 0;
    const PxlImageId id = target->id;
    if (IPLResize(source.id, id, width, height, mode) != 1) {
        discardImage(target);
        return 0;
    }
    target.release();
    PXLFillDIBColorTable(id);
    return id;
}

// Draws the whole image stretched over the bitmap; false when nothing was drawn.
bool drawInto(HBITMAP bitmap, PxlImageId id, int width, int height) {
    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return false;
    const winplat::Selection selected(dc.get(), bitmap);
    return selected && PXLStretchBlt(dc.get(), 0, 0, width, height, id, 0, 0, width, height,
                                     PXL_DRAW_TILED_GDI, SRCCOPY) == 1;
}

}  // namespace

namespace pixmill {

PxlImageId drawResized(PxlImageId id, int width, int height) {
    PxlImageId result;
    HBITMAP bitmap;
    {
        ImageLock source = lockImage(id, Access::Read);
        if (!source || !source->header) return 0;
        ImageLock target = blankLike(*source, width, height);
        if (!target) return 0;
        result = target->id;
        bitmap = target->bitmap.get();
    }
    PXLFillDIBColorTable(result);
    if (!drawInto(bitmap, id, width, height)) {
        PXLDeleteImage(result);  // a blank picture is no resized one
        return 0;
    }
    return result;
}

}  // namespace pixmill

PxlImageId PXLNewSizeImage(PxlImageId id, int16_t width, int16_t height, PxlProgressFn tick) {
    return PXLNewSizeImageEx(id, width, height, PXL_RESIZE_DRAWN, tick);
}

PxlImageId PXLNewSizeImageEx(PxlImageId id, int16_t width, int16_t height, int16_t mode, PxlProgressFn tick) {
    if (id == 0 || width < 2 || height < 2) return 0;
    if (mode < PXL_RESIZE_DRAWN || mode > PXL_RESIZE_BOX) return 0;
    ImageLock source = lockImage(id, Access::Read);
    if (!source || !source->header) return 0;
    const int bits = source->bitCount();
    if (mode != PXL_RESIZE_DRAWN && (bits == 4 || bits == 8)) return 0;  // indexes do not blend

    // Callers pace a progress bar by these counts: half the new height before, half after.
    tickTimes(tick, height / 2);
    PxlImageId result;
    if (width == source->width() && height == source->height()) {
        result = PXLCreateImageFrom(id, 0);
    } else if (mode == PXL_RESIZE_DRAWN) {
        // Drawn with the source still held for reading; drawing reads it again alongside.
        result = drawResized(id, width, height);
    } else {
        result = resampled(*source, width, height, mode);
    }
    tickTimes(tick, height / 2);
    return result;
}
