#include "text/text_store.h"

#include <algorithm>
#include <cstring>

#include "store/block_pool.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: text store");

// A block's bytes from an offset on for one step, unlocked when the step ends; null without
// memory.
class HeldBlock {
public:
    explicit HeldBlock(ByteBuffer& buffer, uint16_t offset = 0) : buffer_(buffer), data_(buffer.GetPointer(offset)) {}
    ~HeldBlock() {
        if (data_) buffer_.Unlock();
    }
    HeldBlock(const HeldBlock&) = delete;
    HeldBlock& operator=(const HeldBlock&) = delete;
    uint8_t* get() const { return data_; }

private:
    ByteBuffer& buffer_;
    uint8_t* data_;
};

}  // namespace

// The store reaches its index and blocks at every step, so it keeps them locked for good: an
// item's address then costs no lock call. They are let go only while they are reshaped.
TextStore::TextStore() {
    for (auto& block : blocks_) block = newBlock();
    index_.KeepLocked();
}

std::unique_ptr<ByteBuffer> TextStore::newBlock() {
    auto block = std::make_unique<ByteBuffer>();
    block->KeepLocked();
    return block;
}

void TextStore::Clear() {
    for (auto& block : blocks_) block->Release();
    index_.Release();
    itemCount_ = 0;
    blockCount_ = 0;
    itemsPerBlock_.fill(0);
}

uint16_t TextStore::GetBlockSize(int block) const { return blocks_[block]->GetSize(); }

uint32_t TextStore::GetTotalSize() const {
    uint32_t total = 0;
    for (int b = 0; b < blockCount_; ++b) total += GetBlockSize(b);
    return total;
}

TextStore::Place TextStore::locate(uint16_t n) const {
    Place at{0, n, 0};
    while (at.block < blockCount_ - 1 && at.local >= itemsPerBlock_[at.block]) {
        at.local = static_cast<uint16_t>(at.local - itemsPerBlock_[at.block]);
        at.first = static_cast<uint16_t>(at.first + itemsPerBlock_[at.block]);
        ++at.block;
    }
    return at;
}

uint16_t TextStore::firstItemOf(int block) const {
    uint16_t first = 0;
    for (int b = 0; b < block; ++b) first = static_cast<uint16_t>(first + itemsPerBlock_[b]);
    return first;
}

void TextStore::rechain(uint16_t first, uint16_t count, uint16_t from) {
    if (count == 0) return;
    Span head = index_.GetSpan(first);
    head.start = from;
    index_.SetSpan(first, head);
    index_.ChainStarts(first, count);
}

bool TextStore::validItem(uint16_t n, const char* what) const {
    if (n < itemCount_) return true;
    ReportContractBreach(what);
    return false;
}

uint16_t TextStore::AddItem() {
    if (!CanAddItems(1)) return refuse(kNoItem, "16,383 items are the most a store holds");
    if (!index_.InsertSpans(itemCount_, 1, false)) return refuse(kNoItem, "the item index cannot grow");
    if (blockCount_ == 0) blockCount_ = 1;
    const int last = blockCount_ - 1;
    index_.SetSpan(itemCount_, Span{GetBlockSize(last), 0});
    ++itemsPerBlock_[last];
    return itemCount_++;
}

int TextStore::InsertItem(uint16_t n) {
    if (n >= itemCount_) return AppendItem();
    if (!CanAddItems(1)) return refuse(0, "16,383 items are the most a store holds");
    const Place at = locate(n);
    // An item inserted before the first of a later block ends the block before it.
    const bool intoPrevious = at.block > 0 && at.local == 0;
    const int block = intoPrevious ? at.block - 1 : at.block;
    const uint16_t start = intoPrevious ? GetBlockSize(block) : span(n).start;
    if (!index_.InsertSpans(n, 1, false)) return refuse(0, "the item index cannot grow");
    index_.SetSpan(n, Span{start, 0});
    ++itemsPerBlock_[block];
    ++itemCount_;
    return 1;
}

