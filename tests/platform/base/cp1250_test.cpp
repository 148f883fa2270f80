#include "winplat/cp1250.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace cp = winplat::cp1250;

namespace {

std::string utf8(std::u8string_view s) {
    return std::string(reinterpret_cast<const char*>(s.data()), s.size());
}

// cp1250 bytes of a UTF-8 literal, so case tests can be written in readable Czech.
std::string bytes(std::u8string_view s) {
    bool exact = false;
    std::string out = cp::fromUtf8(utf8(s), &exact);
    EXPECT_TRUE(exact) << "fixture text not representable in cp1250";
    return out;
}

std::string allBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
    return s;
}

}  // namespace

TEST(Cp1250, EveryByteRoundTripsThroughUnicode) {
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = cp::toUnicode(static_cast<uint8_t>(b));
        uint8_t back = 0;
        ASSERT_TRUE(cp::fromUnicode(cp, back)) << "byte 0x" << std::hex << b;
        EXPECT_EQ(back, b) << "byte 0x" << std::hex << b << " -> U+" << static_cast<uint32_t>(cp);
    }
}

TEST(Cp1250, EveryByteRoundTripsThroughUtf8) {
    const std::string all = allBytes();
    const std::string text = cp::toUtf8(all);
    bool exact = false;
    EXPECT_EQ(cp::fromUtf8(text, &exact), all);
    EXPECT_TRUE(exact);
}

TEST(Cp1250, KnownBytes) {
    struct Case {
        uint8_t byte;
        char32_t codePoint;
    };
    // clang-format off
    const Case cases[] = {
        {0x00, 0x0000}, {0x41, 0x0041}, {0x7F, 0x007F}, {0x80, 0x20AC}, {0x8A, 0x0160},
        {0x9E, 0x017E}, {0xA0, 0x00A0}, {0xC8, 0x010C}, {0xE8, 0x010D}, {0xF8, 0x0159},
        {0xF9, 0x016F}, {0xFF, 0x02D9}, {0xA3, 0x0141}, {0xB9, 0x0105}, {0xDF, 0x00DF},
        // Unassigned in the code page: carried as the C1 control of the same value.
        {0x81, 0x0081}, {0x83, 0x0083}, {0x88, 0x0088}, {0x90, 0x0090}, {0x98, 0x0098},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(cp::toUnicode(c.byte), c.codePoint) << "byte 0x" << std::hex << int{c.byte};
        uint8_t back = 0;
        EXPECT_TRUE(cp::fromUnicode(c.codePoint, back));
        EXPECT_EQ(back, c.byte) << "U+" << std::hex << static_cast<uint32_t>(c.codePoint);
    }
}

TEST(Cp1250, CodePointsOutsideTheCodePageAreRejected) {
    // U+0080 and U+0082 are C1 controls whose bytes hold € and ‚; only the five unassigned
    // bytes carry their C1 control.
    const char32_t outside[] = {0x0080, 0x0082, 0x009F, 0x00C0,  0x00C3,   0x0100,
                                0x0430, 0x20AD, 0xFFFD, 0x1F600, 0x10FFFF, 0x110000};
    for (char32_t c : outside) {
        uint8_t byte = 0x55;
        EXPECT_FALSE(cp::fromUnicode(c, byte)) << "U+" << std::hex << static_cast<uint32_t>(c);
    }
}

TEST(Cp1250, CzechSentenceBothWays) {
    // "Příliš žluťoučký kůň" in cp1250.
    const std::string cpText = "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2";
    const std::string utf8Text = utf8(u8"Příliš žluťoučký kůň");
    bool exact = false;
    EXPECT_EQ(cp::fromUtf8(utf8Text, &exact), cpText);
    EXPECT_TRUE(exact);
    EXPECT_EQ(cp::toUtf8(cpText), utf8Text);
}

