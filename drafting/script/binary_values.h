// Numbers as binary data inside script texts: the widths 1, 2, 4 (unsigned), -1, -2, -4 (signed),
// "s" (a 4-byte single) and "d" (an 8-byte double), all little-endian; and bytes as hexadecimal
// digits and back.
#ifndef LINEWORK_SCRIPT_BINARY_VALUES_H
#define LINEWORK_SCRIPT_BINARY_VALUES_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace linework {

enum class BinaryWidth { U8, U16, U32, S8, S16, S32, Single, Double };

// The width a word names; nothing for any other word.
std::optional<BinaryWidth> ParseBinaryWidth(std::string_view word);
size_t BinaryWidthBytes(BinaryWidth width);

// Appends the value in that width: integers truncated toward zero and cut to the width's low
// bytes (300 as a byte is 44), reals as the single or double nearest.
void AppendBinary(std::string& out, BinaryWidth width, double value);
// The value of that width at the start of the bytes; 0 when they are fewer than the width.
double ReadBinary(std::string_view bytes, BinaryWidth width);

// Hexadecimal digits up to the first other character, taken in pairs from the end, each pair
// one byte in the order of the text; a single leading digit is a byte of its own ("123" gives
// 01 23).
std::string BytesOfHex(std::string_view digits);
// Two upper-case digits per byte, high nibble first.
std::string HexOfBytes(std::string_view bytes);

}  // namespace linework

#endif
