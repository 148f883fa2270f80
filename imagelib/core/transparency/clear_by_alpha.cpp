// Clearing an image around and through an alpha image laid over it.
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/registry/image_registry.h"
#include "core/edit/image_rotate.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

constexpr uint8_t kFullyTransparent = 255;

void clearPixel(uint8_t* row, int x, int bits, COLORREF colour) {
    if (bits == 8) {
        row[x] = static_cast<uint8_t>(colour & 0xFF);
        return;
    }
    row[3 * x] = GetBValue(colour);
    row[3 * x + 1] = GetGValue(colour);
    row[3 * x + 2] = GetRValue(colour);
}

}  // namespace

int16_t PXLImageClearByAlpha(PxlImageId id, PxlImageId alphaId, int32_t x, int32_t y, COLORREF colour) {
    if (id == 0 || alphaId == 0) return 0;
    auto [image, alpha] = lockImages(id, Access::Write, alphaId, Access::Read);
    if (!image || !alpha || !image->header || !alpha->header || !image->bits || !alpha->bits) return 0;
    const int bits = image->bitCount();
    if ((bits != 8 && bits != 24) || alpha->bitCount() != 8) return 0;
    // The image pixels under the alpha image: columns [left, right), rows [top, bottom).
    const int64_t left = std::clamp<int64_t>(x, 0, image->width());
    const int64_t right = std::clamp<int64_t>(int64_t{x} + alpha->width(), left, image->width());
    const int64_t top = std::clamp<int64_t>(y, 0, image->height());
    const int64_t bottom = std::clamp<int64_t>(int64_t{y} + alpha->height(), top, image->height());
    // An image may be its own alpha: each alpha row is read before the image row is written.
    const bool ownAlpha = id == alphaId;
    std::vector<uint8_t> alphaRow(ownAlpha ? static_cast<size_t>(alpha->width()) : 0);
    for (int row = 0; row < image->height(); ++row) {
        uint8_t* out = rowFromTop(*image, row);
        const bool overlapRow = row >= top && row < bottom;
        const uint8_t* a = nullptr;
        if (overlapRow) {
            a = rowFromTop(*alpha, static_cast<int>(row - y));
            if (ownAlpha) a = static_cast<const uint8_t*>(std::memcpy(alphaRow.data(), a, alphaRow.size()));
        }
        for (int col = 0; col < image->width(); ++col) {
            const bool under = overlapRow && col >= left && col < right;
            if (!under || a[col - x] == kFullyTransparent) clearPixel(out, col, bits, colour);
        }
    }
    dropRotatedCopy(*image);
    return 1;
}