int TextStore::DeleteItem(uint16_t n) {
    if (n >= itemCount_) return refuse(0, "no such item to delete");
    const Place at = locate(n);
    const Span s = span(n);
    std::unique_ptr<ByteBuffer> rest;
    if (s.length) {
        const std::string bytes = blockBytes(at.block);
        rest = makeBlock(bytes.substr(0, s.start) + bytes.substr(s.start + s.length));
        if (!rest) return refuse(0, "no memory to shrink the block");
    }
    if (!index_.DeleteSpans(n, 1)) return refuse(0, "no memory to shrink the item index");
    if (rest) blocks_[at.block] = std::move(rest);
    --itemsPerBlock_[at.block];
    --itemCount_;
    rechain(n, static_cast<uint16_t>(itemsPerBlock_[at.block] - at.local), s.start);
    if (s.length || itemsPerBlock_[at.block] == 0) tidy(at.block);
    return 1;
}

int TextStore::DeleteItemRange(uint16_t first, uint16_t count) {
    if (uint32_t{first} + count > itemCount_) return refuse(0, "the range runs past the last item");
    for (uint16_t i = count; i > 0; --i) {
        if (!DeleteItem(static_cast<uint16_t>(first + i - 1))) return 0;
    }
    return 1;
}

uint8_t* TextStore::LockItem(uint16_t n) {
    if (!validItem(n, "TextStore::LockItem of no item")) return nullptr;
    return blocks_[locate(n).block]->GetPointer(span(n).start);
}

void TextStore::UnlockItem(uint16_t n) {
    if (validItem(n, "TextStore::UnlockItem of no item")) blocks_[locate(n).block]->Unlock();
}

std::string TextStore::CopyItem(uint16_t n) {
    const uint16_t length = GetItemLength(n);
    if (length == 0) return {};
    const uint8_t* bytes = LockItem(n);
    if (!bytes) return {};
    std::string out(reinterpret_cast<const char*>(bytes), length);
    UnlockItem(n);
    return out;
}

uint16_t TextStore::GetItemLength(uint16_t n) {
    return validItem(n, "TextStore::GetItemLength of no item") ? span(n).length : 0;
}

int TextStore::resize(uint16_t n, uint32_t length, bool carry) {
    if (!validItem(n, "TextStore resize of no item")) return 0;
    if (length > kMaxBlockBytes) return refuse(0, "an item holds at most 65,535 bytes");
    const uint16_t old = span(n).length;
    if (length == old) return 1;
    return length > old ? grow(n, static_cast<uint16_t>(length), carry) : shrink(n, static_cast<uint16_t>(length));
}

int TextStore::grow(uint16_t n, uint16_t length, bool carry) {
    const Place at = locate(n);
    const Span s = span(n);
    const auto delta = static_cast<uint16_t>(length - s.length);
    const auto end = static_cast<uint16_t>(s.start + s.length);
    if (blocks_[at.block]->InsertBytes(end, delta, end)) {
        index_.GrowSpans(n, static_cast<uint16_t>(itemsPerBlock_[at.block] - at.local), delta);
        return 1;
    }
    return relocate(n, length, carry);
}

int TextStore::shrink(uint16_t n, uint16_t length) {
    const Place at = locate(n);
    const Span s = span(n);
    const auto delta = static_cast<uint16_t>(s.length - length);
    if (!blocks_[at.block]->DeleteBytes(static_cast<uint16_t>(s.start + length), delta, s.start + s.length)) {
        return refuse(0, "no memory to shrink the block");
    }
    index_.ShrinkSpans(n, static_cast<uint16_t>(itemsPerBlock_[at.block] - at.local), delta);
    tidy(at.block);
    return 1;
}

int TextStore::relocate(uint16_t n, uint16_t length, bool carry) {
    const Place at = locate(n);
    if (at.local == 0 && at.block > 0) return relocateToPrevious(n, at, length, carry);
    const bool lastOfBlock = at.local + 1 == itemsPerBlock_[at.block];
    if (lastOfBlock && at.block < blockCount_ - 1) return relocateToNext(n, at, length, carry);
    return splitAround(n, at, length, carry);
}

