// A shared pool of short strings: a StringList whose entry headers also carry a u16 use count
// (header {u8 used, u8 length, u16 uses}), with find-or-add and release. Unless keep-case is set,
// texts are lower-cased (ASCII letters only) before they are stored or looked up, in the caller's
// buffer.
#ifndef LECT32_STORE_STRING_POOL_H
#define LECT32_STORE_STRING_POOL_H

#include <cstdint>

#include "store/string_list.h"

namespace lect32 {

class StringPool : public StringList {
public:
    static constexpr uint16_t kPinned = 0xFFFF;  // a use count that never drops

    StringPool() : StringList(4) {}

    // Find-or-add; raises the use count. Returns the index or the add's failure value.
    uint16_t Acquire(char* text);
    // Adds without looking for an equal entry and without lower-casing; use count 1.
    uint16_t AddNew(const char* text);
    uint16_t Find(char* text);
    int Release(uint16_t index, int remove);
    uint16_t AddUses(uint16_t index, uint16_t uses);
    // Adds 'delta' (negative takes uses away, never below 0; a pinned count stays). The count
    // now, 0 for an index out of range.
    uint16_t ChangeUses(uint16_t index, int delta);
    uint16_t GetUseCount(uint16_t index);
    void ClearUseCounts();
    int ReplaceText(uint16_t index, const char* text);

protected:
    // For subclasses whose headers are longer: the pool's part stays the first four bytes.
    explicit StringPool(uint16_t headerSize) : StringList(headerSize) {}
    void LowerUnlessKeepCase(char* text) const;

private:
    uint16_t UsesAt(uint16_t index) const;
    void SetUsesAt(uint16_t index, uint16_t uses);
};

}  // namespace lect32

#endif
