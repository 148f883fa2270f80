// The three classes editing code moves by: blanks, word bytes and the bytes that break words.
#include <gtest/gtest.h>

#include <string_view>

#include "text/character_class.h"

namespace {

using lect32::ClassifyCharacter;

TEST(CharacterClassTest, EveryByteFallsInTheClassOfItsKind) {
    constexpr std::string_view kPunctuation = "!()/\\-.:;,\"'[]{}%";
    ASSERT_EQ(kPunctuation.size(), 17u);
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<uint8_t>(c);
        lect32::CharacterClass expected = lect32::kWordCharacterClass;
        if (c == '\t' || c == ' ') expected = lect32::kBlankCharacter;
        if (c == '\n' || kPunctuation.find(static_cast<char>(c)) != std::string_view::npos) {
            expected = lect32::kBreakingCharacter;
        }
        EXPECT_EQ(ClassifyCharacter(byte), expected) << "byte " << c;
    }
}

TEST(CharacterClassTest, Cp1250LettersDigitsAndOtherMarksBelongToWords) {
    for (const uint8_t c : {uint8_t{'a'}, uint8_t{'Z'}, uint8_t{'7'}, uint8_t{0xE8}, uint8_t{0x8E},
                            uint8_t{'?'}, uint8_t{'\r'}, uint8_t{'_'}, uint8_t{0xA0}}) {
        EXPECT_EQ(ClassifyCharacter(c), lect32::kWordCharacterClass) << int{c};
    }
}

}  // namespace
