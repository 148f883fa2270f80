// Marking the pixels of a palette image that equal a reference picture with an index of their
// own, so that the next frame of an animation can leave them out.
#include <array>
#include <new>
#include <vector>

#include "core/colour/bit_drop.h"
#include "core/registry/image_registry.h"
#include "core/edit/image_rotate.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

constexpr int kGridSteps = 8;  // the free colour is looked for on an 8 x 8 x 8 grid
constexpr int kGridCell = 256 / kGridSteps;

bool sameRgb(const RGBQUAD& a, const RGBQUAD& b) {
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

bool hasOneEntry(const ImageRecord& image) {
    return image.entryCount == 1;
}

int unusedIndex(const ImageRecord& image) {
    std::array<bool, 256> used{};
    for (int y = 0; y < image.height(); ++y) {
        const uint8_t* row = rowFromTop(image, y);
        for (int x = 0; x < image.width(); ++x) used[row[x]] = true;
    }
    for (int i = 0; i < 256; ++i) {
        if (!used[static_cast<size_t>(i)]) return i;
    }
    return -1;
}

// Every index in use: the first two entries that become equal with the fewest low bits dropped
// are merged (pixels of the first take the second), which frees the first.
int mergeClosestEntries(ImageRecord& image) {
    std::array<int32_t, 256> keys{};
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& c = image.colors()[i];
        keys[static_cast<size_t>(i)] = colourKey(c.rgbRed, c.rgbGreen, c.rgbBlue);
    }
    for (int dropped = 0; dropped <= 24; ++dropped) {
        const int32_t mask = keyMaskAfter(dropped);
        for (int i = 0; i < 255; ++i) {
            for (int j = i + 1; j < 256; ++j) {
                if ((keys[static_cast<size_t>(i)] & mask) != (keys[static_cast<size_t>(j)] & mask)) continue;
                for (int y = 0; y < image.height(); ++y) {
                    uint8_t* row = rowFromTop(image, y);
                    for (int x = 0; x < image.width(); ++x) {
                        if (row[x] == i) row[x] = static_cast<uint8_t>(j);
                    }
                }
                return i;
            }
        }
    }
    return 0;  // not reached: with every bit dropped all keys are equal
}

// The highest cell of the 8 x 8 x 8 grid that no palette colour falls in, as a colour.
RGBQUAD freeGridColour(const ImageRecord& image) {
    std::array<bool, kGridSteps * kGridSteps * kGridSteps> taken{};
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& c = image.colors()[i];
        taken[static_cast<size_t>((c.rgbRed / kGridCell) * 64 + (c.rgbGreen / kGridCell) * 8 +
                                  c.rgbBlue / kGridCell)] = true;
    }
    for (int cell = static_cast<int>(taken.size()) - 1; cell >= 0; --cell) {
        if (taken[static_cast<size_t>(cell)]) continue;
        return RGBQUAD{static_cast<BYTE>((cell % 8) * kGridCell),
                       static_cast<BYTE>((cell / 8 % 8) * kGridCell),
                       static_cast<BYTE>((cell / 64) * kGridCell), 0};
    }
    return RGBQUAD{0, 0, 0, 0};
}

// Reference pixel (x, y) from the top as a colour.
RGBQUAD referenceColour(const ImageRecord& reference, const uint8_t* row, int x) {
    if (reference.bitCount() == 8) return reference.colors()[row[x]];
    return RGBQUAD{row[3 * x], row[3 * x + 1], row[3 * x + 2], 0};
}

}  // namespace

int16_t PXLCompareImagesAndFillByUniqueColor(PxlImageId id, PxlImageId referenceId, int32_t x, int32_t y) {
    if (id == 0 || referenceId == 0) return -1;
    auto [image, reference] = lockImages(id, Access::Write, referenceId, Access::Read);
    if (!image || !reference || !image->header || !reference->header || !image->bits || !reference->bits)
        return -1;
    if (image->bitCount() != 8 || (reference->bitCount() != 8 && reference->bitCount() != 24)) return -1;
    if (x < 0 || y < 0 || int64_t{x} + image->width() > reference->width() ||
        int64_t{y} + image->height() > reference->height()) {
        return -1;
    }

    int unique = -1;
    if (hasOneEntry(*image) && image->entries[0].kind == PXL_TRANSPARENT_INDEX)
        unique = image->entries[0].blue & 0xFF;
    if (unique < 0) unique = unusedIndex(*image);
    if (unique < 0) unique = mergeClosestEntries(*image);
    // An image with one transparency entry keeps its palette: that entry names its colour.
    if (!hasOneEntry(*image)) image->colors()[unique] = freeGridColour(*image);

    const RGBQUAD* palette = image->colors();
    for (int row = 0; row < image->height(); ++row) {
        uint8_t* pixels = rowFromTop(*image, row);
        const uint8_t* under = rowFromTop(*reference, y + row);
        for (int col = 0; col < image->width(); ++col) {
            if (pixels[col] == unique) continue;
            if (sameRgb(palette[pixels[col]], referenceColour(*reference, under, x + col))) {
                pixels[col] = static_cast<uint8_t>(unique);
            }
        }
    }
    dropRotatedCopy(*image);
    image.release();
    reference.release();
    PXLFillDIBColorTable(id);
    return static_cast<int16_t>(unique);
}
