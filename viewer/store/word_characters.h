// Character classes of cp1250 text for word-wise editing: digits, letters and every byte above
// ASCII are word characters; seventeen punctuation characters break words.
#ifndef LECT32_STORE_WORD_CHARACTERS_H
#define LECT32_STORE_WORD_CHARACTERS_H

#include <cstdint>

namespace lect32 {

// False only for the punctuation characters !()/\-.:;,"'[]{}%.
bool IsWordCharacter(uint8_t byte);

// 0 for tab and space, 2 for line feed and the punctuation characters, 1 otherwise.
int ClassifyCharacter(uint8_t byte);

}  // namespace lect32

#endif
