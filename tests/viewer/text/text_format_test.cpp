#include "text/text_format.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using lect32::TextFormat;
using winplat::ByteReader;

// A format whose every part differs from its default, so a lost part shows.
TextFormat FullFormat() {
    TextFormat f;
    f.chars = {2, 14, 6, lect32::CharFormat::kItalic};
    f.colours = {5, 9};
    f.shadow = {3, 2, -2};
    f.indents = {10, 20, 30, -40};
    f.alignment = 3;
    f.lineSpacing = 18;
    f.spacing = {4, 8};
    f.border = {{0x0F, 2, 7, 3}};
    f.frame = {6, 5, 5};
    f.marker = {1, {2, 0x95, 4}, 12, 5, 6};
    return f;
}

TEST(PackedFormat, EachMaskBitRoundTripsAlone) {
    for (const lect32::PackedPart& p : lect32::kPackedParts) {
        TextFormat written = FullFormat();
        written.present.fill(false);
        written.present[p.part] = true;
        std::vector<uint8_t> bytes(lect32::kMaxPackedSize, 0);
        const size_t size = written.WritePacked(bytes);
        ASSERT_EQ(size, 2u + p.size) << "bit " << p.maskBit;
        EXPECT_EQ(bytes[0] | bytes[1] << 8, p.maskBit);
        EXPECT_EQ(written.PackedSize(), size);

        TextFormat read;
        read.Reset();
        ByteReader in(bytes.data(), size);
        ASSERT_TRUE(read.ReadPacked(in));
        EXPECT_EQ(in.position(), size);
        for (int flag = 0; flag < TextFormat::kFlagCount; ++flag) {
            EXPECT_EQ(read.present[flag], flag == p.part) << "bit " << p.maskBit << " flag " << flag;
        }
        std::vector<uint8_t> again(lect32::kMaxPackedSize, 0);
        ASSERT_EQ(read.WritePacked(again), size);
        EXPECT_EQ(again, bytes) << "bit " << p.maskBit;
    }
}

TEST(PackedFormat, AllPartsAndTheFlagBitRoundTrip) {
    TextFormat written = FullFormat();
    for (const auto& p : lect32::kPackedParts) written.present[p.part] = true;
    written.present[lect32::kPartFlagOnly] = true;
    std::vector<uint8_t> bytes(lect32::kMaxPackedSize, 0);
    const size_t size = written.WritePacked(bytes);
    EXPECT_EQ(size, lect32::kMaxPackedSize - 2);
    EXPECT_EQ(bytes[0] | bytes[1] << 8, 0x87FE);
    EXPECT_EQ(written.PackedSize(), size + 2) << "flag 11 counts two more bytes";
    TextFormat read;
    ByteReader in(bytes.data(), size);
    ASSERT_TRUE(read.ReadPacked(in));
    EXPECT_TRUE(read.Equals(written));
    EXPECT_TRUE(read.Has(lect32::kPartFlagOnly));
}

TEST(PackedFormat, MaskZeroLeavesEveryPartAbsent) {
    const uint8_t bytes[] = {0x00, 0x00};
    TextFormat f = FullFormat();
    f.present.fill(true);
    ByteReader in(bytes, sizeof bytes);
    ASSERT_TRUE(f.ReadPacked(in));
    for (bool p : f.present) EXPECT_FALSE(p);
}

TEST(PackedFormat, StyleNumberThenCharFormat) {
    const uint8_t bytes[] = {
        0x03, 0x00,                 // mask: style number, character format
        0x07, 0x00,                 // style 7
        0x01, 0x0C, 0x00, 0x03, 0x00,  // font 1, 12 pt, class 3, flags 0
    };
    TextFormat f;
    f.Reset();
    ByteReader in(bytes, sizeof bytes);
    ASSERT_TRUE(f.ReadPacked(in));
    EXPECT_EQ(f.styleNumber, 7);
    EXPECT_EQ(f.chars.size, 12);
    EXPECT_EQ(f.chars.font, 1);
    for (int flag = 0; flag < TextFormat::kFlagCount; ++flag) EXPECT_EQ(f.present[flag], flag == lect32::kPartChar);
}

TEST(PackedFormat, CharColourAndShadowMergeTheOthersReplace) {
    const uint8_t bytes[] = {
        0x1E, 0x00,                       // char, colours, shadow, indents
        0xFF, 0x00, 0x7F, 0x06, 0x01,     // only the weight class set
        0xFF, 0x04,                       // background only
        0xFE, 0x01, 0x01,                 // keep the shadow colour
        0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    };
    TextFormat f = FullFormat();
    ByteReader in(bytes, sizeof bytes);
    ASSERT_TRUE(f.ReadPacked(in));
    EXPECT_EQ(f.chars.font, 2);
    EXPECT_EQ(f.chars.weightClass, 6);
    EXPECT_EQ(f.colours.text, 5);
    EXPECT_EQ(f.colours.background, 4);
    EXPECT_EQ(f.shadow.colour, 3);
    EXPECT_EQ(f.shadow.dx, 1);
    EXPECT_EQ(f.indents, (lect32::Indents{1, 0, 0, 0}));
}

TEST(PackedFormat, TruncatedPartFailsWithoutReadingOn) {
    const uint8_t bytes[] = {0x12, 0x00, 0x01, 0x0C, 0x00, 0x03, 0x00, 0x05, 0x00};  // indents cut short
    TextFormat f;
    f.Reset();
    ByteReader in(bytes, sizeof bytes);
    EXPECT_FALSE(f.ReadPacked(in));
    EXPECT_TRUE(f.Has(lect32::kPartChar));
    EXPECT_FALSE(f.Has(lect32::kPartIndents));
}

