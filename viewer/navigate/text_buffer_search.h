// Looking for one search term in one text buffer, as the sequential search, the page search and
// the page-name search do: characters compared through the current folding table, control codes
// with their payloads passed over, and the term held to whole words unless its flags free it.
#ifndef LECT32_NAVIGATE_TEXT_BUFFER_SEARCH_H
#define LECT32_NAVIGATE_TEXT_BUFFER_SEARCH_H

#include <cstddef>
#include <cstdint>
#include <span>

namespace lect32 {

// Term flags: the term may begin inside a word ("*" before it), may end inside one ("*" after it).
inline constexpr uint8_t kTermMayBeginInsideWord = 1;
inline constexpr uint8_t kTermMayEndInsideWord = 2;

struct TextHit {
    uint16_t start = 0;  // the first matched byte
    uint16_t end = 0;    // behind the last matched byte (behind the whole word with kTermMayEndInsideWord)
};

// The first occurrence of the term in text (whose size is the buffer's end, at most 65535) that
// begins at or after 'start' and passes the whole-word tests its flags leave: 1, with the hit
// stored when one is asked for, else 0. The character before a match is the last text character
// ahead of it (a full stop at the start), the one after it the next text character (a full stop
// at the end); a test passes when that character is a space or a separator. A damaged control
// sequence ends the text.
int SearchTextBuffer(std::span<const uint8_t> text, std::span<const uint8_t> term, uint8_t flags,
                     size_t start, TextHit* hit);

}  // namespace lect32

#endif
