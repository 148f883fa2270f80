// Blits: BitBlt, StretchBlt, PatBlt, StretchDIBits and SetDIBitsToDevice.
//
// Every blit is cut to the destination's clip box first, then to the pixels whose samples fall
// inside the source, and only then loops (once per rectangle when the clip is a region); nothing
// outside either is read or written.
//
// Sampling. Destination column i of a w-wide destination takes source column
// floor((2i + 1) * sw / (2w)) of an sw-wide source rectangle (the source pixel under the centre
// of the destination pixel), rows likewise; a mirrored axis counts from the other end. Every
// stretch mode samples so, except HALFTONE, which averages the box of source pixels under each
// destination pixel along an axis that shrinks.
//
// Colours. The source's values become destination values before the raster operation:
// a monochrome source bitmap gives 0 the destination DC's text colour and 1 its background
// colour; a colour source onto a monochrome destination gives 1 where the pixel is the
// background colour (of the source DC; of the destination DC for DIBs) and 0 elsewhere;
// monochrome to monochrome copies bits; an indexed source onto an indexed destination of the
// same depth and the same colour table keeps its indices; everything else goes through colours,
// indexed destinations taking the nearest entry of their table.
#include "gdi/blit.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <numeric>
#include <optional>
#include <string>
#include <utility>

#include "base/call_refusal.h"
#include "gdi/dc_origin.h"
#include "gdi/paint.h"
#include "gdi/raster.h"
#include "gdi/recorder.h"
#include "winplat/base.h"
#include "winplat/draw.h"

namespace winplat::gdi {
namespace {

// Pixels a blit reads: a surface, or a caller's DIB.
struct SourceImage {
    const uint8_t* bits = nullptr;
    size_t stride = 0;
    bool topDown = true;
    int width = 0;
    int height = 0;
    int firstRow = 0;  // a copy of some rows only: the picture's row its first row holds
    int bitsPerPixel = 0;
    BitMasks masks;
    std::vector<RGBQUAD> colors;
    bool monochromeBitmap = false;  // a 1-bit surface, whose bits stand for the DC's colours

    const uint8_t* row(int y) const {
        const int stored = topDown ? y - firstRow : height - 1 - y;
        return bits + static_cast<size_t>(stored) * stride;
    }
    PixelFormat format() const { return PixelFormat{bitsPerPixel, masks, colors}; }
};

SourceImage imageOf(const Surface& surface) {
    SourceImage image;
    image.bits = surface.bits();
    image.stride = surface.stride();
    image.topDown = surface.topDown();
    image.width = surface.width();
    image.height = surface.height();
    image.bitsPerPixel = surface.bitsPerPixel();
    image.masks = surface.masks();
    image.colors = surface.colors();
    image.monochromeBitmap = surface.bitsPerPixel() == 1;
    return image;
}

SourceImage imageOf(const DibLayout& layout, const std::vector<RGBQUAD>& colors, const void* bits) {
    SourceImage image;
    image.bits = static_cast<const uint8_t*>(bits);
    image.stride = layout.stride;
    image.topDown = layout.topDown;
    image.width = layout.width;
    image.height = layout.height;
    image.bitsPerPixel = layout.bitsPerPixel;
    image.masks = layout.masks;
    image.colors = colors;
    return image;
}

bool sameColors(const std::vector<RGBQUAD>& a, const std::vector<RGBQUAD>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].rgbRed != b[i].rgbRed || a[i].rgbGreen != b[i].rgbGreen || a[i].rgbBlue != b[i].rgbBlue)
            return false;
    }
    return true;
}

