#include "store/blob_list.h"

#include <cstring>

#include "store/block_pool.h"

namespace lect32 {

void BlobList::Clear() {
    lock_.reset();
    block_.reset();
    count_ = free_ = size_ = 0;
}

int BlobList::Lock() {
    if (lock_) return 1;
    lock_ = winplat::GlobalPin(block_.get());
    return lock_ ? 1 : 0;
}

uint8_t* BlobList::LockItem(uint16_t i) {
    if (lock_ || !block_) return nullptr;
    if (i >= count_) {
        ReportContractBreach("BlobList::LockItem of an item that does not exist");
        return nullptr;
    }
    if (!Lock()) return nullptr;
    return GetBlockPointer() + dataOffset(GetBlockPointer(), i);
}

int BlobList::Unlock() {
    lock_.reset();
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
    if (!lock_) return 0;
    if (i > count_) {
        ReportContractBreach("BlobList::GetItemOffset past the last item");
        return 0;
    }
    return static_cast<uint16_t>(dataOffset(GetBlockPointer(), i) - 2 * uint32_t{count_});
}

uint16_t BlobList::GetItemSize(uint16_t i) {
    if (!block_) return 0;
    if (i >= count_) {
        ReportContractBreach("BlobList::GetItemSize of an item that does not exist");
        return 0;
    }
    if (lock_) return lengthAt(GetBlockPointer(), i);
    const winplat::GlobalPin pin(block_.get());
    return pin ? lengthAt(pin.as<const uint8_t>(), i) : 0;
}

uint16_t BlobList::AppendItem(uint16_t n) {
    if (uint32_t{size_} + n + 2 > kMaxBlockBytes) return kAddLimit;
    const bool wasLocked = static_cast<bool>(lock_);
    Unlock();
    const auto finish = [&](uint16_t result) {
        if (wasLocked) Lock();
        return result;
    };
    // A block that cannot be locked now cannot be copied either: say which failure it was.
    if (block_ && !winplat::GlobalPin(block_.get())) return finish(kAddCannotLock);
    // The table, a new length entry, the data moved up by two bytes and the item's room at the end,
    // in one new block: the bytes a grow-then-move-up gives, copied once.
    const uint32_t table = 2 * uint32_t{count_};
    const uint32_t grownSize = uint32_t{size_} + n + 2;
    if (!RebuildBlock(block_, grownSize, {{0, 0, table}, {table, table + 2, size_ - table}})) {
        return finish(kAddNoMemory);
    }
    if (const winplat::GlobalPin pin(block_.get()); pin) {
        std::memcpy(pin.as<uint8_t>() + table, &n, sizeof n);
    } else {
        // The old contents are in the new block already, two bytes up; take the empty entry out
        // again so the list reads as before.
        BlockWithout(block_, grownSize, table, 2);
        return finish(kAddCannotLock);
    }
    size_ = static_cast<uint16_t>(grownSize);
    return finish(count_++);
}

int BlobList::ResizeItem(uint16_t i, uint16_t n) {
    if (i >= count_ || !block_) {
        ReportContractBreach("BlobList::ResizeItem of an item that does not exist");
        return 0;
    }
    Unlock();
    const uint16_t old = GetItemSize(i);
    if (n == old) return 1;
    uint32_t end;  // the item's room is added or taken here
    {
        const winplat::GlobalPin pin(block_.get());
        if (!pin) return 0;
        end = dataOffset(pin.as<const uint8_t>(), i) + old;
    }
    if (n > old) {
        if (uint32_t{size_} > kMaxBlockBytes - (n - old)) return 0;
        if (!BlockWithGap(block_, size_, end, n - old)) return 0;
    } else if (!BlockWithout(block_, size_, end - (old - n), old - n)) {
        return 0;
    }
    if (const winplat::GlobalPin written(block_.get()); written) {
        std::memcpy(written.as<uint8_t>() + 2 * uint32_t{i}, &n, sizeof n);
    }
    size_ = static_cast<uint16_t>(size_ + n - old);
    return 1;
}

uint16_t BlobList::FindFreeSlot() {
    if (!block_) return kNoIndex;
    const bool wasLocked = static_cast<bool>(lock_);
    if (!Lock()) return kNoIndex;
    uint16_t found = kNoIndex;
    for (uint16_t k = 0; k < count_; ++k) {
        if (lengthAt(GetBlockPointer(), k) == 0) {
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
    uint32_t start, length;
    {
        const winplat::GlobalPin pin(block_.get());
        if (!pin) return 0;
        start = dataOffset(pin.as<const uint8_t>(), i);
        length = lengthAt(pin.as<const uint8_t>(), i);
    }
    const uint32_t entry = 2 * uint32_t{i};
    const uint32_t after = start + length;
    if (!RebuildBlock(block_, size_ - length - 2,
                      {{0, 0, entry}, {entry + 2, entry, start - entry - 2}, {after, start - 2, size_ - after}})) {
        return 0;
    }
    --count_;
    if (length == 0 && free_) --free_;
    size_ = static_cast<uint16_t>(size_ - length - 2);
    return 1;
}

}  // namespace lect32
