// The word-character classes over every byte: exactly the seventeen punctuation characters break
// words, and cp1250 letters count as word characters.
#include <gtest/gtest.h>

#include <string_view>

#include "store/word_characters.h"

namespace {

constexpr std::string_view kPunctuation = "!()/\\-.:;,\"'[]{}%";

TEST(WordCharactersTest, EveryByteIsClassified) {
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<uint8_t>(value);
        const bool punctuation = kPunctuation.find(static_cast<char>(byte)) != std::string_view::npos;
        SCOPED_TRACE(value);
        EXPECT_EQ(lect32::IsWordCharacter(byte), !punctuation);
        const int expected = (byte == '\t' || byte == ' ') ? 0 : (byte == '\n' || punctuation) ? 2 : 1;
        EXPECT_EQ(lect32::ClassifyCharacter(byte), expected);
    }
}

TEST(WordCharactersTest, NamedBytes) {
    struct Case {
        uint8_t byte;
        bool word;
        int kind;
    };
    const Case cases[] = {
        {'a', true, 1},  {'Z', true, 1},  {'7', true, 1},  {0xE8, true, 1},  // c with caron
        {0x9A, true, 1}, {'_', true, 1},  {'?', true, 1},  {'%', false, 2},
        {'\\', false, 2}, {'"', false, 2}, {'}', false, 2}, {' ', true, 0},
        {'\t', true, 0}, {'\n', true, 2}, {'\r', true, 1}, {0, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.byte});
        EXPECT_EQ(lect32::IsWordCharacter(c.byte), c.word);
        EXPECT_EQ(lect32::ClassifyCharacter(c.byte), c.kind);
    }
}

}  // namespace
