#include "text/format_cursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/style_sheet.h"
#include "text/text_store.h"

namespace {

using lect32::CharFormat;
using lect32::FormatCursor;

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

class FormatCursorTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& sheet = lect32::GetStyleSheet();
        sheet.Reset();
        lect32::StyleDefinition style{};
        style = {1, 11, 3, 0, 0, 255, 255, 0, 0};
        sheet.DefineStyle("Text", style, 2, 0);
        // Row 0: height 17, style 2, its own colour pair (5, none).
        records.AddItem();
        records.SetItemString(0, Bytes({17, 0, 0, 0, 2, 0x04, 0x00, 5, 255}));
        text.AddItem();
        text.SetItemString(0, row);
        cursor.Bind(&text, &records);
    }
    void TearDown() override { lect32::GetStyleSheet().Reset(); }

    // "ab" 0-1, format 2-8, "cd" 9-10, colours 11-14, "ef" 15-16, format 17-23, "gh" 24-25,
    // shadow 26-30, link frame 31-37, "ij" 38-39, link end 40-41, "kl" 42-43.
    const std::string row = "ab" + Bytes({1, 0, 14, 0, 255, 1, 1}) + "cd" + Bytes({2, 7, 255, 2}) + "ef" +
                            Bytes({1, 255, 0x00, 0x7F, 6, 1, 1}) + "gh" + Bytes({3, 4, 1, 1, 3}) +
                            Bytes({20, 5, 0, 0x34, 0x12, 5, 20}) + "ij" + Bytes({21, 21}) + "kl";
    lect32::TextStore text, records;
    FormatCursor cursor;
};

TEST_F(FormatCursorTest, RowBaseIsTheStyleWithTheRowsOwnFormat) {
    lect32::TextFormat base;
    EXPECT_EQ(cursor.RowBase(0, base), 17u);
    EXPECT_EQ(base.chars.font, 1);
    EXPECT_EQ(base.chars.size, 11);
    EXPECT_EQ(base.colours.text, 5);
    EXPECT_TRUE(base.Has(lect32::kPartColours));
    EXPECT_FALSE(base.Has(lect32::kPartChar));
    EXPECT_EQ(base.styleNumber, 2);
}

TEST_F(FormatCursorTest, ResolvingPositionsOnARowOfNestedCodes) {
    const struct {
        uint16_t offset;
        CharFormat chars;
        uint8_t text;
        uint8_t shadow;
        uint8_t link;
    } cases[] = {
        {0, {1, 11, 3, 0}, 5, 255, 255},    // the row's base
        {9, {0, 14, 3, 0}, 5, 255, 255},    // font and size from the code, the rest from the base
        {15, {0, 14, 3, 0}, 7, 255, 255},   // the colour code
        {24, {1, 11, 6, 0}, 7, 255, 255},   // a later code replaces the earlier: only the weight
        {31, {1, 11, 6, 0}, 7, 4, 255},     // the shadow
        {38, {1, 11, 6, 0}, 7, 4, 0},       // inside a kind-0 link
        {42, {1, 11, 6, 0}, 7, 4, 255},     // after its end
    };
    for (const auto& c : cases) {
        cursor.ResolveAt(0, c.offset);
        EXPECT_TRUE(cursor.chars.Matches(c.chars)) << c.offset << ": font " << int{cursor.chars.font} << " size "
                                                   << cursor.chars.size << " weight " << int{cursor.chars.weightClass};
        EXPECT_EQ(cursor.chars.flags, c.chars.flags) << c.offset;
        EXPECT_EQ(cursor.colours.text, c.text) << c.offset;
        EXPECT_EQ(cursor.shadow.colour, c.shadow) << c.offset;
        EXPECT_EQ(cursor.linkKind, c.link) << c.offset;
    }
    cursor.ResolveAt(0, 38);
    EXPECT_EQ(cursor.linkValue, 0x1234);
}

TEST_F(FormatCursorTest, ScanOfLengthZeroReadsNothing) {
    cursor.ScanRow(0, 0, false);
    EXPECT_TRUE(cursor.chars.IsUnset());
    for (bool p : cursor.present) EXPECT_FALSE(p);
    cursor.ScanRow(0, 0, true);
    EXPECT_TRUE(cursor.present[lect32::kPartChar]) << "keep-unset marks every part present";
    cursor.ScanRow(0, 24, false);
    EXPECT_TRUE(cursor.present[lect32::kPartChar]);
    EXPECT_TRUE(cursor.present[lect32::kPartColours]);
    EXPECT_FALSE(cursor.present[lect32::kPartShadow]);
}

TEST_F(FormatCursorTest, EmittedCodesScanBackTheSame) {
    cursor.ScanRow(0, 31, false);
    std::vector<uint8_t> codes(32, 0xEE);
    const size_t size = cursor.EmitCodes(codes);
    ASSERT_EQ(size, 7u + 4u + 5u);
    EXPECT_EQ(codes[0], 1);
    EXPECT_EQ(codes[6], 1);
    EXPECT_EQ(codes[7], 2);
    EXPECT_EQ(codes[11], 3);
    std::vector<uint8_t> tooSmall(10);
    EXPECT_EQ(cursor.EmitCodes(tooSmall), 0u);

    lect32::TextStore copy;
    copy.AddItem();
    copy.SetItemString(0, std::string(codes.begin(), codes.begin() + static_cast<std::ptrdiff_t>(size)));
    FormatCursor again;
    again.Bind(&copy, &records);
    again.ScanRow(0, static_cast<uint16_t>(size), false);
    EXPECT_TRUE(again.SameAs(cursor));
}

TEST_F(FormatCursorTest, ADamagedSequenceEndsTheWalk) {
    text.SetItemString(0, "a" + Bytes({2, 9, 255, 2}) + "b" + Bytes({1, 0, 20}));  // a format cut short
    cursor.ResolveAt(0, 10);
    EXPECT_EQ(cursor.colours.text, 9);
    EXPECT_EQ(cursor.chars.size, 11) << "the cut format is not taken";
}

}  // namespace
