#include "controls/list_order.h"

#include <array>
#include <cstdint>

#include "winplat/cp1250.h"

namespace winplat::controls {
namespace {

// The letters in order, one group per primary letter: its plain small form first, then its
// accented small forms in their secondary order (cp1250 bytes). Capitals are found through the
// cp1250 lower-casing rule.
constexpr std::array<std::string_view, 30> kLetterGroups{
    "a\xE1\xE4\xE2\xE3\xB9",  // a á ä â ă ą
    "b",
    "c\xE6\xE7",              // c ć ç
    "\xE8",                   // č
    "d\xEF\xF0",              // d ď đ
    "e\xE9\xEC\xEB\xEA",      // e é ě ë ę
    "f",
    "g",
    "h",
    "i\xED\xEE",              // i í î
    "j",
    "k",
    "l\xE5\xBE\xB3",          // l ĺ ľ ł
    "m",
    "n\xF1\xF2",              // n ń ň
    "o\xF3\xF4\xF6\xF5",      // o ó ô ö ő
    "p",
    "q",
    "r\xE0",                  // r ŕ
    "\xF8",                   // ř
    "s\x9C\xBA\xDF",          // s ś ş ß
    "\x9A",                   // š
    "t\x9D\xFE",              // t ť ţ
    "u\xFA\xF9\xFC\xFB",      // u ú ů ü ű
    "v",
    "w",
    "x",
    "y\xFD",                  // y ý
    "z\x9F\xBF",              // z ź ż
    "\x9E",                   // ž
};

struct Weight {
    uint16_t primary = 0;
    uint8_t secondary = 0;
    uint8_t tertiary = 0;
};

constexpr uint16_t kDigitBase = 0x100;   // after every byte of punctuation
constexpr uint16_t kLetterBase = 0x110;  // after the ten digits

std::array<Weight, 256> makeWeights() {
    std::array<Weight, 256> table{};
    for (int byte = 0; byte < 256; ++byte) table[static_cast<size_t>(byte)].primary = static_cast<uint16_t>(byte);
    for (int digit = 0; digit < 10; ++digit) table[static_cast<size_t>('0' + digit)].primary = static_cast<uint16_t>(kDigitBase + digit);
    std::array<Weight, 256> small{};
    std::array<bool, 256> isLetter{};
    for (size_t group = 0; group < kLetterGroups.size(); ++group) {
        const std::string_view letters = kLetterGroups[group];
        for (size_t rank = 0; rank < letters.size(); ++rank) {
            const auto byte = static_cast<uint8_t>(letters[rank]);
            small[byte] = {static_cast<uint16_t>(kLetterBase + group), static_cast<uint8_t>(rank), 0};
            isLetter[byte] = true;
        }
    }
    for (int byte = 0; byte < 256; ++byte) {
        const uint8_t lower = cp1250::toLower(static_cast<uint8_t>(byte));
        if (!isLetter[lower]) continue;
        table[static_cast<size_t>(byte)] = small[lower];
        table[static_cast<size_t>(byte)].tertiary = lower != byte ? 1 : 0;
    }
    return table;
}

const Weight& weightOf(char c) {
    static const std::array<Weight, 256> table = makeWeights();
    return table[static_cast<uint8_t>(c)];
}

template <class Level>
int compareLevel(std::string_view a, std::string_view b, Level level) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const int wa = level(weightOf(a[i]));
        const int wb = level(weightOf(b[i]));
        if (wa != wb) return wa < wb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

uint8_t folded(char c) { return cp1250::toLower(static_cast<uint8_t>(c)); }

}  // namespace

int compareListTexts(std::string_view a, std::string_view b) {
    if (const int byLetter = compareLevel(a, b, [](const Weight& w) { return int{w.primary}; })) return byLetter;
    if (const int byAccent = compareLevel(a, b, [](const Weight& w) { return int{w.secondary}; })) return byAccent;
    return compareLevel(a, b, [](const Weight& w) { return int{w.tertiary}; });
}

int comparePrefixLetters(std::string_view text, std::string_view prefix) {
    return compareLevel(text.substr(0, prefix.size()), prefix, [](const Weight& w) { return int{w.primary}; });
}

bool startsWithFolded(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (folded(text[i]) != folded(prefix[i])) return false;
    }
    return true;
}

bool equalsFolded(std::string_view a, std::string_view b) { return a.size() == b.size() && startsWithFolded(a, b); }

}  // namespace winplat::controls
