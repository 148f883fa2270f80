// An input block in movable memory, filled from a record or a file and read field by field,
// little-endian. Reads past the end yield 0, read nothing and set the overrun flag.
#ifndef LECT32_STORE_MEM_READER_H
#define LECT32_STORE_MEM_READER_H

#include <cstdint>

#include "winplat/types.h"

namespace lect32 {

class DiskFile;

class MemReader {
public:
    static constexpr uint32_t kChunk = 64000;

    MemReader() = default;
    ~MemReader() { Free(); }
    MemReader(const MemReader&) = delete;
    MemReader& operator=(const MemReader&) = delete;

    // Reads a body of 'length' bytes from the file's position: plain, or in the chunked
    // compressed form when the compressed flag is set. Nothing outside those bytes is read.
    int LoadFromFile(DiskFile& file, uint32_t length);
    // Fills the reader with a copy of bytes in memory (plain).
    int LoadFromMemory(const void* data, uint32_t length);

    int ReadByte(uint8_t& value);
    int ReadWord(uint16_t& value);
    int ReadWordLow(uint32_t& target);  // the low half of target only
    int ReadLong(int32_t& value);
    int ReadDword(uint32_t& value);
    int ReadTriple(uint8_t (&value)[3]);
    int ReadBytes(void* out, uint16_t count);
    int ReadBytesLong(void* out, uint32_t count);
    int Skip(uint32_t count);
    int WriteToFile(DiskFile& file);
    void Free();

    uint32_t size() const { return size_; }
    uint32_t position() const { return position_; }
    uint32_t remaining() const { return size_ - position_; }
    bool overrun() const { return overrun_; }
    const uint8_t* data() const { return data_; }

    // Set from the record header before a load.
    uint8_t compressedFlag = 0;
    uint8_t recordVersion = 1;

private:
    bool allocate(uint32_t size);
    bool resize(uint32_t capacity);
    bool take(void* out, uint32_t count);
    bool expandChunks(DiskFile& file, uint32_t length);

    HGLOBAL block_ = nullptr;
    uint8_t* data_ = nullptr;
    uint32_t size_ = 0;
    uint32_t position_ = 0;
    bool overrun_ = false;
};

}  // namespace lect32

#endif
