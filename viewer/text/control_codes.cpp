#include "text/control_codes.h"

#include <array>

namespace lect32 {
namespace {

// Codes with a payload other than 0; every other code is followed directly by its closing byte.
uint8_t FixedPayload(uint8_t code) {
    switch (code) {
        case kCodeCharFormat: return 5;
        case kCodeColourPair: return 2;
        case kCodeShadow: return 3;
        case kCodeLinkStart: return 5;
        default: return 0;
    }
}

constexpr std::array<uint8_t, 5> kBodyLengths{1, 3, 5, 6, 8};

bool ByteIs(std::span<const uint8_t> text, size_t at, uint8_t value) { return at < text.size() && text[at] == value; }

size_t LinkFrameLength(std::span<const uint8_t> text, size_t at) {
    if (at + 2 >= text.size()) return 0;
    const uint8_t stored = text[at + 1];
    const size_t body = LinkBodyLength(text[at + 2]);
    if (ByteIs(text, at + 2 + body, stored) && ByteIs(text, at + 3 + body, kCodeLinkStart)) return body + 4;
    if (stored >= 1 && ByteIs(text, at + 1 + stored, kCodeLinkStart)) return size_t{stored} + 2;
    return 0;
}

size_t LinkFrameStart(std::span<const uint8_t> text, size_t closing) {
    if (closing < 4) return kNoSequence;
    const uint8_t stored = text[closing - 1];
    for (const size_t body : kBodyLengths) {
        if (closing < body + 3) continue;
        const size_t start = closing - body - 3;
        if (text[start] == kCodeLinkStart && text[start + 1] == stored && LinkBodyLength(text[start + 2]) == body) {
            return start;
        }
    }
    // A frame measured by L alone need not end in L: look for the opening whose L reaches here.
    const size_t earliest = closing > 256 ? closing - 256 : 0;
    for (size_t start = closing - 2; start + 1 > earliest; --start) {
        if (text[start] == kCodeLinkStart && start + 1 + text[start + 1] == closing) return start;
    }
    return kNoSequence;
}

}  // namespace

uint8_t ControlPayloadLength(uint8_t code) { return FixedPayload(code); }

size_t SequenceLength(std::span<const uint8_t> text, size_t at) {
    if (at >= text.size()) return 0;
    const uint8_t code = text[at];
    if (code == kCodeLinkStart) return LinkFrameLength(text, at);
    const size_t length = size_t{FixedPayload(code)} + 2;
    return ByteIs(text, at + length - 1, code) ? length : 0;
}

size_t SequenceStart(std::span<const uint8_t> text, size_t closing) {
    if (closing >= text.size()) return kNoSequence;
    const uint8_t code = text[closing];
    if (code == kCodeLinkStart) return LinkFrameStart(text, closing);
    const size_t back = size_t{FixedPayload(code)} + 1;
    if (closing < back || text[closing - back] != code) return kNoSequence;
    return closing - back;
}

size_t SkipSequences(std::span<const uint8_t> text, size_t at) {
    while (at < text.size() && IsControlCode(text[at])) {
        const size_t length = SequenceLength(text, at);
        if (length == 0) return kNoSequence;
        at += length;
    }
    return at;
}

}  // namespace lect32
