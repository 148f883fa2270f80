#include "store/blob_list.h"

#include <cstring>

#include "store/block_pool.h"
#include "winplat/memory.h"

namespace lect32 {

void BlobList::Clear() {
    Unlock();
    if (block_) GlobalFree(block_);
    block_ = nullptr;
    count_ = free_ = size_ = 0;
}

int BlobList::Lock() {
    if (locked_) return 1;
    if (!block_) return 0;
    data_ = static_cast<uint8_t*>(GlobalLock(block_));
    if (!data_) return 0;
    locked_ = true;
    return 1;
}

uint8_t* BlobList::LockItem(uint16_t i) {
    if (locked_ || !block_) return nullptr;
    if (i >= count_) {
        ReportContractBreach("BlobList::LockItem of an item that does not exist");
        return nullptr;
    }
    if (!Lock()) return nullptr;
    return data_ + dataOffset(data_, i);
}

int BlobList::Unlock() {
    if (!locked_) return 1;
    if (!block_) return 0;
    GlobalUnlock(block_);
    data_ = nullptr;
    locked_ = false;
    return 1;
}

uint16_t BlobList::lengthAt(const uint8_t* block, uint16_t i) const {
    uint16_t length;
    std::memcpy(&length, block + 2 * uint32_t{i}, sizeof length);
    return length;
}

uint32_t BlobList::dataOffset(const uint8_t* block, uint16_t i) const {
    uint32_t offset = 2 * uint32_t{count_};
    for (uint16_t k = 0; k < i; ++k) offset += lengthAt(block, k);
    return offset;
}

uint16_t BlobList::GetItemOffset(uint16_t i) const {
    if (!locked_) return 0;
    if (i > count_) {
        ReportContractBreach("BlobList::GetItemOffset past the last item");
        return 0;
    }
    return static_cast<uint16_t>(dataOffset(data_, i) - 2 * uint32_t{count_});
}

uint16_t BlobList::GetItemSize(uint16_t i) {
    if (!block_) return 0;
    if (i >= count_) {
        ReportContractBreach("BlobList::GetItemSize of an item that does not exist");
        return 0;
    }
    if (locked_) return lengthAt(data_, i);
    const auto* block = static_cast<const uint8_t*>(GlobalLock(block_));
    if (!block) return 0;
    const uint16_t length = lengthAt(block, i);
    GlobalUnlock(block_);
    return length;
}

uint16_t BlobList::AppendItem(uint16_t n) {
    if (uint32_t{size_} + n + 2 > kMaxBlockBytes) return kAddLimit;
    const bool wasLocked = locked_;
    Unlock();
    // The table, a new length entry, the data moved up by two bytes and the item's room at the end,
    // in one new block: the bytes a grow-then-move-up gives, copied once.
    const uint32_t table = 2 * uint32_t{count_};
    const uint32_t grownSize = uint32_t{size_} + n + 2;
    if (block_) {
        // A block that cannot be locked now cannot be copied either: say which failure it was.
        if (!GlobalLock(block_)) {
            if (wasLocked) Lock();
            return kAddCannotLock;
        }
        GlobalUnlock(block_);
    }
    uint16_t result = kAddNoMemory;
    if (HGLOBAL fresh = RebuildBlock(block_, grownSize, {{0, 0, table}, {table, table + 2, size_ - table}})) {
        block_ = fresh;
        if (auto* block = static_cast<uint8_t*>(GlobalLock(block_))) {
            std::memcpy(block + table, &n, sizeof n);
            GlobalUnlock(block_);
            result = count_++;
            size_ = static_cast<uint16_t>(grownSize);
        } else {
            // The old contents are in the new block already, two bytes up; take the empty entry
            // out again so the list reads as before.
            HGLOBAL back = BlockWithout(block_, grownSize, table, 2);
            if (back) block_ = back;
            result = kAddCannotLock;
        }
    }
    if (wasLocked) Lock();
    return result;
}

int BlobList::ResizeItem(uint16_t i, uint16_t n) {
    if (i >= count_ || !block_) {
        ReportContractBreach("BlobList::ResizeItem of an item that does not exist");
        return 0;
    }
    Unlock();
    const uint16_t old = GetItemSize(i);
    if (n == old) return 1;
    const auto* block = static_cast<const uint8_t*>(GlobalLock(block_));
    if (!block) return 0;
    const uint32_t end = dataOffset(block, i) + old;  // the item's room is added or taken here
    GlobalUnlock(block_);
    HGLOBAL resized;
    if (n > old) {
        if (uint32_t{size_} > kMaxBlockBytes - (n - old)) return 0;
        resized = BlockWithGap(block_, size_, end, n - old);
    } else {
        resized = BlockWithout(block_, size_, end - (old - n), old - n);
    }
    if (!resized) return 0;
    block_ = resized;
    auto* written = static_cast<uint8_t*>(GlobalLock(block_));
    if (written) {
        std::memcpy(written + 2 * uint32_t{i}, &n, sizeof n);
        GlobalUnlock(block_);
    }
    size_ = static_cast<uint16_t>(size_ + n - old);
    return 1;
}

uint16_t BlobList::FindFreeSlot() {
    if (!block_) return kNoIndex;
    const bool wasLocked = locked_;
    if (!Lock()) return kNoIndex;
    uint16_t found = kNoIndex;
    for (uint16_t k = 0; k < count_; ++k) {
        if (lengthAt(data_, k) == 0) {
            found = k;
            break;
        }
    }
    if (!wasLocked) Unlock();
    return found;
}

uint16_t BlobList::AddItem(uint16_t n) {
    if (free_) {
        const uint16_t slot = FindFreeSlot();
        if (slot != kNoIndex) {
            if (n && !ResizeItem(slot, n)) return uint32_t{size_} + n > kMaxBlockBytes ? kAddLimit : kAddNoMemory;
            --free_;
            return slot;
        }
        free_ = 0;  // counted slots that are not there: repair the count, then append
    }
    return AppendItem(n);
}

int BlobList::FreeItem(uint16_t i) {
    if (!ResizeItem(i, 0)) return 0;
    ++free_;
    return 1;
}

int BlobList::DeleteItem(uint16_t i) {
    if (i >= count_ || !block_) {
        ReportContractBreach("BlobList::DeleteItem of an item that does not exist");
        return 0;
    }
    Unlock();
    if (count_ == 1) {
        Clear();
        return 1;
    }
    const auto* block = static_cast<const uint8_t*>(GlobalLock(block_));
    if (!block) return 0;
    const uint32_t start = dataOffset(block, i);
    const uint32_t length = lengthAt(block, i);
    GlobalUnlock(block_);
    const uint32_t entry = 2 * uint32_t{i};
    const uint32_t after = start + length;
    HGLOBAL fresh = RebuildBlock(block_, size_ - length - 2,
                                 {{0, 0, entry}, {entry + 2, entry, start - entry - 2}, {after, start - 2, size_ - after}});
    if (!fresh) return 0;
    block_ = fresh;
    --count_;
    if (length == 0 && free_) --free_;
    size_ = static_cast<uint16_t>(size_ - length - 2);
    return 1;
}

}  // namespace lect32
