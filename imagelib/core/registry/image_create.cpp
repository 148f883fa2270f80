// Blank images, copies and shares.
#include "core/registry/image_create.h"

#include <cstring>
#include <mutex>
#include <new>
#include <utility>

#include "core/rows/bitmap_math.h"
#include "core/palette/palettes.h"

namespace pixmill {
namespace {

// Serialises creation as callers have always seen it; it guards nothing else.
std::mutex creationGate;

constexpr uint32_t kMask565[3] = {0xF800, 0x07E0, 0x001F};

}  // namespace

int32_t headerSizeFor(int bits, bool bitFields) {
    return static_cast<int32_t>(sizeof(BITMAPINFOHEADER)) + 4 * paletteSizeForBits(bits) + (bitFields ? 12 : 0);
}

void discardImage(ImageLock& image) {
    if (!image) return;
    const PxlImageId id = image->id;
    releaseImageRecord(id, true);  // we hold it for writing: the nested release is granted at once
    image.release();
}

ImageLock newImage(int width, int height, int requestedBits) {
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return {};
    const bool bitFields = requestedBits == PXL_BITS_565;
    const int bits = bitFields ? 16 : normalizeBitsPerPixel(requestedBits);
    const int colors = bitFields ? 0 : paletteSizeForBits(bits);
    const int64_t imageBytes = int64_t{scanBytesForWidth(width, bits)} * height;
    if (imageBytes > INT32_MAX) return {};

    const int32_t headerSize = headerSizeFor(bits, bitFields);
    std::unique_ptr<uint8_t[]> header(new (std::nothrow) uint8_t[headerSize]());
    if (!header) return {};
    auto* info = reinterpret_cast<BITMAPINFO*>(header.get());
    BITMAPINFOHEADER& h = info->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bits);
    h.biCompression = bitFields ? BI_BITFIELDS : BI_RGB;
    h.biSizeImage = static_cast<DWORD>(imageBytes);
    h.biClrUsed = static_cast<DWORD>(colors);
    if (bitFields) {
        std::memcpy(info->bmiColors, kMask565, sizeof kMask565);
    } else {
        writeDefaultPalette(info->bmiColors, bits);
    }

    void* pixels = nullptr;
    winplat::OwnedBitmap bitmap(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap || !pixels) return {};
    ImageLock image = createImageRecord();
    if (!image) return {};
    image->bitmap = std::move(bitmap);
    image->headerSize = headerSize;
    image->header = std::move(header);
    image->bits = static_cast<uint8_t*>(pixels);
    // A new DIB section comes zeroed.
    return image;
}

}  // namespace pixmill

using namespace pixmill;

PxlImageId PXLCreateImage(int width, int height, int bitsPerPixel) {
    std::lock_guard gate(creationGate);
    ImageLock image = newImage(width, height, bitsPerPixel);
    if (!image) return 0;
    const PxlImageId id = image->id;
    image.release();
    PXLFillDIBColorTable(id);
    return id;
}

PxlImageId PXLCreateImageFrom(PxlImageId id, int16_t share) {
    ImageLock source = lockImage(id, Access::Read);
    if (!source || !source->header) return 0;
    PxlImageId result = id;
    if (share) {
        addImageReference(id);
        // A share owns the transparency image once more; everything else is the same record.
        if (source->transparencyImage) addImageReference(source->transparencyImage);
        return result;
    }

    const BITMAPINFOHEADER& h = source->infoHeader();
    const bool is565 = h.biBitCount == 16 && h.biCompression == BI_BITFIELDS;
    ImageLock copy = newImage(h.biWidth, h.biHeight, is565 ? PXL_BITS_565 : h.biPlanes * h.biBitCount);
    if (!copy) return 0;
    if (copy->bitCount() != h.biBitCount) {
        // A depth the creator cannot make (16-bit 5-5-5): the bytes would not mean the same pixels.
        discardImage(copy);
        return 0;
    }
    if (h.biBitCount <= 8) std::memcpy(copy->colors(), source->colors(), 4 * size_t(paletteSizeForBits(h.biBitCount)));
    std::memcpy(copy->bits, source->bits, copy->infoHeader().biSizeImage);
    copy->entryCount = source->entryCount;
    copy->entries = source->entries;
    copy->rotateAngle = source->rotateAngle;
    if (source->transparencyImage) {
        copy->transparencyImage.reset(PXLCreateImageFrom(source->transparencyImage, 0));
    }
    result = copy->id;
    copy.release();
    PXLFillDIBColorTable(result);
    return result;
}
