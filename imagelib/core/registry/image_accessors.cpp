// Read-only accessors of an image. Each takes the record for reading and lets it go before it returns.
#include <cstring>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"
#include "winplat/owners.h"

using namespace pixmill;

namespace {

// The value of a field of a readable image with a header, or the failure value.
template <class T, class Get>
T readField(PxlImageId id, T failure, Get get) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header) return failure;
    return get(*image);
}

}  // namespace

HBITMAP PXLDeleteImageDetach(PxlImageId id) {
    HBITMAP bitmap = readField<HBITMAP>(id, nullptr, [](const ImageRecord& r) { return r.bitmap.get(); });
    if (!bitmap) return nullptr;
    // The caller owns the handle only if the record really let go of it.
    return releaseImageRecord(id, false) ? bitmap : nullptr;
}

HBITMAP PXLGetBitmap(PxlImageId id) {
    return readField<HBITMAP>(id, nullptr, [](const ImageRecord& r) { return r.bitmap.get(); });
}

int16_t PXLWidth(PxlImageId id) {
    return readField<int16_t>(id, 0, [](const ImageRecord& r) { return static_cast<int16_t>(r.width()); });
}

int16_t PXLHeight(PxlImageId id) {
    return readField<int16_t>(id, 0, [](const ImageRecord& r) { return static_cast<int16_t>(r.height()); });
}

int16_t PXLbpp(PxlImageId id) {
    return readField<int16_t>(id, 0, [](const ImageRecord& r) { return static_cast<int16_t>(r.bitCount()); });
}

int32_t PXLSizeImage(PxlImageId id) {
    return readField<int32_t>(id, 0,
                              [](const ImageRecord& r) { return static_cast<int32_t>(r.infoHeader().biSizeImage); });
}

BITMAPINFO* PXLGetBitmapInfoHeader(PxlImageId id) {
    return readField<BITMAPINFO*>(id, nullptr, [](const ImageRecord& r) { return r.info(); });
}

uint8_t* PXLGetBits(PxlImageId id) {
    return readField<uint8_t*>(id, nullptr, [](const ImageRecord& r) { return r.bits; });
}

int16_t PXLGetScanBytes(PxlImageId id) {
    return readField<int16_t>(id, 0, [](const ImageRecord& r) {
        return static_cast<int16_t>(scanBytesForWidth(r.width(), r.bitCount()));
    });
}

int16_t PXLCalcScanBytes(int width, int bitsPerPixel) {
    return static_cast<int16_t>(scanBytesForWidth(width, bitsPerPixel));
}

HGLOBAL PXLGetGlobalBlock(PxlImageId id) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header) return nullptr;
    const size_t headerSize = static_cast<size_t>(image->headerSize);
    const size_t imageBytes = image->infoHeader().biSizeImage;
    winplat::GlobalBlock block(GlobalAlloc(GHND, headerSize + imageBytes));
    {
        const winplat::GlobalPin pin(block.get());
        if (!pin) return nullptr;
        std::memcpy(pin.as<uint8_t>(), image->header.get(), headerSize);
        std::memcpy(pin.as<uint8_t>() + headerSize, image->bits, imageBytes);
    }
    return block.release();  // the caller's from now on
}
