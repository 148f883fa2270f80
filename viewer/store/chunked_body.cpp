#include "store/chunked_body.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "store/disk_file.h"
#include "store/mem_reader.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr uint64_t kMaxExpanded = 0x7FFFFFFF;
constexpr uint32_t kStoredHeader = 3;  // flag, unpacked length
constexpr uint32_t kPackedHeader = 5;  // flag, unpacked length, packed length
// Deflate never expands one byte into more than 1032 (a 258-byte match in two one-bit codes).
constexpr uint64_t kDeflateMaxRatio = 1032;

constexpr winplat::Refuser refuse("lect32: chunked body");

uint16_t u16At(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

}  // namespace

ChunkReader::ChunkReader(DiskFile& file, uint32_t length, uint32_t block)
    : file_(file), unread_(length), blockSize_(std::max(block, 1u)) {}

bool ChunkReader::Start() {
    const uint32_t length = unread_;
    if (!makeRoom(std::min(length, blockSize_)) || !fill(size_)) return false;
    if (length < 2) return refuse(false, "no chunk count");
    if (!fill(2)) return false;
    count_ = u16At(block_.get());
    at_ = 2;
    // Every chunk needs at least a stored chunk's header, so a count that cannot fit is damage.
    if (uint64_t{count_} * kStoredHeader > length - 2) return refuse(false, "chunk count larger than the body");
    if (unread_ != 0) {
        bound_ = std::min(uint64_t{count_} * MemReader::kChunk, kMaxExpanded);
        return true;
    }
    // The whole body is in hand: every chunk is checked before the first one is expanded.
    BodyChunk chunk;
    for (uint32_t i = 0; i < count_; ++i)
        if (!Next(chunk)) return false;
    bound_ = expanded_;
    at_ = 2;
    handed_ = 0;
    expanded_ = 0;
    return true;
}

// A block of at least 'count' bytes, what is in hand moved to its start.
bool ChunkReader::makeRoom(uint32_t count) {
    if (block_ && count <= size_) {
        std::memmove(block_.get(), block_.get() + at_, inHand());
    } else {
        std::unique_ptr<uint8_t[]> bigger(new (std::nothrow) uint8_t[count ? count : 1]);
        if (!bigger) return refuse(false, "no memory for the body's block");
        if (block_) std::memcpy(bigger.get(), block_.get() + at_, inHand());
        block_ = std::move(bigger);
        size_ = count;
    }
    end_ = inHand();
    at_ = 0;
    return true;
}

bool ChunkReader::fill(uint32_t count) {
    if (inHand() >= count) return true;
    if (!makeRoom(count)) return false;
    const auto wanted = static_cast<uint32_t>(std::min<uint64_t>(unread_, size_ - end_));
    if (file_.Read(block_.get() + end_, wanted) != wanted) return false;
    end_ += wanted;
    unread_ -= wanted;
    return inHand() >= count;
}

bool ChunkReader::Next(BodyChunk& chunk) {
    if (handed_ >= count_) return false;
    if (remaining() < kStoredHeader) return refuse(false, "chunk header past the body");
    if (!fill(kStoredHeader)) return false;
    const uint8_t flag = block_[at_];
    const uint32_t unpacked = u16At(block_.get() + at_ + 1);
    if (flag > 1) return refuse(false, "unknown chunk flag");
    if (unpacked > MemReader::kChunk) return refuse(false, "unpacked length above 64000");
    uint32_t header = kStoredHeader;
    // Stored chunks in files carry no packed-length word: the data are the unpacked bytes.
    uint32_t length = unpacked;
    if (flag == 1) {
        if (remaining() < kPackedHeader) return refuse(false, "chunk header past the body");
        if (!fill(kPackedHeader)) return false;
        length = u16At(block_.get() + at_ + 3);
        if (length > MemReader::kChunk) return refuse(false, "packed length above 64000");
        if (unpacked > length * kDeflateMaxRatio) return refuse(false, "unpacked length beyond deflate's reach");
        header = kPackedHeader;
    }
    if (remaining() - header < length) return refuse(false, "chunk data past the body");
    if (!fill(header + length)) return false;
    chunk = BodyChunk{flag == 1, unpacked, block_.get() + at_ + header, length};
    at_ += header + length;
    ++handed_;
    expanded_ += unpacked;
    if (expanded_ > kMaxExpanded) return refuse(false, "expanded size too large");
    return true;
}

ChunkInflater::~ChunkInflater() {
    if (started_) inflateEnd(&stream_);
}

bool ChunkInflater::Expand(uint8_t* out, uint32_t unpacked, const uint8_t* data, uint32_t length) {
    if (!started_) {
        if (inflateInit(&stream_) != Z_OK) return false;
        started_ = true;
    } else if (inflateReset(&stream_) != Z_OK) {
        return false;
    }
    // A chunk of no bytes still runs its stream through zlib, which checks it; as zlib's one-shot
    // call does, such a stream may give one byte, into a spare one.
    uint8_t spare = 0;
    stream_.next_in = const_cast<Bytef*>(data);
    stream_.avail_in = length;
    stream_.next_out = unpacked ? out : &spare;
    stream_.avail_out = unpacked ? unpacked : 1;
    // The whole output at once: zlib then keeps no window of its own.
    if (inflate(&stream_, Z_FINISH) != Z_STREAM_END) return false;
    return unpacked == 0 || stream_.total_out == unpacked;
}

}  // namespace lect32
