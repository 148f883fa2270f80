// The chunked form of a stored body: a u16 chunk count, then for each chunk a flag byte (1 packed,
// 0 stored), its u16 unpacked length and, when packed, its u16 packed length, then its data.
//
// A body is read from its file a block at a time, so that a big one never lies in memory twice,
// and every chunk is checked against the bytes the body really holds before it is handed on.
// Packed chunks expand through one zlib stream state, reset for each chunk.
#ifndef LECT32_STORE_CHUNKED_BODY_H
#define LECT32_STORE_CHUNKED_BODY_H

#include <zlib.h>

#include <cstdint>
#include <memory>

namespace lect32 {

class DiskFile;

struct BodyChunk {
    bool packed = false;
    uint32_t unpacked = 0;
    const uint8_t* data = nullptr;  // valid until the next chunk is asked for
    uint32_t length = 0;
};

class ChunkReader {
public:
    // Bodies up to the block's size are read at once, and all their headers checked before any
    // chunk is handed on; bigger ones are read a block at a time. The block grows when a chunk
    // does not fit it, which this size never lets happen.
    static constexpr uint32_t kBlock = 256 * 1024;

    // The body of 'length' bytes at the file's position; the file is read no further.
    ChunkReader(DiskFile& file, uint32_t length, uint32_t block = kBlock);

    // Reads the body's first block and its chunk count; false (the refusal said) when it holds
    // no count or more chunks than the body could.
    bool Start();
    uint32_t count() const { return count_; }
    // What the chunks expand to at most: exactly, when the whole body came in the first block.
    uint64_t expandedBound() const { return bound_; }
    // The next chunk; false (the refusal said) when its header or data go past the body, its
    // lengths are out of bounds, or the file ends early.
    bool Next(BodyChunk& chunk);

private:
    uint32_t inHand() const { return end_ - at_; }
    uint64_t remaining() const { return uint64_t{inHand()} + unread_; }
    // Makes sure 'count' bytes of the body (which holds them) lie in hand from at_ on.
    bool fill(uint32_t count);
    bool makeRoom(uint32_t count);

    DiskFile& file_;
    uint32_t unread_;  // body bytes still in the file
    uint32_t blockSize_;
    std::unique_ptr<uint8_t[]> block_;
    uint32_t size_ = 0;  // of the block
    uint32_t at_ = 0;
    uint32_t end_ = 0;
    uint32_t count_ = 0;
    uint32_t handed_ = 0;   // chunks handed on
    uint64_t expanded_ = 0;  // what they expand to
    uint64_t bound_ = 0;
};

class ChunkInflater {
public:
    ChunkInflater() = default;
    ~ChunkInflater();
    ChunkInflater(const ChunkInflater&) = delete;
    ChunkInflater& operator=(const ChunkInflater&) = delete;

    // Whether the packed data expand to exactly 'unpacked' bytes at 'out'. The stream must end
    // within the data; bytes behind its end are not looked at.
    bool Expand(uint8_t* out, uint32_t unpacked, const uint8_t* data, uint32_t length);

private:
    z_stream stream_{};
    bool started_ = false;
};

}  // namespace lect32

#endif
