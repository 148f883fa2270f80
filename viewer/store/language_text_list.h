// The UI texts of a loaded language file, keyed by text id: a StringList whose entry headers carry
// the u16 text id in their last two bytes (header {u8 used, u8 length, u16 id}). Lookups walk the
// entries in order, so of two entries with one id the first wins.
#ifndef LECT32_STORE_LANGUAGE_TEXT_LIST_H
#define LECT32_STORE_LANGUAGE_TEXT_LIST_H

#include <cstddef>
#include <cstdint>

#include "store/string_list.h"

namespace lect32 {

class LanguageTextList : public StringList {
public:
    LanguageTextList() : StringList(4) {}

    // Appends a text under an id. Returns the entry index or the add's failure value.
    uint16_t AddText(uint16_t id, const char* bytes, int length);

    // Copies the first text with that id into buffer, cut to capacity - 1 bytes and
    // zero-terminated, and returns 1; without one the buffer becomes empty and 0 is returned.
    // A capacity of 0 copies nothing.
    int FindById(uint16_t id, char* buffer, size_t capacity);

private:
    uint16_t IdAt(uint16_t index) const;
};

// The one list the string loaders consult; empty until a language file is loaded.
LanguageTextList& LanguageTexts();

}  // namespace lect32

#endif
