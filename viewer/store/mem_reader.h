// An input block in movable memory, filled from a record or a file and read field by field,
// little-endian. Reads past the end yield 0, read nothing and set the overrun flag.
#ifndef LECT32_STORE_MEM_READER_H
#define LECT32_STORE_MEM_READER_H

#include <cstdint>

#include "winplat/owners.h"

namespace lect32 {

class DiskFile;

// How a body lies in a file: the plain bytes, or the chunked compressed form.
enum class BodyForm : uint8_t { Plain, Chunked };

// What a record's header says of its body: its form and the version its writer gave it.
struct BodyStamp {
    BodyForm form = BodyForm::Plain;
    uint8_t version = 1;
};

class MemReader {
public:
    static constexpr uint32_t kChunk = 64000;

    MemReader() = default;
    ~MemReader() { Free(); }
    MemReader(const MemReader&) = delete;
    MemReader& operator=(const MemReader&) = delete;

    // Reads a body of 'length' bytes from the file's position in the stamp's form, and keeps the
    // stamp. Nothing outside those bytes is read.
    int LoadFromFile(DiskFile& file, uint32_t length, BodyStamp stamp = {});
    // The same, measured against a size of the file its caller already knows (as GetSize gives
    // it), which saves asking the system.
    int LoadFromFile(DiskFile& file, uint32_t length, BodyStamp stamp, uint64_t fileSize);
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

    // The stamp of the last body loaded from a file: whether it was stored compressed, and the
    // record's version.
    BodyForm form() const { return stamp_.form; }
    uint8_t version() const { return stamp_.version; }

private:
    bool allocate(uint32_t size);
    bool resize(uint32_t capacity);
    bool take(void* out, uint32_t count);
    bool expandChunks(DiskFile& file, uint32_t length);

    winplat::GlobalBlock block_;
    winplat::GlobalPin pin_;  // the block stays locked while the reader holds it
    uint8_t* data_ = nullptr;  // the pin's bytes, kept at hand for the field reads
    BodyStamp stamp_;
    uint32_t size_ = 0;
    uint32_t position_ = 0;
    bool overrun_ = false;
};

}  // namespace lect32

#endif
