#include "text/character_class.h"

#include "text/text_store.h"

namespace lect32 {

CharacterClass ClassifyCharacter(uint8_t c) {
    if (c == '\t' || c == ' ') return kBlankCharacter;
    if (c == '\n' || !IsWordCharacter(c)) return kBreakingCharacter;
    return kWordCharacterClass;
}

}  // namespace lect32
