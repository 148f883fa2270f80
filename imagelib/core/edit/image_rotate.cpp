// Turning an image into a new one: quarter turns as exact pixel permutations, other angles by
// the nearest source pixel through fixed-point sine and cosine steps.
#include "core/edit/image_rotate.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <vector>

#include "core/rows/bitmap_math.h"
#include "core/registry/image_create.h"
#include "core/colour/inverse_colour_table.h"
#include "core/rows/pixel_rows.h"

using namespace pixmill;

namespace {

constexpr double kDegreesToIndex = 0.71111;
constexpr int kTile = 64;  // quarter turns work in tiles of 64 x 64 pixels

bool turnableDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

// Calls the caller's tick until it has been called 'count' times in all.
class Ticker {
  public:
    explicit Ticker(PxlProgressFn tick) : tick_(tick) {}
    void upTo(int64_t count) {
        for (; done_ < count; ++done_) {
            if (tick_) tick_();
        }
    }

  private:
    PxlProgressFn tick_;
    int64_t done_ = 0;
};

// Where result pixel (x, y) of a quarter turn takes its source pixel from.
struct QuarterMap {
    int angle;  // 90, 180 or 270
    int width;  // of the source
    int height;
    int sourceX(int x, int y) const { return angle == 90 ? y : angle == 270 ? width - 1 - y : width - 1 - x; }
    int sourceY(int x, int y) const {
        return angle == 90 ? height - 1 - x : angle == 270 ? x : height - 1 - y;
    }
};

int quarterAngle(int angle) {
    return angle < 0 ? angle + 360 : angle;
}

// Copies result rows [top, bottom) from the source, one tile of columns at a time, 1- and 4-bit
// pixels one index at a time into the zeroed result.
template <int Bits>
void turnPackedRows(const ImageRecord& source, ImageRecord& result, const QuarterMap& map, int top,
                    int bottom) {
    const int width = result.width();
    const int perByte = 8 / Bits;
    for (int left = 0; left < width; left += kTile) {
        const int right = std::min(width, left + kTile);
        for (int y = top; y < bottom; ++y) {
            uint8_t* out = rowFromTop(result, y);
            for (int x = left; x < right; ++x) {
                const uint8_t* in = rowFromTop(source, map.sourceY(x, y));
                out[x / perByte] |= static_cast<uint8_t>(indexAt(in, map.sourceX(x, y), Bits)
                                                         << ((perByte - 1 - x % perByte) * Bits));
            }
        }
    }
}

// Whole-byte pixels, tile by tile: the tile's source rectangle is first copied row by row into a
// small block, then the result rows are gathered from the block. Source and result are both
// walked along their rows, and the column walk stays in the block: rows of a large picture lie a
// multiple of 4 KB apart, and walking a column of them would evict one cache line with the next.
template <int Bytes>
void turnByteRows(const ImageRecord& source, ImageRecord& result, const QuarterMap& map, int top, int bottom,
                  std::vector<uint8_t>& block) {
    constexpr ptrdiff_t kBlockStride = kTile * Bytes;
    const int width = result.width();
    for (int left = 0; left < width; left += kTile) {
        const int right = std::min(width, left + kTile);
        const int ax = map.sourceX(left, top), bx = map.sourceX(right - 1, bottom - 1);
        const int ay = map.sourceY(left, top), by = map.sourceY(right - 1, bottom - 1);
        const int sx0 = std::min(ax, bx), sy0 = std::min(ay, by), sy1 = std::max(ay, by);
        const size_t run = static_cast<size_t>(std::abs(ax - bx) + 1) * Bytes;
        for (int sy = sy0; sy <= sy1; ++sy) {
            std::memcpy(&block[static_cast<size_t>((sy - sy0) * kBlockStride)],
                        rowFromTop(source, sy) + sx0 * Bytes, run);
        }
        // Along a result row the source pixel moves one step in the block.
        const ptrdiff_t step = (map.sourceY(left + 1, top) - map.sourceY(left, top)) * kBlockStride +
                               (map.sourceX(left + 1, top) - map.sourceX(left, top)) * Bytes;
        for (int y = top; y < bottom; ++y) {
            const uint8_t* first = &block[static_cast<size_t>((map.sourceY(left, y) - sy0) * kBlockStride +
                                                              (map.sourceX(left, y) - sx0) * Bytes)];
            uint8_t* out = rowFromTop(result, y) + left * Bytes;
            const ptrdiff_t count = right - left;
            if constexpr (Bytes == 3) {
                // Four bytes a pixel, the fourth overwritten by the next one; the block has a byte
                // to spare after its last pixel, and the row's last pixel takes three.
                for (ptrdiff_t k = 0; k < count - 1; ++k, out += 3) std::memcpy(out, first + k * step, 4);
                std::memcpy(out, first + (count - 1) * step, 3);
            } else {
                for (ptrdiff_t k = 0; k < count; ++k, out += Bytes) std::memcpy(out, first + k * step, Bytes);
            }
        }
    }
}

template <int Bits>
void turnQuarter(const ImageRecord& source, ImageRecord& result, const QuarterMap& map, Ticker& ticker) {
    const int height = result.height();
    std::vector<uint8_t> block(Bits >= 8 ? static_cast<size_t>(kTile) * kTile * (Bits / 8) + 1 : 0);
    for (int top = 0; top < height; top += kTile) {
        const int bottom = std::min(height, top + kTile);
        if constexpr (Bits >= 8) {
            turnByteRows<Bits / 8>(source, result, map, top, bottom, block);
        } else {
            turnPackedRows<Bits>(source, result, map, top, bottom);
        }
        ticker.upTo(int64_t{bottom} * source.height() / height);  // once per source row in all
    }
}

void turnQuarterAnyDepth(const ImageRecord& source, ImageRecord& result, int angle, Ticker& ticker) {
    const QuarterMap map{quarterAngle(angle), source.width(), source.height()};
    switch (source.bitCount()) {
        case 1:
            return turnQuarter<1>(source, result, map, ticker);
        case 4:
            return turnQuarter<4>(source, result, map, ticker);
        case 8:
            return turnQuarter<8>(source, result, map, ticker);
        default:
            return turnQuarter<24>(source, result, map, ticker);
    }
}

// Floor and ceiling of a / b for b != 0.
int64_t floorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
int64_t ceilDiv(int64_t a, int64_t b) {
    return -floorDiv(-a, b);
}

// The columns i in [from, to) for which 0 <= (start + i * step) >> 10 < limit: the fixed-point
// coordinate moves one way along a row, so they are one run.
void keepInside(int64_t start, int64_t step, int64_t limit, int64_t& from, int64_t& to) {
    const int64_t low = 0, high = limit * kRotationOne - 1;  // start + i * step within [low, high]
    if (step == 0) {
        if (start < low || start > high) to = from;
        return;
    }
    int64_t first = step > 0 ? ceilDiv(low - start, step) : ceilDiv(high - start, step);
    int64_t last = step > 0 ? floorDiv(high - start, step) : floorDiv(low - start, step);
    from = std::max(from, first);
    to = std::min(to, last + 1);
}

// The background byte of a general turn's canvas.
uint8_t backgroundByte(const ImageRecord& source, bool whiteBackground) {
    const int bits = source.bitCount();
    if (!whiteBackground || bits > 8) return 0xFF;
    const auto palette =
        std::span<const RGBQUAD>(source.colors(), static_cast<size_t>(paletteSizeForBits(bits)));
    return repeatedIndexByte(bits, nearestPaletteIndex(palette, 255, 255, 255));
}

struct Canvas {
    int width;
    int height;
};

// The turned corners' bounding box plus 2 pixels.
Canvas canvasFor(int width, int height, int angle) {
    std::array<int32_t, 8> p = {0, 0, width, 0, width, height, 0, height};
    turnFourPoints(p, 0, 0, angle);
    const auto x = [&](int k) { return int64_t{p[2 * k]}; };
    const auto y = [&](int k) { return int64_t{p[2 * k + 1]}; };
    const bool diagonalOnTop = (y(0) < y(1) && y(0) < y(3)) || (y(2) < y(1) && y(2) < y(3));
    const int64_t w = diagonalOnTop ? std::abs(x(1) - x(3)) + 2 : std::abs(x(0) - x(2)) + 2;
    const int64_t h = diagonalOnTop ? std::abs(y(0) - y(2)) + 2 : std::abs(y(1) - y(3)) + 2;
    return {static_cast<int>(std::min<int64_t>(w, INT32_MAX)),
            static_cast<int>(std::min<int64_t>(h, INT32_MAX))};
}

// Each result pixel takes the source pixel under its turned-back position; the others keep the
// background.
template <int Bits>
void turnGeneral(const ImageRecord& source, ImageRecord& result, RotationStep step, Ticker& ticker) {
    const int64_t s = step.s, c = step.c;
    const int width = source.width(), height = source.height();
    std::vector<const uint8_t*> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rows[static_cast<size_t>(y)] = rowFromTop(source, y);
    const int64_t cx = width / 2, cy = height / 2;
    const int64_t dcx = (result.width() - 1) / 2, dcy = (result.height() - 1) / 2;
    int64_t rowU = -dcx * c + dcy * s + cx * kRotationOne;
    int64_t rowV = -dcx * s - dcy * c + cy * kRotationOne;
    for (int j = 0; j < result.height(); ++j) {
        int64_t from = 0, to = result.width();
        keepInside(rowU, c, width, from, to);
        keepInside(rowV, s, height, from, to);
        uint8_t* out = rowFromTop(result, j);
        int64_t u = rowU + from * c, v = rowV + from * s;
        for (int64_t i = from; i < to; ++i, u += c, v += s) {
            const uint8_t* in = rows[static_cast<size_t>(v >> 10)];
            const int sx = static_cast<int>(u >> 10);
            if constexpr (Bits == 24) {
                std::memcpy(out + 3 * i, in + 3 * sx, 3);
            } else if constexpr (Bits == 8) {
                out[i] = in[sx];
            } else {
                copyPixel(in, sx, out, static_cast<int>(i), Bits);
            }
        }
        rowU -= s;
        rowV += c;
        ticker.upTo(j + 1);
    }
}

void turnGeneralAnyDepth(const ImageRecord& source, ImageRecord& result, RotationStep step, Ticker& ticker) {
    switch (source.bitCount()) {
        case 1:
            return turnGeneral<1>(source, result, step, ticker);
        case 4:
            return turnGeneral<4>(source, result, step, ticker);
        case 8:
            return turnGeneral<8>(source, result, step, ticker);
        default:
            return turnGeneral<24>(source, result, step, ticker);
    }
}

PxlImageId finish(ImageLock& result, const ImageRecord& source) {
    const int bits = source.bitCount();
    if (bits <= 8) {
        std::memcpy(result->colors(), source.colors(),
                    sizeof(RGBQUAD) * static_cast<size_t>(paletteSizeForBits(bits)));
    }
    const PxlImageId id = result->id;
    result.release();
    PXLFillDIBColorTable(id);
    return id;
}

}  // namespace

