#include "text/code_edits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/font_faces.h"
#include "text/marker_label.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

class CodeEdits : public ::testing::Test {
protected:
    void SetUp() override {
        lect32::GetDocumentFonts().main.Clear();
        lect32::GetDocumentFonts().main.Append("Arial CE", lect32::kCharsetEastEurope);
    }
    void TearDown() override { lect32::GetDocumentFonts().main.Clear(); }
};

TEST_F(CodeEdits, ValidateNamesWhatIsWrong) {
    const struct {
        const char* name;
        std::string text;
        uint16_t result;
    } cases[] = {
        {"plain text, tab and line end", "ab\tc\n", lect32::kCodesSound},
        {"sound format, colours and shadow",
         std::string("a" "\x01\x00\x0C\x00\x03\x00\x01" "b" "\x02\x01\x02\x02" "\x03\x01\x0A\xF6\x03", 18),
         lect32::kCodesSound},
        {"closing byte missing", std::string("a\x02\x01\x02\x03", 5), lect32::kCodeUnclosed},
        {"payload runs past the end", std::string("a\x01\x00\x0C", 4), lect32::kCodeUnclosed},
        {"font beyond the faces", std::string("\x01\x01\x0C\x00\x03\x00\x01", 7), lect32::kCodeBadPayload},
        {"weight class 9", std::string("\x01\x00\x0C\x00\x09\x00\x01", 7), lect32::kCodeBadPayload},
        {"shadow offset 11", std::string("\x03\x01\x0B\x00\x03", 5), lect32::kCodeBadPayload},
        {"shadow offset -10 is sound", std::string("\x03\x01\xF6\x00\x03", 5), lect32::kCodesSound},
    };
    for (const auto& c : cases) {
        Bytes text = B(c.text);
        EXPECT_EQ(lect32::ValidateControlCodes(text), c.result) << c.name;
    }
}

TEST_F(CodeEdits, ValidateMendsAnOddSizeInPlace) {
    Bytes text = B(std::string("\x01\x00\x02\x00\x03\x00\x01", 7));
    EXPECT_EQ(lect32::ValidateControlCodes(text), lect32::kCodesSound);
    EXPECT_EQ(text[2], 16);
}

TEST_F(CodeEdits, ScaleTouchesSetSizesAndShadowOffsets) {
    Bytes text = B(std::string("\x01\x00\x0A\x00\x03\x00\x01" "a\x01\x00\x00\x7F\x03\x00\x01\x03\x01\x04\xFC\x03", 20));
    lect32::ScaleControlCodes(text, 150);
    EXPECT_EQ(text[2], 15);
    EXPECT_EQ(text[10], 0x00) << "an unset size stays unset";
    EXPECT_EQ(text[11], 0x7F);
    EXPECT_EQ(static_cast<int8_t>(text[17]), 6);
    EXPECT_EQ(static_cast<int8_t>(text[18]), -6);
}

TEST_F(CodeEdits, StripLeavesTheTextAlone) {
    const std::string link = std::string("\x14\x04\x00\x07\x07\x04\x14", 7);
    Bytes text = B("a" + std::string("\x02\x01\x02\x02", 4) + "b\tc" + link + "d" + std::string("\x15\x15", 2) + "\n");
    Bytes copy = text;
    text.resize(lect32::StripControlCodes(text, false));
    EXPECT_EQ(text, B("ab\tcd"));
    copy.resize(lect32::StripControlCodes(copy, true));
    EXPECT_EQ(copy, B("abcd"));
    Bytes damaged = B(std::string("a\x01\x00", 3));
    damaged.resize(lect32::StripControlCodes(damaged, false));
    EXPECT_EQ(damaged, B("a")) << "a damaged code goes byte by byte";
}

TEST(ListNumbers, DecimalAndBijectiveLetters) {
    const struct {
        uint8_t style;
        uint32_t number;
        const char* text;
    } cases[] = {
        {0, 7, "7"},      {0, 1234, "1234"}, {1, 1, "A"},     {1, 26, "Z"},       {1, 27, "AA"},
        {1, 52, "AZ"},    {1, 676, "YZ"},    {1, 677, "ZA"},  {1, 702, "ZZ"},     {1, 703, "AAA"},
        {1, 1353, "AZA"}, {1, 18278, "ZZZ"}, {1, 18279, "AAAA"}, {2, 28, "ab"},
    };
    for (const auto& c : cases) EXPECT_EQ(lect32::ListNumberText(c.style, c.number), c.text) << c.number;
}

}  // namespace
