#include "store/record_array.h"

#include <cstring>

#include "store/block_pool.h"

namespace lect32 {

void RecordArray::Init() {
    Clear();
    size_ = 0;
}

void RecordArray::SetRecordSize(uint16_t recordSize) {
    // The block is count x size bytes: changing the size of a filled array would misread it.
    if (count_) {
        ReportContractBreach("RecordArray record size changed while it holds records");
        return;
    }
    size_ = recordSize;
}

void RecordArray::Clear() {
    block_.reset();
    count_ = 0;
}

void* RecordArray::LockRecord(uint16_t i) {
    if (i == kNoIndex || i >= count_ || !block_) return nullptr;
    auto* data = static_cast<uint8_t*>(LockForCaller(block_.get()));
    return data ? data + uint32_t{i} * size_ : nullptr;
}

void RecordArray::Unlock() {
    if (block_) UnlockForCaller(block_.get());
}

uint16_t RecordArray::Append() {
    const uint16_t index = count_;
    return Insert(count_) ? index : kAddLimit;
}

int RecordArray::Insert(uint16_t i) {
    if (size_ == 0) {
        ReportContractBreach("RecordArray used before its record size was set");
        return 0;
    }
    const uint32_t bytes = uint32_t{count_} * size_;
    if (bytes > kMaxBlockBytes - size_) return 0;
    if (i > count_) i = count_;
    if (!GrowBlock(block_, bytes, uint32_t{i} * size_, size_)) return 0;
    ++count_;
    return 1;
}

int RecordArray::Delete(uint16_t i) {
    if (i >= count_) {
        ReportContractBreach("RecordArray::Delete of a record that does not exist");
        return 0;
    }
    if (count_ == 1) {
        Clear();
        return 1;
    }
    if (!ShrinkBlock(block_.get(), uint32_t{count_} * size_, uint32_t{i} * size_, size_)) return 0;
    --count_;
    return 1;
}

int RecordArray::Allocate(uint16_t n) {
    Clear();
    if (n == 0) return 1;
    // n x size past 64 KB would leave records beyond the end of the block.
    const uint32_t bytes = uint32_t{n} * size_;
    if (bytes == 0 || bytes > kMaxBlockBytes) return 0;
    block_.reset(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!block_) return 0;
    count_ = n;
    return 1;
}

bool RecordArray::wordFits(uint16_t offset) const {
    if (uint32_t{offset} + 2 <= size_) return true;
    ReportContractBreach("RecordArray word offset outside the record");
    return false;
}

int RecordArray::SetWord(uint16_t i, uint16_t offset, uint16_t value) {
    if (i == kNoIndex) return -1;
    if (!wordFits(offset) || i >= count_) return 0;
    const winplat::GlobalPin pin(block_.get());
    if (!pin) return 0;
    std::memcpy(pin.as<uint8_t>() + uint32_t{i} * size_ + offset, &value, sizeof value);
    return 1;
}

uint16_t RecordArray::GetWord(uint16_t i, uint16_t offset) {
    if (i == kNoIndex || !wordFits(offset) || i >= count_) return 0;
    const winplat::GlobalPin pin(block_.get());
    if (!pin) return 0;
    uint16_t value;
    std::memcpy(&value, pin.as<const uint8_t>() + uint32_t{i} * size_ + offset, sizeof value);
    return value;
}

uint16_t RecordArray::FindWord(uint16_t value, uint16_t offset) {
    if (!count_ || !wordFits(offset)) return kNoIndex;
    const winplat::GlobalPin pin(block_.get());
    if (!pin) return kNoIndex;
    const auto* data = pin.as<const uint8_t>();
    for (uint32_t k = 0; k < count_; ++k) {
        uint16_t word;
        std::memcpy(&word, data + k * size_ + offset, sizeof word);
        if (word == value) return static_cast<uint16_t>(k);
    }
    return kNoIndex;
}

uint16_t* WordArray::LockElement(uint16_t i) { return static_cast<uint16_t*>(LockRecord(i)); }

uint16_t WordArray::AppendWord(uint16_t value) {
    const uint16_t index = Append();
    if (index != kAddLimit) SetWord(index, 0, value);
    return index;
}

uint16_t WordArray::Find(uint16_t value) { return FindWord(value, 0); }

uint16_t WordArray::FindOrAppend(uint16_t value) {
    const uint16_t found = Find(value);
    return found != kNoIndex ? found : AppendWord(value);
}

}  // namespace lect32
