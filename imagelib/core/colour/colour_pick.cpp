// Reading colours and palette indexes out of an image.
#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

bool inside(const ImageRecord& image, int64_t x, int64_t y) {
    return x >= 0 && y >= 0 && x < image.width() && y < image.height();
}

}  // namespace

int32_t PXLSuckColor(PxlImageId id, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header || !image->bits) return -1;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    // A rectangle is sampled only when one of its corners lies on the picture.
    if (!inside(*image, left, top) && !inside(*image, right, top) && !inside(*image, left, bottom) &&
        !inside(*image, right, bottom)) {
        return -1;
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image->width() - 1);
    bottom = std::min(bottom, image->height() - 1);
    std::vector<uint8_t> rgb;
    try {
        rgb.resize(static_cast<size_t>(image->width()) * 3);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    int64_t red = 0, green = 0, blue = 0;
    for (int y = top; y <= bottom; ++y) {
        readRowRgb(*image, y, rgb.data());
        for (int x = left; x <= right; ++x) {
            red += rgb[3 * static_cast<size_t>(x)];
            green += rgb[3 * static_cast<size_t>(x) + 1];
            blue += rgb[3 * static_cast<size_t>(x) + 2];
        }
    }
    const int64_t count = (int64_t{right} - left + 1) * (int64_t{bottom} - top + 1);
    return static_cast<int32_t>(RGB(red / count, green / count, blue / count));
}

int16_t PXLSuckColorIndex(PxlImageId id, int16_t x, int16_t y) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header || !image->bits || image->bitCount() > 8) return -1;
    if (!inside(*image, x, y)) return -1;
    return indexAt(rowFromTop(*image, y), x, image->bitCount());
}