namespace pixmill {

RotationStep rotationStep(int index) {
    static const std::array<RotationStep, kRotationSteps> steps = [] {
        std::array<RotationStep, kRotationSteps> table{};
        for (int k = 0; k < kRotationSteps; ++k) {
            const double phi = (k + 1) * 2.0 * M_PI / kRotationSteps;
            table[static_cast<size_t>(k)] = {static_cast<int32_t>(std::lround(-kRotationOne * std::sin(phi))),
                                             static_cast<int32_t>(std::lround(kRotationOne * std::cos(phi)))};
        }
        return table;
    }();
    return steps[static_cast<size_t>(index & (kRotationSteps - 1))];
}

int rotationIndex(int angle) {
    const double scaled = (angle % 360) * kDegreesToIndex;
    int index = static_cast<int>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
    index = std::clamp(index, -(kRotationSteps - 1), kRotationSteps - 1);
    return index < 0 ? index + kRotationSteps : index;
}

void turnFourPoints(std::array<int32_t, 8>& xy, int32_t x, int32_t y, int angle) {
    if (angle % 90 == 0) return;
    const RotationStep step = rotationStep(rotationIndex(angle));
    for (int k = 0; k < 4; ++k) {
        const int64_t dx = int64_t{xy[2 * k]} - x, dy = int64_t{xy[2 * k + 1]} - y;
        xy[2 * k] = static_cast<int32_t>(x + dx * step.c / kRotationOne + dy * step.s / kRotationOne);
        xy[2 * k + 1] = static_cast<int32_t>(y + dy * step.c / kRotationOne - dx * step.s / kRotationOne);
    }
}

}  // namespace pixmill

