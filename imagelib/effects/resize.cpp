// The resampler behind the resize modes: nearest pixel, bilinear, and the covered-area average
// for reductions. Filtered modes work separably in fixed point: each source row is resampled
// across once, then the rows an output row needs are weighted down.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "core/bitmap_math.h"
#include "core/image_registry.h"
#include "core/pixel_rows.h"

using namespace pixmill;

namespace {

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;
// Across-resampled values keep 8 fraction bits, so two passes round once in the end.
constexpr int kAcrossShift = kWeightBits - 8;
constexpr int kDownShift = kWeightBits + 8;

// For each output pixel along one axis: the source pixels [first, first + count) and their weights
// (summing to kWeightOne), stored in rows of 'width' weights.
struct Taps {
    int width = 1;
    std::vector<int32_t> first;
    std::vector<int32_t> count;
    std::vector<int32_t> weights;

    explicit Taps(int outputs, int tapsEach)
        : width(tapsEach),
          first(static_cast<size_t>(outputs)),
          count(static_cast<size_t>(outputs)),
          weights(static_cast<size_t>(outputs) * static_cast<size_t>(tapsEach)) {}
    const int32_t* weightsOf(int i) const {
        return &weights[static_cast<size_t>(i) * static_cast<size_t>(width)];
    }
};

// The source pixel under the centre of output pixel i, as the display's stretch takes it.
int nearestSource(int i, int from, int to) {
    return static_cast<int>((int64_t{2} * i + 1) * from / (int64_t{2} * to));
}

// Output centres mapped onto source centres; the two pixels around each, linearly weighted, the
// edge pixel alone beyond the outer centres. With two source pixels or more every output has two
// taps inside the row (an edge pixel weighing all), so the across pass can take two for each.
Taps bilinearTaps(int from, int to) {
    Taps taps(to, 2);
    for (int i = 0; i < to; ++i) {
        // Position (2i + 1) * from / (2 * to) - 1/2, in units of 1 / (2 * to).
        const int64_t scaled = (int64_t{2} * i + 1) * from - to;
        const int64_t unit = int64_t{2} * to;
        int64_t left = scaled < 0 ? 0 : scaled / unit;
        int64_t right = scaled < 0 ? 0 : ((scaled % unit) * kWeightOne + unit / 2) / unit;
        if (left >= from - 1) {
            left = std::max(0, from - 2);
            right = from >= 2 ? kWeightOne : 0;
        }
        const size_t k = static_cast<size_t>(i);
        taps.first[k] = static_cast<int32_t>(left);
        taps.count[k] = from >= 2 ? 2 : 1;
        taps.weights[2 * k] = static_cast<int32_t>(kWeightOne - right);
        taps.weights[2 * k + 1] = static_cast<int32_t>(right);
    }
    return taps;
}

// Output pixel i covers source span [i * from / to, (i + 1) * from / to); each source pixel
// weighs as much of it as it covers. For reductions only (to < from).
Taps boxTaps(int from, int to) {
    const int64_t most = (from + to - 1) / to + 1;
    Taps taps(to, static_cast<int>(most));
    for (int i = 0; i < to; ++i) {
        // In units of 1 / to source pixel.
        const int64_t start = int64_t{i} * from, end = (int64_t{i} + 1) * from;
        const int64_t first = start / to, last = (end + to - 1) / to;  // [first, last)
        const size_t k = static_cast<size_t>(i);
        int32_t* w = &taps.weights[k * static_cast<size_t>(taps.width)];
        int32_t sum = 0, heaviest = 0;
        for (int64_t p = first; p < last; ++p) {
            const int64_t covered = std::min(end, (p + 1) * to) - std::max(start, p * to);
            const int t = static_cast<int>(p - first);
            w[t] = static_cast<int32_t>((covered * kWeightOne + from / 2) / from);
            sum += w[t];
            if (w[t] > w[heaviest]) heaviest = t;
        }
        w[heaviest] += kWeightOne - sum;  // rounding never loses brightness
        taps.first[k] = static_cast<int32_t>(first);
        taps.count[k] = static_cast<int32_t>(last - first);
    }
    return taps;
}

enum Mode { kNearest = 1, kBilinear = 2, kBox = 3 };

Taps filterTaps(int mode, int from, int to) {
    return mode == kBox && to < from ? boxTaps(from, to) : bilinearTaps(from, to);
}

// One output row from the across-resampled rows it needs, summed row by row.
void weighDown(const std::vector<const uint16_t*>& rows, const int32_t* weights, int count, size_t values,
               std::vector<uint32_t>& sums, uint8_t* out) {
    const uint16_t* first = rows[0];
    const uint32_t w0 = static_cast<uint32_t>(weights[0]);
    for (size_t e = 0; e < values; ++e) sums[e] = w0 * first[e];
    for (int t = 1; t < count; ++t) {
        const uint16_t* row = rows[static_cast<size_t>(t)];
        const uint32_t w = static_cast<uint32_t>(weights[t]);
        for (size_t e = 0; e < values; ++e) sums[e] += w * row[e];
    }
    for (size_t e = 0; e < values; ++e) {
        out[e] =
            static_cast<uint8_t>(std::min<uint32_t>(255, (sums[e] + (1u << (kDownShift - 1))) >> kDownShift));
    }
}

// One source row resampled across; Fixed taps per output when known (0: each output's count).
template <int C, int Fixed>
void weighAcross(const uint8_t* in, const Taps& taps, int outputs, uint16_t* out) {
    for (int x = 0; x < outputs; ++x) {
        const size_t k = static_cast<size_t>(x);
        const int32_t* w = taps.weightsOf(x);
        const uint8_t* p = in + static_cast<size_t>(taps.first[k]) * C;
        const int count = Fixed ? Fixed : taps.count[k];
        uint32_t sum[C] = {};
        for (int t = 0; t < count; ++t, p += C) {
            for (int c = 0; c < C; ++c) sum[c] += static_cast<uint32_t>(w[t]) * p[c];
        }
        for (int c = 0; c < C; ++c)
            out[x * C + c] = static_cast<uint16_t>((sum[c] + (1u << (kAcrossShift - 1))) >> kAcrossShift);
    }
}

template <int C>
void weighAcrossAny(const uint8_t* in, const Taps& taps, int outputs, uint16_t* out) {
    if (taps.width == 2 && taps.count[0] == 2) {  // bilinear over two pixels or more
        weighAcross<C, 2>(in, taps, outputs, out);
    } else {
        weighAcross<C, 0>(in, taps, outputs, out);
    }
}

// Resamples C-channel rows: fetch(y) gives source row y (from the top) as bytes, store(y, values)
// takes output row y. Source rows are resampled across once each and kept while output rows need
// them (the rows an output row needs only move down).
template <int C, class Fetch, class Store>
void resampleRows(const Taps& across, const Taps& down, int outWidth, int outHeight, Fetch fetch,
                  Store store) {
    const size_t rowValues = static_cast<size_t>(outWidth) * C;
    const int ring = down.width;
    std::vector<uint16_t> kept(rowValues * static_cast<size_t>(ring));
    std::vector<int> keptRow(static_cast<size_t>(ring), -1);
    std::vector<const uint16_t*> rows(static_cast<size_t>(ring));
    std::vector<uint32_t> sums(rowValues);
    std::vector<uint8_t> out(rowValues);
    for (int y = 0; y < outHeight; ++y) {
        const int first = down.first[static_cast<size_t>(y)];
        const int count = down.count[static_cast<size_t>(y)];
        for (int t = 0; t < count; ++t) {
            const int row = first + t;
            const size_t slot = static_cast<size_t>(row % ring);
            uint16_t* values = &kept[slot * rowValues];
            if (keptRow[slot] != row) {
                weighAcrossAny<C>(fetch(row), across, outWidth, values);
                keptRow[slot] = row;
            }
            rows[static_cast<size_t>(t)] = values;
        }
        weighDown(rows, down.weightsOf(y), count, rowValues, sums, out.data());
        store(y, out.data());
    }
}

// Nearest pixel at any depth: a gather of whole pixels, repeated rows copied.
void resampleNearest(const ImageRecord& source, ImageRecord& target) {
    const int bits = source.bitCount();
    const int width = target.width(), height = target.height();
    std::vector<int> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) columns[static_cast<size_t>(x)] = nearestSource(x, source.width(), width);
    const size_t stride = static_cast<size_t>(scanBytesForWidth(width, bits));
    int quick = 0;  // leading outputs that are not the row's last and read no source row's last pixel
    while (quick < width - 1 && columns[static_cast<size_t>(quick)] < source.width() - 1) ++quick;
    int previous = -1;
    for (int y = 0; y < height; ++y) {
        const int sy = nearestSource(y, source.height(), height);
        uint8_t* out = rowFromTop(target, y);
        if (sy == previous) {
            std::memcpy(out, rowFromTop(target, y - 1), stride);
            continue;
        }
        previous = sy;
        const uint8_t* in = rowFromTop(source, sy);
        if (bits == 24) {
            // Four bytes a pixel, the fourth overwritten by the next one, while both the source
            // and the output pixel have one after them in their row.
            int x = 0;
            for (; x < quick; ++x) std::memcpy(out + 3 * x, in + 3 * columns[static_cast<size_t>(x)], 4);
            for (; x < width; ++x) std::memcpy(out + 3 * x, in + 3 * columns[static_cast<size_t>(x)], 3);
        } else if (bits == 8) {
            for (int x = 0; x < width; ++x) out[x] = in[columns[static_cast<size_t>(x)]];
        } else {
            for (int x = 0; x < width; ++x) copyPixel(in, columns[static_cast<size_t>(x)], out, x, bits);
        }
    }
}

