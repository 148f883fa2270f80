#include "store/text_slots.h"

#include <array>
#include <cstring>
#include <string>

#include "store/language_text_list.h"
#include "winplat/cp1250.h"
#include "winplat/module.h"

namespace lect32 {
namespace {

// The two slots back to back: the UTF-8 conversion writes over both.
std::array<char, 2 * kTextSlotSize> slots{};
int lastSlot = 1;

// Flips to the slot not filled by the previous call and hands it out empty.
char* nextSlot() {
    lastSlot ^= 1;
    char* slot = slots.data() + static_cast<size_t>(lastSlot) * kTextSlotSize;
    slot[0] = 0;
    return slot;
}

// The longest UTF-8 prefix of 'text' within 'room' bytes that ends on a whole character.
size_t wholeCharactersWithin(const std::string& text, size_t room) {
    if (text.size() <= room) return text.size();
    size_t end = room;
    while (end > 0 && (static_cast<uint8_t>(text[end]) & 0xC0) == 0x80) --end;
    return end;
}

void loadResourceString(int id, char* slot) {
    LoadStringA(GetModuleHandleA("lect32.exe"), static_cast<UINT>(id), slot, kTextSlotSize);
}

}  // namespace

const char* LoadResourceText(int n) {
    char* slot = nextSlot();
    loadResourceString(kResourceTextBase + n, slot);
    return slot;
}

const char* LoadLocalizedText(int n) {
    char* slot = nextSlot();
    const int id = kLocalizedTextBase + n;
    if (!LanguageTexts().FindById(static_cast<uint16_t>(id), slot, kTextSlotSize))
        loadResourceString(id, slot);
    return slot;
}

const char* LoadTooltipText(int n) {
    char* slot = nextSlot();
    loadResourceString(kTooltipTextBase + n, slot);
    return slot;
}

const char* ConvertCp1250ToUtf8(const char* text) {
    // Copied first: the text may be a loader's result, which lives in the slots written below.
    const std::string cp1250 = text ? std::string(text, strnlen(text, kUtf8TextChars)) : std::string();
    const std::string converted = winplat::cp1250::toUtf8(cp1250);
    const size_t length = wholeCharactersWithin(converted, kUtf8TextBytes - 1);
    std::memcpy(slots.data(), converted.data(), length);
    slots[length] = 0;
    return slots.data();
}

}  // namespace lect32
