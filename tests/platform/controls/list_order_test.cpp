// The order of sorted lists: Czech words in cp1250, compared letter first, then accents, then case.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/list_order.h"

namespace {

using winplat::controls::compareListTexts;
using winplat::controls::comparePrefixLetters;
using winplat::controls::equalsFolded;
using winplat::controls::startsWithFolded;

struct Ordered {
    const char* first;
    const char* second;
};

// Each pair in order: first sorts strictly before second (and not the other way round).
const Ordered kPairs[] = {
    {"\xE8\xE1p", "d\xF9m"},         // čáp < dům
    {"cvik", "\xE8\xE1p"},           // cvik < čáp: č is a letter of its own after c
    {"ab", "Ab"},                    // case decides last: small first
    {"Ab", "\xE1" "b"},              // accents outrank case: Ab < áb
    {"\xE1" "b", "ac"},              // áb < ac: the accent only breaks ties of whole words
    {"e", "\xE9"},                   // e < é
    {"\xE9", "\xEC"},                // é < ě
    {"chata", "hrad"},               // no Czech "ch": c h ... sorts with the c words
    {"chata", "\xE8" "ert"},         // chata < čert
    {"r\xFD" "ze", "\xF8" "eka"},    // rýže < řeka
    {"sova", "\x9A" "ach"},          // sova < šach
    {"zima", "\x9E\xE1" "ba"},       // zima < žába
    {"d\xF9m", "\x8E\xE1" "ba"},     // dům < Žába
    {"Zuzana", "\x8E\xE1" "ba"},     // Zuzana < Žába
    {"9", "a"},                      // digits before letters
    {" a", "0"},                     // spaces and punctuation before digits
    {"a", "ab"},                     // a prefix first
    {"ano", "Ano "},                 // a shorter text first even when its case would win
    {"Ano", "\xE1no"},               // Ano < áno
    {"k", "\xB3" "a"},               // k < ła < lb: a foreign accented letter counts as its base
    {"\xB3" "a", "lb"},
};

TEST(ListOrder, PairsSortAsCzechReadersExpect) {
    for (const Ordered& pair : kPairs) {
        EXPECT_LT(compareListTexts(pair.first, pair.second), 0) << pair.first << " | " << pair.second;
        EXPECT_GT(compareListTexts(pair.second, pair.first), 0) << pair.second << " | " << pair.first;
    }
}

TEST(ListOrder, OnlyEqualTextsCompareEqual) {
    EXPECT_EQ(compareListTexts("\xE8\xE1p", "\xE8\xE1p"), 0);
    EXPECT_EQ(compareListTexts("", ""), 0);
    // Every pair of different single bytes is ordered, the same way seen from either side.
    for (int a = 1; a < 256; ++a) {
        for (int b = a + 1; b < 256; ++b) {
            const std::string x(1, static_cast<char>(a));
            const std::string y(1, static_cast<char>(b));
            ASSERT_NE(compareListTexts(x, y), 0) << a << " " << b;
            ASSERT_EQ(compareListTexts(x, y) < 0, compareListTexts(y, x) > 0) << a << " " << b;
        }
    }
}

TEST(ListOrder, SortsAWordListIntoCzechOrder) {
    std::vector<std::string> words{"\x8E\xE1" "ba", "chata", "\xE8\xE1p", "Cibule", "d\xF9m", "cibule", "\xC8" "ert",
                                   "b\xEC" "h", "beh", "10", "2"};
    std::sort(words.begin(), words.end(), [](const std::string& a, const std::string& b) { return compareListTexts(a, b) < 0; });
    const std::vector<std::string> expected{"10", "2", "beh", "b\xEC" "h", "chata", "cibule", "Cibule", "\xE8\xE1p",
                                            "\xC8" "ert", "d\xF9m", "\x8E\xE1" "ba"};
    EXPECT_EQ(words, expected);
}

TEST(ListOrder, PrefixAndExactMatchIgnoreCaseButNotAccents) {
    EXPECT_TRUE(startsWithFolded("\x8E\xE1" "ba", "\x9E\xC1"));  // Žába starts with žÁ
    EXPECT_TRUE(startsWithFolded("chata", "CH"));
    EXPECT_FALSE(startsWithFolded("\xE8\xE1p", "c"));            // č is not c
    EXPECT_FALSE(startsWithFolded("ab", "abc"));
    EXPECT_TRUE(startsWithFolded("ab", ""));
    EXPECT_TRUE(equalsFolded("D\xD9M", "d\xF9m"));               // DŮM = dům
    EXPECT_FALSE(equalsFolded("dum", "d\xF9m"));
    EXPECT_FALSE(equalsFolded("dom", "domy"));
}

struct PrefixCase {
    const char* text;
    const char* prefix;
    int sign;
};

TEST(ListOrder, PrefixLettersIgnoreAccentsAndCaseAndPutShortTextsFirst) {
    const PrefixCase cases[] = {
        {"\xEF" "ub", "DU", 0},      // ďub is level with DU
        {"dub", "d", 0},
        {"d", "du", -1},             // shorter, and its letters are the prefix's first ones
        {"da", "du", -1},
        {"dv", "du", 1},
        {"\xE8" "ap", "c", 1},       // č is a letter after c
        {"chata", "ci", -1},
        {"", "a", -1},
        {"abc", "", 0},
    };
    for (const PrefixCase& c : cases) {
        const int result = comparePrefixLetters(c.text, c.prefix);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.text << " | " << c.prefix;
    }
}

}  // namespace