// Relocations build the new contents of every block they touch before changing anything: a
// failed allocation then leaves the store as it was.
std::string TextStore::blockBytes(int block) {
    std::string bytes(GetBlockSize(block), '\0');
    if (bytes.empty() || !blocks_[block]->CopyTo(bytes.data(), 0)) return {};
    return bytes;
}

std::unique_ptr<ByteBuffer> TextStore::makeBlock(const std::string& bytes) {
    auto buffer = newBlock();
    if (bytes.empty()) return buffer;
    if (bytes.size() > kMaxBlockBytes || !buffer->Allocate(static_cast<uint16_t>(bytes.size()))) return nullptr;
    const HeldBlock held(*buffer);
    if (!held.get()) return nullptr;
    std::memcpy(held.get(), bytes.data(), bytes.size());
    return buffer;
}

std::string TextStore::movedItem(int block, Span old, uint16_t length, bool carry) {
    std::string item = carry ? blockBytes(block).substr(old.start, old.length) : std::string();
    item.resize(length, '\0');
    return item;
}

void TextStore::placeBlock(int slot, std::unique_ptr<ByteBuffer> fresh) {
    blocks_[blockCount_] = std::move(fresh);
    std::rotate(blocks_.begin() + slot, blocks_.begin() + blockCount_, blocks_.begin() + blockCount_ + 1);
    std::copy_backward(itemsPerBlock_.begin() + slot, itemsPerBlock_.begin() + blockCount_,
                       itemsPerBlock_.begin() + blockCount_ + 1);
    itemsPerBlock_[slot] = 0;
    ++blockCount_;
}

int TextStore::relocateToPrevious(uint16_t n, const Place& at, uint16_t length, bool carry) {
    const int b = at.block;
    const Span s = span(n);
    const std::string item = movedItem(b, s, length, carry);
    auto rest = makeBlock(blockBytes(b).substr(s.length));  // the item was the block's first
    if (!rest) return refuse(0, "no memory to shrink the item's block");
    const uint16_t end = GetBlockSize(b - 1);
    if (uint32_t{end} + length <= kMaxBlockBytes) {
        auto previous = makeBlock(blockBytes(b - 1) + item);
        if (!previous) return refuse(0, "no memory to grow the previous block");
        blocks_[b - 1] = std::move(previous);
        blocks_[b] = std::move(rest);
        index_.SetSpan(n, Span{end, length});
        ++itemsPerBlock_[b - 1];
        --itemsPerBlock_[b];
        rechain(static_cast<uint16_t>(n + 1), itemsPerBlock_[b], 0);
        return 1;
    }
    if (blockCount_ >= kMaxBlocks) return refuse(0, "all 16 blocks are in use and the previous one is full");
    auto alone = makeBlock(item);
    if (!alone) return refuse(0, "no memory for a new block");
    blocks_[b] = std::move(rest);
    placeBlock(b, std::move(alone));
    itemsPerBlock_[b] = 1;
    --itemsPerBlock_[b + 1];
    index_.SetSpan(n, Span{0, length});
    rechain(static_cast<uint16_t>(n + 1), itemsPerBlock_[b + 1], 0);
    return 1;
}

