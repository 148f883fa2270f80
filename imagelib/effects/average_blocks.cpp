#include "effects/average_blocks.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "core/rows/pixel_rows.h"

namespace pixmill::effects {

namespace {

// Sums of one band of picture rows, three channels per block column.
void sumBand(const ImageRecord& image, int top, int bottom, int n, std::vector<int64_t>& sums) {
    std::fill(sums.begin(), sums.end(), 0);
    for (int y = top; y < bottom; ++y) {
        const uint8_t* row = rowFromTop(image, y);
        for (int x = 0; x < image.width(); ++x) {
            int64_t* block = &sums[static_cast<size_t>(x / n) * 3];
            for (int c = 0; c < 3; ++c) block[c] += row[3 * x + c];
        }
    }
}

void fillBand(ImageRecord& image, int top, int bottom, int n, const std::vector<int64_t>& sums,
              std::vector<uint8_t>& averages, const RowProgress& progress) {
    const int width = image.width();
    for (size_t b = 0; b < sums.size() / 3; ++b) {
        const int left = static_cast<int>(b) * n;
        const int64_t count = static_cast<int64_t>(std::min(n, width - left)) * (bottom - top);
        for (int c = 0; c < 3; ++c) averages[b * 3 + c] = static_cast<uint8_t>(sums[b * 3 + c] / count);
    }
    for (int y = top; y < bottom; ++y) {
        uint8_t* row = rowFromTop(image, y);
        for (int x = 0; x < width; ++x) std::copy_n(&averages[static_cast<size_t>(x / n) * 3], 3, row + 3 * x);
        if (progress) progress();
    }
}

}  // namespace

bool averageBlocks(ImageRecord& image, int blockSize, const RowProgress& progress) {
    if (!image.header || !image.bits || image.bitCount() != 24) return false;
    const int n = std::min(blockSize, image.height());
    if (n < 2) return true;
    const int columns = (image.width() + n - 1) / n;
    try {
        std::vector<int64_t> sums(static_cast<size_t>(columns) * 3);
        std::vector<uint8_t> averages(sums.size());
        for (int top = 0; top < image.height(); top += n) {
            const int bottom = std::min(top + n, image.height());
            sumBand(image, top, bottom, n, sums);
            fillBand(image, top, bottom, n, sums, averages, progress);
        }
    } catch (const std::bad_alloc&) {
        return false;  // thrown before the first row is written
    }
    return true;
}

}  // namespace pixmill::effects
