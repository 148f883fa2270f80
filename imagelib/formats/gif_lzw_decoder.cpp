#include "formats/gif_lzw_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: GIF");

constexpr int kTableSize = 4096;
constexpr int kMaxCodeWidth = 12;

// The data sub-blocks as one run of bytes.
class SubBlocks {
public:
    explicit SubBlocks(ByteStream& stream) : stream_(stream) {}

    // The next data byte, or -1 at the terminator, the end of the file or a short sub-block.
    int next() {
        if (position_ == length_ && !refill()) return -1;
        return block_[position_++];
    }
    bool terminatorRead() const { return terminated_; }

private:
    bool refill() {
        if (finished_) return false;
        uint8_t length = 0;
        finished_ = true;
        if (!stream_.read(&length, 1)) return false;
        if (length == 0) {
            terminated_ = true;
            return false;
        }
        if (!stream_.read(block_.data(), length)) return false;  // a sub-block shorter than it says
        finished_ = false;
        length_ = length;
        position_ = 0;
        return true;
    }

    ByteStream& stream_;
    std::array<uint8_t, 255> block_{};
    int length_ = 0;
    int position_ = 0;
    bool finished_ = false;
    bool terminated_ = false;
};

// Where decoded pixels go: the index row of the current frame row, delivered when full in the
// frame's row order.
class RowWriter {
public:
    RowWriter(const GifImageShape& shape, RowSink& sink, PxlProgressFn progress)
        : shape_(shape),
          sink_(sink),
          progress_(progress),
          indexes_(static_cast<size_t>(std::max<int64_t>(shape.width, shape.out.stride))),
          packed_(shape.out.depth == 8 ? 0 : shape.out.stride) {}

    bool done() const { return done_; }
    int room() const { return shape_.width - column_; }
    uint8_t* at() { return indexes_.data() + column_; }

    // Counts pixels written at at(); delivers the row once it is full. False when the sink stops.
    bool advance(int count) {
        column_ += count;
        if (column_ < shape_.width) return true;
        column_ = 0;
        if (row_ < shape_.out.height) {
            if (progress_) progress_();
            if (sink_.putRow(packedRow(), row_) != kCodecOk) return false;
        }
        nextRow();
        return true;
    }

private:
    void nextRow() {
        if (!shape_.interlaced) {
            done_ = ++row_ >= shape_.height;
            return;
        }
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        row_ += kStep[pass_];
        while (row_ >= shape_.height) {
            if (++pass_ == 4) {
                done_ = true;
                return;
            }
            row_ = kStart[pass_];
        }
    }

    // The index row in the sink's depth: indexes masked to it, the padding as the library makes it.
    const uint8_t* packedRow() {
        const int count = std::min(shape_.width, shape_.out.width);
        const uint8_t* in = indexes_.data();
        uint8_t* out = packed_.data();
        switch (shape_.out.depth) {
            case 1: {
                std::fill(packed_.begin(), packed_.end(), uint8_t{0xFF});  // padding bits are 1
                for (int x = 0; x < count; ++x) {
                    if (in[x] == 0) out[x >> 3] &= static_cast<uint8_t>(~(0x80 >> (x & 7)));
                }
                return out;
            }
            case 4: {
                const uint8_t pad = static_cast<uint8_t>(shape_.whiteIndex & 0x0F);
                std::fill(packed_.begin(), packed_.end(), static_cast<uint8_t>(pad << 4 | pad));
                int x = 0;
                for (; x + 1 < count; x += 2) out[x >> 1] = static_cast<uint8_t>((in[x] & 0x0F) << 4 | (in[x + 1] & 0x0F));
                if (x < count) out[x >> 1] = static_cast<uint8_t>((in[x] & 0x0F) << 4 | pad);
                return out;
            }
            default:
                return in;
        }
    }

    const GifImageShape& shape_;
    RowSink& sink_;
    PxlProgressFn progress_;
    std::vector<uint8_t> indexes_;
    std::vector<uint8_t> packed_;
    int column_ = 0;
    int row_ = 0;
    int pass_ = 0;
    bool done_ = false;
};

// The string table: for each code its prefix code, last byte, first byte and length.
struct Table {
    std::array<uint16_t, kTableSize> prefix{};
    std::array<uint8_t, kTableSize> suffix{};
    std::array<uint8_t, kTableSize> first{};
    std::array<uint16_t, kTableSize> length{};
    std::array<uint8_t, kTableSize> scratch{};
};

class Decoder {
public:
    Decoder(ByteStream& stream, int minimumCodeSize, const GifImageShape& shape, RowSink& sink,
            PxlProgressFn progress)
        : input_(stream),
          rows_(shape, sink, progress),
          table_(std::make_unique<Table>()),
          clear_(1 << minimumCodeSize),
          minimumCodeSize_(minimumCodeSize) {
        for (int i = 0; i < clear_; ++i) {
            table_->suffix[i] = static_cast<uint8_t>(i);
            table_->first[i] = static_cast<uint8_t>(i);
            table_->length[i] = 1;
        }
        reset();
    }

