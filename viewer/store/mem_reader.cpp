#include "store/mem_reader.h"

#include <algorithm>
#include <cstring>

#include "store/chunked_body.h"
#include "store/disk_file.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

uint16_t u16At(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

// Typical documents pack by less than this, so most bodies expand into their first block.
constexpr uint64_t kFirstGuessRatio = 8;

constexpr winplat::Refuser refuse("lect32: chunked body");

}  // namespace

bool MemReader::allocate(uint32_t size) {
    Free();
    if (size == 0) return true;  // an empty body needs no block, and reads of it just overrun
    winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, size));
    winplat::GlobalPin pin(block.get());
    if (!pin) return false;
    block_ = std::move(block);
    pin_ = std::move(pin);
    data_ = pin_.as<uint8_t>();
    size_ = size;
    return true;
}

int MemReader::LoadFromFile(DiskFile& file, uint32_t length, BodyStamp stamp) {
    return LoadFromFile(file, length, stamp, file.GetSize());
}

int MemReader::LoadFromFile(DiskFile& file, uint32_t length, BodyStamp stamp, uint64_t fileSize) {
    Free();
    stamp_ = stamp;
    const uint32_t at = file.Tell();
    if (!file.IsOpen() || at > fileSize || fileSize - at < length) return 0;
    if (stamp.form == BodyForm::Chunked) return expandChunks(file, length) ? 1 : 0;
    if (!allocate(length)) return 0;
    if (length && file.Read(data_, length) != length) {
        Free();
        return 0;
    }
    return 1;
}

bool MemReader::resize(uint32_t capacity) {
    pin_.reset();
    const bool resized = GlobalReAlloc(block_.get(), capacity, GMEM_MOVEABLE) != nullptr;
    pin_ = winplat::GlobalPin(block_.get());
    data_ = pin_.as<uint8_t>();
    return resized && data_;
}

// The block grows only as chunks really expand, so headers that promise far more than the body
// holds cost no more memory than a few times the body before they are caught.
bool MemReader::expandChunks(DiskFile& file, uint32_t length) {
    ChunkReader chunks(file, length);
    if (!chunks.Start()) return false;
    const uint64_t bound = chunks.expandedBound();
    uint64_t capacity = std::min(bound, std::max<uint64_t>(kChunk, uint64_t{length} * kFirstGuessRatio));
    if (!allocate(static_cast<uint32_t>(capacity))) return false;

    ChunkInflater inflater;
    uint32_t filled = 0;
    BodyChunk chunk;
    for (uint32_t i = 0; i < chunks.count(); ++i) {
        if (!chunks.Next(chunk)) {
            Free();
            return false;
        }
        const uint64_t needed = uint64_t{filled} + chunk.unpacked;
        if (needed > capacity) {
            capacity = std::min(bound, std::max(needed, capacity * 2));
            if (!resize(static_cast<uint32_t>(capacity))) {
                Free();
                return false;
            }
        }
        if (chunk.packed) {
            if (!inflater.Expand(data_ + filled, chunk.unpacked, chunk.data, chunk.length)) {
                Free();
                return refuse(false, "chunk does not expand to its unpacked length");
            }
        } else if (chunk.unpacked) {
            std::memcpy(data_ + filled, chunk.data, chunk.unpacked);
        }
        filled += chunk.unpacked;
    }
    size_ = filled;
    return true;
}

int MemReader::LoadFromMemory(const void* data, uint32_t length) {
    if (length && !data) {
        Free();
        return 0;
    }
    if (!allocate(length)) return 0;
    if (length) std::memcpy(data_, data, length);
    stamp_ = {};
    return 1;
}

bool MemReader::take(void* out, uint32_t count) {
    if (count > size_ - position_) {
        overrun_ = true;
        return false;
    }
    if (count) std::memcpy(out, data_ + position_, count);
    position_ += count;
    return true;
}

int MemReader::ReadByte(uint8_t& value) {
    if (position_ < size_) {
        value = data_[position_++];
        return 1;
    }
    overrun_ = true;
    value = 0;
    return 0;
}

int MemReader::ReadWord(uint16_t& value) {
    uint8_t bytes[2] = {};
    const bool ok = take(bytes, 2);
    value = u16At(bytes);
    return ok ? 1 : 0;
}

int MemReader::ReadWordLow(uint32_t& target) {
    uint16_t low = 0;
    const int ok = ReadWord(low);
    target = (target & 0xFFFF0000u) | low;
    return ok;
}

int MemReader::ReadDword(uint32_t& value) {
    uint8_t bytes[4] = {};
    const bool ok = take(bytes, 4);
    value = static_cast<uint32_t>(u16At(bytes)) | (static_cast<uint32_t>(u16At(bytes + 2)) << 16);
    return ok ? 1 : 0;
}

int MemReader::ReadLong(int32_t& value) {
    uint32_t bits = 0;
    const int ok = ReadDword(bits);
    value = static_cast<int32_t>(bits);
    return ok;
}

int MemReader::ReadTriple(uint8_t (&value)[3]) {
    if (take(value, 3)) return 1;
    value[0] = value[1] = value[2] = 0;
    return 0;
}

int MemReader::ReadBytes(void* out, uint16_t count) { return ReadBytesLong(out, count); }

int MemReader::ReadBytesLong(void* out, uint32_t count) {
    if (count && !out) return 0;
    return take(out, count) ? 1 : 0;
}

int MemReader::Skip(uint32_t count) {
    if (count > size_ - position_) {
        position_ = size_;
        overrun_ = true;
        return 0;
    }
    position_ += count;
    return 1;
}

int MemReader::WriteToFile(DiskFile& file) {
    if (size_ == 0) return 1;
    return file.Write(data_, size_) == size_ ? 1 : 0;
}

void MemReader::Free() {
    pin_.reset();
    block_.reset();
    data_ = nullptr;
    size_ = 0;
    position_ = 0;
    overrun_ = false;
}

}  // namespace lect32
