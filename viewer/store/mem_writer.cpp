#include "store/mem_writer.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

#include "pixmill/pixmill.h"
#include "store/block_pool.h"
#include "store/disk_file.h"
#include "winplat/clipboard.h"
#include "winplat/locale.h"

namespace lect32 {
namespace {

// The largest block the memory layer hands out.
constexpr uint64_t kMaxBlock = 0x7FFFFFFF;
constexpr uint32_t kChunkHeader = 5;   // flag, unpacked length, packed length
constexpr uint32_t kStoredHeader = 3;  // flag, length

void putLe(uint8_t* at, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// The most bytes a chunk takes in the output: its header and whichever of zlib's bound for its
// packed form and its own bytes is larger.
uint64_t chunkBound(uint32_t length) {
    return kChunkHeader + std::max<uint64_t>(compressBound(length), length);
}

// Packs one chunk (flag 1, unpacked and packed length, packed bytes) when that makes it smaller,
// else stores it (flag 0, length, the bytes); the output has room for chunkBound. Its size.
uint32_t putChunk(const uint8_t* in, uint32_t length, uint8_t* out) {
    uint32_t packed = static_cast<uint32_t>(compressBound(length));
    if (PXLcompress(out + kChunkHeader, &packed, in, length) == 0 && packed < length) {
        out[0] = 1;
        putLe(out + 1, length, 2);
        putLe(out + 3, packed, 2);
        return kChunkHeader + packed;
    }
    out[0] = 0;
    putLe(out + 1, length, 2);
    std::memcpy(out + kStoredHeader, in, length);
    return kStoredHeader + length;
}

// Packs 'size' bytes into chunks of kStep behind a u16 chunk count; the output has room for
// every chunk's bound. The output's length.
uint32_t packChunks(const uint8_t* in, uint32_t size, uint8_t* out) {
    putLe(out, (size + MemWriter::kStep - 1) / MemWriter::kStep, 2);
    uint32_t outPos = 2;
    for (uint32_t offset = 0; offset < size; offset += MemWriter::kStep) {
        outPos += putChunk(in + offset, std::min(MemWriter::kStep, size - offset), out + outPos);
    }
    return outPos;
}

}  // namespace

bool MemWriter::lock() {
    pin_ = winplat::GlobalPin(block_.get());
    data_ = pin_.as<uint8_t>();
    return data_ != nullptr;
}

void MemWriter::unlock() {
    pin_.reset();
    data_ = nullptr;
}

void MemWriter::Begin() {
    Free();
    block_.reset(GlobalAlloc(GMEM_MOVEABLE, kStep));
    if (!lock()) {
        block_.reset();
        error_ = true;
        return;
    }
    capacity_ = kStep;
}

// Grows in steps of at least kStep, and by half the capacity once that is larger, so that a big
// writer fed in small pieces costs amortised constant time per byte.
bool MemWriter::Grow(uint32_t atLeast) {
    const uint64_t step = std::max<uint64_t>(kStep, capacity_ / 2);
    const uint64_t wanted = std::max<uint64_t>(uint64_t{capacity_} + step, atLeast);
    const uint64_t target = std::min(wanted, kMaxBlock);
    if (target < atLeast) {
        error_ = true;
        return false;
    }
    if (!block_) {
        block_.reset(GlobalAlloc(GMEM_MOVEABLE, target));
        if (!lock()) {
            block_.reset();
            error_ = true;
            return false;
        }
        capacity_ = static_cast<uint32_t>(target);
        return true;
    }
    unlock();
    const bool grown = GlobalReAlloc(block_.get(), target, GMEM_MOVEABLE) != nullptr;
    // A refused reallocation leaves the old block whole, so what was written stays readable.
    if (!lock() || !grown) {
        error_ = true;
        return false;
    }
    capacity_ = static_cast<uint32_t>(target);
    return true;
}

// Makes room for 'count' more bytes at the write position; false once the error flag is set.
bool MemWriter::ensure(uint32_t count) {
    if (error_) return false;
    const uint64_t needed = uint64_t{position_} + count;
    if (needed > kMaxBlock) {
        error_ = true;
        return false;
    }
    if (block_ && !data_) {
        // Written to again after End (which unlocked and trimmed the block).
        capacity_ = lock() ? static_cast<uint32_t>(GlobalSize(block_.get())) : 0;
    }
    if (data_ && needed <= capacity_) return true;
    return Grow(static_cast<uint32_t>(needed));
}

int MemWriter::put(uint64_t value, int width) {
    if (!ensure(static_cast<uint32_t>(width))) return 0;
    putLe(data_ + position_, value, width);
    position_ += static_cast<uint32_t>(width);
    return 1;
}

int MemWriter::WriteWord(uint16_t value) { return put(value, 2); }

int MemWriter::WriteDword(uint32_t value) { return put(value, 4); }

int MemWriter::WriteBytes(const void* data, uint16_t count) { return WriteBytesLong(data, count); }

int MemWriter::WriteBytesLong(const void* data, uint32_t count) {
    if (error_) return 0;
    if (count == 0) return 1;
    if (!data || !ensure(count)) return 0;
    std::memcpy(data_ + position_, data, count);
    position_ += count;
    return 1;
}

bool MemWriter::finish() {
    if (block_ && data_) {
        unlock();
        // Trimming only gives memory back; a refused trim leaves a larger block, still valid.
        if (!error_ && GlobalReAlloc(block_.get(), position_, 0)) capacity_ = position_;
    }
    return !error_;
}

int MemWriter::End() { return finish() ? 0 : 1; }

int MemWriter::WriteToFile(DiskFile& file) {
    if (error_) return 0;
    if (position_ == 0) return 1;
    const BlockBytes bytes(block_.get(), data_);
    if (!bytes) return 0;
    return file.Write(bytes.get(), position_) == position_ ? 1 : 0;
}

uint32_t MemWriter::CopyTo(void* destination) {
    if (error_ || position_ == 0 || !destination) return 0;
    const BlockBytes bytes(block_.get(), data_);
    if (!bytes) return 0;
    std::memcpy(destination, bytes.get(), position_);
    return position_;
}

// After End: whoever takes the block sees its size as the length, so it must be exact.
bool MemWriter::trim() {
    if (!finish() || !block_) return false;
    if (GlobalSize(block_.get()) != position_ && !GlobalReAlloc(block_.get(), position_, 0)) return false;
    capacity_ = position_;
    return true;
}

HGLOBAL MemWriter::DetachHandle() {
    // Nobody is handed a block that a failed write left short.
    if (!trim()) return nullptr;
    HGLOBAL block = block_.release();
    capacity_ = 0;
    position_ = 0;
    compressed_ = false;
    return block;
}

int MemWriter::PutOnClipboard(UINT format) {
    if (!trim()) return 0;
    if (!SetClipboardData(format, block_.get())) return 0;  // still ours, freed with the writer
    (void)block_.release();  // the clipboard's now
    capacity_ = 0;
    position_ = 0;
    compressed_ = false;

    // Tells a pasting program which code page the text is in; the data went in without it.
    winplat::GlobalBlock locale(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(LCID)));
    {
        const winplat::GlobalPin pin(locale.get());
        if (!pin) return 1;
        putLe(pin.as<uint8_t>(), GetThreadLocale(), sizeof(LCID));
    }
    if (SetClipboardData(CF_LOCALE, locale.get())) (void)locale.release();
    return 1;
}

void MemWriter::Free() {
    unlock();
    block_.reset();
    capacity_ = 0;
    position_ = 0;
    error_ = false;
    compressed_ = false;
}

bool MemWriter::Compress() {
    if (compressed_ || !finish()) return false;
    const uint32_t size = position_;
    const uint32_t chunks = (size + kStep - 1) / kStep;
    if (chunks > 0xFFFF) return false;
    const uint32_t last = size - (chunks ? (chunks - 1) * kStep : 0);
    const uint64_t outCapacity = 2 + (chunks ? uint64_t{chunks - 1} * chunkBound(kStep) + chunkBound(last) : 0);
    if (outCapacity > kMaxBlock) return false;

    winplat::GlobalBlock outBlock(GlobalAlloc(GMEM_MOVEABLE, outCapacity));
    uint32_t outPos = 0;
    {
        const winplat::GlobalPin out(outBlock.get());
        const winplat::GlobalPin in(size ? block_.get() : nullptr);
        if (!out || (size && !in)) return false;
        outPos = packChunks(in.as<const uint8_t>(), size, out.as<uint8_t>());
    }
    GlobalReAlloc(outBlock.get(), outPos, 0);  // a refused trim keeps the larger block
    block_ = std::move(outBlock);
    capacity_ = outPos;
    position_ = outPos;
    compressed_ = true;
    return true;
}

}  // namespace lect32
