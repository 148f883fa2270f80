// Colour separation: one printing plate (cyan, magenta, yellow or black) as an 8-bit grey image.
#include <algorithm>
#include <array>
#include <vector>

#include "core/registry/image_create.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

// Under-colour removal: black takes what the three inks share.
uint8_t plateValue(uint8_t r, uint8_t g, uint8_t b, int plate, bool keep) {
    int c = 255 - r;
    int m = 255 - g;
    int y = 255 - b;
    const int k = std::min({c, m, y});
    c -= k;
    m -= k;
    y -= k;
    const int value = plate == PXL_PLATE_CYAN ? c : plate == PXL_PLATE_MAGENTA ? m : plate == PXL_PLATE_YELLOW ? y : k;
    return static_cast<uint8_t>(keep ? value : 255 - value);
}

}  // namespace

PxlImageId PXLCreateImageSeparateColor(PxlImageId id, int16_t plate, int16_t keep) {
    if (plate < PXL_PLATE_CYAN || plate > PXL_PLATE_BLACK) return 0;
    ImageLock source = lockImage(id, Access::Read);
    if (!source || !source->header) return 0;
    ImageLock plateImage = newImage(source->width(), source->height(), 8);
    if (!plateImage) return 0;
    for (int i = 0; i < 256; ++i) {
        RGBQUAD& c = plateImage->colors()[i];
        c.rgbRed = c.rgbGreen = c.rgbBlue = static_cast<uint8_t>(i);
        c.rgbReserved = 0;
    }
    const int width = source->width();
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * 3);
    for (int y = 0; y < source->height(); ++y) {
        readRowRgb(*source, y, rgb.data());
        uint8_t* out = rowFromTop(*plateImage, y);
        for (int x = 0; x < width; ++x) out[x] = plateValue(rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2], plate, keep);
    }
    const PxlImageId result = plateImage->id;
    plateImage.release();
    PXLFillDIBColorTable(result);
    return result;
}