int TextStore::relocateToNext(uint16_t n, const Place& at, uint16_t length, bool carry) {
    const int b = at.block;
    const Span s = span(n);
    const std::string item = movedItem(b, s, length, carry);
    auto rest = makeBlock(blockBytes(b).substr(0, s.start));  // the item was the block's last
    if (!rest) return refuse(0, "no memory to shrink the item's block");
    if (uint32_t{GetBlockSize(b + 1)} + length <= kMaxBlockBytes) {
        auto next = makeBlock(item + blockBytes(b + 1));
        if (!next) return refuse(0, "no memory to grow the next block");
        blocks_[b] = std::move(rest);
        blocks_[b + 1] = std::move(next);
        rechain(static_cast<uint16_t>(n + 1), itemsPerBlock_[b + 1], length);
        ++itemsPerBlock_[b + 1];
    } else {
        if (blockCount_ >= kMaxBlocks) return refuse(0, "all 16 blocks are in use and the next one is full");
        auto alone = makeBlock(item);
        if (!alone) return refuse(0, "no memory for a new block");
        blocks_[b] = std::move(rest);
        placeBlock(b + 1, std::move(alone));
        itemsPerBlock_[b + 1] = 1;
    }
    index_.SetSpan(n, Span{0, length});
    --itemsPerBlock_[b];
    return 1;
}

int TextStore::splitAround(uint16_t n, const Place& at, uint16_t length, bool carry) {
    if (blockCount_ >= kMaxBlocks - 1) return refuse(0, "15 blocks are in use: no block may be split");
    const int b = at.block;
    const Span s = span(n);
    const std::string bytes = blockBytes(b);
    const auto tail = static_cast<uint16_t>(s.start + s.length);  // where the later items begin
    const auto after = static_cast<uint16_t>(bytes.size() - tail);
    const uint16_t count = itemsPerBlock_[b];
    // The item goes with the later items when fewer bytes follow it, or when it cannot stay.
    const bool itemMoves = after < s.start || uint32_t{s.start} + length > kMaxBlockBytes;
    if (itemMoves && uint32_t{after} + length > kMaxBlockBytes) return refuse(0, "the item fits no half of its block");
    const std::string item = movedItem(b, s, length, carry);
    const std::string head = bytes.substr(0, s.start);
    auto kept = makeBlock(itemMoves ? head : head + item);
    auto split = makeBlock(itemMoves ? item + bytes.substr(tail) : bytes.substr(tail));
    if (!kept || !split) return refuse(0, "no memory to split the block");
    blocks_[b] = std::move(kept);
    placeBlock(b + 1, std::move(split));
    if (itemMoves) {
        itemsPerBlock_[b] = at.local;
        itemsPerBlock_[b + 1] = static_cast<uint16_t>(count - at.local);
        index_.SetSpan(n, Span{0, length});
        rechain(n, itemsPerBlock_[b + 1], 0);
    } else {
        itemsPerBlock_[b] = static_cast<uint16_t>(at.local + 1);
        itemsPerBlock_[b + 1] = static_cast<uint16_t>(count - at.local - 1);
        index_.SetSpan(n, Span{s.start, length});
        rechain(static_cast<uint16_t>(n + 1), itemsPerBlock_[b + 1], 0);
    }
    int later = b + 1;
    if (mergeWithPrevious(b)) --later;
    mergeWithNext(later);
    return 1;
}

bool TextStore::copyBlockInto(int fromBlock, int toBlock, uint16_t to) {
    if (GetBlockSize(fromBlock) == 0) return true;
    const HeldBlock target(*blocks_[toBlock], to);
    return target.get() && blocks_[fromBlock]->CopyTo(target.get(), 0);
}

void TextStore::removeBlock(int block, bool handOnItems) {
    const uint16_t items = itemsPerBlock_[block];
    if (handOnItems && items > 0) {
        const uint16_t first = firstItemOf(block);
        if (block + 1 < blockCount_) {
            itemsPerBlock_[block + 1] = static_cast<uint16_t>(itemsPerBlock_[block + 1] + items);
            rechain(first, itemsPerBlock_[block + 1], 0);
        } else {
            rechain(first, items, GetBlockSize(block - 1));
            itemsPerBlock_[block - 1] = static_cast<uint16_t>(itemsPerBlock_[block - 1] + items);
        }
    }
    blocks_[block]->Release();
    std::rotate(blocks_.begin() + block, blocks_.begin() + block + 1, blocks_.begin() + blockCount_);
    std::copy(itemsPerBlock_.begin() + block + 1, itemsPerBlock_.begin() + blockCount_, itemsPerBlock_.begin() + block);
    --blockCount_;
    itemsPerBlock_[blockCount_] = 0;
}