bool sameColor(const RGBQUAD& a, const RGBQUAD& b) {
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

// The colours a blit's conversions depend on.
struct BlitColours {
    RGBQUAD text;                  // destination DC: what a monochrome bitmap's 0 becomes
    RGBQUAD background;            // destination DC: what a monochrome bitmap's 1 becomes
    RGBQUAD monochromeBackground;  // what becomes 1 on a monochrome destination
};

// Turns source values into destination values (see the file comment).
class Translator {
  public:
    Translator(const SourceImage& source, const Surface& dest, const BlitColours& colors)
        : source_(source), dest_(dest), colors_(colors) {
        const int from = source.bitsPerPixel;
        const int to = dest.bitsPerPixel();
        if (to <= 8 && to > 1) matcher_.emplace(dest.colors());
        if (from == 1 && to == 1) {
            mode_ = Mode::Identity;
        } else if (from <= 8) {
            if (from == to && sameColors(source.colors, dest.colors())) {
                mode_ = Mode::Identity;
                return;
            }
            mode_ = Mode::Table;
            for (uint32_t i = 0; i < (1u << from); ++i) table_[i] = destValue(sourceColor(i));
        } else if (to == 1) {
            mode_ = Mode::DirectToMonochrome;
            const PixelFormat format = source.format();
            colorBits_ = from == 24 ? 0xFFFFFFu : (format.masks.red | format.masks.green | format.masks.blue);
            monochromeValue_ = encodeDirect(format, colors.monochromeBackground);
        } else if (to <= 8) {
            mode_ = Mode::DirectToIndexed;
        } else if (from == to && (from == 24 || source.masks == dest.masks())) {
            mode_ = Mode::Identity;
        } else if (plainRgb(from, source.masks) && plainRgb(to, dest.masks())) {
            mode_ = Mode::Repack;  // 8-bit channels at the same places
        } else {
            mode_ = Mode::DirectToDirect;
        }
    }

    bool identity() const { return mode_ == Mode::Identity; }

    void run(uint32_t* values, int count) {
        switch (mode_) {
            case Mode::Identity:
                return;
            case Mode::Table:
                for (int i = 0; i < count; ++i) values[i] = table_[values[i] & 0xFF];
                return;
            case Mode::DirectToMonochrome:
                for (int i = 0; i < count; ++i)
                    values[i] = (values[i] & colorBits_) == monochromeValue_ ? 1 : 0;
                return;
            case Mode::DirectToIndexed: {
                const PixelFormat format = source_.format();
                for (int i = 0; i < count; ++i) {
                    const RGBQUAD c = decodeDirect(format, values[i]);
                    values[i] = matcher_->find(c.rgbRed, c.rgbGreen, c.rgbBlue);
                }
                return;
            }
            case Mode::Repack:
                for (int i = 0; i < count; ++i) values[i] &= 0xFFFFFF;
                return;
            case Mode::DirectToDirect: {
                const PixelFormat from = source_.format();
                const PixelFormat to = dest_.format();
                for (int i = 0; i < count; ++i) values[i] = encodeDirect(to, decodeDirect(from, values[i]));
                return;
            }
        }
    }

    // The colour a source value stands for on this destination.
    RGBQUAD sourceColor(uint32_t value) const {
        if (source_.bitsPerPixel > 8) return decodeDirect(source_.format(), value);
        if (source_.monochromeBitmap && dest_.bitsPerPixel() != 1)
            return value ? colors_.background : colors_.text;
        if (value >= source_.colors.size()) return RGBQUAD{0, 0, 0, 0};
        return source_.colors[value];
    }

    // The destination value a colour becomes.
    uint32_t destValue(const RGBQUAD& color) {
        if (dest_.bitsPerPixel() == 1) return sameColor(color, colors_.monochromeBackground) ? 1 : 0;
        if (matcher_) return matcher_->find(color.rgbRed, color.rgbGreen, color.rgbBlue);
        return encodeDirect(dest_.format(), color);
    }

  private:
    enum class Mode { Identity, Table, DirectToMonochrome, DirectToIndexed, Repack, DirectToDirect };

    static bool plainRgb(int bitsPerPixel, const BitMasks& masks) {
        return bitsPerPixel == 24 || (bitsPerPixel == 32 && masks == kMasks888);
    }
    const SourceImage& source_;
    const Surface& dest_;
    BlitColours colors_;
    Mode mode_ = Mode::Identity;
    uint32_t table_[256] = {};
    uint32_t colorBits_ = 0;
    uint32_t monochromeValue_ = 0;
    std::optional<ColourMatcher> matcher_;
};

// One direction of a blit: destination [destStart, destStart + destLength) from source
// [sourceStart, sourceStart + sourceLength), both lengths positive.
struct Axis {
    int64_t destStart = 0;
    int64_t destLength = 0;
    int64_t sourceStart = 0;
    int64_t sourceLength = 0;
    bool mirror = false;
};

// The source pixels behind destination pixels along one axis, cut to where they exist.
struct Samples {
    int destFirst = 0;         // the first destination coordinate drawn
    std::vector<int> at;       // per destination pixel: the nearest source pixel
    std::vector<int> boxFrom;  // with a box filter: the source pixels [boxFrom, boxTo)
    std::vector<int> boxTo;
    int count() const { return static_cast<int>(at.size()); }
};

// floor((2i + 1) * sw / (2 dw)), the source pixel under the centre of destination pixel i, for
// i = first, first + 1, ... (first >= 0): quotient and remainder are carried from one pixel to the
// next, so an axis of samples costs no division per pixel.
class NearestSteps {
  public:
    NearestSteps(int64_t first, int64_t sw, int64_t dw)
        : divisor_(2 * dw), stepQuotient_(2 * sw / divisor_), stepRemainder_(2 * sw % divisor_) {
        const int64_t numerator = (2 * first + 1) * sw;
        quotient_ = numerator / divisor_;
        remainder_ = numerator % divisor_;
    }
    int64_t current() const { return quotient_; }
    void advance() {
        quotient_ += stepQuotient_;
        remainder_ += stepRemainder_;
        if (remainder_ >= divisor_) {
            ++quotient_;
            remainder_ -= divisor_;
        }
    }

  private:
    int64_t divisor_;
    int64_t stepQuotient_;
    int64_t stepRemainder_;
    int64_t quotient_ = 0;
    int64_t remainder_ = 0;
};

// An axis neither stretched nor mirrored, cut to destination pixels [from, to): destination
// pixel d takes source pixel d + (sourceStart - destStart), where that lies in [0, sourceExtent).
// The general rule gives the same, a pixel at a time.
Samples sampleOneToOne(const Axis& axis, int64_t from, int64_t to, int sourceExtent) {
    Samples samples;
    const int64_t shift = axis.sourceStart - axis.destStart;
    const int64_t first = std::max(from, -shift);
    const int64_t last = std::min(to, sourceExtent - shift);
    if (first >= last) return samples;
    samples.destFirst = static_cast<int>(first);
    samples.at.resize(static_cast<size_t>(last - first));
    std::iota(samples.at.begin(), samples.at.end(), static_cast<int>(first + shift));
    return samples;
}

// Cuts the axis to [clipFrom, clipTo) and to source pixels in [0, sourceExtent).
Samples sampleAxis(const Axis& axis, int clipFrom, int clipTo, int sourceExtent, bool box) {
    Samples samples;
    const int64_t from = std::max<int64_t>(clipFrom, axis.destStart);
    const int64_t to = std::min<int64_t>(clipTo, axis.destStart + axis.destLength);
    const int64_t sw = axis.sourceLength;
    const int64_t dw = axis.destLength;
    if (sw == dw && !axis.mirror) return sampleOneToOne(axis, from, to, sourceExtent);
    const bool averaging = box && dw < sw;
    if (to > from) samples.at.reserve(static_cast<size_t>(to - from));
    bool started = false;
    NearestSteps nearest(from - axis.destStart, sw, dw);
    for (int64_t d = from; d < to; ++d, nearest.advance()) {
        const int64_t i = d - axis.destStart;
        int64_t near = nearest.current();
        int64_t lo = near;
        int64_t hi = near + 1;
        if (averaging) {
            lo = i * sw / dw;
            hi = std::max(lo + 1, (i + 1) * sw / dw);
        }
        if (axis.mirror) {
            near = sw - 1 - near;
            const int64_t flipped = sw - hi;
            hi = sw - lo;
            lo = flipped;
        }
        near += axis.sourceStart;
        lo = std::max<int64_t>(lo + axis.sourceStart, 0);
        hi = std::min<int64_t>(hi + axis.sourceStart, sourceExtent);
        const bool inside = averaging ? lo < hi : (near >= 0 && near < sourceExtent);
        if (!inside) {
            if (started) break;  // samples move one way: nothing further is inside
            continue;
        }
        if (!started) samples.destFirst = static_cast<int>(d);
        started = true;
        samples.at.push_back(static_cast<int>(averaging ? lo : near));
        if (averaging) {
            samples.boxFrom.push_back(static_cast<int>(lo));
            samples.boxTo.push_back(static_cast<int>(hi));
        }
    }
    return samples;
}

struct BlitJob {
    Surface* target = nullptr;
    ClipArea clip{DeviceRect{}};  // the destination DC's effective clip
    Axis columns;
    Axis rows;
    uint8_t rop = 0;
    bool halftone = false;
    const BrushPaint* paint = nullptr;
    BlitColours colors;
};

bool consecutive(const Samples& s) {
    return s.count() > 0 && s.at.back() - s.at.front() == s.count() - 1;
}

// Whether the rows of a blit go from the last to the first; only a copy row for row (none
// repeated, none mirrored) may choose. Within one surface rows go away from where they move to,
// so each is read before a row lands on it. Between surfaces both stored bottom up, going upwards
// reads and writes memory forwards, which the hardware prefetchers follow from one row to the
// next; the other way every row starts with a run of cache misses.
bool rowsUpwards(const Surface& target, const SourceImage& source, const Samples& cols, const Samples& rows) {
    if (!consecutive(rows)) return false;
    if (source.bits == target.bits()) {
        // Where the first row's pixels are read and written (the same depth, so the same offset unit).
        const size_t bytes = static_cast<size_t>(source.bitsPerPixel / 8);
        const auto from =
            reinterpret_cast<uintptr_t>(source.row(rows.at[0])) + static_cast<size_t>(cols.at[0]) * bytes;
        const auto to = reinterpret_cast<uintptr_t>(target.row(rows.destFirst)) +
                        static_cast<size_t>(cols.destFirst) * bytes;
        // Rows moving to higher addresses go from the highest address down.
        return (to > from) == target.topDown();
    }
    return !target.topDown() && !source.topDown;
}

// The bytes from one visual row to the next in memory: the stride, negative when stored bottom up.
ptrdiff_t rowStep(bool topDown, size_t stride) {
    return topDown ? static_cast<ptrdiff_t>(stride) : -static_cast<ptrdiff_t>(stride);
}

// Bytes one memmove moves when a copy's rows lie back to back: enough that the call's set-up
// vanishes (a memmove a row cost a quarter more for rows of a few kilobytes), few enough that the
// C library keeps to its cached copy (single moves of tens of megabytes took its slower
// non-temporal path).
constexpr size_t kMovePiece = 256 * 1024;

// Moves 'bytes' from 'in' to 'out' a piece at a time. Where the two may overlap the pieces go from
// the end when 'out' lies above 'in', so every byte is read before it is overwritten.
void moveInPieces(uint8_t* out, const uint8_t* in, size_t bytes, bool mayOverlap) {
    const bool fromTheEnd = mayOverlap && reinterpret_cast<uintptr_t>(out) > reinterpret_cast<uintptr_t>(in);
    for (size_t done = 0; done < bytes;) {
        const size_t piece = std::min(kMovePiece, bytes - done);
        const size_t at = fromTheEnd ? bytes - done - piece : done;
        std::memmove(out + at, in + at, piece);
        done += piece;
    }
}

// A copy row for row of unstretched runs of whole bytes: one memmove a row, with nothing but two
// offsets stepped between rows, or, where whole rows without padding lie back to back in both
// surfaces in the same order, the run of all of them moved at once.
void moveRows(Surface& target, const SourceImage& source, const Samples& cols, const Samples& rows) {
    const size_t bytes = static_cast<size_t>(source.bitsPerPixel / 8);
    const size_t runBytes = bytes * static_cast<size_t>(cols.count());
    if (runBytes == source.stride && runBytes == target.stride() && source.topDown == target.topDown()) {
        // The row at the lowest address: the top one when stored top down.
        const int low = target.topDown() ? 0 : rows.count() - 1;
        return moveInPieces(target.row(rows.destFirst + low), source.row(rows.at[low]),
                            runBytes * static_cast<size_t>(rows.count()), source.bits == target.bits());
    }
    const bool upwards = rowsUpwards(target, source, cols, rows);
    const int first = upwards ? rows.count() - 1 : 0;
    const uint8_t* const inBase = source.row(rows.at[0]);  // offsets count from the first row's start
    uint8_t* const outBase = target.row(rows.destFirst);
    ptrdiff_t in = (source.row(rows.at[first]) - inBase) +
                   static_cast<ptrdiff_t>(static_cast<size_t>(cols.at[0]) * bytes);
    ptrdiff_t out = (target.row(rows.destFirst + first) - outBase) +
                    static_cast<ptrdiff_t>(static_cast<size_t>(cols.destFirst) * bytes);
    const ptrdiff_t inStep = rowStep(source.topDown, source.stride) * (upwards ? -1 : 1);
    const ptrdiff_t outStep = rowStep(target.topDown(), target.stride()) * (upwards ? -1 : 1);
    for (int k = 0; k < rows.count(); ++k, in += inStep, out += outStep)
        std::memmove(outBase + out, inBase + in, runBytes);
}

// SRCCOPY between identical formats of whole bytes: bytes move as they are.
void copyBytes(Surface& target, const SourceImage& source, const Samples& cols, const Samples& rows) {
    const bool straight = consecutive(cols);
    if (straight && consecutive(rows)) return moveRows(target, source, cols, rows);
    const size_t bytes = static_cast<size_t>(source.bitsPerPixel / 8);
    const size_t runBytes = bytes * static_cast<size_t>(cols.count());
    const size_t destOffset = static_cast<size_t>(cols.destFirst) * bytes;
    std::vector<size_t> offsets;
    if (!straight) {
        offsets.resize(static_cast<size_t>(cols.count()));
        for (int i = 0; i < cols.count(); ++i)
            offsets[static_cast<size_t>(i)] = static_cast<size_t>(cols.at[i]) * bytes;
    }
    // Kept in locals: the byte pointers below may alias anything, so the loops would otherwise
    // reload the vector's size and data on every pixel.
    const size_t count = offsets.size();
    const size_t* const offset = offsets.data();
    for (int r = 0; r < rows.count(); ++r) {
        uint8_t* out = target.row(rows.destFirst + r) + destOffset;
        if (r > 0 && rows.at[r] == rows.at[r - 1]) {
            // An enlarged row repeats the one above it.
            std::memcpy(out, target.row(rows.destFirst + r - 1) + destOffset, runBytes);
            continue;
        }
        const uint8_t* in = source.row(rows.at[r]);
        if (straight) {
            std::memmove(out, in + static_cast<size_t>(cols.at[0]) * bytes, runBytes);
            continue;
        }
        switch (bytes) {
            case 1:
                for (size_t i = 0; i < count; ++i) out[i] = in[offset[i]];
                break;
            case 2:
                for (size_t i = 0; i < count; ++i) std::memcpy(out + 2 * i, in + offset[i], 2);
                break;
            case 3:
                for (size_t i = 0; i < count; ++i) {
                    const uint8_t* p = in + offset[i];
                    uint8_t* q = out + 3 * i;
                    q[0] = p[0];
                    q[1] = p[1];
                    q[2] = p[2];
                }
                break;
            default:
                for (size_t i = 0; i < count; ++i) std::memcpy(out + 4 * i, in + offset[i], 4);
                break;
        }
    }
}

// The values of a row's sampled pixels packed as a destination row stores them from column
// 'firstColumn' on: the whole bytes the run touches, the pixels of those bytes outside the run 0.
template <int Bits>
void packRow(const uint8_t* in, const Samples& cols, int firstColumn, uint8_t* packed) {
    constexpr unsigned kPerByte = 8 / Bits;
    constexpr unsigned kValue = (1u << Bits) - 1;
    // Kept in locals: the byte stores may alias anything, the samples' vector included.
    const int* const columns = cols.at.data();
    const size_t count = cols.at.size();
    unsigned byte = 0;
    unsigned filled = static_cast<unsigned>(firstColumn) % kPerByte;  // pixels before the run, left 0
    uint8_t* out = packed;
    for (size_t i = 0; i < count; ++i) {
        const auto c = static_cast<unsigned>(columns[i]);
        byte = byte << Bits | ((in[c / kPerByte] >> ((kPerByte - 1 - c % kPerByte) * Bits)) & kValue);
        if (++filled == kPerByte) {
            *out++ = static_cast<uint8_t>(byte);
            byte = 0;
            filled = 0;
        }
    }
    if (filled) *out = static_cast<uint8_t>(byte << ((kPerByte - filled) * Bits));
}

// SRCCOPY between identical formats of 1 or 4 bits a pixel: a row's values are packed into whole
// destination bytes, then stored a byte at a time, the bytes shared with pixels beyond either end
// of the run merged. An enlarged row stores the bytes packed for the row above again.
template <int Bits>
void copyPackedBits(Surface& target, const SourceImage& source, const Samples& cols, const Samples& rows) {
    constexpr int kPerByte = 8 / Bits;
    const int lead = cols.destFirst % kPerByte;
    const int end = lead + cols.count();  // in pixels from the first byte's start
    const size_t byteCount = static_cast<size_t>((end + kPerByte - 1) / kPerByte);
    // The bits of the run in its first and last bytes.
    auto firstMask = static_cast<uint8_t>(0xFFu >> (lead * Bits));
    const auto lastMask = static_cast<uint8_t>(end % kPerByte ? 0xFFu << (8 - end % kPerByte * Bits) : 0xFFu);

    if (byteCount == 1) firstMask &= lastMask;
    std::vector<uint8_t> packed(byteCount);
    const size_t firstByte = static_cast<size_t>(cols.destFirst / kPerByte);
    auto merge = [](uint8_t& out, uint8_t in, uint8_t mask) {
        out = static_cast<uint8_t>((out & ~mask) | (in & mask));
    };
    for (int r = 0; r < rows.count(); ++r) {
        if (r == 0 || rows.at[r] != rows.at[r - 1])
            packRow<Bits>(source.row(rows.at[r]), cols, cols.destFirst, packed.data());
        uint8_t* out = target.row(rows.destFirst + r) + firstByte;
        merge(out[0], packed[0], firstMask);
        if (byteCount == 1) continue;
        std::memcpy(out + 1, packed.data() + 1, byteCount - 2);
        merge(out[byteCount - 1], packed[byteCount - 1], lastMask);
    }
}

// SRCCOPY without stretching from a format of whole bytes to another: the row converter's work.
void convertRows(Surface& target, const SourceImage& source, const Samples& cols, const Samples& rows) {
    const bool sameDepthIndexed = source.bitsPerPixel <= 8 && source.bitsPerPixel == target.bitsPerPixel();
    RowConverter converter(source.format(), target.format(),
                           sameDepthIndexed ? SameDepthIndices::Rematch : SameDepthIndices::Keep);
    const size_t sourceOffset =
        static_cast<size_t>(cols.at[0]) * static_cast<size_t>(source.bitsPerPixel / 8);
    const size_t destOffset =
        static_cast<size_t>(cols.destFirst) * static_cast<size_t>(target.bitsPerPixel() / 8);
    const bool upwards = rowsUpwards(target, source, cols, rows);
    for (int step = 0; step < rows.count(); ++step) {
        const int r = upwards ? rows.count() - 1 - step : step;
        converter.convert(source.row(rows.at[r]) + sourceOffset, target.row(rows.destFirst + r) + destOffset,
                          cols.count());
    }
}

// The source pixels [from, to) behind destination pixel i along an axis: a box where the axis
// averages, else the one nearest pixel.
std::pair<int, int> spanOf(const Samples& s, int i) {
    if (s.boxFrom.empty()) return {s.at[i], s.at[i] + 1};
    return {s.boxFrom[i], s.boxTo[i]};
}

// Source values of one destination row, averaged over the boxes: colours summed per
// destination pixel, then turned into destination values.
void averageRow(const SourceImage& source, Translator& translator, const Samples& cols, int rowFrom,
                int rowTo, uint32_t* out) {
    int lo = INT32_MAX;
    int hi = INT32_MIN;
    for (int c = 0; c < cols.count(); ++c) {
        const auto [from, to] = spanOf(cols, c);
        lo = std::min(lo, from);
        hi = std::max(hi, to);
    }
    const int span = hi - lo;
    std::vector<RGBQUAD> colors(static_cast<size_t>(span));
    std::vector<uint32_t> values(static_cast<size_t>(span));
    std::vector<uint32_t> sums(static_cast<size_t>(cols.count()) * 4, 0);
    for (int y = rowFrom; y < rowTo; ++y) {
        readValues(source.row(y), source.bitsPerPixel, lo, span, values.data());
        for (int x = 0; x < span; ++x)
            colors[static_cast<size_t>(x)] = translator.sourceColor(values[static_cast<size_t>(x)]);
        for (int c = 0; c < cols.count(); ++c) {
            const auto [from, to] = spanOf(cols, c);
            uint32_t* sum = &sums[static_cast<size_t>(c) * 4];
            for (int x = from; x < to; ++x) {
                const RGBQUAD& color = colors[static_cast<size_t>(x - lo)];
                sum[0] += color.rgbRed;
                sum[1] += color.rgbGreen;
                sum[2] += color.rgbBlue;
                sum[3] += 1;
            }
        }
    }
    for (int c = 0; c < cols.count(); ++c) {
        const uint32_t* sum = &sums[static_cast<size_t>(c) * 4];
        const uint32_t n = sum[3];
        const RGBQUAD average{static_cast<BYTE>((sum[2] + n / 2) / n),
                              static_cast<BYTE>((sum[1] + n / 2) / n),
                              static_cast<BYTE>((sum[0] + n / 2) / n), 0};
        out[c] = translator.destValue(average);
    }
}

// The samples of destination pixels [from, to) alone.
Samples slice(const Samples& s, int from, int to) {
    Samples part;
    const int first = std::max(from, s.destFirst);
    const int last = std::min(to, s.destFirst + s.count());
    if (first >= last) return part;
    part.destFirst = first;
    const auto begin = static_cast<std::ptrdiff_t>(first - s.destFirst);
    const auto end = static_cast<std::ptrdiff_t>(last - s.destFirst);
    part.at.assign(s.at.begin() + begin, s.at.begin() + end);
    if (!s.boxFrom.empty()) {
        part.boxFrom.assign(s.boxFrom.begin() + begin, s.boxFrom.begin() + end);
        part.boxTo.assign(s.boxTo.begin() + begin, s.boxTo.begin() + end);
    }
    return part;
}

// Draws the destination pixels the samples stand for, all of them inside the clip.
void blitPixels(const BlitJob& job, const SourceImage& source, Translator& translator, const Samples& cols,
                const Samples& rows) {
    Surface& target = *job.target;
    const bool usesPattern = ropUsesPattern(job.rop);
    const bool averaging = job.halftone && (!cols.boxFrom.empty() || !rows.boxFrom.empty());
    const bool wholeBytes = source.bitsPerPixel >= 8 && target.bitsPerPixel() >= 8;
    if (job.rop == 0xCC && !averaging && wholeBytes) {
        if (translator.identity()) return copyBytes(target, source, cols, rows);
        if (consecutive(cols)) return convertRows(target, source, cols, rows);
    }
    if (job.rop == 0xCC && !averaging && translator.identity() &&
        source.bitsPerPixel == target.bitsPerPixel()) {
        if (source.bitsPerPixel == 1) return copyPackedBits<1>(target, source, cols, rows);
        if (source.bitsPerPixel == 4) return copyPackedBits<4>(target, source, cols, rows);
    }

    const size_t n = static_cast<size_t>(cols.count());
    std::vector<uint32_t> sourceValues(n), pattern(usesPattern ? n : 0), dest(n), before;
    std::vector<uint8_t> keep;
    const bool gaps = usesPattern && job.paint->leavesGaps();
    if (gaps) keep.resize(n);
    const bool readDest = ropUsesDestination(job.rop) || gaps;
    const int bpp = target.bitsPerPixel();
    for (int r = 0; r < rows.count(); ++r) {
        const int y = rows.destFirst + r;
        if (averaging) {
            const auto [from, to] = spanOf(rows, r);
            averageRow(source, translator, cols, from, to, sourceValues.data());
        } else {
            gatherValues(source.row(rows.at[r]), source.bitsPerPixel, cols.at.data(), cols.count(),
                         sourceValues.data());
            translator.run(sourceValues.data(), cols.count());
        }
        uint8_t* row = target.row(y);
        if (usesPattern)
            job.paint->row(cols.destFirst, y, cols.count(), pattern.data(), gaps ? keep.data() : nullptr);
        if (readDest) readValues(row, bpp, cols.destFirst, cols.count(), dest.data());
        if (gaps) before = dest;
        applyRop(job.rop, usesPattern ? pattern.data() : nullptr, sourceValues.data(), dest.data(), n);
        if (gaps) {
            for (size_t i = 0; i < n; ++i) {
                if (keep[i]) dest[i] = before[i];
            }
        }
        writeValues(row, bpp, cols.destFirst, cols.count(), dest.data());
    }
}

// Whether a blit within one surface may move its pixels in place rather than from a copy: a
// plain copy of whole-byte pixels, neither stretched nor mirrored, inside one clip rectangle.
// copyBytes orders the rows so that each is read before another lands on it, and memmove takes
// care of a row moved along itself. Under a clip region the pieces are drawn one after another,
// and a later piece could read what an earlier one wrote.
bool movesInPlace(const BlitJob& job, const SourceImage& source, const Translator& translator,
                  const Samples& cols, const Samples& rows) {
    return job.rop == 0xCC && job.clip.rectangular() && translator.identity() && source.bitsPerPixel >= 8 &&
           cols.boxFrom.empty() && rows.boxFrom.empty() && consecutive(cols) && consecutive(rows);
}

void runBlit(const BlitJob& job, const SourceImage* givenSource) {
    Surface& target = *job.target;
    const bool usesSource = ropUsesSource(job.rop);
    const bool usesPattern = ropUsesPattern(job.rop);
    if (usesPattern && job.paint->empty()) return;  // a null brush paints nothing

    const DeviceRect& area = job.clip.box();
    if (!usesSource) {
        // Without a source only the destination rectangle counts.
        const DeviceRect rect{
            static_cast<int>(std::clamp<int64_t>(job.columns.destStart, INT32_MIN, INT32_MAX)),
            static_cast<int>(std::clamp<int64_t>(job.rows.destStart, INT32_MIN, INT32_MAX)),
            static_cast<int>(
                std::clamp<int64_t>(job.columns.destStart + job.columns.destLength, INT32_MIN, INT32_MAX)),
            static_cast<int>(
                std::clamp<int64_t>(job.rows.destStart + job.rows.destLength, INT32_MIN, INT32_MAX))};
        fillClipped(target, job.clip, rect, *job.paint, job.rop);
        return;
    }
    const Samples cols = sampleAxis(job.columns, area.left, area.right, givenSource->width, job.halftone);
    const Samples rows = sampleAxis(job.rows, area.top, area.bottom, givenSource->height, job.halftone);
    if (cols.count() == 0 || rows.count() == 0) return;

    // A blit within one surface reads from a copy of the rows it needs, so that no pixel is
    // overwritten before it is read (by this piece of a clip or an earlier one), unless it can
    // move them in place. The translation depends only on the source's format, which the copy
    // keeps.
    SourceImage source = *givenSource;
    Translator translator(source, target, job.colors);
    std::vector<uint8_t> copy;
    if (source.bits == target.bits() && !movesInPlace(job, source, translator, cols, rows)) {
        int first = INT32_MAX;
        int last = INT32_MIN;
        for (int r = 0; r < rows.count(); ++r) {
            const auto [from, to] = spanOf(rows, r);
            first = std::min(first, from);
            last = std::max(last, to - 1);
        }
        copy.resize(static_cast<size_t>(last - first + 1) * source.stride);
        for (int y = first; y <= last; ++y)
            std::memcpy(copy.data() + static_cast<size_t>(y - first) * source.stride, source.row(y),
                        source.stride);
        source.bits = copy.data();
        source.topDown = true;
        source.firstRow = first;
    }

    if (job.clip.rectangular()) return blitPixels(job, source, translator, cols, rows);
    const DeviceRect sampled{cols.destFirst, rows.destFirst, cols.destFirst + cols.count(),
                             rows.destFirst + rows.count()};
    job.clip.forEach(sampled, [&](const DeviceRect& piece) {
        blitPixels(job, source, translator, slice(cols, piece.left, piece.right),
                   slice(rows, piece.top, piece.bottom));
    });
}

// Fills in the destination half of a job from a DC; false when there is nothing to draw on.
bool prepareJob(DeviceContextObject& dc, BlitJob& job, std::optional<BrushPaint>& paint) {
    job.target = drawingSurface(dc);
    if (!job.target) return false;
    job.clip = effectiveClip(dc);
    job.colors.text = colorOf(dc, dc.state.textColor);
    job.colors.background = colorOf(dc, dc.state.backgroundColor);
    job.colors.monochromeBackground = job.colors.background;
    paint = BrushPaint::resolve(findBrush(dc.state.brush).get(), dc, *job.target);
    job.paint = &*paint;
    return true;
}

// Normalises a signed rectangle pair into two axes.
void setAxes(BlitJob& job, const SignedRect& dest, const SignedRect& source) {
    auto axis = [](int64_t d, int64_t dl, int64_t s, int64_t sl) {
        Axis a;
        a.destStart = dl < 0 ? d + dl : d;
        a.destLength = dl < 0 ? -dl : dl;
        a.sourceStart = sl < 0 ? s + sl : s;
        a.sourceLength = sl < 0 ? -sl : sl;
        a.mirror = (dl < 0) != (sl < 0);
        return a;
    };
    job.columns = axis(dest.x, dest.width, source.x, source.width);
    job.rows = axis(dest.y, dest.height, source.y, source.height);
}

std::string coordinates(const SignedRect& r, bool withExtent = true) {
    std::string text = std::to_string(r.x);
    text.append(" ").append(std::to_string(r.y));
    if (withExtent)
        text.append(" ").append(std::to_string(r.width)).append(" ").append(std::to_string(r.height));
    return text;
}

// StretchBlt and BitBlt.
BOOL blitBetweenDcs(const CallRefuser& refuse, HDC destDc, const SignedRect& dest, HDC sourceDc,
                    const SignedRect& source, DWORD rop, bool stretch) {
    const uint8_t index = ropIndex(rop);
    std::lock_guard lock(gdiMutex());
    auto dc = findDc(handleValue(destDc));
    if (!dc) return FALSE;
    std::shared_ptr<DeviceContextObject> from;
    if (ropUsesSource(index)) {
        from = findDc(handleValue(sourceDc));
        if (!from) return FALSE;
        if (from->kind == DcKind::Metafile)
            return refuse.unsupported(BOOL{FALSE}, "a metafile DC as the source");
    }
    if (!rectFits(dest) || !rectFits(source)) return refuse(BOOL{FALSE}, "coordinates beyond 2^27");
    if (recording(handleValue(destDc))) {
        std::string line = std::string(stretch ? "StretchBlt" : "BitBlt") + " " + coordinates(dest) + " <- " +
                           coordinates(source, stretch);
        record(handleValue(destDc), line + " " + ropName(rop));
    }
    BlitJob job;
    std::optional<BrushPaint> paint;
    if (!prepareJob(*dc, job, paint)) return TRUE;  // a metafile only records
    job.rop = index;
    setAxes(job, toDevice(*dc, dest), from ? toDevice(*from, source) : source);
    if (job.columns.destLength == 0 || job.rows.destLength == 0) return TRUE;
    if (!from) {
        runBlit(job, nullptr);
        return TRUE;
    }
    if (job.columns.sourceLength == 0 || job.rows.sourceLength == 0) return TRUE;
    const Surface* sourceSurface = drawingSurface(*from);
    if (!sourceSurface) return FALSE;
    job.halftone = stretch && dc->state.stretchMode == HALFTONE;
    job.colors.monochromeBackground = colorOf(*from, from->state.backgroundColor);
    const SourceImage image = imageOf(*sourceSurface);
    runBlit(job, &image);
    return TRUE;
}

struct CheckedDib {
    DibLayout layout;
    std::vector<RGBQUAD> colors;
};

std::optional<CheckedDib> checkCallerDib(const CallRefuser& refuse, const void* bits, const BITMAPINFO* info,
                                         UINT usage) {
    if (!bits || !info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    if (usage != DIB_RGB_COLORS) {
        return refuse.unsupported(std::nullopt, usage == DIB_PAL_COLORS
                                                    ? std::string("DIB_PAL_COLORS")
                                                    : "colour usage " + std::to_string(usage));
    }
    const DibCheck check = checkDib(info, kUnknownSize);
    if (check.problem == DibProblem::Unsupported) {
        return refuse.unsupported(std::nullopt,
                                  "DIB compression " + std::to_string(info->bmiHeader.biCompression));
    }
    if (!check.layout) return refuse(std::nullopt, "a damaged DIB header");
    return CheckedDib{*check.layout, readColorTable(info, *check.layout)};
}

}  // namespace

bool rectFits(const SignedRect& r) {
    return coordinatesFit({r.x, r.y, r.width, r.height, r.x + r.width, r.y + r.height});
}

void drawDibRect(DeviceContextObject& dc, const DibLayout& layout, const std::vector<RGBQUAD>& colors,
                 const void* bits, const SignedRect& dest, const SignedRect& source, uint8_t ropIndex,
                 bool halftone) {
    BlitJob job;
    std::optional<BrushPaint> paint;
    if (!prepareJob(dc, job, paint)) return;
    job.rop = ropIndex;
    job.halftone = halftone;
    setAxes(job, toDevice(dc, dest), source);
    if (job.columns.destLength == 0 || job.rows.destLength == 0) return;
    if (job.columns.sourceLength == 0 || job.rows.sourceLength == 0) return;
    const SourceImage image = imageOf(layout, colors, bits);
    runBlit(job, ropUsesSource(ropIndex) ? &image : nullptr);
}

}  // namespace winplat::gdi

