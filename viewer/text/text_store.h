// The store of every variable-length item list of the reader (row texts, row records, object and
// cell texts, string lists): up to 16,383 items spread over up to 16 movable blocks of at most
// 65,535 bytes, with an index of (start, length) spans. Items lie back to back inside a block in
// item order; an item that outgrows its block moves to a neighbour, to a new block or splits the
// block, and blocks that shrink merge greedily with a neighbour.
#ifndef LECT32_TEXT_TEXT_STORE_H
#define LECT32_TEXT_TEXT_STORE_H

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "store/byte_buffer.h"
#include "store/span_array.h"

namespace lect32 {

struct TextMatch {
    uint16_t item = 0;
    uint16_t start = 0;
    uint16_t end = 0;  // after the last matched byte
};

class TextStore {
public:
    static constexpr int kMaxBlocks = 16;
    static constexpr uint16_t kMaxItems = 0x3FFF;
    static constexpr uint32_t kMaxBlockBytes = 0xFFFF;
    static constexpr uint16_t kNoItem = 0xFFFF;

    TextStore();
    TextStore(const TextStore&) = delete;
    TextStore& operator=(const TextStore&) = delete;

    void Clear();

    uint16_t GetItemCount() const { return itemCount_; }
    int GetBlockCount() const { return blockCount_; }
    uint16_t GetBlockItemCount(int block) const { return itemsPerBlock_[block]; }
    uint16_t GetBlockSize(int block) const;
    uint32_t GetTotalSize() const;

    int AppendItem() { return AddItem() != kNoItem; }
    uint16_t AddItem();
    int InsertItem(uint16_t n);
    int DeleteItem(uint16_t n);
    // Removes count items from first on; 0 (nothing removed) when they are not all items.
    int DeleteItemRange(uint16_t first, uint16_t count);

    // The address of item n's first byte, valid until the store changes; pair with UnlockItem.
    // Null for an empty item without block memory or a number that is not an item.
    uint8_t* LockItem(uint16_t n);
    void UnlockItem(uint16_t n);
    // Item n's bytes, copied out.
    std::string CopyItem(uint16_t n);

    uint16_t GetItemLength(uint16_t n);
    uint16_t GetItemWordCount(uint16_t n) { return GetItemLength(n) / 2; }
    uint16_t GetItemDwordCount(uint16_t n) { return GetItemLength(n) / 4; }

    int SetItemLength(uint16_t n, uint32_t bytes) { return resize(n, bytes, true); }
    int SetItemWordCount(uint16_t n, uint32_t count) { return resize(n, count * 2, true); }
    int ResizeItemDwords(uint16_t n, uint32_t count) { return resize(n, count * 4, true); }
    // As ResizeItemDwords, but an item that moves to another block leaves its bytes behind.
    int ReallocItemDwords(uint16_t n, uint32_t count) { return resize(n, count * 4, false); }

    int InsertBytes(uint16_t n, uint16_t offset, const void* source, uint16_t count);
    int OpenGap(uint16_t n, uint16_t offset, uint16_t count) { return InsertBytes(n, offset, nullptr, count); }
    int DeleteBytes(uint16_t n, uint16_t offset, uint16_t count);
    int AppendWord(uint16_t n, uint16_t value);
    int SetItemString(uint16_t n, std::string_view text);

    // First item whose bytes are exactly the string, else kNoItem.
    uint16_t FindString(std::string_view text);
    uint16_t FindOrAddString(std::string_view text);
    int FindEmptyItem();

    // A new item after n; unless whole (or offset 0xFFFF), n's bytes from offset move into it.
    int SplitItem(uint16_t n, uint16_t offset, bool whole);
    int JoinWithNext(uint16_t n);

    bool CanAddItems(uint32_t n) const { return itemCount_ + n <= kMaxItems; }
    bool CanGrow(uint32_t bytes) const;

    // Searches the items' text from (item, offset) on; control codes are skipped, so a match may
    // span them. Without matchCase bytes compare cp1250 lower-cased; with wholeWords a match
    // must stand between non-word characters. The search string is not changed.
    bool FindText(std::string_view needle, bool matchCase, bool wholeWords, uint16_t item, uint16_t offset,
                  TextMatch& match);

    // Whether every invariant of the store holds; the first broken one goes to the debug output.
    bool CheckConsistency();

private:
    struct Place {
        int block;
        uint16_t local;
        uint16_t first;  // the block's first item
    };

    Place locate(uint16_t n) const;
    uint16_t firstItemOf(int block) const;
    Span span(uint16_t n) { return index_.GetSpan(n); }
    void rechain(uint16_t first, uint16_t count, uint16_t from);
    bool validItem(uint16_t n, const char* what) const;

    int resize(uint16_t n, uint32_t length, bool carry);
    int grow(uint16_t n, uint16_t length, bool carry);
    int shrink(uint16_t n, uint16_t length);
    int relocate(uint16_t n, uint16_t length, bool carry);
    int relocateToPrevious(uint16_t n, const Place& at, uint16_t length, bool carry);
    int relocateToNext(uint16_t n, const Place& at, uint16_t length, bool carry);
    int splitAround(uint16_t n, const Place& at, uint16_t length, bool carry);

    std::string blockBytes(int block);
    static std::unique_ptr<ByteBuffer> newBlock();
    static std::unique_ptr<ByteBuffer> makeBlock(const std::string& bytes);
    std::string movedItem(int block, Span old, uint16_t length, bool carry);
    void placeBlock(int slot, std::unique_ptr<ByteBuffer> fresh);
    // Copies a whole block into the bytes just opened at 'to' in another.
    bool copyBlockInto(int fromBlock, int toBlock, uint16_t to);
    void removeBlock(int block, bool handOnItems);
    void tidy(int block);
    bool mergeWithPrevious(int block);
    bool mergeWithNext(int block);

    std::array<std::unique_ptr<ByteBuffer>, kMaxBlocks> blocks_;
    SpanArray index_;
    uint16_t itemCount_ = 0;
    uint8_t blockCount_ = 0;
    std::array<uint16_t, kMaxBlocks> itemsPerBlock_{};
};

// Whether a byte belongs to a word: every byte but the 17 punctuation marks !()/\-.:;,"'[]{}%
// (so cp1250 letters do; a blank is told apart by the caller).
bool IsWordCharacter(uint8_t c);

}  // namespace lect32

#endif