void TextStore::tidy(int block) {
    if (GetBlockSize(block) == 0 && blockCount_ > 1) {
        removeBlock(block, true);
        return;
    }
    if (!mergeWithPrevious(block)) mergeWithNext(block);
}

// Merged blocks stay below 65,535 bytes together, so a merge never makes a block that is full.
bool TextStore::mergeWithPrevious(int block) {
    if (block == 0) return false;
    const uint16_t size = GetBlockSize(block);
    const uint16_t previous = GetBlockSize(block - 1);
    if (uint32_t{size} + previous >= kMaxBlockBytes) return false;
    if (!blocks_[block - 1]->InsertBytes(previous, size)) return false;
    copyBlockInto(block, block - 1, previous);
    rechain(firstItemOf(block), itemsPerBlock_[block], previous);
    itemsPerBlock_[block - 1] = static_cast<uint16_t>(itemsPerBlock_[block - 1] + itemsPerBlock_[block]);
    itemsPerBlock_[block] = 0;
    removeBlock(block, false);
    return true;
}

bool TextStore::mergeWithNext(int block) {
    if (block + 1 >= blockCount_) return false;
    const uint16_t size = GetBlockSize(block);
    if (uint32_t{size} + GetBlockSize(block + 1) >= kMaxBlockBytes) return false;
    if (!blocks_[block + 1]->InsertBytes(0, size)) return false;
    copyBlockInto(block, block + 1, 0);
    itemsPerBlock_[block + 1] = static_cast<uint16_t>(itemsPerBlock_[block + 1] + itemsPerBlock_[block]);
    rechain(firstItemOf(block), itemsPerBlock_[block + 1], 0);
    itemsPerBlock_[block] = 0;
    removeBlock(block, false);
    return true;
}

int TextStore::InsertBytes(uint16_t n, uint16_t offset, const void* source, uint16_t count) {
    if (!validItem(n, "TextStore::InsertBytes into no item")) return 0;
    const Span s = span(n);
    if (offset > s.length) {
        ReportContractBreach("TextStore::InsertBytes past the item's end");
        return 0;
    }
    if (count == 0) return 1;
    if (uint32_t{s.length} + count > kMaxBlockBytes) return refuse(0, "an item holds at most 65,535 bytes");
    const Place at = locate(n);
    if (blocks_[at.block]->InsertBytes(static_cast<uint16_t>(s.start + offset), count, s.start + s.length, source)) {
        index_.GrowSpans(n, static_cast<uint16_t>(itemsPerBlock_[at.block] - at.local), count);
        return 1;
    }
    if (!relocate(n, static_cast<uint16_t>(s.length + count), true)) return 0;
    uint8_t* bytes = LockItem(n);
    if (!bytes) return refuse(0, "the moved item cannot be locked");
    std::memmove(bytes + offset + count, bytes + offset, s.length - offset);
    UnlockItem(n);
    if (source) {
        uint8_t* bytes = LockItem(n);
        if (!bytes) return refuse(0, "the item cannot be locked");
        std::memcpy(bytes + offset, source, count);
        UnlockItem(n);
    }
    return 1;
}

int TextStore::DeleteBytes(uint16_t n, uint16_t offset, uint16_t count) {
    if (!validItem(n, "TextStore::DeleteBytes from no item")) return 0;
    const Span s = span(n);
    if (uint32_t{offset} + count > s.length) {
        ReportContractBreach("TextStore::DeleteBytes past the item's end");
        return 0;
    }
    if (count == 0) return 1;
    const Place at = locate(n);
    if (!blocks_[at.block]->DeleteBytes(static_cast<uint16_t>(s.start + offset), count, s.start + s.length)) {
        return refuse(0, "no memory to shrink the block");
    }
    index_.ShrinkSpans(n, static_cast<uint16_t>(itemsPerBlock_[at.block] - at.local), count);
    tidy(at.block);
    return 1;
}