TEST(Cp1250, ToUtf8UsesMultiByteForms) {
    EXPECT_EQ(cp::toUtf8("a\x80"), "a\xE2\x82\xAC");  // € needs three bytes
    EXPECT_EQ(cp::toUtf8("\xA0"), "\xC2\xA0");
    EXPECT_EQ(cp::toUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(cp::toUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(cp::toUtf8(""), "");
}

TEST(Cp1250, UnrepresentableOrMalformedBecomesQuestionMark) {
    struct Case {
        const char* name;
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {"A with macron", utf8(u8"xĀy"), "x?y"},
        {"Cyrillic", utf8(u8"дом"), "???"},
        {"emoji is one character", utf8(u8"a😀b"), "a?b"},
        {"C1 control U+0080", "\xC2\x80", "?"},
        {"stray continuation", "a\x80z", "a?z"},
        {"two stray continuations", "\x80\xBF", "??"},
        {"overlong NUL", "a\xC0\x80z", "a?z"},
        {"overlong two-byte", "\xC1\xBF", "?"},
        {"overlong three-byte slash", "\xE0\x80\xAF", "?"},
        {"overlong four-byte euro", "\xF0\x82\x82\xAC", "?"},
        {"high surrogate", "\xED\xA0\x80z", "?z"},
        {"low surrogate", "\xED\xBF\xBF", "?"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", "?"},
        {"lead F5", "\xF5\x80\x80\x80", "?"},
        {"lone FE FF", "\xFE\xFFz", "??z"},
        {"truncated at end", "ab\xE2\x82", "ab?"},
        {"truncated before ASCII", "\xE2\x82z", "?z"},
        {"truncated two-byte at end", "\xC5\xA1\xC5", "\x9A?"},
        {"truncated before a good character", "\xE2\xC5\xA1", "?\x9A"},
    };
    for (const auto& c : cases) {
        bool exact = true;
        EXPECT_EQ(cp::fromUtf8(c.input, &exact), c.expected) << c.name;
        EXPECT_FALSE(exact) << c.name;
    }
}

TEST(Cp1250, ExactIsResetOnCleanInputAndOptional) {
    bool exact = false;
    EXPECT_EQ(cp::fromUtf8("plain", &exact), "plain");
    EXPECT_TRUE(exact);
    EXPECT_EQ(cp::fromUtf8("", &exact), "");
    EXPECT_TRUE(exact);
    EXPECT_EQ(cp::fromUtf8("\xFF"), "?");
}

// Upper and lower byte of each letter pair.
struct CasePair {
    const char* name;
    uint8_t upper;
    uint8_t lower;
};

// clang-format off
const CasePair kPairs[] = {
    {"A", 'A', 'a'},   {"Z", 'Z', 'z'},   {"Č", 0xC8, 0xE8}, {"Š", 0x8A, 0x9A}, {"Ž", 0x8E, 0x9E},
    {"Ř", 0xD8, 0xF8}, {"Ť", 0x8D, 0x9D}, {"Ď", 0xCF, 0xEF}, {"Ň", 0xD2, 0xF2}, {"Ů", 0xD9, 0xF9},
    {"Ľ", 0xBC, 0xBE}, {"Ĺ", 0xC5, 0xE5}, {"Ŕ", 0xC0, 0xE0}, {"Ł", 0xA3, 0xB3}, {"Ą", 0xA5, 0xB9},
    {"Ś", 0x8C, 0x9C}, {"Ź", 0x8F, 0x9F}, {"Ż", 0xAF, 0xBF}, {"Ş", 0xAA, 0xBA}, {"Á", 0xC1, 0xE1},
    {"Ý", 0xDD, 0xFD}, {"Ţ", 0xDE, 0xFE}, {"Ő", 0xD5, 0xF5},
};
// clang-format on

TEST(Cp1250Case, FullRulePairsLetters) {
    for (const auto& p : kPairs) {
        EXPECT_EQ(cp::toLower(p.upper), p.lower) << p.name;
        EXPECT_EQ(cp::toLower(p.lower), p.lower) << p.name;
        EXPECT_EQ(cp::toUpper(p.lower), p.upper) << p.name;
        EXPECT_EQ(cp::toUpper(p.upper), p.upper) << p.name;
    }
}

TEST(Cp1250Case, NonLettersAndUnpairedLettersStay) {
    // ß and µ have no capital in cp1250; × ÷ ˙ € and the unassigned bytes have no case.
    const uint8_t stay[] = {0xDF, 0xB5, 0xD7, 0xF7, 0xFF, 0x80, 0x81, 0x98, 0xA0, 0xA7,
                            '0',  '9',  '.',  '[',  '@',  '`',  '{',  0x00, 0x7F};
    for (uint8_t c : stay) {
        EXPECT_EQ(cp::toLower(c), c) << "byte 0x" << std::hex << int{c};
        EXPECT_EQ(cp::toUpper(c), c) << "byte 0x" << std::hex << int{c};
    }
}

TEST(Cp1250Case, EveryChangeIsAPair) {
    // A byte that changes case must come back; a one-sided entry would make case-insensitive
    // name lookups disagree depending on which side was folded.
    for (int b = 0; b < 256; ++b) {
        const auto c = static_cast<uint8_t>(b);
        const uint8_t lo = cp::toLower(c);
        const uint8_t up = cp::toUpper(c);
        if (lo != c) {
            EXPECT_EQ(cp::toUpper(lo), c) << "byte 0x" << std::hex << b;
            EXPECT_EQ(up, c) << "byte 0x" << std::hex << b << " has both a lower and an upper form";
        }
        if (up != c) {
            EXPECT_EQ(cp::toLower(up), c) << "byte 0x" << std::hex << b;
        }
    }
}

TEST(Cp1250Case, AsciiRuleTouchesOnlyAsciiLetters) {
    const std::string text = bytes(u8"ČEŠTINA čeština Ž 42!");
    EXPECT_EQ(cp::lowerAscii(text), bytes(u8"ČeŠtina čeština Ž 42!"));
    EXPECT_NE(cp::lowerAscii(bytes(u8"Č")), cp::lowerAscii(bytes(u8"č")));
    for (int b = 0x80; b < 256; ++b) EXPECT_EQ(cp::toLowerAscii(static_cast<uint8_t>(b)), b);
}

TEST(Cp1250Case, FullRuleLowersStrings) {
    EXPECT_EQ(cp::lower(bytes(u8"PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ, ĽAĽO, ĎÁBEL, ŁÓDŹ")),
              bytes(u8"příliš žluťoučký kůň, ľaľo, ďábel, łódź"));
    EXPECT_EQ(cp::lower(bytes(u8"Straße × ÷ 10")), bytes(u8"straße × ÷ 10"));
    EXPECT_EQ(cp::lower(std::string_view("A\0B", 3)), std::string("a\0b", 3));
    EXPECT_EQ(cp::lower(""), "");
}
