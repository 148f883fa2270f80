// Images made from packed DIBs in memory blocks and from GDI bitmaps.
#include <cstring>
#include <new>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_create.h"
#include "core/registry/packed_dib.h"
#include "winplat/owners.h"

using namespace pixmill;

namespace {

// 16-bit DIBs become 24-bit images: through a DIB section of their own format, read back by the
// bitmap importer, so any mask layout converts correctly.
PxlImageId importSixteenBit(const uint8_t* data, const PackedDib& dib) {
    const size_t infoSize = dib.header.biCompression == BI_BITFIELDS ? sizeof(BITMAPINFOHEADER) + 12
                                                                      : sizeof(BITMAPINFOHEADER);
    std::unique_ptr<uint8_t[]> info(new (std::nothrow) uint8_t[infoSize]());
    if (!info) return 0;
    BITMAPINFOHEADER header = dib.header;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biClrUsed = 0;
    std::memcpy(info.get(), &header, sizeof header);
    if (infoSize > sizeof header) std::memcpy(info.get() + sizeof header, dib.masks, 12);
    void* bits = nullptr;
    const winplat::OwnedBitmap section(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.get()),
                                                        DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section) return 0;
    std::memcpy(bits, data + dib.bitsOffset, dib.imageBytes);
    return PXLCreateImageFromBitmap(section.get());
}

// Copies the colour table of a palette bitmap into the image (the DIB section keeps its own).
void takeColorTable(ImageRecord& image, HBITMAP bitmap) {
    const int colors = paletteSizeForBits(image.bitCount());
    if (image.bitCount() > 8) return;
    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return;
    const winplat::Selection selected(dc.get(), bitmap);
    if (!selected) return;
    RGBQUAD table[256];
    const UINT got = GetDIBColorTable(dc.get(), 0, static_cast<UINT>(colors), table);
    for (UINT i = 0; i < got; ++i) table[i].rgbReserved = 0;
    if (got) std::memcpy(image.colors(), table, 4 * size_t{got});
}

// The bitmap's pixels read into the image's bits in its format; the rows read.
int readBits(HBITMAP bitmap, ImageRecord& image) {
    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return 0;
    return GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(image.height()), image.bits, image.info(),
                     DIB_RGB_COLORS);
}

// Lets the new image go and fills its DIB colour table, which takes the image's lock itself.
PxlImageId publishWithColourTable(ImageLock& image) {
    const PxlImageId id = image->id;
    image.release();
    PXLFillDIBColorTable(id);
    return id;
}

}  // namespace

PxlImageId PXLCreateImageFromGlobal(HGLOBAL packedDib) {
    const winplat::GlobalPin pin(packedDib);
    if (!pin) return 0;
    uint8_t* data = pin.as<uint8_t>();
    const auto dib = parsePackedDib({data, GlobalSize(packedDib)});
    if (!dib) return 0;
    if (dib->header.biSizeImage == 0) {
        // Callers have always found the size filled in afterwards.
        const uint32_t size = dib->imageBytes;
        for (int i = 0; i < 4; ++i) data[20 + i] = static_cast<uint8_t>(size >> (8 * i));
    }
    if (dib->depth == 16) return importSixteenBit(data, *dib);

    ImageLock image = newImage(dib->header.biWidth, dib->header.biHeight, dib->depth);
    if (!image) return 0;
    const int colors = std::min(paletteSizeForBits(image->bitCount()), dib->colorEntries);
    if (colors > 0) std::memcpy(image->colors(), data + dib->colorsOffset, 4 * static_cast<size_t>(colors));
    std::memcpy(image->bits, data + dib->bitsOffset, dib->imageBytes);
    return publishWithColourTable(image);
}

PxlImageId PXLCreateImageFromBitmap(HBITMAP bitmap) {
    DIBSECTION section{};
    if (GetObjectA(bitmap, sizeof section, &section) == 0) return 0;
    const int depth = std::min(section.dsBm.bmPlanes * section.dsBm.bmBitsPixel, 24);
    ImageLock image = newImage(section.dsBm.bmWidth, section.dsBm.bmHeight, depth);
    if (!image) return 0;
    if (readBits(bitmap, *image) != image->height()) {
        discardImage(image);
        return 0;
    }
    takeColorTable(*image, bitmap);
    return publishWithColourTable(image);
}

PxlImageId PXLCreateImageAttach(HBITMAP dibSection) {
    DIBSECTION section{};
    if (GetObjectA(dibSection, sizeof section, &section) != static_cast<int>(sizeof section) ||
        !section.dsBm.bmBits) {
        return 0;  // only a DIB section has bits the image can own
    }
    const BITMAPINFOHEADER& sh = section.dsBmih;
    if (sh.biHeight <= 0 || sh.biWidth <= 0 || sh.biWidth > kMaxImageSide || sh.biHeight > kMaxImageSide) return 0;
    const int sourceDepth = sh.biPlanes * sh.biBitCount;
    const bool bitFields = sh.biCompression == BI_BITFIELDS;
    // 16-bit sections keep their depth and masks: the bits are theirs, so the header must describe them.
    const int depth = sourceDepth == 16 ? 16 : normalizeBitsPerPixel(sourceDepth);
    if (depth != sourceDepth) return 0;
    const int32_t headerSize = headerSizeFor(depth, bitFields);
    std::unique_ptr<uint8_t[]> header(new (std::nothrow) uint8_t[headerSize]());
    if (!header) return 0;
    BITMAPINFOHEADER h = sh;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biSizeImage = static_cast<DWORD>(scanBytesForWidth(h.biWidth, depth) * h.biHeight);
    h.biClrUsed = static_cast<DWORD>(paletteSizeForBits(depth));
    std::memcpy(header.get(), &h, sizeof h);
    if (bitFields) std::memcpy(header.get() + sizeof h, section.dsBitfields, 12);

    ImageLock image = createImageRecord();
    if (!image) return 0;
    image->header = std::move(header);
    image->headerSize = headerSize;
    image->bitmap.reset(dibSection);  // the image owns the caller's section from now on
    image->bits = static_cast<uint8_t*>(section.dsBm.bmBits);
    takeColorTable(*image, dibSection);
    return image->id;
}