int TextStore::AppendWord(uint16_t n, uint16_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
    return InsertBytes(n, GetItemLength(n), bytes, 2);
}

int TextStore::SetItemString(uint16_t n, std::string_view text) {
    if (!SetItemLength(n, text.size())) return 0;
    if (text.empty()) return 1;
    uint8_t* bytes = LockItem(n);
    if (!bytes) return refuse(0, "the item cannot be locked");
    std::memcpy(bytes, text.data(), text.size());
    UnlockItem(n);
    return 1;
}

uint16_t TextStore::FindString(std::string_view text) {
    for (uint16_t n = 0; n < itemCount_; ++n) {
        if (span(n).length == text.size() && CopyItem(n) == text) return n;
    }
    return kNoItem;
}

uint16_t TextStore::FindOrAddString(std::string_view text) {
    const uint16_t found = FindString(text);
    if (found != kNoItem) return found;
    const uint16_t added = AddItem();
    if (added == kNoItem) return kNoItem;
    if (!SetItemString(added, text)) {
        DeleteItem(added);
        return kNoItem;
    }
    return added;
}

int TextStore::FindEmptyItem() { return index_.FindEmptySpan(itemCount_); }

int TextStore::SplitItem(uint16_t n, uint16_t offset, bool whole) {
    if (!validItem(n, "TextStore::SplitItem of no item")) return 0;
    const std::string bytes = CopyItem(n);
    if (!InsertItem(static_cast<uint16_t>(n + 1))) return 0;
    if (whole || offset == 0xFFFF || offset >= bytes.size()) return 1;
    const std::string_view moved = std::string_view(bytes).substr(offset);
    if (!SetItemString(static_cast<uint16_t>(n + 1), moved)) {
        DeleteItem(static_cast<uint16_t>(n + 1));
        return 0;
    }
    return SetItemLength(n, offset);
}

int TextStore::JoinWithNext(uint16_t n) {
    if (!validItem(static_cast<uint16_t>(n + 1), "TextStore::JoinWithNext without a next item")) return 0;
    const std::string next = CopyItem(static_cast<uint16_t>(n + 1));
    if (!InsertBytes(n, GetItemLength(n), next.data(), static_cast<uint16_t>(next.size()))) return 0;
    return DeleteItem(static_cast<uint16_t>(n + 1));
}

bool TextStore::CanGrow(uint32_t bytes) const {
    if (itemCount_ == kMaxItems) return false;
    if (blockCount_ < kMaxBlocks) return true;
    for (int b = 0; b < blockCount_; ++b) {
        if (kMaxBlockBytes - GetBlockSize(b) >= bytes) return true;
    }
    return false;
}

bool TextStore::CheckConsistency() {
    const auto broken = [](const char* why) {
        refuse.log(why);
        return false;
    };
    if (blockCount_ > kMaxBlocks) return broken("more than 16 blocks");
    if (itemCount_ > kMaxItems) return broken("more than 16,383 items");
    if (index_.GetCount() != itemCount_) return broken("the index does not count the items");
    if (itemCount_ > 0 && blockCount_ == 0) return broken("items without a block");
    uint32_t counted = 0;
    for (int b = 0; b < kMaxBlocks; ++b) {
        if (b >= blockCount_) {
            if (itemsPerBlock_[b] != 0 || blocks_[b]->GetSize() != 0) return broken("an unused block slot holds something");
            continue;
        }
        uint32_t end = 0;
        for (uint16_t i = 0; i < itemsPerBlock_[b]; ++i) {
            const Span s = index_.GetSpan(static_cast<uint16_t>(counted + i));
            if (s.start != end) return broken("an item does not start where the previous one ends");
            end += s.length;
        }
        if (end != GetBlockSize(b)) return broken("a block's size is not the sum of its items");
        counted += itemsPerBlock_[b];
    }
    if (counted != itemCount_) return broken("the blocks do not count every item");
    return true;
}

}  // namespace lect32
