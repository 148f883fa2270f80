// The string loaders: the two alternating slots, the language texts before the built-in ones, and
// the ids each loader adds to its number.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "store/language_text_list.h"
#include "store/text_slots.h"

namespace {

using lect32::LanguageTexts;

class TextSlotsTest : public ::testing::Test {
protected:
    void SetUp() override { LanguageTexts().Clear(); }
    void TearDown() override { LanguageTexts().Clear(); }
};

// 3308 is the built-in "Beze jména"; 30001 a file-dialog filter.
const std::string kUntitled = "Beze jm\xE9na";

TEST_F(TextSlotsTest, AThirdCallOverwritesTheFirstAndKeepsTheSecond) {
    const char* first = lect32::LoadLocalizedText(8);
    const std::string firstText = first;
    const char* second = lect32::LoadResourceText(30001 - 3600);
    const std::string secondText = second;
    ASSERT_EQ(firstText, kUntitled);
    ASSERT_EQ(secondText, "Dokument Tarvo Lecternu (*.LCN)|*.lcn|");
    const char* third = lect32::LoadTooltipText(30010 - 3900);
    EXPECT_EQ(third, first);
    EXPECT_EQ(std::string(first), "Rich Text Format (*.RTF)|*.rtf|");
    EXPECT_EQ(std::string(second), secondText);
}

TEST_F(TextSlotsTest, EachLoaderAddsItsOwnBase) {
    EXPECT_EQ(std::string(lect32::LoadLocalizedText(8)), kUntitled);
    EXPECT_EQ(std::string(lect32::LoadResourceText(8)), "");   // 3608 is no string
    EXPECT_EQ(std::string(lect32::LoadTooltipText(8)), "Hledat");  // 3908
    EXPECT_EQ(std::string(lect32::LoadTooltipText(50)), "");       // 3950 is no string either
    EXPECT_EQ(std::string(lect32::LoadResourceText(30011 - 3600)), "V\x9A" "echny soubory|*.*|");
}

TEST_F(TextSlotsTest, ALanguageTextComesBeforeTheBuiltInOne) {
    LanguageTexts().AddText(3307, "other", 5);
    LanguageTexts().AddText(3308, "Untitled", 8);
    EXPECT_EQ(std::string(lect32::LoadLocalizedText(8)), "Untitled");
    EXPECT_EQ(std::string(lect32::LoadLocalizedText(7)), "other");
    LanguageTexts().Clear();
    EXPECT_EQ(std::string(lect32::LoadLocalizedText(8)), kUntitled);
}

TEST_F(TextSlotsTest, ALongLanguageTextIsCutToTheSlot) {
    const std::string text(255, 'x');
    LanguageTexts().AddText(3308, text.data(), static_cast<int>(text.size()));
    const char* loaded = lect32::LoadLocalizedText(8);
    EXPECT_EQ(std::string(loaded), text.substr(0, lect32::kTextSlotSize - 1));
}

TEST_F(TextSlotsTest, Cp1250BecomesUtf8EvenWhenTheTextIsALoaderResult) {
    // "Žluťoučký kůň"
    EXPECT_STREQ(lect32::ConvertCp1250ToUtf8("\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2"),
                 "\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD k\xC5\xAF\xC5\x88");
    EXPECT_STREQ(lect32::ConvertCp1250ToUtf8(lect32::LoadLocalizedText(8)), "Beze jm\xC3\xA9na");
    EXPECT_STREQ(lect32::ConvertCp1250ToUtf8(""), "");
}

TEST_F(TextSlotsTest, TheUtf8TextIsWrittenOverBothSlots) {
    const char* first = lect32::LoadLocalizedText(8);
    const char* second = lect32::LoadResourceText(30001 - 3600);
    const std::string text(200, 'a');
    const char* converted = lect32::ConvertCp1250ToUtf8(text.c_str());
    EXPECT_EQ(converted, std::min(first, second));
    EXPECT_EQ(std::string(converted), text);
    EXPECT_EQ(std::string(std::max(first, second)), std::string(200 - lect32::kTextSlotSize, 'a'));
}

TEST_F(TextSlotsTest, TheUtf8TextEndsOnAWholeCharacterWithin255Bytes) {
    // 255 characters come in; each of these takes two bytes, so 127 of them fit.
    const std::string twoByteLetters(300, '\xE8');
    std::string expected;
    for (int i = 0; i < 127; ++i) expected += "\xC4\x8D";
    EXPECT_EQ(std::string(lect32::ConvertCp1250ToUtf8(twoByteLetters.c_str())), expected);
    const std::string plain(300, 'x');
    EXPECT_EQ(std::string(lect32::ConvertCp1250ToUtf8(plain.c_str())), std::string(255, 'x'));
    // Three-byte characters: 85 fill 255 bytes exactly.
    const std::string euros(100, '\x80');
    std::string euroText;
    for (int i = 0; i < 85; ++i) euroText += "\xE2\x82\xAC";
    EXPECT_EQ(std::string(lect32::ConvertCp1250ToUtf8(euros.c_str())), euroText);
}

TEST(LanguageTextListTest, TheFirstOfTwoEntriesWithOneIdWins) {
    lect32::LanguageTextList list;
    list.AddText(7, "first", 5);
    list.AddText(9, "nine", 4);
    list.AddText(7, "second", 6);
    char buffer[16] = "junk";
    EXPECT_EQ(list.FindById(7, buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "first");
    EXPECT_EQ(list.FindById(9, buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "nine");
    EXPECT_EQ(list.FindById(8, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(LanguageTextListTest, FindByIdKeepsToTheCapacity) {
    lect32::LanguageTextList list;
    list.AddText(1, "abcdef", 6);
    char buffer[8] = {'#', '#', '#', '#', '#', '#', '#', '#'};
    EXPECT_EQ(list.FindById(1, buffer, 4), 1);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(buffer[4], '#');
    EXPECT_EQ(list.FindById(1, buffer, 0), 0);
    EXPECT_EQ(buffer[0], 'a');
}

TEST(LanguageTextListTest, ADeletedEntryIsNotFound) {
    lect32::LanguageTextList list;
    list.AddText(5, "gone", 4);
    list.AddText(5, "kept", 4);
    list.DeleteString(0, 0);
    char buffer[8] = {};
    EXPECT_EQ(list.FindById(5, buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "kept");
}

}  // namespace
