// Control codes inside stored text. A byte of 32 or more, a tab and a line feed are text; any
// other byte opens a sequence: the code, its payload, the same code again. A link start (code 20)
// is framed as 20, L, body, L, 20 with the body's length given by the link's kind.
#ifndef LECT32_TEXT_CONTROL_CODES_H
#define LECT32_TEXT_CONTROL_CODES_H

#include <cstddef>
#include <cstdint>
#include <span>

#include "store/link_target.h"  // LinkBodyLength

namespace lect32 {

inline constexpr uint8_t kCodeCharFormat = 1;
inline constexpr uint8_t kCodeColourPair = 2;
inline constexpr uint8_t kCodeShadow = 3;
inline constexpr uint8_t kCodeLinkStart = 20;
inline constexpr uint8_t kCodeLinkEnd = 21;
inline constexpr size_t kNoSequence = static_cast<size_t>(-1);

inline bool IsControlCode(uint8_t byte) { return byte < 32 && byte != '\t' && byte != '\n'; }

// The fixed payload of a code (5 for a link start, whose real length its frame tells).
uint8_t ControlPayloadLength(uint8_t code);

// The whole length of the sequence opening at 'at' (code through closing code), or 0 when the
// bytes there do not form one: it runs past the text or its closing byte is not its code. A link
// frame is measured by its kind's body and checked against its stored L, else by L alone; stored
// documents hold both shapes.
size_t SequenceLength(std::span<const uint8_t> text, size_t at);

// The start of the sequence whose closing code byte is at 'closing', or kNoSequence.
size_t SequenceStart(std::span<const uint8_t> text, size_t closing);

// Position of the first text byte at or after 'at' (sequences skipped), the text's size when
// there is none, or kNoSequence when a damaged sequence stops the walk.
size_t SkipSequences(std::span<const uint8_t> text, size_t at);

}  // namespace lect32

#endif
