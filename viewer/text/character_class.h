// How editing code tells the bytes of cp1250 text apart when it moves by words.
#ifndef LECT32_TEXT_CHARACTER_CLASS_H
#define LECT32_TEXT_CHARACTER_CLASS_H

#include <cstdint>

namespace lect32 {

enum CharacterClass : int {
    kBlankCharacter = 0,        // tab, space
    kWordCharacterClass = 1,    // every byte that belongs to a word (IsWordCharacter)
    kBreakingCharacter = 2,     // line feed and the 17 punctuation marks
};

CharacterClass ClassifyCharacter(uint8_t c);

}  // namespace lect32

#endif
