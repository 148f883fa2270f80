// The resampler behind the resize modes: nearest pixel, bilinear, and the covered-area average
// for reductions. Filtered modes work separably in fixed point: each source row is resampled
// across once, then the rows an output row needs are weighted down.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"
#include "effects/resample_rows.h"
#include "effects/resize.h"

using namespace pixmill;

namespace {

using namespace pixmill::resample;

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
    taps.pairUp();
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

// The source rows resampled across, in the order resampleRows takes them: each row any output row
// needs, once, going down (the rows an output row needs only move down, and a row stays kept until
// every output row that needs it is done).
std::vector<int> rowsAcross(const Taps& down, int outHeight) {
    std::vector<int> order;
    for (int y = 0; y < outHeight; ++y) {
        const int first = down.first[static_cast<size_t>(y)];
        for (int t = 0; t < down.count[static_cast<size_t>(y)]; ++t) {
            if (order.empty() || first + t > order.back()) order.push_back(first + t);
        }
    }
    return order;
}

// Resamples C-channel rows: fetch(y) gives source row y (from the top) as inWidth pixels of bytes,
// store(y, values) takes output row y. Source rows are resampled across once each and kept while
// output rows need them. peek(y) is source row y as stored when fetch gives it as it is (else
// null): the row after is asked for while one is read.
template <int C, class Fetch, class Store, class Peek>
void resampleRows(const Taps& across, const Taps& down, int inWidth, int outWidth, int outHeight, Fetch fetch,
                  Store store, Peek peek, RowLoops loops) {
    const size_t rowValues = static_cast<size_t>(outWidth) * C;
    const int ring = down.width;
    std::vector<uint16_t> kept(rowValues * static_cast<size_t>(ring));
    std::vector<int> keptRow(static_cast<size_t>(ring), -1);
    std::vector<const uint16_t*> rows(static_cast<size_t>(ring));
    std::vector<uint32_t> sums(rowValues);
    std::vector<uint8_t> out(rowValues);
    const std::vector<int> order = rowsAcross(down, outHeight);
    size_t fetched = 0;
    for (int y = 0; y < outHeight; ++y) {
        const int first = down.first[static_cast<size_t>(y)];
        const int count = down.count[static_cast<size_t>(y)];
        for (int t = 0; t < count; ++t) {
            const int row = first + t;
            const size_t slot = static_cast<size_t>(row % ring);
            uint16_t* values = &kept[slot * rowValues];
            if (keptRow[slot] != row) {
                ++fetched;
                const uint8_t* next = fetched < order.size() ? peek(order[fetched]) : nullptr;
                weighAcross(C, fetch(row), inWidth, across, outWidth, values, loops, next);
                keptRow[slot] = row;
            }
            rows[static_cast<size_t>(t)] = values;
        }
        weighDown(rows.data(), down.weightsOf(y), count, rowValues, sums.data(), out.data(), loops);
        store(y, out.data());
    }
}

// For rows fetched through a conversion: nothing of the source to ask for ahead.
const uint8_t* noPeek(int) {
    return nullptr;
}

// Nearest pixel at any depth: a gather of whole pixels, repeated rows copied.
void resampleNearest(const ImageRecord& source, ImageRecord& target, RowLoops loops) {
    const int bits = source.bitCount();
    const int width = target.width(), height = target.height();
    std::vector<int> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) columns[static_cast<size_t>(x)] = nearestSource(x, source.width(), width);
    const size_t stride = static_cast<size_t>(scanBytesForWidth(width, bits));
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
            gather24(in, source.width(), columns.data(), width, out, loops);
        } else if (bits == 8) {
            for (int x = 0; x < width; ++x) out[x] = in[columns[static_cast<size_t>(x)]];
        } else {
            for (int x = 0; x < width; ++x) copyPixel(in, columns[static_cast<size_t>(x)], out, x, bits);
        }
    }
}

// 24- and 32-bit pixels are resampled as their bytes.
template <int C>
void resampleBytes(const ImageRecord& source, ImageRecord& target, int mode, RowLoops loops) {
    const Taps across = filterTaps(mode, source.width(), target.width());
    const Taps down = filterTaps(mode, source.height(), target.height());
    const size_t bytes = static_cast<size_t>(target.width()) * C;
    const auto sourceRow = [&](int y) { return rowFromTop(source, y); };
    resampleRows<C>(
        across, down, source.width(), target.width(), target.height(), sourceRow,
        [&](int y, const uint8_t* values) { std::memcpy(rowFromTop(target, y), values, bytes); }, sourceRow,
        loops);
}

// 16-bit pixels are widened to 8 bits a channel and rounded back to their fields.
void resample16(const ImageRecord& source, ImageRecord& target, int mode, RowLoops loops) {
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
    resampleRows<3>(across, down, source.width(), target.width(), target.height(), fetch, store, noPeek,
                    loops);
}

// 1-bit pixels are resampled as 0 and 255 and take the nearer index.
void resampleBilevel(const ImageRecord& source, ImageRecord& target, int mode, RowLoops loops) {
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
    resampleRows<1>(across, down, source.width(), target.width(), target.height(), fetch, store, noPeek,
                    loops);
}

bool sameFormat(const ImageRecord& a, const ImageRecord& b) {
    return a.bitCount() == b.bitCount() && a.infoHeader().biCompression == b.infoHeader().biCompression;
}

}  // namespace

namespace pixmill::resample {

bool resampleImage(const ImageRecord& source, ImageRecord& target, int mode, RowLoops loops) {
    if (mode == kNearest) {
        resampleNearest(source, target, loops);
        return true;
    }
    switch (source.bitCount()) {
        case 1:
            resampleBilevel(source, target, mode, loops);
            return true;
        case 16:
            resample16(source, target, mode, loops);
            return true;
        case 24:
            resampleBytes<3>(source, target, mode, loops);
            return true;
        case 32:
            resampleBytes<4>(source, target, mode, loops);
            return true;
        default:
            return false;  // palette indexes have no values in between
    }
}

}  // namespace pixmill::resample

int IPLResize(short sourceId, short targetId, int width, int height, int mode) {
    if (sourceId == 0 || targetId == 0 || sourceId == targetId) return 0;
    if (mode != kNearest && mode != kBilinear && mode != kBox) return 0;
    auto [source, target] = lockImages(sourceId, Access::Read, targetId, Access::Write);
    if (!source || !target || !source->header || !target->header || !source->bits || !target->bits) return 0;
    if (target->width() != width || target->height() != height || !sameFormat(*source, *target)) return 0;
    try {
        return resampleImage(*source, *target, mode, fastestRowLoops()) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;  // nothing was written before the buffers were had
    }
}