PxlImageId PXLRotateImage(PxlImageId id, int32_t angle, int16_t whiteBackground, PxlProgressFn tick) {
    angle %= 360;
    if (angle == 0) return PXLCreateImageFrom(id, 0);
    ImageLock source = lockImage(id, Access::Read);
    if (!source || !source->header || !source->bits || !turnableDepth(source->bitCount())) return 0;
    const int bits = source->bitCount();
    Ticker ticker(tick);
    if (angle % 90 == 0) {
        const bool transpose = angle % 180 != 0;
        ImageLock result = transpose ? newImage(source->height(), source->width(), bits)
                                     : newImage(source->width(), source->height(), bits);
        if (!result) return 0;
        try {
            turnQuarterAnyDepth(*source, *result, angle, ticker);
        } catch (const std::bad_alloc&) {
            discardImage(result);
            return 0;
        }
        return finish(result, *source);
    }
    const Canvas canvas = canvasFor(source->width(), source->height(), angle);
    ImageLock result = newImage(canvas.width, canvas.height, bits);
    if (!result) return 0;
    std::memset(result->bits, backgroundByte(*source, whiteBackground != 0),
                result->infoHeader().biSizeImage);
    try {
        turnGeneralAnyDepth(*source, *result, rotationStep(rotationIndex(angle)), ticker);
    } catch (const std::bad_alloc&) {
        discardImage(result);
        return 0;
    }
    return finish(result, *source);
}
