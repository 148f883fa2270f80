#include "store/string_list.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/typed_record.h"
#include "store/vazazi_file.h"

namespace lect32 {
namespace {

// Resizes a block where it is or by moving it (a new block for an empty owner); false leaves it.
bool resizeBlock(winplat::GlobalBlock& block, uint32_t bytes) {
    if (block) return GlobalReAlloc(block.get(), bytes, GMEM_MOVEABLE) != nullptr;
    block.reset(GlobalAlloc(GMEM_MOVEABLE, bytes));
    return static_cast<bool>(block);
}

}  // namespace

StringList::~StringList() { FreeBlock(); }

void StringList::FreeBlock() {
    lock_.reset();
    block_.reset();
    capacity_ = 0;
    headerRoom_ = 0;
    permanent_ = 0;
}

void StringList::Clear() {
    FreeBlock();
    DropIndex();
    count_ = 0;
    free_ = 0;
    size_ = 0;
}

bool StringList::Pin() {
    if (!lock_) lock_ = winplat::GlobalPin(block_.get());
    return static_cast<bool>(lock_);
}

void StringList::ReleasePin() {
    if (!permanent_) lock_.reset();
}

int StringList::Lock() { return Pin() ? 1 : 0; }

int StringList::Unlock() {
    ReleasePin();
    return 1;
}

int StringList::LockPermanently() {
    if (!Pin()) return 0;
    permanent_ = 1;
    return 1;
}

int StringList::UnlockPermanently() {
    permanent_ = 0;
    ReleasePin();
    return 1;
}

// The block grows with room to spare (up to the limit), so that a list built by appends costs
// linear copying rather than a full copy per string; size_ + headerRoom_ bytes of it are used, and
// the saved form carries the size_ stored bytes only. Reallocation happens unlocked so that the
// block may move, and the block comes back locked.
StringList::Growth StringList::Reshape(uint32_t bytes) {
    if (block_ && bytes <= capacity_) return Pin() ? Growth::Done : Growth::LockFailed;
    const uint32_t roomy = std::min(kMaxBlock, std::max(bytes, capacity_ + capacity_ / 2));
    const bool wasLocked = static_cast<bool>(lock_);
    lock_.reset();
    if (!resizeBlock(block_, roomy)) {
        if (wasLocked) Pin();
        return Growth::NoMemory;
    }
    capacity_ = roomy;
    return Pin() ? Growth::Done : Growth::LockFailed;
}

// Room for as many headers again as the list has (at least 16), so that headers added one by one
// move the strings a bounded number of times.
uint32_t StringList::HeaderRoomFor(uint16_t count) const {
    return std::max<uint32_t>(16, count) * headerSize_;
}

// Moves the strings down so that at most 'keep' bytes of room stay after the headers. Needs the
// block pinned.
void StringList::NarrowRoom(uint32_t keep) {
    if (headerRoom_ <= keep) return;
    const uint32_t headers = uint32_t{count_} * headerSize_;
    std::memmove(data() + headers + keep, data() + headers + headerRoom_, size_ - headers);
    headerRoom_ = keep;
}

// Gives memory back once less than half of the block is used. A refused shrink leaves the larger
// block, which is harmless.
void StringList::Shrink(uint32_t stored) {
    if (stored == 0) {
        // Moveable blocks of no bytes cannot be locked, so an emptied list drops its block.
        const uint8_t keep = permanent_;
        FreeBlock();
        permanent_ = keep;
        return;
    }
    const uint32_t bytes = stored + headerRoom_;
    if (bytes >= capacity_ / 2) return;
    const bool relock = static_cast<bool>(lock_);
    lock_.reset();
    if (GlobalReAlloc(block_.get(), bytes, GMEM_MOVEABLE)) capacity_ = bytes;
    if (relock) Pin();
}

void StringList::DropIndex() {
    index_.clear();
    indexValid_ = false;
}

// Needs the block pinned.
bool StringList::BuildIndex() {
    DropIndex();
    try {
        index_.reserve(count_);
        uint32_t at = StringsOffset();
        for (uint16_t j = 0; j < count_; ++j) {
            const uint8_t* header = HeaderAt(j);
            if (header[0]) {
                index_[std::string(reinterpret_cast<const char*>(data() + at), header[1])].push_back(j);
            }
            at += header[1];
        }
    } catch (...) {
        DropIndex();
        return false;
    }
    indexValid_ = true;
    return true;
}

void StringList::IndexAdd(uint16_t entry, std::string_view key) {
    if (!indexValid_) return;
    try {
        auto it = index_.find(key);
        if (it == index_.end()) it = index_.emplace(std::string(key), std::vector<uint16_t>{}).first;
        auto& entries = it->second;
        entries.insert(std::lower_bound(entries.begin(), entries.end(), entry), entry);
    } catch (...) {
        DropIndex();
    }
}

void StringList::IndexRemove(uint16_t entry, std::string_view key) {
    if (!indexValid_) return;
    const auto it = index_.find(key);
    if (it == index_.end()) return DropIndex();  // out of step; start again rather than mislead
    auto& entries = it->second;
    const auto at = std::lower_bound(entries.begin(), entries.end(), entry);
    if (at == entries.end() || *at != entry) return DropIndex();
    entries.erase(at);
    if (entries.empty()) index_.erase(it);
}

void StringList::IndexShift(uint16_t from, int by) {
    if (!indexValid_) return;
    // Every entry list moves as a whole past 'from', so each stays ascending.
    for (auto& [key, entries] : index_) {
        for (auto it = std::lower_bound(entries.begin(), entries.end(), from); it != entries.end(); ++it) {
            *it = static_cast<uint16_t>(*it + by);
        }
    }
}

uint32_t StringList::OffsetOf(uint16_t index) const {
    uint32_t offset = StringsOffset();
    for (uint16_t j = 0; j < index; ++j) offset += HeaderAt(j)[1];
    return offset;
}

uint16_t StringList::AddString(const char* bytes, int length, int index) {
    length = std::clamp(length, 0, int{kMaxLength});
    assert(bytes || length == 0);
    const bool ownerLocked = static_cast<bool>(lock_);
    auto finish = [&](uint16_t result) {
        if (!ownerLocked) ReleasePin();
        return result;
    };
    if (block_ && !Pin()) return finish(kLockFailed);

    uint16_t target = count_;
    bool addHeader = true;
    if (index < 0) {
        if (free_) {
            for (uint16_t j = 0; j < count_; ++j) {
                if (HeaderAt(j)[0] == 0) {
                    target = j;
                    addHeader = false;
                    break;
                }
            }
            if (addHeader) free_ = 0;  // the count said there were free slots, but none is left
        }
    } else {
        assert(index <= count_);
        target = static_cast<uint16_t>(std::min(index, int{count_}));
    }
    if (addHeader && count_ >= kMaxCount) return finish(kFull);
    const uint32_t growth = static_cast<uint32_t>(length) + (addHeader ? headerSize_ : 0u);
    const uint32_t oldSize = size_;
    if (oldSize + growth > kMaxBlock) return finish(kFull);

    const uint32_t headers = uint32_t{count_} * headerSize_;
    const uint32_t stringBytes = oldSize - headers;
    // Where the new string goes among the strings; an appended entry's goes last.
    const uint32_t before =
        (addHeader && target == count_) ? stringBytes : (block_ ? OffsetOf(target) - StringsOffset() : 0);
    // A header takes its bytes from the room after the headers, which is renewed when used up;
    // near the limit the room gives way to stored bytes.
    uint32_t roomAfter = headerRoom_;
    if (addHeader) roomAfter = headerRoom_ >= headerSize_ ? headerRoom_ - headerSize_ : HeaderRoomFor(count_);
    roomAfter = std::min(roomAfter, kMaxBlock - (oldSize + growth));
    if (const Growth grown = Reshape(oldSize + growth + roomAfter); grown != Growth::Done) {
        return finish(AddResultOf(grown));
    }
    uint8_t* strings = data() + headers + (addHeader ? headerSize_ : 0u) + roomAfter;
    const uint8_t* was = data() + headers + headerRoom_;
    if (strings != was) std::memmove(strings, was, stringBytes);
    std::memmove(strings + before + length, strings + before, stringBytes - before);
    if (length) std::memcpy(strings + before, bytes, static_cast<size_t>(length));
    if (addHeader) {
        const uint32_t headerAt = uint32_t{target} * headerSize_;
        std::memmove(data() + headerAt + headerSize_, data() + headerAt, headers - headerAt);
        if (target < count_) IndexShift(target, 1);
        ++count_;
    } else {
        --free_;
    }
    headerRoom_ = roomAfter;
    size_ = oldSize + growth;
    uint8_t* header = HeaderAt(target);
    std::memset(header, 0, headerSize_);
    header[0] = 1;
    header[1] = static_cast<uint8_t>(length);
    IndexAdd(target, {reinterpret_cast<const char*>(strings + before), static_cast<size_t>(length)});
    changed_ = 1;
    return finish(target);
}

int StringList::DeleteString(uint16_t index, int remove) {
    if (index >= count_ || !Pin()) return 0;
    uint8_t* header = HeaderAt(index);
    if (!header[0]) {
        ReleasePin();
        return 0;
    }
    const uint32_t length = header[1];
    const uint32_t at = OffsetOf(index);
    IndexRemove(index, {reinterpret_cast<const char*>(data() + at), length});
    if (remove) IndexShift(static_cast<uint16_t>(index + 1), -1);
    const uint32_t used = size_ + headerRoom_;
    std::memmove(data() + at, data() + at + length, used - at - length);
    uint32_t newSize = size_ - length;
    if (remove) {
        // The header's bytes join the room after the headers; the strings stay where they are.
        const uint32_t next = (uint32_t{index} + 1) * headerSize_;
        std::memmove(data() + next - headerSize_, data() + next, uint32_t{count_} * headerSize_ - next);
        headerRoom_ += headerSize_;
        newSize -= headerSize_;
        --count_;
    } else {
        std::memset(header, 0, headerSize_);
        ++free_;
    }
    const bool shrunk = newSize != size_;
    size_ = newSize;
    changed_ = 1;
    if (shrunk) Shrink(newSize);
    ReleasePin();
    return 1;
}

int StringList::ReplaceString(uint16_t index, const char* bytes, int length) {
    length = std::clamp(length, 0, int{kMaxLength});
    assert(bytes || length == 0);
    if (index >= count_ || !Pin()) return 0;
    // A free slot has no string to replace; giving it bytes would leave a used length on a free
    // header and break the layout.
    if (!HeaderAt(index)[0]) {
        ReleasePin();
        return 0;
    }
    const uint32_t old = HeaderAt(index)[1];
    uint32_t at = OffsetOf(index);
    uint32_t tail = at + old;
    const uint32_t oldSize = size_;
    const uint32_t newSize = oldSize - old + static_cast<uint32_t>(length);
    if (newSize > oldSize) {
        if (newSize > kMaxBlock) {
            ReleasePin();
            return 0;
        }
        NarrowRoom(kMaxBlock - newSize);  // the block stays within the limit
        at = OffsetOf(index);
        tail = at + old;
        if (Reshape(newSize + headerRoom_) != Growth::Done) {
            ReleasePin();
            return 0;
        }
    }
    IndexRemove(index, {reinterpret_cast<const char*>(data() + at), old});
    std::memmove(data() + at + length, data() + tail, oldSize + headerRoom_ - tail);
    if (length) std::memcpy(data() + at, bytes, static_cast<size_t>(length));
    HeaderAt(index)[1] = static_cast<uint8_t>(length);
    IndexAdd(index, {reinterpret_cast<const char*>(data() + at), static_cast<size_t>(length)});
    size_ = newSize;
    changed_ = 1;
    if (newSize < oldSize) Shrink(newSize);
    ReleasePin();
    return 1;
}

// The index holds copies of the strings, so a lookup through it needs no lock on the block. The
// lookup answers in the list's own result, kFull for "not found": it is the hot path of the
// reader's searches, and FindEntry turns the answer into an optional for our own callers.
uint16_t StringList::Find(const char* bytes, int length) {
    if (!block_ || length < 0 || length > kMaxLength) return kFull;
    if (!indexValid_) {
        if (!Pin()) return kFull;
        BuildIndex();
        ReleasePin();
    }
    if (indexValid_) {
        const auto it = index_.find(std::string_view(bytes, static_cast<size_t>(length)));
        return it == index_.end() ? kFull : it->second.front();
    }
    if (!Pin()) return kFull;
    uint16_t found = kFull;
    uint32_t at = StringsOffset();
    for (uint16_t j = 0; j < count_; ++j) {
        const uint8_t* header = HeaderAt(j);
        if (header[0] && header[1] == length && std::memcmp(data() + at, bytes, static_cast<size_t>(length)) == 0) {
            found = j;
            break;
        }
        at += header[1];
    }
    ReleasePin();
    return found;
}

uint16_t StringList::GetBytes(uint16_t index, char* buffer) {
    if (index >= count_ || !Pin()) return 0;
    const uint8_t length = HeaderAt(index)[1];
    std::memcpy(buffer, data() + OffsetOf(index), length);
    ReleasePin();
    return length;
}

uint16_t StringList::GetString(uint16_t index, char* buffer) {
    const uint16_t length = GetBytes(index, buffer);
    buffer[length] = 0;
    return length;
}

int StringList::Save(MemWriter& writer, int type, VazaziFile* document) {
    if (type != -1) return writeTypedRecord(document, type, [&](MemWriter& record) { return Save(record, -1); });
    writer.WriteWord(count_);
    writer.WriteWord(free_);
    if (size_ >= 0xFFFF) {
        writer.WriteWord(0xFFFF);
        writer.WriteDword(size_);
    } else {
        writer.WriteWord(static_cast<uint16_t>(size_));
    }
    if (size_) {
        if (!Pin()) return 0;
        const uint32_t headers = uint32_t{count_} * headerSize_;
        writer.WriteBytesLong(data(), headers);
        writer.WriteBytesLong(StringsAt(), size_ - headers);
        ReleasePin();
    }
    changed_ = 0;
    return writer.error() ? 0 : 1;
}

int StringList::Load(MemReader& reader, int type, VazaziFile* document) {
    if (type != -1) {
        Clear();
        changed_ = 0;
        MemReader record;
        if (!document || document->ReadRecordByType(type, 0, record) != 1) return 0;
        return LoadFrom(record);
    }
    return LoadFrom(reader);
}

// Reads 'size' stored bytes into the block and checks that the headers describe them exactly:
// each entry used or free (a free one without a length), accepted by the subclass, and the
// lengths filling the bytes after the headers.
bool StringList::readSoundEntries(HGLOBAL block, MemReader& reader, uint16_t count, uint32_t size,
                                  uint16_t& freeSlots) const {
    const winplat::GlobalPin pin(block);
    if (!pin || reader.ReadBytesLong(pin.data(), size) != 1) return false;
    uint32_t lengths = 0;
    for (uint16_t j = 0; j < count; ++j) {
        const uint8_t* header = pin.as<const uint8_t>() + uint32_t{j} * headerSize_;
        if (header[0] > 1 || (header[0] == 0 && header[1] != 0) || !AcceptsLoadedEntry(header)) return false;
        if (header[0] == 0) ++freeSlots;
        lengths += header[1];
    }
    return uint32_t{count} * headerSize_ + lengths == size;
}

// Nothing stored is trusted: the headers must describe the block exactly, or the list stays empty.
int StringList::LoadFrom(MemReader& reader) {
    Clear();
    changed_ = 0;
    uint16_t count = 0, freeCount = 0, shortSize = 0;
    if (!reader.ReadWord(count) || !reader.ReadWord(freeCount) || !reader.ReadWord(shortSize)) return 0;
    uint32_t size = shortSize;
    if (shortSize == 0xFFFF && !reader.ReadDword(size)) return 0;
    if (count == 0 && size == 0) return 1;
    const uint32_t headers = uint32_t{count} * headerSize_;
    if (size > kMaxBlock || headers > size || size > reader.remaining()) return 0;

    winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, size));
    uint16_t freeSlots = 0;
    if (!block || !readSoundEntries(block.get(), reader, count, size, freeSlots)) return 0;
    // Clear dropped the index; the first Find builds it for the loaded entries.
    block_ = std::move(block);
    capacity_ = size;
    count_ = count;
    // The stored free count is only a hint; the headers say which slots are free.
    free_ = freeSlots;
    size_ = size;
    return 1;
}

}  // namespace lect32
