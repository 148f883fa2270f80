// Mirroring an image in place, with the masks that cover it.
#include <algorithm>
#include <new>
#include <vector>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"
#include "core/edit/image_rotate.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

void swapRows(ImageRecord& image) {
    const size_t stride = static_cast<size_t>(scanBytesForWidth(image.width(), image.bitCount()));
    const int height = image.height();
    for (int y = 0; y < height / 2; ++y) {
        uint8_t* top = rowFromTop(image, y);
        std::swap_ranges(top, top + stride, rowFromTop(image, height - 1 - y));
    }
}

// Whole-byte pixels change places in the row itself.
void mirrorBytes(uint8_t* row, int width, int bytes) {
    if (bytes == 1) {
        std::reverse(row, row + width);
        return;
    }
    for (int left = 0, right = width - 1; left < right; ++left, --right) {
        std::swap_ranges(row + left * bytes, row + (left + 1) * bytes, row + right * bytes);
    }
}

// 1- and 4-bit pixels go through one byte each; the row's padding bits stay as they were.
void mirrorPacked(uint8_t* row, int width, int bits, std::vector<uint8_t>& unpacked) {
    for (int x = 0; x < width; ++x) unpacked[static_cast<size_t>(x)] = indexAt(row, x, bits);
    std::reverse(unpacked.begin(), unpacked.begin() + width);
    const uint8_t all = static_cast<uint8_t>((1 << bits) - 1);
    for (int x = 0; x < width; ++x) {
        const int perByte = 8 / bits;
        const int shift = (perByte - 1 - x % perByte) * bits;
        uint8_t& byte = row[x / perByte];
        byte = static_cast<uint8_t>((byte & ~(all << shift)) | (unpacked[static_cast<size_t>(x)] << shift));
    }
}

// False, with nothing changed, when the row buffer cannot be had.
bool mirrorRows(ImageRecord& image) {
    const int bits = image.bitCount();
    const int width = image.width();
    std::vector<uint8_t> unpacked;
    if (bits < 8) {
        try {
            unpacked.resize(static_cast<size_t>(width));
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    for (int y = 0; y < image.height(); ++y) {
        uint8_t* row = rowFromTop(image, y);
        if (bits < 8) {
            mirrorPacked(row, width, bits, unpacked);
        } else {
            mirrorBytes(row, width, bits / 8);
        }
    }
    return true;
}

}  // namespace

int16_t PXLFlipImage(PxlImageId id, int16_t flags) {
    ImageLock image = lockImage(id, Access::Write);
    if (!image || !image->header || !image->bits) return 0;
    flags &= PXL_FLIP_LEFT_RIGHT | PXL_FLIP_TOP_BOTTOM;
    if (flags == 0) return 1;
    if ((flags & PXL_FLIP_LEFT_RIGHT) && !mirrorRows(*image)) return 0;
    if (flags & PXL_FLIP_TOP_BOTTOM) swapRows(*image);
    // A mirrored copy of the rotated picture is not the mirrored picture rotated (a single mirror
    // turns the other way), so the copy is made again when needed.
    dropRotatedCopy(*image);
    const PxlImageId mask = image->mask;
    const PxlImageId transparency = image->transparencyImage;
    if (mask) PXLFlipImage(mask, flags);
    if (transparency && transparency != mask) PXLFlipImage(transparency, flags);
    return 1;
}
