#include "store/string_pool.h"

#include <algorithm>
#include <cstring>

#include "winplat/cp1250.h"

namespace lect32 {

namespace {

int lengthOf(const char* text) {
    // Texts longer than an int are not short strings; the list cuts them to 255 anyway.
    const size_t length = std::strlen(text);
    return length > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(length);
}

}  // namespace

void StringPool::LowerUnlessKeepCase(char* text) const {
    if (KeepsCase()) return;
    for (char* c = text; *c; ++c) *c = static_cast<char>(winplat::cp1250::toLowerAscii(static_cast<uint8_t>(*c)));
}

uint16_t StringPool::UsesAt(uint16_t index) const {
    const uint8_t* header = HeaderAt(index);
    return static_cast<uint16_t>(header[2] | (header[3] << 8));
}

void StringPool::SetUsesAt(uint16_t index, uint16_t uses) {
    uint8_t* header = HeaderAt(index);
    header[2] = static_cast<uint8_t>(uses);
    header[3] = static_cast<uint8_t>(uses >> 8);
}

uint16_t StringPool::Acquire(char* text) {
    LowerUnlessKeepCase(text);
    const int length = lengthOf(text);
    uint16_t index;
    if (const auto found = FindEntry(text, length)) {
        index = *found;
    } else {
        index = AddString(text, length, -1);
        if (IsAddFailure(index)) return index;
    }
    AddUses(index, 1);
    return index;
}

uint16_t StringPool::AddNew(const char* text) {
    const uint16_t index = AddString(text, lengthOf(text), -1);
    if (IsAddFailure(index)) return index;
    AddUses(index, 1);
    return index;
}

uint16_t StringPool::Find(char* text) {
    if (!text || !*text) return kFull;
    LowerUnlessKeepCase(text);
    return StringList::Find(text, lengthOf(text));
}

int StringPool::Release(uint16_t index, int remove) {
    if (index >= GetCount() || !Pin()) return 0;
    uint16_t uses = UsesAt(index);
    if (uses != 0 && uses != kPinned) {
        SetUsesAt(index, --uses);
        MarkChanged();
    }
    ReleasePin();
    if (uses) return 1;
    return DeleteString(index, remove);
}

uint16_t StringPool::AddUses(uint16_t index, uint16_t uses) {
    if (index >= GetCount() || !Pin()) return 0;
    const uint32_t now = UsesAt(index);
    const uint16_t next = now == kPinned ? kPinned : static_cast<uint16_t>(std::min<uint32_t>(now + uses, kPinned));
    if (next != now) {
        SetUsesAt(index, next);
        MarkChanged();
    }
    ReleasePin();
    return next;
}

uint16_t StringPool::ChangeUses(uint16_t index, int delta) {
    if (delta >= 0) return AddUses(index, static_cast<uint16_t>(std::min(delta, int{kPinned})));
    if (index >= GetCount() || !Pin()) return 0;
    const int now = UsesAt(index);
    const uint16_t next = now == kPinned ? kPinned : static_cast<uint16_t>(std::max(now + delta, 0));
    if (next != now) {
        SetUsesAt(index, next);
        MarkChanged();
    }
    ReleasePin();
    return next;
}

uint16_t StringPool::GetUseCount(uint16_t index) {
    if (index >= GetCount() || !Pin()) return 0;
    const uint16_t uses = UsesAt(index);
    ReleasePin();
    return uses;
}

void StringPool::ClearUseCounts() {
    if (!Pin()) return;
    for (uint16_t j = 0; j < GetCount(); ++j) SetUsesAt(j, 0);
    MarkChanged();
    ReleasePin();
}

int StringPool::ReplaceText(uint16_t index, const char* text) { return ReplaceString(index, text, lengthOf(text)); }

}  // namespace lect32
