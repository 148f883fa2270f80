// Short-string helpers of the drafting program: trimming, program-line cleaning, newline marks,
// replacing, date padding, edit-key filtering and cp1250 upper case. Strings are cp1250 bytes.
#ifndef LINEWORK_DRAWING_TEXT_HELPERS_H
#define LINEWORK_DRAWING_TEXT_HELPERS_H

#include <cstdint>
#include <string>
#include <string_view>

namespace linework {

// The statement separator a ";" of a program line becomes.
inline constexpr char kStatementSeparator = 127;

// The longest short string.
inline constexpr size_t kShortStringMax = 255;

// Without the characters of code 32 and below at both ends.
std::string_view TrimBlanks(std::string_view text);

// Cleans a script line: outside double quotes runs of blanks and control characters become one
// blank, ";" becomes the statement separator with the blanks and repeated ";" around it removed;
// inside quotes a separator character becomes a blank. One leading and one trailing blank or
// separator go.
std::string NormalizeProgramLine(std::string_view line);

// Every "%%" becomes a carriage return and line feed.
std::string ExpandNewlineMarks(std::string_view text);

// Every occurrence of 'search', left to right; a replacement is never searched again. An empty
// search text replaces nothing.
std::string ReplaceAllText(std::string_view text, std::string_view search, std::string_view replacement);

// "1.2.1998 3:45" -> "01.02.1998 03:45": zeros in front of one-digit day, month and hour of a
// trimmed text longer than 12 characters.
std::string PadDateTimeText(std::string_view text);

// Upper case by the cp1250 rules (not ASCII alone).
std::string UpperCaseShortString(std::string_view text);

// The key filter of the edit boxes: the keypad's decimal key gives "."; control characters other
// than 0, 3, 8, 15, 20, 21, 22 and 26 are swallowed (become 0) unless passControlKeys is set.
void FilterEditKey(char& key, bool keypadDecimal, bool passControlKeys);

// The line type of an imported pen or line style 1..7; 0 for anything else.
uint8_t MapImportedLineType(int32_t imported);

// The level (Z) of every newly made entity.
inline double DefaultEntityLevel() { return 0.0; }

}  // namespace linework

#endif
