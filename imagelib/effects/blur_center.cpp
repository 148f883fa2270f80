// The softening blur: a tent filter (weights rising linearly to the centre pixel) of a radius of
// `degree` pixels, run across the rows and then down the columns. Each row's horizontal pass is
// kept in a ring of 2 * radius + 1 rows, so a row is read before any row it feeds is written and
// the blur may work in place.
#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"

using namespace pixmill;

namespace {

constexpr int kMinDegree = 1;
constexpr int kMaxDegree = 5;

class TentBlur {
public:
    TentBlur(int radius, int width, int height, int channels)
        : radius_(radius),
          height_(height),
          channels_(channels),
          rowValues_(static_cast<size_t>(width) * static_cast<size_t>(channels)),
          ring_(static_cast<size_t>(2 * radius + 1) * rowValues_),
          padded_(rowValues_ + 2 * static_cast<size_t>(radius) * static_cast<size_t>(channels)) {}

    // Blurs `source` into `target` (which may be the same bits), rows `stride` bytes apart.
    void run(const uint8_t* source, uint8_t* target, size_t stride) {
        const uint32_t total = static_cast<uint32_t>((radius_ + 1) * (radius_ + 1) * (radius_ + 1) * (radius_ + 1));
        std::vector<uint32_t> sums(rowValues_);
        int loaded = 0;
        for (int y = 0; y < height_; ++y) {
            for (; loaded <= std::min(height_ - 1, y + radius_); ++loaded) {
                horizontal(source + stride * static_cast<size_t>(loaded), ringRow(loaded));
            }
            std::fill(sums.begin(), sums.end(), 0);
            for (int j = -radius_; j <= radius_; ++j) {
                const uint16_t* row = ringRow(std::clamp(y + j, 0, height_ - 1));
                const uint32_t weight = static_cast<uint32_t>(radius_ + 1 - std::abs(j));
                for (size_t i = 0; i < rowValues_; ++i) sums[i] += weight * row[i];
            }
            uint8_t* out = target + stride * static_cast<size_t>(y);
            for (size_t i = 0; i < rowValues_; ++i) out[i] = static_cast<uint8_t>((sums[i] + total / 2) / total);
        }
    }

private:
    uint16_t* ringRow(int row) {
        return ring_.data() + static_cast<size_t>(row % (2 * radius_ + 1)) * rowValues_;
    }

    // The row with `radius` repeated edge pixels on both sides, then each tap added whole.
    void horizontal(const uint8_t* row, uint16_t* out) {
        const size_t edge = static_cast<size_t>(radius_) * static_cast<size_t>(channels_);
        for (int p = 0; p < radius_; ++p) {
            std::copy_n(row, channels_, padded_.begin() + p * channels_);
            std::copy_n(row + rowValues_ - channels_, channels_, padded_.begin() + edge + rowValues_ + p * channels_);
        }
        std::copy_n(row, rowValues_, padded_.begin() + edge);
        std::fill_n(out, rowValues_, 0);
        for (int j = -radius_; j <= radius_; ++j) {
            const uint16_t weight = static_cast<uint16_t>(radius_ + 1 - std::abs(j));
            const uint8_t* source = padded_.data() + static_cast<size_t>(j + radius_) * channels_;
            for (size_t i = 0; i < rowValues_; ++i) out[i] = static_cast<uint16_t>(out[i] + weight * source[i]);
        }
    }

    int radius_;
    int height_;
    int channels_;
    size_t rowValues_;
    std::vector<uint16_t> ring_;
    std::vector<uint8_t> padded_;
};

bool blurrable(const ImageRecord& source, const ImageRecord& target) {
    if (!source.header || !source.bits || !target.header || !target.bits) return false;
    const int bits = source.bitCount();
    return (bits == 24 || bits == 32) && target.bitCount() == bits && target.width() == source.width() &&
           target.height() == source.height();
}

int blur(const ImageRecord& source, ImageRecord& target, int degree) {
    if (!blurrable(source, target)) return 0;
    const int channels = source.bitCount() / 8;
    try {
        TentBlur filter(degree, source.width(), source.height(), channels);
        filter.run(source.bits, target.bits, static_cast<size_t>(scanBytesForWidth(source.width(), source.bitCount())));
    } catch (const std::bad_alloc&) {
        return 0;  // thrown before the first row is written
    }
    return 1;
}

}  // namespace

PXL_API int IPLBlurCenter(short source, short target, int degree) {
    if (degree < kMinDegree || degree > kMaxDegree) return 0;
    if (source == target) {
        ImageLock image = lockImage(source, Access::Write);
        return image ? blur(*image, *image, degree) : 0;
    }
    auto [from, to] = lockImages(source, Access::Read, target, Access::Write);
    return from && to ? blur(*from, *to, degree) : 0;
}