using namespace winplat;
using namespace winplat::gdi;

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop) {
    constexpr CallRefuser refuse("winplat: BitBlt");
    return blitBetweenDcs(refuse, dest, SignedRect{x, y, width, height}, source,
                          SignedRect{sx, sy, width, height}, rop, false);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                DWORD rop) {
    constexpr CallRefuser refuse("winplat: StretchBlt");
    return blitBetweenDcs(refuse, dest, SignedRect{x, y, width, height}, source, SignedRect{sx, sy, sw, sh},
                          rop, true);
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
    constexpr CallRefuser refuse("winplat: PatBlt");
    if (ropUsesSource(ropIndex(rop)))
        return refuse.unsupported(BOOL{FALSE}, "an operation with a source, " + ropName(rop));
    std::lock_guard lock(gdiMutex());
    auto context = findDc(handleValue(dc));
    if (!context) return FALSE;
    const SignedRect rect{x, y, width, height};
    if (!rectFits(rect)) return refuse(BOOL{FALSE}, "coordinates beyond 2^27");
    if (recording(handleValue(dc)))
        record(handleValue(dc), "PatBlt " + coordinates(rect) + " " + ropName(rop));
    BlitJob job;
    std::optional<BrushPaint> paint;
    if (!prepareJob(*context, job, paint)) return TRUE;
    job.rop = ropIndex(rop);
    setAxes(job, toDevice(*context, rect), rect);
    runBlit(job, nullptr);
    return TRUE;
}

