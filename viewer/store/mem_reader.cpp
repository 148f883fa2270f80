#include "store/mem_reader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "pixmill/pixmill.h"
#include "store/disk_file.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr uint64_t kMaxBlock = 0x7FFFFFFF;
constexpr uint32_t kStoredHeader = 3;  // flag, unpacked length
constexpr uint32_t kPackedHeader = 5;  // flag, unpacked length, packed length
// Deflate never expands one byte into more than 1032 (a 258-byte match in two one-bit codes).
constexpr uint64_t kDeflateMaxRatio = 1032;
// Typical documents pack by less than this, so most bodies expand into their first block.
constexpr uint64_t kFirstGuessRatio = 8;

uint16_t u16At(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

// One chunk of the chunked form, as found in the body.
struct Chunk {
    bool packed;
    uint32_t unpacked;
    uint32_t dataOffset;  // into the body
    uint32_t dataLength;
};

constexpr winplat::Refuser refuse("lect32: chunked body");

// Walks the chunk headers of a body of 'length' bytes, checking every one against the bytes that
// are really there before anything is expanded. On success 'total' is what the body expands to.
bool parseChunks(const uint8_t* body, uint32_t length, std::unique_ptr<Chunk[]>& chunks, uint32_t& count,
                 uint64_t& total) {
    if (length < 2) return refuse(false, "no chunk count");
    count = u16At(body);
    // Every chunk needs at least a stored chunk's header, so a count that cannot fit is damage.
    if (uint64_t{count} * kStoredHeader > length - 2) return refuse(false, "chunk count larger than the body");
    chunks.reset(new (std::nothrow) Chunk[count ? count : 1]);
    if (!chunks) return refuse(false, "no memory for the chunk list");
    uint32_t at = 2;
    total = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (length - at < kStoredHeader) return refuse(false, "chunk header past the body");
        const uint8_t flag = body[at];
        const uint32_t unpacked = u16At(body + at + 1);
        if (flag > 1) return refuse(false, "unknown chunk flag");
        if (unpacked > MemReader::kChunk) return refuse(false, "unpacked length above 64000");
        Chunk& chunk = chunks[i];
        chunk.packed = flag == 1;
        chunk.unpacked = unpacked;
        if (chunk.packed) {
            if (length - at < kPackedHeader) return refuse(false, "chunk header past the body");
            chunk.dataLength = u16At(body + at + 3);
            if (chunk.dataLength > MemReader::kChunk) return refuse(false, "packed length above 64000");
            if (unpacked > chunk.dataLength * kDeflateMaxRatio) {
                return refuse(false, "unpacked length beyond deflate's reach");
            }
            at += kPackedHeader;
        } else {
            // Stored chunks in files carry no packed-length word: the data are the unpacked bytes.
            chunk.dataLength = unpacked;
            at += kStoredHeader;
        }
        if (length - at < chunk.dataLength) return refuse(false, "chunk data past the body");
        chunk.dataOffset = at;
        at += chunk.dataLength;
        total += unpacked;
    }
    if (total > kMaxBlock) return refuse(false, "expanded size too large");
    return true;
}

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
    Free();
    stamp_ = stamp;
    const uint32_t size = file.GetSize();
    const uint32_t at = file.Tell();
    if (!file.IsOpen() || at > size || size - at < length) return 0;
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
    std::unique_ptr<uint8_t[]> body(new (std::nothrow) uint8_t[length ? length : 1]);
    if (!body || file.Read(body.get(), length) != length) return false;

    std::unique_ptr<Chunk[]> chunks;
    uint32_t count = 0;
    uint64_t total = 0;
    if (!parseChunks(body.get(), length, chunks, count, total)) return false;
    const uint64_t first = std::max<uint64_t>(kChunk, uint64_t{length} * kFirstGuessRatio);
    uint64_t capacity = std::min(total, first);
    if (!allocate(static_cast<uint32_t>(capacity))) return false;

    uint32_t filled = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const Chunk& chunk = chunks[i];
        const uint64_t needed = uint64_t{filled} + chunk.unpacked;
        if (needed > capacity) {
            capacity = std::min(total, std::max(needed, capacity * 2));
            if (!resize(static_cast<uint32_t>(capacity))) {
                Free();
                return false;
            }
        }
        const uint8_t* source = body.get() + chunk.dataOffset;
        if (chunk.packed) {
            uint32_t expanded = chunk.unpacked;
            // A chunk that expands to nothing still goes through zlib, which checks its stream.
            uint8_t none[1];
            uint8_t* destination = chunk.unpacked ? data_ + filled : none;
            if (PXLdecompress(destination, &expanded, source, chunk.dataLength) != 0 ||
                expanded != chunk.unpacked) {
                Free();
                return refuse(false, "chunk does not expand to its unpacked length");
            }
        } else if (chunk.unpacked) {
            std::memcpy(data_ + filled, source, chunk.unpacked);
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
