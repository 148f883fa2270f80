// Variable-length items in one movable block: a table of 16-bit lengths (item 0 first), then the
// items' bytes back to back. An item of length 0 is a free slot. The block never passes 65535 bytes.
#ifndef LECT32_STORE_BLOB_LIST_H
#define LECT32_STORE_BLOB_LIST_H

#include <cstdint>

#include "winplat/owners.h"

namespace lect32 {

class BlobList {
public:
    BlobList() = default;
    ~BlobList() { Clear(); }
    BlobList(const BlobList&) = delete;
    BlobList& operator=(const BlobList&) = delete;

    void Clear();

    uint16_t GetCount() const { return count_; }
    uint16_t GetFreeCount() const { return free_; }
    uint16_t GetTotalSize() const { return size_; }
    bool IsLocked() const { return static_cast<bool>(lock_); }
    HGLOBAL GetHandle() const { return block_.get(); }
    // Start of the block while locked (the length table), else null.
    uint8_t* GetBlockPointer() const { return lock_.as<uint8_t>(); }

    // 1 when locked (at once when it already was), 0 without a block or when the lock fails.
    int Lock();
    // Locks and points at item i's first byte; null when already locked (it never locks twice),
    // without a block or for an item that does not exist. Pair with Unlock.
    uint8_t* LockItem(uint16_t i);
    // 1 when unlocked (at once when it was not locked), 0 without a block.
    int Unlock();

    // Offset of item i in the data part (the lengths of the items before it); 0 when not locked.
    uint16_t GetItemOffset(uint16_t i) const;
    // Length of item i; 0 without a block.
    uint16_t GetItemSize(uint16_t i);

    // Adds an unwritten item of n bytes at the end and returns its index; the lock state is as on
    // entry (a locked list gets a fresh pointer). 0xFFFF at the size limit, 0xFFFE without memory,
    // 0xFFFD when the block cannot be locked; the list is then unchanged.
    uint16_t AppendItem(uint16_t n);
    // Makes item i n bytes long, keeping its first bytes; the list ends unlocked. 1, or 0 at the
    // size limit or without memory (list unchanged).
    int ResizeItem(uint16_t i, uint16_t n);
    // First item of length 0, else 0xFFFF.
    uint16_t FindFreeSlot();

    // Editing side: an add that reuses a free slot while any are counted, a release that turns an
    // item into a counted free slot, and a delete that takes the item and its length entry out.
    uint16_t AddItem(uint16_t n);
    int FreeItem(uint16_t i);
    int DeleteItem(uint16_t i);

private:
    uint16_t lengthAt(const uint8_t* block, uint16_t i) const;
    uint32_t dataOffset(const uint8_t* block, uint16_t i) const;  // from the block's start

    uint16_t count_ = 0;
    uint16_t free_ = 0;
    uint16_t size_ = 0;
    winplat::GlobalBlock block_;
    winplat::GlobalPin lock_;  // held while the list is locked; given back before the block goes
};

}  // namespace lect32

#endif
