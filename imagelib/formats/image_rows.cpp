#include "formats/image_rows.h"

#include <algorithm>
#include <cstring>

#include "core/rows/bitmap_math.h"
#include "core/rows/pixel_rows.h"

namespace pixmill {

int16_t ImageRowSink::putRow(const uint8_t* row, int indexFromTop) {
    if (!loadContinues()) return kCodecStopped;
    if (indexFromTop < 0 || indexFromTop >= image_.height() || !row) return kCodecOk;
    uint8_t* target = rowFromTop(image_, indexFromTop);
    if (row == target) return kCodecOk;  // decoded in place, into the row lent
    const size_t stride = static_cast<size_t>(scanBytesForWidth(image_.width(), image_.bitCount()));
    std::memcpy(target, row, std::min<size_t>(stride, layout_.stride));
    return kCodecOk;
}

uint8_t* ImageRowSink::rowTarget(int indexFromTop, size_t bytes) {
    if (indexFromTop < 0 || indexFromTop >= image_.height() || layout_.depth != image_.bitCount()) {
        return nullptr;
    }
    const size_t stride = static_cast<size_t>(scanBytesForWidth(image_.width(), image_.bitCount()));
    return bytes <= stride && bytes <= layout_.stride ? rowFromTop(image_, indexFromTop) : nullptr;
}

void ImageRowSource::getRow(uint8_t* row, int indexFromTop) {
    if (indexFromTop < 0 || indexFromTop >= image_.height() || !row) return;
    const size_t stride = static_cast<size_t>(scanBytesForWidth(image_.width(), image_.bitCount()));
    std::memcpy(row, rowFromTop(image_, indexFromTop), stride);
}

PreviewRowSink::PreviewRowSink(ImageRecord& target, const RowLayout& source) : target_(target), source_(source) {
    columns_.resize(static_cast<size_t>(target.width()));
    for (int x = 0; x < target.width(); ++x) {
        columns_[x] = static_cast<int>(int64_t{x} * source.width / target.width());
    }
}

int16_t PreviewRowSink::putRow(const uint8_t* row, int indexFromTop) {
    if (!loadContinues()) return kCodecStopped;
    if (indexFromTop < 0 || indexFromTop >= source_.height || !row) return kCodecOk;
    // The target rows whose nearest source row this is: floor(ty * sourceHeight / targetHeight) == index.
    const int64_t th = target_.height(), sh = source_.height;
    const int64_t first = (int64_t{indexFromTop} * th + sh - 1) / sh;
    const int64_t end = std::min(th, ((int64_t{indexFromTop} + 1) * th + sh - 1) / sh);
    for (int64_t ty = first; ty < end; ++ty) {
        uint8_t* out = rowFromTop(target_, static_cast<int>(ty));
        for (int x = 0; x < target_.width(); ++x) copyPixel(row, columns_[x], out, x, source_.depth);
    }
    return kCodecOk;
}

}  // namespace pixmill