int StretchDIBits(HDC dc, int x, int y, int width, int height, int sx, int sy, int sw, int sh,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    constexpr CallRefuser refuse("winplat: StretchDIBits");
    const uint8_t index = ropIndex(rop);
    std::optional<CheckedDib> dib;
    if (ropUsesSource(index)) {
        dib = checkCallerDib(refuse, bits, info, usage);
        if (!dib) return 0;
    }
    const SignedRect dest{x, y, width, height};
    const SignedRect given{sx, sy, sw, sh};
    if (!rectFits(dest) || !rectFits(given)) return refuse(0, "coordinates beyond 2^27");
    std::lock_guard lock(gdiMutex());
    auto context = findDc(handleValue(dc));
    if (!context) return 0;
    if (recording(handleValue(dc))) {
        record(handleValue(dc),
               "StretchDIBits " + coordinates(dest) + " <- " + coordinates(given) + " " + ropName(rop));
    }
    // The source rectangle of a bottom-up DIB is measured from its bottom-left corner, y upwards:
    // rows [sy, sy + sh) counted from the bottom are rows [H - sy - sh, H - sy) from the top.
    // The sign of sh keeps its meaning: equal signs draw the picture upright.
    SignedRect source = given;
    if (dib && !dib->layout.topDown) source.y = dib->layout.height - static_cast<int64_t>(sy) - sh;
    if (dib) {
        drawDibRect(*context, dib->layout, dib->colors, bits, dest, source, index,
                    context->state.stretchMode == HALFTONE);
    } else {
        BlitJob job;
        std::optional<BrushPaint> paint;
        if (prepareJob(*context, job, paint)) {
            job.rop = index;
            setAxes(job, toDevice(*context, dest), dest);
            runBlit(job, nullptr);
        }
    }
    return sh < 0 ? -sh : sh;
}

