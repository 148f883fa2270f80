// What the font catalogue knows of one face of a font file: enough to match a logical font to it
// and to list it, without opening the file again.
#ifndef WINPLAT_SRC_TEXT_CATALOGUE_FACE_H
#define WINPLAT_SRC_TEXT_CATALOGUE_FACE_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "winplat/text.h"

namespace winplat::text {

// The code pages a face has the characteristic letters of, in the order a DEFAULT_CHARSET
// enumeration reports them.
struct Coverage {
    bool ansi = false;     // 1252
    bool central = false;  // 1250
    bool russian = false;  // 1251
    // A symbol face (the symbol cmap, or no letters of any of the code pages): SYMBOL_CHARSET
    // whatever the font asked for.
    bool symbol = false;
};

// Letters each code page has and a face made for another one usually lacks. The Western ones
// include punctuation beyond Latin-1: fontconfig reports a symbol cmap as covering Latin-1 alone.
inline constexpr std::array<char32_t, 7> kAnsiLetters = {U'A', U'a', U'\u00E9', U'\u00FC', U'\u00DF',
                                                        U'\u2013', U'\u201C'};  // é ü ß – “
inline constexpr std::array<char32_t, 6> kCentralLetters = {U'\u010D', U'\u0159', U'\u0161',
                                                           U'\u017E', U'\u0151', U'\u013E'};  // č ř š ž ő ľ
inline constexpr std::array<char32_t, 5> kRussianLetters = {U'\u0410', U'\u0430', U'\u0416',
                                                           U'\u044F', U'\u0451'};  // А а Ж я ё

template <size_t N, class Has>
bool hasAll(const std::array<char32_t, N>& letters, Has has) {
    for (const char32_t letter : letters) {
        if (!has(letter)) return false;
    }
    return true;
}

// The coverage of a face that has a character when 'has' says so; a face with none of the code
// pages' letters is a symbol face.
template <class Has>
Coverage coverageOf(Has has) {
    Coverage coverage;
    coverage.ansi = hasAll(kAnsiLetters, has);
    coverage.central = hasAll(kCentralLetters, has);
    coverage.russian = hasAll(kRussianLetters, has);
    coverage.symbol = !coverage.ansi && !coverage.central && !coverage.russian;
    return coverage;
}

struct CatalogueFace {
    std::string file;  // UTF-8 host path
    long index = 0;    // the face within the file (with a named instance in the high bits)
    // cp1250 family names; the first is the one the face reports.
    std::vector<std::string> families;
    int weight = FW_NORMAL;  // OpenType weight class
    bool italic = false;
    int width = 100;  // percent of the normal width
    // Lower is preferred when several files hold the same style: TrueType, then CFF, then others.
    int formatRank = 0;
    bool fixedPitch = false;
    BYTE family = FF_DONTCARE;  // FF_ROMAN, FF_SWISS, ... when the face says
    Coverage coverage;
};

// Whether the face is of the family: the names compare case-insensitively by the cp1250 rule.
bool isOfFamily(const CatalogueFace& face, std::string_view family);
// Whether a face name asked for names the family (case-insensitively; a name of 31 bytes also
// names the longer families it begins).
bool namesFamily(std::string_view asked, std::string_view family);

// The face of 'members' closest to the style: the slant first, then bold or not (weight >= 600),
// a normal width, the nearest weight, then the preferred file format. Null for no members.
const CatalogueFace* closestStyle(const std::vector<const CatalogueFace*>& members, int weight, bool italic);

// The character sets a face is listed with, in enumeration order.
std::vector<BYTE> charSetsOf(const Coverage& coverage);

}  // namespace winplat::text

#endif
