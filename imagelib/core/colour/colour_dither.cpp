// Dithered conversion rows: a reader turns a source row into a buffer with two guard pixels at
// each end, a ditherer changes the buffer (ordered thresholds, or error pushed on to the right and
// into the next row), and a writer packs the result into the target row.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/colour/colour_conversion.h"
#include "core/colour/dither_matrix.h"
#include "core/rows/pixel_rows.h"

namespace pixmill {
namespace {

constexpr int kGuard = 2;

inline uint8_t clamp255(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// Adds a share of an error, rounding toward minus infinity as an arithmetic shift does.
inline void addShare(uint8_t& value, int weightedError, int shift) { value = clamp255(value + (weightedError >> shift)); }

// One (offset, weight) of an error-diffusion kernel: the share is (weight * e) >> shift.
struct Share {
    int dx;
    int weight;
};
struct Kernel {
    int shift;
    std::vector<Share> thisRow;
    std::vector<Share> nextRow;
};

const Kernel& kernelFor(Dither dither) {
    static const Kernel floydSteinberg{4, {{1, 7}}, {{-1, 3}, {0, 5}, {1, 1}}};
    static const Kernel burkes{5, {{1, 8}, {2, 4}}, {{-2, 2}, {-1, 4}, {0, 8}, {1, 4}, {2, 2}}};
    return dither == Dither::Burkes ? burkes : floydSteinberg;
}

// For the 4-bit ordered dither: each entry's nearest brighter and nearest darker (or equally
// bright) other entry by the sum of channel differences; an entry without one is its own.
struct Neighbours {
    std::array<uint8_t, 256> brighter{};
    std::array<uint8_t, 256> darker{};
};

int channelSum(const RGBQUAD& c) { return c.rgbRed + c.rgbGreen + c.rgbBlue; }

int distanceL1(const RGBQUAD& a, const RGBQUAD& b) {
    return std::abs(a.rgbRed - b.rgbRed) + std::abs(a.rgbGreen - b.rgbGreen) + std::abs(a.rgbBlue - b.rgbBlue);
}

Neighbours neighboursOf(const ColourConversion& c) {
    Neighbours n;
    for (int i = 0; i < c.paletteSize; ++i) {
        const RGBQUAD& entry = c.targetPalette[i];
        int brighterDistance = 300, darkerDistance = 300;
        n.brighter[i] = n.darker[i] = static_cast<uint8_t>(i);
        for (int j = 0; j < c.paletteSize; ++j) {
            const int d = distanceL1(entry, c.targetPalette[j]);
            if (j == i || d == 0) continue;
            const bool isBrighter = channelSum(c.targetPalette[j]) > channelSum(entry);
            int& best = isBrighter ? brighterDistance : darkerDistance;
            if (d < best) {
                best = d;
                (isBrighter ? n.brighter[i] : n.darker[i]) = static_cast<uint8_t>(j);
            }
        }
    }
    return n;
}

class DitherPass {
public:
    DitherPass(const ColourConversion& c, const SourceRow& source, uint8_t* target, int32_t stride,
               const RowDone& done)
        : c_(c), source_(source), target_(target), stride_(stride), done_(done),
          channels_(c.targetClass == 1 ? 1 : 3),
          current_(static_cast<size_t>(channels_) * (c.width + 2 * kGuard)),
          next_(current_.size()) {
        if (c.targetClass == 1 && c.sourceHasPalette()) {
            for (int i = 0; i < 256; ++i) {
                const RGBQUAD& e = c.sourcePalette[i];
                bilevelGrey_[i] = static_cast<uint8_t>(std::min(255, greyWeighted(e.rgbRed, e.rgbGreen, e.rgbBlue) / 90));
            }
        }
        if (c.targetClass == 4 && c.dither == Dither::Ordered) neighbours_ = neighboursOf(c);
    }

    void run() {
        if (c_.dither == Dither::Ordered) {
            for (int y = 0; y < c_.height; ++y) {
                read(y, current_);
                orderedRow(y);
                write(y, current_);
            }
            return;
        }
        // The first row is dithered once against a copy of itself; the copy, carrying the
        // pushed error, then starts the image.
        read(0, current_);
        read(0, next_);
        diffuseRow();
        std::swap(current_, next_);
        for (int y = 0; y < c_.height; ++y) {
            if (y + 1 < c_.height) read(y + 1, next_);
            diffuseRow();
            write(y, current_);
            std::swap(current_, next_);
        }
    }

private:
    uint8_t* at(std::vector<uint8_t>& row, int x) { return row.data() + static_cast<size_t>(channels_) * (x + kGuard); }

    void read(int y, std::vector<uint8_t>& row) {
        const uint8_t* in = source_(y);
        if (channels_ == 1) readGrey(in, row);
        else readColour(in, row);
        for (int g = 1; g <= kGuard; ++g) {
            std::copy_n(at(row, 0), channels_, at(row, -g));
            std::copy_n(at(row, c_.width - 1), channels_, at(row, c_.width - 1 + g));
        }
    }

    void readGrey(const uint8_t* in, std::vector<uint8_t>& row) {
        uint8_t* out = at(row, 0);
        if (c_.sourceHasPalette()) {
            for (int x = 0; x < c_.width; ++x) out[x] = bilevelGrey_[indexAt(in, x, c_.sourceClass)];
            return;
        }
        for (int x = 0; x < c_.width; ++x, in += 3)
            out[x] = static_cast<uint8_t>(std::min(255, greyWeighted(in[2], in[1], in[0]) / 85));
    }

    void readColour(const uint8_t* in, std::vector<uint8_t>& row) {
        uint8_t* out = at(row, 0);
        if (!c_.sourceHasPalette()) {
            std::copy_n(in, static_cast<size_t>(c_.width) * 3, out);
            return;
        }
        for (int x = 0; x < c_.width; ++x, out += 3) {
            const RGBQUAD& e = c_.sourcePalette[indexAt(in, x, c_.sourceClass)];
            out[0] = e.rgbBlue;
            out[1] = e.rgbGreen;
            out[2] = e.rgbRed;
        }
    }

    void write(int y, std::vector<uint8_t>& row) {
        uint8_t* out = target_ + static_cast<size_t>(y) * static_cast<size_t>(stride_);
        for (int x = 0; x < c_.width; ++x) {
            const uint8_t* pixel = at(row, x);
            if (channels_ == 1) {
                if (*pixel) out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
            } else {
                putIndex(out, x, c_.inverseOf(pixel), c_.targetClass);
            }
        }
        done_();
    }

    void orderedRow(int y) {
        for (int x = 0; x < c_.width; ++x) {
            const int t = orderedThreshold(x, y);
            uint8_t* pixel = at(current_, x);
            if (c_.targetClass == 1) orderedBilevel(*pixel, t);
            else if (c_.targetClass == 8) orderedEightBit(pixel, t);
            else orderedFourBit(pixel, t);
        }
    }

    static void orderedBilevel(uint8_t& v, int t) { v = (v > 4 && v <= 250 && t < (v >> 2)) || v > 250 ? 1 : 0; }

    // Each channel far enough from the palette colour is pushed as far again beyond it.
    void orderedEightBit(uint8_t* pixel, int t) const {
        const RGBQUAD& p = c_.targetPalette[c_.inverseOf(pixel)];
        const int target[3] = {p.rgbBlue, p.rgbGreen, p.rgbRed};
        for (int ch = 0; ch < 3; ++ch) {
            const int d = pixel[ch] - target[ch];
            if (t < std::abs(d)) pixel[ch] = clamp255(pixel[ch] + d);
        }
    }

    // A pixel far enough from its palette colour takes the neighbouring entry on its own side:
    // the brighter one when it is brighter than the entry, else the darker one.
    void orderedFourBit(uint8_t* pixel, int t) const {
        const uint8_t index = c_.inverseOf(pixel);
        const RGBQUAD& p = c_.targetPalette[index];
        const int mean = (std::abs(pixel[0] - p.rgbBlue) + std::abs(pixel[1] - p.rgbGreen) +
                          std::abs(pixel[2] - p.rgbRed)) / 3;
        if (t >= (mean >> 2)) return;
        const bool brighter = pixel[0] + pixel[1] + pixel[2] > channelSum(p);
        const RGBQUAD& n = c_.targetPalette[brighter ? neighbours_.brighter[index] : neighbours_.darker[index]];
        pixel[0] = n.rgbBlue;
        pixel[1] = n.rgbGreen;
        pixel[2] = n.rgbRed;
    }

    void diffuseRow() {
        const Kernel& kernel = kernelFor(c_.dither);
        for (int x = 0; x < c_.width; ++x) {
            int error[3];
            uint8_t* pixel = at(current_, x);
            if (channels_ == 1) {
                error[0] = *pixel >= 128 ? *pixel - 255 : *pixel;
                *pixel = *pixel >= 128 ? 1 : 0;
            } else {
                const RGBQUAD& p = c_.targetPalette[c_.inverseOf(pixel)];
                error[0] = pixel[0] - p.rgbBlue;
                error[1] = pixel[1] - p.rgbGreen;
                error[2] = pixel[2] - p.rgbRed;
            }
            for (int ch = 0; ch < channels_; ++ch) {
                for (const Share& s : kernel.thisRow) addShare(at(current_, x + s.dx)[ch], s.weight * error[ch], kernel.shift);
                for (const Share& s : kernel.nextRow) addShare(at(next_, x + s.dx)[ch], s.weight * error[ch], kernel.shift);
            }
        }
    }

    const ColourConversion& c_;
    const SourceRow& source_;
    uint8_t* target_;
    int32_t stride_;
    const RowDone& done_;
    int channels_;
    std::vector<uint8_t> current_;
    std::vector<uint8_t> next_;
    std::array<uint8_t, 256> bilevelGrey_{};
    Neighbours neighbours_;
};

}  // namespace

void convertDitheredRows(const ColourConversion& c, const SourceRow& source, uint8_t* target,
                         int32_t targetStride, const RowDone& done) {
    DitherPass(c, source, target, targetStride, done).run();
}

}  // namespace pixmill