TEST(PackedFormat, WriteKeepsTheAnnouncedStyleNumber) {
    TextFormat f = FullFormat();
    f.present[lect32::kPartAlignment] = true;
    std::vector<uint8_t> bytes{0x01, 0x00, 0x2A, 0x00, 0xEE, 0xEE};
    EXPECT_EQ(f.WritePacked(bytes), 5u);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x21, 0x00, 0x2A, 0x00, 3, 0xEE}));
    std::vector<uint8_t> tooSmall(4, 0);
    f.present[lect32::kPartIndents] = true;
    EXPECT_EQ(f.WritePacked(tooSmall), 0u) << "the parts do not fit";
}

TEST(PackedFormat, ZoomScalesIndentsSpacingAndMarkerEvenForMaskZero) {
    const uint8_t bytes[] = {0x00, 0x00};
    TextFormat f = FullFormat();
    ByteReader in(bytes, sizeof bytes);
    ASSERT_TRUE(f.ReadPacked(in, 200));
    EXPECT_EQ(f.indents, (lect32::Indents{20, 40, 60, -80}));
    EXPECT_EQ(f.spacing, (lect32::ParagraphSpacing{8, 16}));
    EXPECT_EQ(f.marker.size, 24);
    EXPECT_EQ(f.chars.size, 14) << "the character size does not follow this zoom";
}

TEST(PackedFormat, FontRemapReplacesOrMarks) {
    const uint8_t bytes[] = {0x02, 0x00, 0x03, 0x0C, 0x00, 0x03, 0x00};
    std::array<uint8_t, 256> table{};
    table[3] = 9;
    TextFormat f;
    ByteReader in(bytes, sizeof bytes);
    ASSERT_TRUE(f.ReadPackedRemapped(in, TextFormat::FontRemap::Replace, table));
    EXPECT_EQ(f.chars.font, 9);
    std::array<uint8_t, 256> used{};
    ByteReader again(bytes, sizeof bytes);
    ASSERT_TRUE(f.ReadPackedRemapped(again, TextFormat::FontRemap::MarkUsed, used));
    EXPECT_EQ(used[3], 1);
    EXPECT_EQ(f.chars.font, 3);
}

TEST(ConvertOldPackedFormat, SizeAndLineSpacingTimesElevenSixteenths) {
    std::vector<uint8_t> bytes{
        0x43, 0x00, 0x05, 0x00,          // style number, char, line spacing
        0x00, 0x10, 0x00, 0x03, 0x00,    // 16 pt
        0x20, 0x00,                      // line spacing 32
        0x99,                            // not part of the format
    };
    EXPECT_EQ(lect32::ConvertOldPackedFormat(bytes), 11u);
    EXPECT_EQ(bytes[5], 11);
    EXPECT_EQ(bytes[9], 22);
    EXPECT_EQ(bytes[11], 0x99);
    std::vector<uint8_t> unset{0x02, 0x00, 0xFF, 0x00, 0x7F, 0xFF, 0x01};
    EXPECT_EQ(lect32::ConvertOldPackedFormat(unset), 7u);
    EXPECT_EQ(unset[4], 0x7F) << "an unset size stays unset";
    std::vector<uint8_t> cut{0x40, 0x00, 0x20};
    EXPECT_EQ(lect32::ConvertOldPackedFormat(cut), 0u);
    EXPECT_EQ(cut[2], 0x20);
}

TEST(TextFormat, ExtraLeadingKeepsItsStoredUnits) {
    struct Case {
        int16_t line, size;
        int resolution, expected;
    } cases[] = {
        {-100, 12, 96, 0},  {-150, 12, 96, 6},  {-200, 10, 300, 10},   // (-L - 100) x size / 100
        {-50, 12, 96, 0},                                              // negative clamps to 0
        {24, 12, 96, 9},    {24, 12, 0, 9},     {24, 12, 300, 3},      // MulDiv(L - size, 72, dpi)
        {10, 12, 96, 0},
    };
    for (const auto& c : cases) {
        TextFormat f;
        f.lineSpacing = c.line;
        f.chars.size = c.size;
        EXPECT_EQ(f.GetExtraLeading(c.resolution), c.expected) << c.line << " " << c.size << " @" << c.resolution;
    }
}

TEST(TextFormat, AvailableWidthAndZoom) {
    TextFormat f = FullFormat();
    EXPECT_EQ(f.AvailableWidth(500, false), 500 - 10 - 20 - 30);
    EXPECT_EQ(f.AvailableWidth(500, true), 500 - 10 - 20 + 40);
    f.ScaleByZoom(50, 200);
    EXPECT_EQ(f.chars.size, 28);
    EXPECT_EQ(f.shadow.dx, 1);
    EXPECT_EQ(f.indents.left, 5);
    EXPECT_EQ(f.border.bytes[1], 1);
    EXPECT_EQ(f.frame.dx, 2);
    EXPECT_EQ(f.marker.size, 6);
}

TEST(TextFormat, ValuesAreTheFortyByteStyleRecord) {
    const TextFormat f = FullFormat();
    std::array<uint8_t, lect32::kFormatValueBytes> bytes{};
    f.WriteValues(bytes);
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[1], 14);
    EXPECT_EQ(bytes[18], 3) << "alignment";
    EXPECT_EQ(bytes[19], 18) << "line spacing";
    EXPECT_EQ(bytes[32], 1) << "list-marker kind";
    EXPECT_EQ(bytes[39], 6) << "list-marker colour";
    TextFormat back;
    ByteReader in(bytes.data(), bytes.size());
    back.ReadValues(in);
    EXPECT_EQ(in.position(), 40u);
    back.present = f.present;
    EXPECT_TRUE(back.Equals(f));
}

}  // namespace
