#include "formats/bmp_rle.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "winplat/byte_reader.h"

namespace pixmill {
namespace {

// Escape codes that follow a zero count byte.
constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfBitmap = 1;
constexpr uint8_t kDelta = 2;

// One row being filled, with the cursor's column; everything written is clipped to the width.
class RowCursor {
  public:
    RowCursor(int width, int bits, const RleRowFn& onRow, int height)
        : width_(width), bits_(bits), height_(height), onRow_(onRow), row_(rleRowBytes(width, bits), 0) {}

    bool done() const { return y_ >= height_; }
    int x() const { return x_; }

    void advance(int count) { x_ = static_cast<int>(std::min<int64_t>(int64_t{x_} + count, width_)); }

    // A run of 'count' pixels: one value (RLE8) or two alternating nibbles (RLE4).
    void putRun(int count, uint8_t value) {
        const int n = std::min(count, width_ - x_);
        if (n <= 0) return advance(count);
        if (bits_ == 8) {
            std::memset(row_.data() + x_, value, static_cast<size_t>(n));
        } else {
            const uint8_t nibbles[2] = {static_cast<uint8_t>(value >> 4), static_cast<uint8_t>(value & 0x0F)};
            for (int i = 0; i < n; ++i) putNibble(x_ + i, nibbles[i & 1]);
        }
        advance(count);
    }

    // 'count' pixels given one by one in 'bytes' (one per byte, or two per byte high nibble first).
    void putLiteral(int count, std::span<const uint8_t> bytes) {
        const int n = std::min(count, width_ - x_);
        if (n > 0) {
            if (bits_ == 8) {
                std::memcpy(row_.data() + x_, bytes.data(), static_cast<size_t>(n));
            } else {
                for (int i = 0; i < n; ++i) {
                    const uint8_t b = bytes[static_cast<size_t>(i / 2)];
                    putNibble(x_ + i, (i & 1) ? (b & 0x0F) : (b >> 4));
                }
            }
        }
        advance(count);
    }

    // Hands the row out and starts the next one at column 0. False when the receiver stops.
    bool nextRow() {
        if (done()) return true;
        if (!onRow_(row_.data(), y_)) return false;
        std::fill(row_.begin(), row_.end(), uint8_t{0});
        ++y_;
        x_ = 0;
        return true;
    }

    // Moves 'rows' rows up keeping the column (delta); rows passed over stay empty.
    bool up(int rows) {
        const int column = x_;
        for (int i = 0; i < rows && !done(); ++i) {
            if (!nextRow()) return false;
        }
        x_ = column;
        return true;
    }

    // Hands out the row being filled and every row above it.
    bool finish() {
        while (!done()) {
            if (!nextRow()) return false;
        }
        return true;
    }

  private:
    void putNibble(int x, uint8_t value) {
        uint8_t& b = row_[static_cast<size_t>(x / 2)];
        b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | value)
                    : static_cast<uint8_t>((b & 0x0F) | (value << 4));
    }

    int width_;
    int bits_;
    int height_;
    const RleRowFn& onRow_;
    std::vector<uint8_t> row_;
    int x_ = 0;
    int y_ = 0;
};

}  // namespace

uint32_t rleRowBytes(int width, int bitsPerPixel) {
    const uint64_t bits = static_cast<uint64_t>(std::max(width, 0)) * static_cast<uint64_t>(bitsPerPixel);
    return static_cast<uint32_t>((bits + 31) / 32 * 4);
}

RleEnd decodeRle(std::span<const uint8_t> data, int width, int height, int bitsPerPixel,
                 const RleRowFn& onRow, RleShortData shortData) {
    RowCursor cursor(width, bitsPerPixel, onRow, height);
    winplat::ByteReader in(data);
    RleEnd end = RleEnd::DataEnded;
    while (!cursor.done()) {
        if (!in.has(2)) break;
        const uint8_t count = in.u8();
        const uint8_t code = in.u8();
        if (count > 0) {
            cursor.putRun(count, code);
            continue;
        }
        if (code == kEndOfLine) {
            if (!cursor.nextRow()) return RleEnd::Stopped;
        } else if (code == kEndOfBitmap) {
            end = RleEnd::EndOfBitmap;
            break;
        } else if (code == kDelta) {
            if (!in.has(2)) break;
            const uint8_t dx = in.u8();
            const uint8_t dy = in.u8();
            // The column moves first so that it carries over into the row the delta lands on.
            cursor.advance(dx);
            if (!cursor.up(dy)) return RleEnd::Stopped;
        } else {
            // An absolute block of 'code' pixels, padded to a whole 16-bit word.
            const size_t bytes = bitsPerPixel == 8 ? code : (code + 1u) / 2;
            const size_t padded = (bytes + 1) & ~size_t{1};
            if (!in.has(bytes)) {
                // Cut short: keep the pixels that are there and end the picture.
                const size_t have = in.remaining();
                const int pixels = static_cast<int>(bitsPerPixel == 8 ? have : have * 2);
                cursor.putLiteral(pixels, in.view(have));
                break;
            }
            cursor.putLiteral(code, in.view(bytes));
            if (!in.skip(std::min(padded - bytes, in.remaining()))) break;
        }
    }
    if (cursor.done() && end == RleEnd::DataEnded) end = RleEnd::EndOfBitmap;
    if (end == RleEnd::DataEnded && shortData == RleShortData::Withheld) {
        return cursor.nextRow() ? end : RleEnd::Stopped;
    }
    if (!cursor.finish()) return RleEnd::Stopped;
    return end;
}

}  // namespace pixmill
