#include "navigate/search_hit_list.h"

#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: search hits");

constexpr uint16_t kPageOffset = 0;
constexpr uint16_t kDocumentOffset = 2;  // the document byte, then the pass byte

}  // namespace

uint16_t SearchHitList::Append(const SearchHit& hit) {
    const uint16_t i = records_.Append();
    if (i == kFull) return refuse(kFull, "hit list full or out of memory");
    records_.SetWord(i, kPageOffset, hit.page);
    records_.SetWord(i, kDocumentOffset, static_cast<uint16_t>(hit.pass << 8 | hit.document));
    return i;
}

bool SearchHitList::GetAt(uint16_t i, SearchHit& hit) {
    hit = {};
    if (i >= GetCount()) return false;
    const uint16_t documentWord = records_.GetWord(i, kDocumentOffset);
    hit = {records_.GetWord(i, kPageOffset), static_cast<uint8_t>(documentWord),
           static_cast<uint8_t>(documentWord >> 8)};
    return true;
}

SearchHitList& GetSearchHitList() {
    static SearchHitList hits;
    return hits;
}

}  // namespace lect32
