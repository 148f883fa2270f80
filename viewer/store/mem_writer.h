// An output block in movable memory that grows as it is written; records, clipboard data and
// many files are written through it. Little-endian. A failed growth sets a sticky error flag, so
// callers write everything and test once at End().
#ifndef LECT32_STORE_MEM_WRITER_H
#define LECT32_STORE_MEM_WRITER_H

#include <cstdint>

#include "winplat/owners.h"

namespace lect32 {

class DiskFile;

class MemWriter {
public:
    static constexpr uint32_t kStep = 64000;

    MemWriter() = default;
    ~MemWriter() { Free(); }
    MemWriter(const MemWriter&) = delete;
    MemWriter& operator=(const MemWriter&) = delete;

    void Begin();
    // Inline: byte-at-a-time writers call it for every byte, and only growth needs the slow path.
    int WriteByte(uint8_t value) {
        if (data_ && position_ < capacity_ && !error_) {
            data_[position_++] = value;
            return 1;
        }
        return put(value, 1);
    }
    int WriteWord(uint16_t value);
    int WriteDword(uint32_t value);
    int WriteShort(int16_t value) { return WriteWord(static_cast<uint16_t>(value)); }
    int WriteLong(int32_t value) { return WriteDword(static_cast<uint32_t>(value)); }
    int WriteULong(uint32_t value) { return WriteDword(value); }
    int WriteBytes(const void* data, uint16_t count);
    int WriteBytesLong(const void* data, uint32_t count);

    // Unlocks the block and fixes its size to the bytes written; returns the error flag.
    int End();
    uint32_t GetLength() const { return error_ ? 0 : position_; }
    int WriteToFile(DiskFile& file);
    uint32_t CopyTo(void* destination);
    // The block becomes the caller's; the writer forgets it.
    HGLOBAL DetachHandle();
    // Hands the block to the (already opened) clipboard in the format, with a CF_LOCALE block.
    int PutOnClipboard(UINT format);
    void Free();

    bool error() const { return error_; }
    // The bytes written so far (valid until the next write or End).
    const uint8_t* data() const { return data_; }

    // The bytes written (after End) in the chunked form: each chunk of 64000 bytes packed when
    // that makes it smaller, else stored as it is. false (no memory, or more than 65535 chunks)
    // leaves the plain bytes.
    bool Compress();
    bool compressed() const { return compressed_; }

private:
    // End's work: true when everything was written (End answers with the error flag instead).
    bool finish();
    bool Grow(uint32_t atLeast);
    bool ensure(uint32_t count);
    bool trim();
    int put(uint64_t value, int width);

    // Locked while it is written; unlocked from End until the next write.
    bool lock();
    void unlock();

    winplat::GlobalBlock block_;
    winplat::GlobalPin pin_;   // given back before the block goes
    uint8_t* data_ = nullptr;  // the pin's bytes, kept at hand for WriteByte
    uint32_t capacity_ = 0;
    uint32_t position_ = 0;
    bool error_ = false;
    bool compressed_ = false;
};

}  // namespace lect32

#endif