int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int sx, int sy, UINT startScan,
                      UINT scanLines, const void* bits, const BITMAPINFO* info, UINT usage) {
    constexpr CallRefuser refuse("winplat: SetDIBitsToDevice");
    auto dib = checkCallerDib(refuse, bits, info, usage);
    if (!dib) return 0;
    const SignedRect dest{x, y, static_cast<int64_t>(width), static_cast<int64_t>(height)};
    if (!rectFits(dest) ||
        !coordinatesFit({sx, sy, static_cast<int64_t>(startScan), static_cast<int64_t>(scanLines)})) {
        return refuse(0, "coordinates beyond 2^27");
    }
    std::lock_guard lock(gdiMutex());
    auto context = findDc(handleValue(dc));
    if (!context) return 0;
    if (recording(handleValue(dc))) {
        record(handleValue(dc), "SetDIBitsToDevice " + coordinates(dest) + " <- " + std::to_string(sx) + " " +
                                    std::to_string(sy));
    }
    // The bits hold scan lines startScan .. startScan + scanLines - 1 only (numbered from the
    // bottom of a bottom-up DIB, from the top of a top-down one); they are drawn as a picture of
    // their own, and the source rectangle (whose y counts as StretchDIBits' does) is moved onto it.
    const DibLayout& whole = dib->layout;
    if (startScan >= static_cast<UINT>(whole.height)) return 0;
    const int band =
        static_cast<int>(std::min<uint64_t>(scanLines, static_cast<uint64_t>(whole.height) - startScan));
    if (band == 0) return 0;
    DibLayout bandLayout = whole;
    bandLayout.height = band;
    const int64_t h = static_cast<int64_t>(height);
    const int64_t top = whole.topDown ? static_cast<int64_t>(sy) - startScan
                                      : static_cast<int64_t>(band) - sy - h + static_cast<int64_t>(startScan);
    drawDibRect(*context, bandLayout, dib->colors, bits, dest, SignedRect{sx, top, dest.width, dest.height},
                0xCC, false);
    return band;
}
