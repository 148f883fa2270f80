#include "script/program_store.h"

#include <algorithm>

namespace linework {

std::string ProgramStore::GetTextLine(int32_t n) const {
    if (!ValidIndex(n)) return {};
    bool hidden = false;
    std::string_view text = RawLine(n, &hidden);
    return hidden ? std::string() : std::string(text);
}

std::string_view ProgramStore::RawLine(int32_t n, bool* hidden) const {
    const Slot& slot = slots_.at(static_cast<size_t>(n));
    if (hidden) *hidden = (slot[0] & kHiddenBit) != 0;
    size_t length = slot[0] & ~kHiddenBit;
    return {reinterpret_cast<const char*>(slot.data() + 1), length};
}

void ProgramStore::SetLine(int32_t n, std::string_view text, bool hidden) {
    if (!ValidIndex(n)) return;
    Slot& slot = slots_[static_cast<size_t>(n)];
    size_t length = std::min(text.size(), kMaxLine);
    slot[0] = static_cast<uint8_t>(length | (hidden ? kHiddenBit : 0));
    std::copy_n(text.data(), length, slot.begin() + 1);
}

}  // namespace linework
