#include "winplat/base.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "winplat/cp1250.h"

namespace {

// cp1250 bytes of a UTF-8 literal, so the cases read as the Czech text they are.
std::string bytes(std::u8string_view s) {
    bool exact = false;
    std::string out = winplat::cp1250::fromUtf8(
        std::string_view(reinterpret_cast<const char*>(s.data()), s.size()), &exact);
    EXPECT_TRUE(exact) << "fixture text not representable in cp1250";
    return out;
}

LPSTR asCharacter(uint8_t c) {
    return reinterpret_cast<LPSTR>(static_cast<uintptr_t>(c));
}
uintptr_t value(LPSTR p) {
    return reinterpret_cast<uintptr_t>(p);
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

}  // namespace

TEST(CharCase, SingleCharacterForm) {
    struct Case {
        uint8_t upper;
        uint8_t lower;
    };
    // Č/č, Š/š, Ž/ž, Ł/ł, ASCII, and bytes with no case (ß, digit, NUL).
    const Case cases[] = {{0xC8, 0xE8}, {0x8A, 0x9A}, {0x8E, 0x9E}, {0xA3, 0xB3},
                          {'Q', 'q'},   {0xDF, 0xDF}, {'7', '7'},   {0x00, 0x00}};
    for (const auto& c : cases) {
        EXPECT_EQ(value(CharLowerA(asCharacter(c.upper))), c.lower) << std::hex << int{c.upper};
        EXPECT_EQ(value(CharLowerA(asCharacter(c.lower))), c.lower) << std::hex << int{c.lower};
        EXPECT_EQ(value(CharUpperA(asCharacter(c.lower))), c.upper) << std::hex << int{c.lower};
        EXPECT_EQ(value(CharUpperA(asCharacter(c.upper))), c.upper) << std::hex << int{c.upper};
    }
}

TEST(CharCase, StringFormConvertsInPlaceUpToTheTerminator) {
    std::string text = bytes(u8"ŽLUŤOUČKÝ Kůň 42");
    text += '\0';
    text += "TAIL";  // past the terminator: must not be touched
    EXPECT_EQ(CharLowerA(text.data()), text.data());
    EXPECT_EQ(text, bytes(u8"žluťoučký kůň 42") + std::string("\0TAIL", 5));

    EXPECT_EQ(CharUpperA(text.data()), text.data());
    EXPECT_EQ(text, bytes(u8"ŽLUŤOUČKÝ KŮŇ 42") + std::string("\0TAIL", 5));

    std::string german = bytes(u8"Straße ×÷");
    CharUpperA(german.data());
    EXPECT_EQ(german, bytes(u8"STRAßE ×÷"));

    char empty[] = "";
    EXPECT_EQ(CharLowerA(empty), empty);
    EXPECT_EQ(empty[0], '\0');
}

TEST(CharCase, BufferFormConvertsExactlyTheGivenLength) {
    const std::string nul(1, '\0');
    std::string text = bytes(u8"ČŘ") + nul + bytes(u8"ŠŽ") + "AB";
    // An embedded NUL does not stop the buffer form; the length does.
    EXPECT_EQ(CharLowerBuffA(text.data(), 5), 5u);
    EXPECT_EQ(text, bytes(u8"čř") + nul + bytes(u8"šž") + "AB");

    EXPECT_EQ(CharUpperBuffA(text.data(), 2), 2u);
    EXPECT_EQ(text, bytes(u8"ČŘ") + nul + bytes(u8"šž") + "AB");

    EXPECT_EQ(CharUpperBuffA(text.data(), 0), 0u);
    EXPECT_EQ(text, bytes(u8"ČŘ") + nul + bytes(u8"šž") + "AB");
}

TEST(CharCase, BufferFormWithNullReturnsZero) {
    EXPECT_EQ(CharLowerBuffA(nullptr, 10), 0u);
    EXPECT_EQ(CharUpperBuffA(nullptr, 10), 0u);
}

TEST(CharCase, CompareIgnoringCase) {
    struct Case {
        std::string a;
        std::string b;
        int expected;
    };
    const Case cases[] = {
        {bytes(u8"ŽLUŤOUČKÝ"), bytes(u8"žluťoučký"), 0},
        {bytes(u8"Łódź"), bytes(u8"ŁÓDŹ"), 0},
        {"", "", 0},
        {"abc", "ABD", -1},
        {"ABD", "abc", 1},
        {"abc", "AB", 1},
        {"", "a", -1},
        // Bytes compare unsigned: č (0xE8) sorts after z, not before it.
        {"z", bytes(u8"č"), -1},
        {bytes(u8"Č"), "Z", 1},
        // Folding is to lower case: '[' (0x5B) sorts before 'a' but after 'A'.
        {"[", "A", -1},
        {bytes(u8"ß"), "SS", 1},
        {bytes(u8"č"), bytes(u8"c"), 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sign(lstrcmpiA(c.a.c_str(), c.b.c_str())), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(sign(lstrcmpiA(c.b.c_str(), c.a.c_str())), -c.expected) << c.b << " vs " << c.a;
    }
}

TEST(CharCase, CompareNullSortsFirst) {
    EXPECT_EQ(lstrcmpiA(nullptr, nullptr), 0);
    EXPECT_LT(lstrcmpiA(nullptr, ""), 0);
    EXPECT_GT(lstrcmpiA("", nullptr), 0);
    EXPECT_LT(lstrcmpiA(nullptr, "a"), 0);
    EXPECT_GT(lstrcmpiA("a", nullptr), 0);
}
