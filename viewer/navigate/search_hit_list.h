// The hits of a search run: 4-byte records of a page (string) number, the member document it lies
// in and a byte of the pass that found it, kept in one movable block.
#ifndef LECT32_NAVIGATE_SEARCH_HIT_LIST_H
#define LECT32_NAVIGATE_SEARCH_HIT_LIST_H

#include <cstdint>

#include "store/record_array.h"

namespace lect32 {

struct SearchHit {
    uint16_t page = 0;
    uint8_t document = 0;
    uint8_t pass = 0;
};

class SearchHitList {
public:
    static constexpr uint16_t kRecordSize = 4;
    static constexpr uint16_t kFull = 0xFFFF;

    // Index of the new record: u16 page, then u16 (pass << 8 | document). kFull at the block's size
    // limit or without memory, the list unchanged.
    uint16_t Append(const SearchHit& hit);
    // Record i; false, with an empty hit, past the end.
    bool GetAt(uint16_t i, SearchHit& hit);
    uint16_t GetCount() const { return records_.GetCount(); }
    void Clear() { records_.Clear(); }
    // The records' block (none when empty), count x 4 bytes.
    HGLOBAL GetHandle() const { return records_.GetHandle(); }

private:
    RecordArray records_{kRecordSize};
};

// The reader's one hit list.
SearchHitList& GetSearchHitList();

}  // namespace lect32

#endif
