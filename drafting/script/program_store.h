// The table of text lines scripts run from: 1000 slots of 128 bytes, a length byte and up to 127
// characters. Lines 1..999 hold the running program and every slot n is also the script's string
// variable n$. Bit 0x80 of the length marks a hidden line (from a compiled file): it runs like
// any other, but reads as empty text. The store is never cleared as a whole: a load overwrites
// only the slots it fills.
#ifndef LINEWORK_SCRIPT_PROGRAM_STORE_H
#define LINEWORK_SCRIPT_PROGRAM_STORE_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace linework {

class ProgramStore {
public:
    static constexpr int32_t kSlots = 1000;
    static constexpr int32_t kLastLine = 999;
    static constexpr size_t kSlotBytes = 128;
    static constexpr size_t kMaxLine = 127;
    static constexpr uint8_t kHiddenBit = 0x80;

    using Slot = std::array<uint8_t, kSlotBytes>;

    static bool ValidIndex(int32_t n) { return n >= 0 && n < kSlots; }

    // The text of slot n; empty for a hidden slot or an index outside 0..999.
    std::string GetTextLine(int32_t n) const;
    // The characters of slot n whether hidden or not, and whether it is; n must be valid.
    std::string_view RawLine(int32_t n, bool* hidden = nullptr) const;
    // Stores text cut to 127 characters in slot n (ignored outside 0..999).
    void SetLine(int32_t n, std::string_view text, bool hidden = false);

    // Whole slots, for the saved lines of a call.
    const Slot& SlotBytes(int32_t n) const { return slots_.at(static_cast<size_t>(n)); }
    void SetSlotBytes(int32_t n, const Slot& slot) { slots_.at(static_cast<size_t>(n)) = slot; }

    int32_t currentLine = 1;
    int32_t lastLoadedLine = 0;
    std::string programName;

private:
    std::array<Slot, kSlots> slots_{};
};

}  // namespace linework

#endif
