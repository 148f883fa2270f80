// The classic Windows font names the programs ask for, and the faces that stand in for them.
#ifndef WINPLAT_SRC_TEXT_FONT_SUBSTITUTES_H
#define WINPLAT_SRC_TEXT_FONT_SUBSTITUTES_H

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "winplat/text.h"

namespace winplat::text {

enum class SubstituteKind : uint8_t {
    Text,           // the stand-in's own cmap in the asked code page
    Symbol,         // a symbol face, SYMBOL_CHARSET
    Wingdings,      // Wingdings' pictures through a table onto a Unicode face, SYMBOL_CHARSET
    ClassicDialog,  // the classic dialog font, with its 8-point metrics at that size
};

struct Substitute {
    std::string_view name;                     // the family GetTextFaceA reports
    std::array<std::string_view, 2> families;  // the stand-ins, the first installed one used
    SubstituteKind kind = SubstituteKind::Text;
    BYTE pitchAndFamily = VARIABLE_PITCH | FF_SWISS;  // as EnumFontFamiliesExA reports it
    bool codePageNames = false;  // "<name> CE" and "<name> Cyr" stand in too
    bool listed = true;          // EnumFontFamiliesExA reports the name
};

// A name the table answers: its row, and the character set a " CE" or " Cyr" name fixes.
struct SubstituteName {
    const Substitute* row = nullptr;
    std::string name;  // as asked for, the table's spelling ("Arial CE")
    std::optional<BYTE> charSet;
};

// The row for a face name (case-insensitive), or nothing.
std::optional<SubstituteName> findSubstitute(std::string_view faceName);

// Every name EnumFontFamiliesExA reports, in table order.
std::vector<SubstituteName> listedSubstitutes();

}  // namespace winplat::text

#endif
