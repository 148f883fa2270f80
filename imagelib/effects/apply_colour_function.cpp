#include "effects/apply_colour_function.h"

#include <array>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"
#include "effects/true_colour_copy.h"

namespace pixmill::effects {

namespace {

void mapPalette(ImageRecord& image, const ColourFunction& function) {
    for (int i = 0; i < paletteSizeForBits(image.bitCount()); ++i) {
        RGBQUAD& entry = image.colors()[i];
        std::array<uint8_t, 3> bgr{entry.rgbBlue, entry.rgbGreen, entry.rgbRed};
        function.mapBgr(bgr.data(), 1);
        entry.rgbBlue = bgr[0];
        entry.rgbGreen = bgr[1];
        entry.rgbRed = bgr[2];
    }
}

void mapPixels(ImageRecord& image, const ColourFunction& function, const RowProgress& progress) {
    const size_t stride = static_cast<size_t>(scanBytesForWidth(image.width(), 24));
    for (int row = 0; row < image.height(); ++row) {
        function.mapBgr(image.bits + stride * static_cast<size_t>(row), image.width());
        if (progress) progress();
    }
}

}  // namespace

bool mapImageColours(ImageRecord& image, const ColourFunction& function, const RowProgress& progress) {
    if (!image.header || !image.bits) return false;
    const int bits = image.bitCount();
    if (bits <= 8) mapPalette(image, function);
    else if (bits == 24) mapPixels(image, function, progress);
    else return false;
    return true;
}

PxlImageId applyColourFunction(PxlImageId image, const ColourFunction& function, const RowProgress& progress) {
    const PxlImageId copy = mappableCopy(image);
    bool mapped = false;
    {
        ImageLock target = lockImage(copy, Access::Write);
        mapped = target && mapImageColours(*target, function, progress);
    }
    if (!mapped) {
        PXLDeleteImage(copy);
        return 0;
    }
    PXLFillDIBColorTable(copy);
    return copy;
}

}  // namespace pixmill::effects
