#include "formats/twenty_four_bit_source.h"

#include <cstring>

#include "core/bitmap_math.h"
#include "core/pixel_rows.h"

namespace pixmill {

TwentyFourBitSource::TwentyFourBitSource(PxlImageId image) {
    if (image == 0) return;
    copyId_ = PXLColorConvert(image, 24, 0, 0, 0, nullptr, nullptr);
    if (copyId_ == 0) return;
    copy_ = lockImage(copyId_, Access::Read);
    if (copy_ && (!copy_->header || copy_->bitCount() != 24)) copy_.release();
}

TwentyFourBitSource::~TwentyFourBitSource() {
    copy_.release();
    if (copyId_) PXLDeleteImage(copyId_);
}

void TwentyFourBitSource::getRow(uint8_t* row, int indexFromTop) {
    if (!copy_ || !row || indexFromTop < 0 || indexFromTop >= copy_->height()) return;
    const size_t stride = static_cast<size_t>(scanBytesForWidth(copy_->width(), 24));
    std::memcpy(row, rowFromTop(*copy_, indexFromTop), stride);
}

}  // namespace pixmill
