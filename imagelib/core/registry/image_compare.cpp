// Content comparison of two images: pixels, palettes, transparency, rotation.
#include <cstring>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

// The rows' pixel bytes, ignoring the padding at the end of each row (never part of the picture).
bool samePixels(const ImageRecord& a, const ImageRecord& b) {
    const int bits = a.bitCount();
    const int64_t usedBits = int64_t{a.width()} * bits;
    const size_t wholeBytes = static_cast<size_t>(usedBits / 8);
    const int tailBits = static_cast<int>(usedBits % 8);
    const uint8_t tailMask = static_cast<uint8_t>(0xFF00 >> tailBits);
    for (int y = 0; y < a.height(); ++y) {
        const uint8_t* ra = rowFromTop(a, y);
        const uint8_t* rb = rowFromTop(b, y);
        if (std::memcmp(ra, rb, wholeBytes) != 0) return false;
        if (tailBits && ((ra[wholeBytes] ^ rb[wholeBytes]) & tailMask)) return false;
    }
    return true;
}

bool samePalette(const ImageRecord& a, const ImageRecord& b) {
    if (a.bitCount() > 8) return true;
    const int colors = paletteSizeForBits(a.bitCount());
    for (int i = 0; i < colors; ++i) {
        const RGBQUAD& ca = a.colors()[i];
        const RGBQUAD& cb = b.colors()[i];
        if (ca.rgbRed != cb.rgbRed || ca.rgbGreen != cb.rgbGreen || ca.rgbBlue != cb.rgbBlue) return false;
    }
    return true;
}

bool sameEntries(const ImageRecord& a, const ImageRecord& b) {
    if (a.entryCount != b.entryCount) return false;
    for (int i = 0; i < a.entryCount && i < kMaxTransparencyEntries; ++i) {
        const PxlTransparencyEntry& ea = a.entries[i];
        const PxlTransparencyEntry& eb = b.entries[i];
        if (ea.red != eb.red || ea.green != eb.green || ea.blue != eb.blue || ea.tolerance != eb.tolerance ||
            ea.kind != eb.kind || ea.seedX != eb.seedX || ea.seedY != eb.seedY) {
            return false;
        }
    }
    return true;
}

bool sameImages(PxlImageId a, PxlImageId b);

bool sameRecords(const ImageRecord& a, const ImageRecord& b) {
    if (!a.header || !b.header) return false;
    const BITMAPINFOHEADER& ha = a.infoHeader();
    const BITMAPINFOHEADER& hb = b.infoHeader();
    if (ha.biWidth != hb.biWidth || ha.biHeight != hb.biHeight || ha.biBitCount != hb.biBitCount ||
        ha.biCompression != hb.biCompression || ha.biSizeImage != hb.biSizeImage ||
        a.rotateAngle != b.rotateAngle) {
        return false;
    }
    if (!sameEntries(a, b) || !samePalette(a, b) || !samePixels(a, b)) return false;
    if ((a.transparencyImage == 0) != (b.transparencyImage == 0)) return false;
    return a.transparencyImage == 0 || sameImages(a.transparencyImage, b.transparencyImage);
}

bool sameImages(PxlImageId a, PxlImageId b) {
    auto [ia, ib] = lockImages(a, Access::Read, b, Access::Read);
    return ia && ib && sameRecords(*ia, *ib);
}

}  // namespace

int16_t PXLCompareImages(PxlImageId a, PxlImageId b) {
    if (a == 0 || b == 0) return 0;
    return sameImages(a, b) ? 1 : 0;
}
