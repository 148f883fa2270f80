// Replacing a colour or palette index by another in the pixels that show it in a reference image.
#include "core/colour/colour_replace.h"

#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"

using namespace pixmill;

namespace {

// What the pixels chosen by the mask are filled with, found before the mask is used.
struct FillValue {
    bool ok = false;
    COLORREF value = 0;
};

// Palette images take the first entry equal to the colour; true-colour images take the colour.
FillValue colourFillFor(PxlImageId id, COLORREF color) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header) return {};
    const int size = paletteSizeForBits(image->bitCount());
    if (size == 0) return {true, color};
    for (int i = 0; i < size; ++i) {
        const RGBQUAD& c = image->colors()[i];
        if (c.rgbRed == GetRValue(color) && c.rgbGreen == GetGValue(color) && c.rgbBlue == GetBValue(color))
            return {true, static_cast<COLORREF>(i)};
    }
    return {};
}

// An index only means something in a palette image, and only below its palette size: anything
// else would be cut to a different index by the fill.
FillValue indexFillFor(PxlImageId id, int index) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header) return {};
    const int size = paletteSizeForBits(image->bitCount());
    if (index < 0 || index >= size) return {};
    return {true, static_cast<COLORREF>(index)};
}

// Fills the image through a mask made from the reference by one entry, then deletes the mask.
int16_t fillThroughReference(PxlImageId id, PxlImageId referenceId, const PxlTransparencyEntry& entry,
                             const FillValue& fill) {
    if (!fill.ok) return 0;
    const PxlImageId mask = PXLCreateMaskImageFrom(referenceId, &entry, 1);
    if (mask == 0) return 0;
    // A reference of another size gives a mask of another size, which the fill refuses.
    const int16_t result = PXLImageFillByColor(id, mask, fill.value);
    PXLDeleteImage(mask);
    return result;
}

}  // namespace

namespace pixmill {

int16_t changeColorToColor(PxlImageId id, COLORREF from, COLORREF to) {
    return PXLChangeColorToColorRef(id, id, from, to);
}

}  // namespace pixmill

extern "C" {

PXL_API int16_t PXLChangeColorToColorRef(PxlImageId id, PxlImageId referenceId, COLORREF from, COLORREF to) {
    if (id == 0 || referenceId == 0) return 0;
    const PxlTransparencyEntry entry{GetRValue(from), GetGValue(from), GetBValue(from), 0,
                                     PXL_TRANSPARENT_COLOR, -1, -1};
    return fillThroughReference(id, referenceId, entry, colourFillFor(id, to));
}

PXL_API int16_t PXLChangeIndexToIndexRef(PxlImageId id, PxlImageId referenceId, int fromIndex, int toIndex) {
    if (id == 0 || referenceId == 0) return 0;
    const PxlTransparencyEntry entry{-1, -1, fromIndex & 0xFF, 0, PXL_TRANSPARENT_INDEX, -1, -1};
    return fillThroughReference(id, referenceId, entry, indexFillFor(id, toIndex & 0xFF));
}

}  // extern "C"
