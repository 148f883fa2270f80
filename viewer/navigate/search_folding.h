// The character tables every search compares with, for Windows-1250 text: lower case, letter
// classes (-1 = separator) and the current folding table, which is either the identity
// (case-sensitive search) or the lower-case table.
#ifndef LECT32_NAVIGATE_SEARCH_FOLDING_H
#define LECT32_NAVIGATE_SEARCH_FOLDING_H

#include <array>
#include <cstdint>

namespace lect32 {

using FoldingTable = std::array<uint8_t, 256>;

inline constexpr int8_t kSeparatorClass = -1;

// "A"-"Z" and the 40 cp1250 capitals to their small letters; every other byte unchanged.
const FoldingTable& LowerCaseTable();

// The letter class of a byte: digits 0-9, letters 10-75 (a capital shares its small letter's
// class), then ß @ § $ % ‰ © ® / as 76-84; every other byte is a separator (-1).
int8_t LetterClass(uint8_t byte);

inline bool IsSearchSeparator(uint8_t byte) {
    return byte == ' ' || LetterClass(byte) == kSeparatorClass;
}

// The identity when caseSensitive is non-zero, else the lower-case table. The reader's one
// current table, user-interface thread only; it folds case until a search sets it. Either table
// stays as it is when the other becomes current.
void SetFolding(int caseSensitive);
const FoldingTable& CurrentFolding();

// Replaces each byte by its entry in the current table; length 0 folds up to the terminator.
// The number of bytes folded.
int FoldText(uint8_t* text, int length);

// 0 when text has the keyword's length and equals it through the lower-case table, else 1.
int EqualsKeyword(const char* text, const char* keyword, int length);

}  // namespace lect32

#endif
