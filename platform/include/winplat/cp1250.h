// Windows-1250 <-> Unicode, for the layer's edges (names on disk, host text, fonts).
// Inside the programs every string is cp1250 bytes; only the layer converts.
#ifndef WINPLAT_CP1250_H
#define WINPLAT_CP1250_H

#include <cstdint>
#include <string>
#include <string_view>

#include "winplat/types.h"

namespace winplat::cp1250 {

// The code point of a byte. The five bytes the code page leaves unassigned (0x81, 0x83, 0x88,
// 0x90, 0x98) map to the C1 control of the same value, so every byte survives a round trip.
WINPLAT_API char32_t toUnicode(uint8_t byte);

// The byte of a code point; false when cp1250 cannot hold it.
WINPLAT_API bool fromUnicode(char32_t codePoint, uint8_t& byte);

WINPLAT_API std::string toUtf8(std::string_view text);

// Characters cp1250 cannot hold, and malformed UTF-8 sequences, become '?'; 'exact' (when
// given) tells whether none did.
WINPLAT_API std::string fromUtf8(std::string_view utf8, bool* exact = nullptr);

// The two lower-casing rules of the programs: ASCII letters only, and the full cp1250 rule.
inline uint8_t toLowerAscii(uint8_t c) { return (c >= 'A' && c <= 'Z') ? static_cast<uint8_t>(c + 32) : c; }
inline uint8_t toUpperAscii(uint8_t c) { return (c >= 'a' && c <= 'z') ? static_cast<uint8_t>(c - 32) : c; }
WINPLAT_API uint8_t toLower(uint8_t c);
WINPLAT_API uint8_t toUpper(uint8_t c);

WINPLAT_API std::string lowerAscii(std::string_view text);
WINPLAT_API std::string lower(std::string_view text);

}  // namespace winplat::cp1250

#endif
