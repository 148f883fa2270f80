// Short strings (file and folder names, index words, list texts) kept in one movable block: a
// table of fixed-size entry headers followed by the strings' bytes back to back. The stored form
// is that layout, a file format:
//   count headers of H bytes {u8 used, u8 length, subclass fields...}, then the used strings in
//   entry order without terminators.
// In memory the block also keeps unused room after the headers (for headers to come) and after
// the strings, so that adding an entry at the end moves no other entry's bytes.
// Saved as u16 count, u16 free count, u16 size (0xFFFF: a u32 size follows), the block.
// Strings are cp1250 bytes of at most 255; the block never passes 262140 bytes.
#ifndef LECT32_STORE_STRING_LIST_H
#define LECT32_STORE_STRING_LIST_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "winplat/owners.h"

namespace lect32 {

class MemReader;
class MemWriter;
class VazaziFile;

class StringList {
public:
    static constexpr uint32_t kMaxBlock = 262140;  // 0xFFFF x 4
    static constexpr uint16_t kFull = 0xFFFF;      // also "not found"
    static constexpr uint16_t kNoMemory = 0xFFFE;
    static constexpr uint16_t kLockFailed = 0xFFFD;
    // Indexes stop below the failure values so that no entry index reads as a failure.
    static constexpr uint16_t kMaxCount = 0xFFFD;
    static constexpr uint16_t kMaxLength = 255;

    // Whether an add's result is one of its failure values rather than an entry index.
    static bool IsAddFailure(uint16_t result) { return result >= kLockFailed; }

    StringList() : StringList(2) {}
    virtual ~StringList();
    StringList(const StringList&) = delete;
    StringList& operator=(const StringList&) = delete;

    void Clear();
    uint16_t GetCount() const { return count_; }
    uint16_t GetFreeCount() const { return free_; }
    uint32_t GetSize() const { return size_; }
    uint16_t GetHeaderSize() const { return headerSize_; }
    bool HasBlock() const { return static_cast<bool>(block_); }
    bool IsLocked() const { return static_cast<bool>(lock_); }

    int Lock();
    int Unlock();
    int LockPermanently();
    int UnlockPermanently();
    void SetKeepCase(int keep) { keepCase_ = keep ? 1 : 0; }
    bool KeepsCase() const { return keepCase_ != 0; }

    // index -1 appends (reusing the first free slot); otherwise inserts before entry 'index'.
    // Returns the entry index or kFull / kNoMemory / kLockFailed, with the list unchanged.
    uint16_t AddString(const char* bytes, int length, int index = -1);
    int DeleteString(uint16_t index, int remove);
    int ReplaceString(uint16_t index, const char* bytes, int length);
    uint16_t Find(const char* bytes, int length);
    // The same lookup for our own code, without a value standing for "not found" (an entry index
    // never reaches kFull).
    std::optional<uint16_t> FindEntry(const char* bytes, int length) {
        const uint16_t found = Find(bytes, length);
        return found == kFull ? std::nullopt : std::optional<uint16_t>(found);
    }
    // buffer: room for 255 bytes (GetString: 256).
    uint16_t GetBytes(uint16_t index, char* buffer);
    uint16_t GetString(uint16_t index, char* buffer);

    // type -1: into / from the stream. Another type: record (type, 0) of 'document' (the open
    // document; 0 without one).
    int Save(MemWriter& writer, int type = -1, VazaziFile* document = nullptr);
    int Load(MemReader& reader, int type = -1, VazaziFile* document = nullptr);

    int IsChanged() const { return changed_; }
    void ClearChanged() { changed_ = 0; }

protected:
    explicit StringList(uint16_t headerSize) : headerSize_(headerSize) {}

    // Locks for one operation's work; Release undoes it unless the owner holds a permanent lock.
    bool Pin();
    void ReleasePin();
    uint8_t* data() const { return lock_.as<uint8_t>(); }
    uint8_t* HeaderAt(uint16_t index) const { return data() + uint32_t{index} * headerSize_; }
    // The first string's bytes (the strings follow one another in entry order).
    uint8_t* StringsAt() const { return data() + StringsOffset(); }
    uint32_t OffsetOf(uint16_t index) const;
    void MarkChanged() { changed_ = 1; }
    // Header bytes 0 (used) and 1 (length) belong to this class: the lookup index follows them
    // through its own operations only, so subclasses write their own fields and nothing else.
    // Subclasses refuse loaded entries whose own fields do not hold (e.g. a folder index).
    virtual bool AcceptsLoadedEntry(const uint8_t* /*header*/) const { return true; }

private:
    // What making room came to; an add hands the failures on as its results.
    enum class Growth : uint8_t { Done, NoMemory, LockFailed };
    static uint16_t AddResultOf(Growth failure) { return failure == Growth::NoMemory ? kNoMemory : kLockFailed; }

    uint32_t StringsOffset() const { return uint32_t{count_} * headerSize_ + headerRoom_; }
    uint32_t HeaderRoomFor(uint16_t count) const;
    void NarrowRoom(uint32_t keep);
    Growth Reshape(uint32_t bytes);
    void FreeBlock();
    // After the stored size dropped to 'bytes'.
    void Shrink(uint32_t bytes);
    int LoadFrom(MemReader& reader);
    bool readSoundEntries(HGLOBAL block, MemReader& reader, uint16_t count, uint32_t size,
                          uint16_t& freeSlots) const;

    // Lookup index beside the block, never stored: each used string maps to its entry indexes in
    // ascending order, so the first is what a scan would find. It is built on the first Find and
    // then kept in step by every change; when it cannot be (no memory), it is dropped and rebuilt
    // later, and Find scans meanwhile.
    struct IndexHash {
        using is_transparent = void;
        size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    };
    bool BuildIndex();
    void DropIndex();
    void IndexAdd(uint16_t entry, std::string_view key);
    void IndexRemove(uint16_t entry, std::string_view key);
    // Moves every indexed entry at or after 'from' by 'by' (an entry inserted or removed before).
    void IndexShift(uint16_t from, int by);

    std::unordered_map<std::string, std::vector<uint16_t>, IndexHash, std::equal_to<>> index_;
    bool indexValid_ = false;

    uint16_t count_ = 0;
    uint16_t free_ = 0;
    uint32_t size_ = 0;        // stored bytes: headers and strings
    uint32_t headerRoom_ = 0;  // unused bytes between the headers and the strings
    uint32_t capacity_ = 0;    // bytes of the block, size_ + headerRoom_ of them used
    winplat::GlobalBlock block_;
    winplat::GlobalPin lock_;  // held while pinned; given back before the block goes
    uint8_t permanent_ = 0;
    uint8_t keepCase_ = 0;
    uint16_t headerSize_;
    uint8_t changed_ = 0;
};

}  // namespace lect32

#endif
