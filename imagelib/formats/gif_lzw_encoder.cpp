#include "formats/gif_lzw_encoder.h"

#include <algorithm>

namespace pixmill {

GifLzwEncoder::GifLzwEncoder(ByteStream& out, int minimumCodeSize)
    : out_(out),
      minimumCodeSize_(minimumCodeSize),
      clearCode_(1 << minimumCodeSize),
      endCode_(clearCode_ + 1) {
    resetTable();
}

void GifLzwEncoder::resetTable() {
    slots_.fill(kEmpty);
    nextCode_ = clearCode_ + 2;
    width_ = minimumCodeSize_ + 1;
}

bool GifLzwEncoder::start() {
    const uint8_t size = static_cast<uint8_t>(minimumCodeSize_);
    ok_ = out_.write(&size, 1);
    put(clearCode_);
    return ok_;
}

void GifLzwEncoder::flushBlock() {
    if (blockBytes_ == 0 || !ok_) return;
    block_[0] = static_cast<uint8_t>(blockBytes_);
    ok_ = out_.write(block_.data(), static_cast<uint32_t>(blockBytes_ + 1));
    blockBytes_ = 0;
}

void GifLzwEncoder::put(int code) {
    bits_ |= static_cast<uint64_t>(code) << bitCount_;
    bitCount_ += width_;
    while (bitCount_ >= 8) {
        block_[static_cast<size_t>(++blockBytes_)] = static_cast<uint8_t>(bits_);
        bits_ >>= 8;
        bitCount_ -= 8;
        if (blockBytes_ == 255) flushBlock();
    }
}

bool GifLzwEncoder::add(const uint8_t* indexes, size_t count) {
    size_t i = 0;
    if (current_ < 0 && count > 0) current_ = indexes[i++];
    for (; i < count && ok_; ++i) {
        const uint8_t c = indexes[i];
        const uint32_t key = static_cast<uint32_t>(current_) << 8 | c;
        uint32_t slot = (key * 0x9E3779B1u) >> 19;  // 13 bits
        uint32_t entry;
        while ((entry = slots_[slot]) != kEmpty && entry >> 12 != key) slot = (slot + 1) & (kSlots - 1);
        if (entry != kEmpty) {
            current_ = static_cast<int>(entry & 0xFFF);
            continue;
        }
        slots_[slot] = key << 12 | static_cast<uint32_t>(nextCode_);
        ++nextCode_;
        put(current_);
        // The decoder adds this string one code later, and widens once its table reaches 2^width.
        if (nextCode_ - 1 >= (1 << width_) && width_ < 12) ++width_;
        current_ = c;
        if (nextCode_ >= kCodeLimit) {
            put(clearCode_);
            resetTable();
        }
    }
    return ok_;
}

bool GifLzwEncoder::finish() {
    if (current_ >= 0) {
        put(current_);
        // Reading that code the decoder adds one more string; when that fills the codes of the
        // present width it reads the end code one bit wider.
        if (nextCode_ >= (1 << width_) && width_ < 12) ++width_;
    }
    put(endCode_);
    if (bitCount_ > 0) {
        block_[static_cast<size_t>(++blockBytes_)] = static_cast<uint8_t>(bits_);
        bits_ = 0;
        bitCount_ = 0;
        if (blockBytes_ == 255) flushBlock();
    }
    flushBlock();
    const uint8_t terminator = 0;
    if (ok_) ok_ = out_.write(&terminator, 1);
    return ok_;
}

}  // namespace pixmill