    GifDecodeResult run() {
        GifDecodeResult result;
        result.code = decode();
        result.terminatorRead = input_.terminatorRead();
        return result;
    }

private:
    void reset() {
        nextFree_ = clear_ + 2;
        width_ = minimumCodeSize_ + 1;
        limit_ = 1 << width_;
        previous_ = -1;
    }

    int readCode() {
        while (bitCount_ < width_) {
            const int byte = input_.next();
            if (byte < 0) return -1;
            bits_ |= static_cast<uint32_t>(byte) << bitCount_;
            bitCount_ += 8;
        }
        const int code = static_cast<int>(bits_ & ((1u << width_) - 1));
        bits_ >>= width_;
        bitCount_ -= width_;
        return code;
    }

    int16_t decode() {
        const int end = clear_ + 1;
        while (!rows_.done()) {
            const int code = readCode();
            // The data ended before the end code: within its sub-blocks the frame is damaged but
            // whole; a file that ends inside them holds only part of the frame.
            if (code < 0) {
                if (!input_.terminatorRead()) {
                    return refuse(kCodecReadError, "the file ends inside a frame's data");
                }
                return refuse(kCodecBadFormat, "a frame's data end before the end code");
            }
            if (code == clear_) {
                reset();
                continue;
            }
            if (code == end) return kCodecOk;
            if (code > nextFree_) return refuse(kCodecBadFormat, "a code beyond the string table");
            const bool repeat = code == nextFree_;  // the previous string and its own first byte
            if (repeat && previous_ < 0) {
                return refuse(kCodecBadFormat, "a repeat code without a string before it");
            }
            const int base = repeat ? previous_ : code;
            const uint8_t firstByte = table_->first[base];
            const int length = table_->length[base] + (repeat ? 1 : 0);
            if (!emit(base, length, repeat, firstByte)) return kCodecStopped;
            if (previous_ >= 0 && nextFree_ < kTableSize) {
                table_->prefix[nextFree_] = static_cast<uint16_t>(previous_);
                table_->suffix[nextFree_] = firstByte;
                table_->first[nextFree_] = table_->first[previous_];
                table_->length[nextFree_] = static_cast<uint16_t>(table_->length[previous_] + 1);
                if (++nextFree_ == limit_ && width_ < kMaxCodeWidth) {
                    ++width_;
                    limit_ <<= 1;
                }
            }
            previous_ = code;
        }
        return kCodecOk;  // every row is out; what follows is not needed
    }

    // Writes the string of 'code' (plus 'firstByte' again when 'repeat'), 'length' bytes in all.
    void spell(uint8_t* out, int code, int length, bool repeat, uint8_t firstByte) const {
        uint8_t* p = out + length;
        if (repeat) *--p = firstByte;
        while (code >= clear_) {
            *--p = table_->suffix[code];
            code = table_->prefix[code];
        }
        *--p = static_cast<uint8_t>(code);
    }

    bool emit(int code, int length, bool repeat, uint8_t firstByte) {
        if (length <= rows_.room()) {
            spell(rows_.at(), code, length, repeat, firstByte);
            return rows_.advance(length);
        }
        // The string runs across rows: spelled aside, then copied row by row.
        spell(table_->scratch.data(), code, length, repeat, firstByte);
        const uint8_t* from = table_->scratch.data();
        while (length > 0 && !rows_.done()) {
            const int part = std::min(length, rows_.room());
            std::memcpy(rows_.at(), from, static_cast<size_t>(part));
            if (!rows_.advance(part)) return false;
            from += part;
            length -= part;
        }
        return true;
    }

    SubBlocks input_;
    RowWriter rows_;
    std::unique_ptr<Table> table_;
    const int clear_;
    const int minimumCodeSize_;
    int nextFree_ = 0;
    int width_ = 0;
    int limit_ = 0;
    int previous_ = -1;
    uint32_t bits_ = 0;
    int bitCount_ = 0;
};

}  // namespace

GifDecodeResult decodeGifImage(ByteStream& stream, int minimumCodeSize, const GifImageShape& shape, RowSink& sink,
                               PxlProgressFn progress) {
    GifDecodeResult result;
    if (minimumCodeSize < 2 || minimumCodeSize > 8) {
        result.code = refuse(kCodecBadFormat, "a minimum code size outside 2 to 8");
        return result;
    }
    if (shape.width <= 0 || shape.height <= 0) return result;
    return Decoder(stream, minimumCodeSize, shape, sink, progress).run();
}

}  // namespace pixmill
