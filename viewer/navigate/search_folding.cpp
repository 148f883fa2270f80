#include "navigate/search_folding.h"

#include <cstring>

#include "winplat/cp1250.h"

namespace lect32 {

namespace {

struct LetterPair {
    uint8_t capital, small;
};

// The cp1250 letters with a case beyond ASCII, in the order of their classes 36-75. From Ŕ on,
// capitals and small letters are the two runs 0xC0-0xDE and 0xE0-0xFE, without × and ÷.
constexpr std::array<LetterPair, 40> kAccentedLetters{{
    {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F},  // Š Ś Ť Ž Ź
    {0xA3, 0xB3}, {0xA5, 0xB9}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xBC, 0xBE},  // Ł Ą Ş Ż Ľ
    {0xC0, 0xE0}, {0xC1, 0xE1}, {0xC2, 0xE2}, {0xC3, 0xE3}, {0xC4, 0xE4},  // Ŕ Á Â Ă Ä
    {0xC5, 0xE5}, {0xC6, 0xE6}, {0xC7, 0xE7}, {0xC8, 0xE8}, {0xC9, 0xE9},  // Ĺ Ć Ç Č É
    {0xCA, 0xEA}, {0xCB, 0xEB}, {0xCC, 0xEC}, {0xCD, 0xED}, {0xCE, 0xEE},  // Ę Ë Ě Í Î
    {0xCF, 0xEF}, {0xD0, 0xF0}, {0xD1, 0xF1}, {0xD2, 0xF2}, {0xD3, 0xF3},  // Ď Đ Ń Ň Ó
    {0xD4, 0xF4}, {0xD5, 0xF5}, {0xD6, 0xF6}, {0xD8, 0xF8}, {0xD9, 0xF9},  // Ô Ő Ö Ř Ů
    {0xDA, 0xFA}, {0xDB, 0xFB}, {0xDC, 0xFC}, {0xDD, 0xFD}, {0xDE, 0xFE},  // Ú Ű Ü Ý Ţ
}};
constexpr int8_t kFirstAccentedClass = 36;

// The classes after the letters: ß @ § $ % ‰ © ® /.
constexpr std::array<uint8_t, 9> kSymbolsAfterLetters{0xDF, '@', 0xA7, '$', '%', 0x89, 0xA9, 0xAE, '/'};

constexpr FoldingTable MakeIdentity() {
    FoldingTable table{};
    for (int c = 0; c < 256; ++c) table[static_cast<size_t>(c)] = static_cast<uint8_t>(c);
    return table;
}

// Folding is the platform's one cp1250 lower-case rule, so search and the rest of the reader agree
// on which letters are the same.
FoldingTable MakeLowerCase() {
    FoldingTable table{};
    for (int c = 0; c < 256; ++c) table[static_cast<size_t>(c)] = winplat::cp1250::toLower(static_cast<uint8_t>(c));
    return table;
}

constexpr std::array<int8_t, 256> MakeLetterClasses() {
    std::array<int8_t, 256> classes{};
    classes.fill(kSeparatorClass);
    for (int c = 0; c < 10; ++c) classes[static_cast<size_t>('0' + c)] = static_cast<int8_t>(c);
    for (int c = 0; c < 26; ++c) {
        classes[static_cast<size_t>('a' + c)] = static_cast<int8_t>(10 + c);
        classes[static_cast<size_t>('A' + c)] = static_cast<int8_t>(10 + c);
    }
    int8_t next = kFirstAccentedClass;
    for (const LetterPair& pair : kAccentedLetters) {
        classes[pair.capital] = next;
        classes[pair.small] = next;
        ++next;
    }
    for (const uint8_t symbol : kSymbolsAfterLetters) classes[symbol] = next++;
    return classes;
}

constexpr FoldingTable kIdentity = MakeIdentity();
const FoldingTable kLowerCase = MakeLowerCase();
constexpr std::array<int8_t, 256> kLetterClasses = MakeLetterClasses();
static_assert(kLetterClasses['/'] == 84 && kLetterClasses[0xFE] == 75);

// One of the two tables above, which never change: a search may keep the table it began with.
const FoldingTable* currentFolding = &kLowerCase;

}  // namespace

const FoldingTable& LowerCaseTable() {
    return kLowerCase;
}

int8_t LetterClass(uint8_t byte) {
    return kLetterClasses[byte];
}

void SetFolding(int caseSensitive) {
    currentFolding = caseSensitive != 0 ? &kIdentity : &kLowerCase;
}

const FoldingTable& CurrentFolding() {
    return *currentFolding;
}

int FoldText(uint8_t* text, int length) {
    const size_t count =
        length > 0 ? static_cast<size_t>(length) : std::strlen(reinterpret_cast<const char*>(text));
    for (size_t i = 0; i < count; ++i) text[i] = (*currentFolding)[text[i]];
    return static_cast<int>(count);
}

int EqualsKeyword(const char* text, const char* keyword, int length) {
    if (length < 0 || std::strlen(keyword) != static_cast<size_t>(length)) return 1;
    for (int i = 0; i < length; ++i) {
        if (kLowerCase[static_cast<uint8_t>(text[i])] != kLowerCase[static_cast<uint8_t>(keyword[i])])
            return 1;
    }
    return 0;
}

}  // namespace lect32
