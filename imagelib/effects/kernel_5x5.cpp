// The convolution keeps unmodified copies of the five rows around the one it writes, each padded
// with two repeated edge pixels on both sides so no column needs clamping. Every non-zero weight
// adds its whole shifted row into the sums at once, which the compiler turns into vector code.
#include "effects/kernel_5x5.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "core/rows/bitmap_math.h"

namespace pixmill::effects {

namespace {

constexpr int kPad = 2;
constexpr int kBytesPerPixel = 3;

struct Tap {
    int row;     // 0..4
    int column;  // 0..4
    int weight;
};

std::vector<Tap> tapsOf(const EffectKernel& kernel) {
    std::vector<Tap> taps;
    for (int r = 0; r < 5; ++r) {
        for (int k = 0; k < 5; ++k) {
            if (kernel.weights[r * 5 + k] != 0) taps.push_back({r, k, kernel.weights[r * 5 + k]});
        }
    }
    return taps;
}

class RowWindow {
public:
    RowWindow(const ImageRecord& image)
        : bits_(image.bits),
          width_(image.width()),
          height_(image.height()),
          stride_(static_cast<size_t>(scanBytesForWidth(image.width(), 24))),
          paddedBytes_(static_cast<size_t>(width_ + 2 * kPad) * kBytesPerPixel),
          storage_(5 * paddedBytes_) {
        for (int r = 0; r < 5; ++r) {
            slots_[r] = storage_.data() + r * paddedBytes_;
            load(slots_[r], r - 2);
        }
    }

    // Row r (0..4) of the window, its pixel 0 being two pixels left of the image's first.
    const uint8_t* row(int r) const { return slots_[r]; }

    // The window of row i + 1 after row i was written: the rows shift and row i + 3 comes in.
    void advance(int i) {
        uint8_t* oldest = slots_[0];
        std::rotate(slots_.begin(), slots_.begin() + 1, slots_.end());
        slots_[4] = oldest;
        load(oldest, i + 3);
    }

private:
    void load(uint8_t* slot, int storedRow) {
        const int row = std::clamp(storedRow, 0, height_ - 1);
        const uint8_t* source = bits_ + stride_ * static_cast<size_t>(row);
        std::memcpy(slot + kPad * kBytesPerPixel, source, static_cast<size_t>(width_) * kBytesPerPixel);
        for (int p = 0; p < kPad; ++p) {
            std::memcpy(slot + p * kBytesPerPixel, source, kBytesPerPixel);
            std::memcpy(slot + (kPad + width_ + p) * kBytesPerPixel,
                        source + static_cast<size_t>(width_ - 1) * kBytesPerPixel, kBytesPerPixel);
        }
    }

    const uint8_t* bits_;
    int width_;
    int height_;
    size_t stride_;
    size_t paddedBytes_;
    std::vector<uint8_t> storage_;
    std::array<uint8_t*, 5> slots_{};
};

// Weights of +1 and -1 (most taps of the library's kernels) need no multiplication, and weights
// up to 128 keep each product in 16 bits; both run wider in vector code than 32-bit products.
void addTap(int32_t* sums, const uint8_t* source, int weight, size_t count) {
    if (weight == 1) {
        for (size_t j = 0; j < count; ++j) sums[j] += source[j];
    } else if (weight == -1) {
        for (size_t j = 0; j < count; ++j) sums[j] -= source[j];
    } else if (weight >= -128 && weight <= 128) {
        const int16_t w = static_cast<int16_t>(weight);
        for (size_t j = 0; j < count; ++j) sums[j] += static_cast<int16_t>(w * static_cast<int16_t>(source[j]));
    } else {
        for (size_t j = 0; j < count; ++j) sums[j] += weight * source[j];
    }
}

void greyRow(int32_t* sums, int width) {
    for (int x = 0; x < width; ++x) {
        int32_t* s = sums + static_cast<size_t>(x) * 3;
        s[0] = s[1] = s[2] = (s[0] + s[1] + s[2]) / 3;
    }
}

// Integer division towards zero through doubles, which vectorise where integer division does
// not. Exact: the quotient of two integers below 2^31 is correctly rounded, and a quotient that is
// not whole lies at least 1/divisor from the next whole number, far beyond the rounding.
void divideRow(int32_t* sums, size_t count, int divisor) {
    const double d = divisor;
    for (size_t j = 0; j < count; ++j) sums[j] = static_cast<int32_t>(sums[j] / d);
}

void writeRow(uint8_t* out, int32_t* sums, int width, const EffectKernel& kernel) {
    const size_t count = static_cast<size_t>(width) * 3;
    if (kernel.grey) greyRow(sums, width);
    if (kernel.divisor > 1) divideRow(sums, count, kernel.divisor);
    const int32_t blue = kernel.blue, green = kernel.green, red = kernel.red;
    for (int x = 0; x < width; ++x) {
        const int32_t* s = sums + static_cast<size_t>(x) * 3;
        out[3 * x] = static_cast<uint8_t>(std::clamp<int32_t>(s[0] + blue, 0, 255));
        out[3 * x + 1] = static_cast<uint8_t>(std::clamp<int32_t>(s[1] + green, 0, 255));
        out[3 * x + 2] = static_cast<uint8_t>(std::clamp<int32_t>(s[2] + red, 0, 255));
    }
}

}  // namespace

bool applyKernel5x5(ImageRecord& image, const EffectKernel& kernel, const RowProgress& progress) {
    if (!image.header || !image.bits || image.bitCount() != 24) return false;
    const int width = image.width();
    const size_t rowBytes = static_cast<size_t>(width) * kBytesPerPixel;
    const size_t stride = static_cast<size_t>(scanBytesForWidth(width, 24));
    try {
        const std::vector<Tap> taps = tapsOf(kernel);
        RowWindow window(image);
        std::vector<int32_t> sums(rowBytes);
        for (int i = 0; i < image.height(); ++i) {
            std::fill(sums.begin(), sums.end(), 0);
            for (const Tap& tap : taps) {
                addTap(sums.data(), window.row(tap.row) + tap.column * kBytesPerPixel, tap.weight, rowBytes);
            }
            writeRow(image.bits + stride * static_cast<size_t>(i), sums.data(), width, kernel);
            window.advance(i);
            if (progress) progress();
        }
    } catch (const std::bad_alloc&) {
        return false;  // the buffers are made before any row is written
    }
    return true;
}

}  // namespace pixmill::effects
