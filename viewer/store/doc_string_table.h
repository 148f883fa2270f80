// The document's numbered strings, the names of its pages: string N is slot N % 256 of the block
// stored as record (0, N / 256). A block is a header word, 256 length bytes, the u16 size S of
// the string bytes and the S bytes of the strings back to back, without terminators.
//
// One block is held at a time (its string bytes in a movable block). ReadString reads names
// through it, loading a block only when another one is asked for or the document changed.
#ifndef LECT32_STORE_DOC_STRING_TABLE_H
#define LECT32_STORE_DOC_STRING_TABLE_H

#include <array>
#include <cstdint>
#include <functional>

#include "winplat/owners.h"
#include "winplat/types.h"

namespace lect32 {

class IdList;
class MemReader;
class MemWriter;
class VazaziFile;

class DocStringTable {
public:
    static constexpr int kRecordType = 0;
    static constexpr int kSlots = 256;
    static constexpr int kBlocks = 128;
    static constexpr uint32_t kHeadSize = 2 + kSlots + 2;
    // A string of at most 255 bytes and its terminator.
    static constexpr uint32_t kBufferSize = 256;

    explicit DocStringTable(VazaziFile& container) : container_(&container) {}
    ~DocStringTable() { ClearBlock(); }
    DocStringTable(const DocStringTable&) = delete;
    DocStringTable& operator=(const DocStringTable&) = delete;

    void SetContainer(VazaziFile& container) {
        container_ = &container;
        readBlock_ = kNoBlock;
    }
    VazaziFile& container() const { return *container_; }

    void ClearBlock();
    int LockBlock();
    int UnlockBlock();
    uint32_t GetSlotOffset(int slot) const;
    // Copies the slot's string and a terminator into buffer (kBufferSize bytes); its length.
    int GetSlot(int slot, char* buffer) const;
    // Replaces the slot's string; 1, or 0 when the block cannot grow or the slot is out of range.
    int SetSlot(int slot, const char* bytes, uint8_t length);
    // 0 when the block is short, its lengths do not add up to its size, or memory runs out.
    int ParseBlock(MemReader& reader);
    int BuildBlock(MemWriter& writer) const;

    // What ForEachString hands over: the string's number and a terminated copy of its bytes; false
    // stops the walk.
    using StringVisitor = std::function<bool(int n, const char* text, int length)>;
    // Walks every string of the bound container in number order, one block loaded at a time.
    // 1 when the walk ended or was stopped, 0 when a block cannot be parsed or locked.
    int ForEachString(const StringVisitor& visit);

    // String n of the bound container into buffer (kBufferSize bytes, terminated); its length.
    // An absent block, a number out of range or a damaged block give the empty string and 0.
    int ReadString(int16_t n, char* buffer);
    // Replaces string n in the bound container; 1 on success, 0 with the document unchanged.
    int WriteString(int16_t n, const char* bytes, uint8_t length);

    // Flags of FillListControl: the low bits are the filter.
    static constexpr uint8_t kFillCombo = 0x80;
    static constexpr uint8_t kFillHeading = 0x40;
    static constexpr uint8_t kFillAll = 0, kFillNotInList = 1, kFillInList = 2;
    // Fills the list box (combo box with kFillCombo) controlId of the dialog with the strings of
    // the bound container, item data = string number, in number order; filter 1 keeps the
    // numbers outside ids, filter 2 those in it; with a map only numbers whose entry is non-zero
    // (map has 32768 bytes). kFillHeading inserts ">>> " + headingText + " <<<" first with item
    // data -1. The list's horizontal extent becomes the widest text + 2 in 8-point bold
    // "MS Sans Serif". 1, or 0 when a block cannot be parsed or memory runs out.
    int FillListControl(HWND dialog, int controlId, uint8_t flags, const uint8_t* map, IdList* ids,
                        const char* headingText);

    uint16_t headerWord() const { return header_; }
    uint16_t size() const { return size_; }
    uint8_t length(int slot) const { return lengths_[static_cast<size_t>(slot)]; }
    bool locked() const { return static_cast<bool>(pin_); }

private:
    static constexpr int kNoBlock = -1;

    bool resizeBytes(uint32_t size);

    VazaziFile* container_;
    uint16_t header_ = 0;
    std::array<uint8_t, kSlots> lengths_{};
    winplat::GlobalBlock bytes_;
    winplat::GlobalPin pin_;  // held between LockBlock and UnlockBlock
    uint16_t size_ = 0;
    // The container's block the held one is, unchanged, as of the container's generation; none
    // once the held block was cleared or edited.
    int readBlock_ = kNoBlock;
    uint32_t readGeneration_ = 0;
};

}  // namespace lect32

#endif
