#include "store/language_text_list.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lect32 {

uint16_t LanguageTextList::IdAt(uint16_t index) const {
    const uint8_t* header = HeaderAt(index);
    return static_cast<uint16_t>(header[2] | (header[3] << 8));
}

uint16_t LanguageTextList::AddText(uint16_t id, const char* bytes, int length) {
    const uint16_t index = AddString(bytes, length, -1);
    if (IsAddFailure(index) || !Pin()) return index;
    uint8_t* header = HeaderAt(index);
    header[2] = static_cast<uint8_t>(id);
    header[3] = static_cast<uint8_t>(id >> 8);
    MarkChanged();
    ReleasePin();
    return index;
}

int LanguageTextList::FindById(uint16_t id, char* buffer, size_t capacity) {
    if (capacity == 0) return 0;
    buffer[0] = 0;
    if (GetCount() == 0 || !Pin()) return 0;
    uint16_t found = kFull;
    for (uint16_t index = 0; index < GetCount(); ++index) {
        if (HeaderAt(index)[0] && IdAt(index) == id) {
            found = index;
            break;
        }
    }
    ReleasePin();
    if (found == kFull) return 0;
    std::array<char, kMaxLength + 1> text{};
    const size_t length = std::min<size_t>(GetBytes(found, text.data()), capacity - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = 0;
    return 1;
}

LanguageTextList& LanguageTexts() {
    static LanguageTextList texts;
    return texts;
}

}  // namespace lect32
