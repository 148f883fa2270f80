// Whole-text operations on the control codes of stored text: checking them, scaling their sizes,
// and removing them for text handed outside the reader.
#ifndef LECT32_TEXT_CODE_EDITS_H
#define LECT32_TEXT_CODE_EDITS_H

#include <cstddef>
#include <cstdint>
#include <span>

#include "text/control_codes.h"

namespace lect32 {

// Calls visit(at, length) for each sound code sequence of the text in order; bytes of a damaged
// one are passed over one by one.
template <class Visit>
void ForEachSequence(std::span<const uint8_t> text, Visit visit) {
    for (size_t at = 0; at < text.size();) {
        const size_t length = IsControlCode(text[at]) ? SequenceLength(text, at) : 0;
        if (length == 0) {
            ++at;
            continue;
        }
        visit(at, length);
        at += length;
    }
}

inline constexpr uint16_t kCodesSound = 0;
inline constexpr uint16_t kCodeUnclosed = 0xFFFF;  // a closing byte missing or misplaced
inline constexpr uint16_t kCodeBadPayload = 0xFFFE;

// Whether every code is closed by its own byte after its payload and the character formats and
// shadows hold valid values; a size out of range is mended in place as validation always does.
uint16_t ValidateControlCodes(std::span<uint8_t> text);

// Scales in place the set sizes of character formats and both shadow offsets by the zoom.
void ScaleControlCodes(std::span<uint8_t> text, int zoom);

// Removes every code with its payload, the line ends, and the tabs when asked; a damaged code goes
// byte by byte. Returns the new length.
size_t StripControlCodes(std::span<uint8_t> text, bool alsoTabs);

}  // namespace lect32

#endif
