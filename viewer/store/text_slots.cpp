#include "store/text_slots.h"

#include <array>

#include "store/language_text_list.h"
#include "winplat/module.h"

namespace lect32 {
namespace {

std::array<std::array<char, kTextSlotSize>, 2> slots{};
int lastSlot = 1;

// Flips to the slot not filled by the previous call and hands it out empty.
char* nextSlot() {
    lastSlot ^= 1;
    char* slot = slots[static_cast<size_t>(lastSlot)].data();
    slot[0] = 0;
    return slot;
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
    if (!LanguageTexts().FindById(static_cast<uint16_t>(id), slot, kTextSlotSize)) loadResourceString(id, slot);
    return slot;
}

const char* LoadTooltipText(int n) {
    char* slot = nextSlot();
    loadResourceString(kTooltipTextBase + n, slot);
    return slot;
}

}  // namespace lect32
