#include "formats/converted_image.h"

#include "core/rows/bitmap_math.h"

namespace pixmill {
namespace {

constexpr int16_t kPopularityPalette = 1;

}  // namespace

ConvertedImage::ConvertedImage(PxlImageId image, int bits) {
    if (image == 0) return;
    const int16_t paletteMode = bits <= 8 ? kPopularityPalette : 0;
    copy_ = PXLColorConvert(image, static_cast<int16_t>(bits), 0, paletteMode, 0, nullptr, nullptr);
    if (copy_ == 0) return;
    lock_ = lockImage(copy_, Access::Read);
    if (lock_ && lock_->header) rows_.emplace(*lock_);
    if (!rows_) lock_.release();
}

ConvertedImage::~ConvertedImage() {
    rows_.reset();
    lock_.release();
    if (copy_) PXLDeleteImage(copy_);
}

void ConvertedImage::describe(PxlCodecInfo& info) const {
    if (!ok()) return;
    const int bits = lock_->bitCount();
    info.bitsPerPixel = static_cast<int16_t>(bits);
    if (bits > 8) return;
    for (int i = 0; i < paletteSizeForBits(bits); ++i) {
        const RGBQUAD& c = lock_->colors()[i];
        info.setPaletteEntry(i, c.rgbRed, c.rgbGreen, c.rgbBlue);
    }
}

void ConvertedImage::getRow(uint8_t* row, int indexFromTop) {
    if (rows_) rows_->getRow(row, indexFromTop);
}

}  // namespace pixmill
