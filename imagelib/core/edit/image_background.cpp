// Telling background from picture: the rectangle that holds every non-background pixel, and
// whether an image is blank.
#include <algorithm>

#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

bool allBytesAre(const uint8_t* bytes, size_t count, uint8_t value) {
    return std::all_of(bytes, bytes + count, [value](uint8_t b) { return b == value; });
}

// The padding after a row's last pixel is not looked at.
bool rowIsBackground(const ImageRecord& image, int y, uint8_t background) {
    const uint8_t* row = rowFromTop(image, y);
    const int64_t usedBits = int64_t{image.width()} * image.bitCount();
    const size_t whole = static_cast<size_t>(usedBits / 8);
    const int tail = static_cast<int>(usedBits % 8);
    if (!allBytesAre(row, whole, background)) return false;
    const uint8_t mask = static_cast<uint8_t>(0xFF00 >> tail);
    return tail == 0 || ((row[whole] ^ background) & mask) == 0;
}

bool columnIsBackground(const ImageRecord& image, int x, int top, int bottom, int index) {
    for (int y = top; y <= bottom; ++y) {
        if (indexAt(rowFromTop(image, y), x, image.bitCount()) != index) return false;
    }
    return true;
}

}  // namespace

int16_t PXLGetOptimalRect(RECT* rect, PxlImageId id, int16_t backgroundIndex) {
    if (!rect) return 0;
    *rect = RECT{0, 0, 0, 0};
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header || !image->bits) return 0;
    const int width = image->width(), height = image->height(), bits = image->bitCount();
    *rect = RECT{0, 0, width - 1, height - 1};
    if (bits > 8) return 0;  // no index to call background
    const uint8_t background = repeatedIndexByte(bits, backgroundIndex);
    const int index = indexAt(&background, 0, bits);

    int bottom = height - 1;
    while (bottom >= 0 && rowIsBackground(*image, bottom, background)) --bottom;
    if (bottom < 0) {
        rect->bottom = bottom;  // above the top: nothing but background
        return 1;
    }
    int top = 0;
    while (rowIsBackground(*image, top, background)) ++top;
    int right = width - 1;
    while (columnIsBackground(*image, right, top, bottom, index)) --right;
    int left = 0;
    while (columnIsBackground(*image, left, top, bottom, index)) ++left;
    *rect = RECT{left, top, right, bottom};
    return 0;
}

int16_t PXLIsImageBlank(PxlImageId id, uint8_t fill) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header || !image->bits || image->bitCount() != 24) return 0;
    const size_t bytes = 3 * static_cast<size_t>(image->width());
    for (int y = 0; y < image->height(); ++y) {
        if (!allBytesAre(rowFromTop(*image, y), bytes, fill)) return 0;
    }
    return 1;
}
