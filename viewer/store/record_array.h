// Fixed-size records in one movable block, and the array of 16-bit words built on it. The block
// holds exactly count x size bytes (no block when empty) and never passes 65535 bytes.
#ifndef LECT32_STORE_RECORD_ARRAY_H
#define LECT32_STORE_RECORD_ARRAY_H

#include <cstdint>

#include "winplat/owners.h"

namespace lect32 {

class RecordArray {
public:
    RecordArray() = default;  // record size set later with SetRecordSize
    explicit RecordArray(uint16_t recordSize) : size_(recordSize) {}
    ~RecordArray() { Clear(); }
    RecordArray(const RecordArray&) = delete;
    RecordArray& operator=(const RecordArray&) = delete;

    void Init();
    void SetRecordSize(uint16_t recordSize);
    void Clear();

    uint16_t GetCount() const { return count_; }
    uint16_t GetRecordSize() const { return size_; }
    HGLOBAL GetHandle() const { return block_.get(); }

    // Locks the block (locks nest) and points at record i; null, without locking, for -1, an
    // index past the end or an empty array. Pair every non-null result with Unlock.
    void* LockRecord(uint16_t i);
    void Unlock();

    // Index of the new (unwritten) last record, or 0xFFFF at the size limit or without memory.
    uint16_t Append();
    // Opens an unwritten record before i (i >= count appends): 1, or 0 with the array unchanged.
    int Insert(uint16_t i);
    // Removes record i (which must exist); the last one frees the block. 1, or 0 when memory for
    // the smaller block cannot be had (array unchanged).
    int Delete(uint16_t i);
    // Drops the contents for n unwritten records: 1, or 0 with the array empty.
    int Allocate(uint16_t n);

    // The 16-bit word at a byte offset inside record i. SetWord gives -1 for i = -1, 0 for a missing
    // record; GetWord gives 0 for either.
    int SetWord(uint16_t i, uint16_t offset, uint16_t value);
    uint16_t GetWord(uint16_t i, uint16_t offset);
    // First record whose word at the offset equals value, else 0xFFFF.
    uint16_t FindWord(uint16_t value, uint16_t offset);

protected:
    // Whether a word at the offset lies inside a record; reports a caller that asks outside.
    bool wordFits(uint16_t offset) const;

    winplat::GlobalBlock block_;
    uint16_t count_ = 0;
    uint16_t size_ = 0;
};

class WordArray : public RecordArray {
public:
    WordArray() : RecordArray(2) {}

    // Pair a non-null result with Unlock.
    uint16_t* LockElement(uint16_t i);
    // Index of the new element, or the Append failure (nothing written then).
    uint16_t AppendWord(uint16_t value);
    uint16_t Find(uint16_t value);
    uint16_t FindOrAppend(uint16_t value);
};

}  // namespace lect32

#endif
