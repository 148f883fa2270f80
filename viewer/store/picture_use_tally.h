// The tally of how often pages use each embedded file: for each (media type, table index) the
// uses the table records and the uses counted afresh by walking the pages. Commit brings the
// picture table's use counts in line with what was counted and drops entries no longer used.
#ifndef LECT32_STORE_PICTURE_USE_TALLY_H
#define LECT32_STORE_PICTURE_USE_TALLY_H

#include <array>
#include <cstddef>
#include <cstdint>

namespace lect32 {

class FileNameTable;

class PictureUseTally {
public:
    static constexpr int kCapacity = 100;
    static constexpr uint8_t kPictureType = 1;

    struct Entry {
        uint8_t type = 0;
        uint16_t index = 0;
        uint16_t recorded = 0;
        uint16_t counted = 0;
    };

    // Counted uses of every entry back to 0.
    void ResetCounted();
    // One more recorded use of (type, index), the entry appended when new. False when a new
    // entry would pass the capacity: nothing is kept.
    bool AddRecorded(uint16_t index, uint8_t type);
    // One more counted use; a new entry starts with one recorded use when 'present' is set.
    bool AddCounted(uint16_t index, bool present, uint8_t type);
    // Applies each difference (to 'pictures' for picture entries), then removes the entries
    // whose recorded uses are 0, keeping the others in order. 1 when any entry differed, else 0.
    int Commit(FileNameTable& pictures);

    int size() const { return count_; }
    const Entry& at(int n) const { return entries_[static_cast<size_t>(n)]; }

private:
    Entry* FindOrAppend(uint16_t index, uint8_t type, uint16_t recorded);
    void RemoveUnused();

    std::array<Entry, kCapacity> entries_{};
    int count_ = 0;
};

}  // namespace lect32

#endif