// 24- and 32-bit pixels are resampled as their bytes.
template <int C>
void resampleBytes(const ImageRecord& source, ImageRecord& target, int mode) {
    const Taps across = filterTaps(mode, source.width(), target.width());
    const Taps down = filterTaps(mode, source.height(), target.height());
    const size_t bytes = static_cast<size_t>(target.width()) * C;
    resampleRows<C>(
        across, down, target.width(), target.height(), [&](int y) { return rowFromTop(source, y); },
        [&](int y, const uint8_t* values) { std::memcpy(rowFromTop(target, y), values, bytes); });
}

// 16-bit pixels are widened to 8 bits a channel and rounded back to their fields.
void resample16(const ImageRecord& source, ImageRecord& target, int mode) {
    const bool is565 = source.infoHeader().biCompression == BI_BITFIELDS;
    const Taps across = filterTaps(mode, source.width(), target.width());
    const Taps down = filterTaps(mode, source.height(), target.height());
    std::vector<uint8_t> wide(static_cast<size_t>(source.width()) * 3);
    auto fetch = [&](int y) {
        widenRow16(rowFromTop(source, y), source.width(), is565, wide.data());
        return wide.data();
    };
    // The field value whose widened form lies nearest: widening sets the low bits, so 0 comes
    // back as 0 and full scale as full scale.
    const auto to5 = [](int v) { return std::max(0, v - 3) >> 3; };
    const auto to6 = [](int v) { return std::max(0, v - 1) >> 2; };
    auto store = [&](int y, const uint8_t* bgr) {
        uint8_t* out = rowFromTop(target, y);
        for (int x = 0; x < target.width(); ++x, bgr += 3) {
            const uint32_t v = is565 ? (to5(bgr[2]) << 11) | (to6(bgr[1]) << 5) | to5(bgr[0])
                                     : (to5(bgr[2]) << 10) | (to5(bgr[1]) << 5) | to5(bgr[0]);
            out[2 * x] = static_cast<uint8_t>(v);
            out[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        }
    };
    resampleRows<3>(across, down, target.width(), target.height(), fetch, store);
}

// 1-bit pixels are resampled as 0 and 255 and take the nearer index.
void resampleBilevel(const ImageRecord& source, ImageRecord& target, int mode) {
    const Taps across = filterTaps(mode, source.width(), target.width());
    const Taps down = filterTaps(mode, source.height(), target.height());
    std::vector<uint8_t> levels(static_cast<size_t>(source.width()));
    auto fetch = [&](int y) {
        const uint8_t* row = rowFromTop(source, y);
        for (int x = 0; x < source.width(); ++x)
            levels[static_cast<size_t>(x)] = indexAt(row, x, 1) ? 255 : 0;
        return levels.data();
    };
    auto store = [&](int y, const uint8_t* values) {
        uint8_t* out = rowFromTop(target, y);
        std::memset(out, 0, static_cast<size_t>(scanBytesForWidth(target.width(), 1)));
        for (int x = 0; x < target.width(); ++x) {
            if (values[x] >= 128) setMaskBit(out, x);
        }
    };
    resampleRows<1>(across, down, target.width(), target.height(), fetch, store);
}

bool sameFormat(const ImageRecord& a, const ImageRecord& b) {
    return a.bitCount() == b.bitCount() && a.infoHeader().biCompression == b.infoHeader().biCompression;
}

bool resample(const ImageRecord& source, ImageRecord& target, int mode) {
    if (mode == kNearest) {
        resampleNearest(source, target);
        return true;
    }
    switch (source.bitCount()) {
        case 1:
            resampleBilevel(source, target, mode);
            return true;
        case 16:
            resample16(source, target, mode);
            return true;
        case 24:
            resampleBytes<3>(source, target, mode);
            return true;
        case 32:
            resampleBytes<4>(source, target, mode);
            return true;
        default:
            return false;  // palette indexes have no values in between
    }
}

}  // namespace

int IPLResize(short sourceId, short targetId, int width, int height, int mode) {
    if (sourceId == 0 || targetId == 0 || sourceId == targetId) return 0;
    if (mode != kNearest && mode != kBilinear && mode != kBox) return 0;
    auto [source, target] = lockImages(sourceId, Access::Read, targetId, Access::Write);
    if (!source || !target || !source->header || !target->header || !source->bits || !target->bits) return 0;
    if (target->width() != width || target->height() != height || !sameFormat(*source, *target)) return 0;
    try {
        return resample(*source, *target, mode) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;  // nothing was written before the buffers were had
    }
}
