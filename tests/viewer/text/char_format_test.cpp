#include "text/char_format.h"

#include <gtest/gtest.h>

#include <array>

#include "text/format_parts.h"

namespace {

using lect32::CharFormat;

TEST(CharFormat, ResetIsTheStoredUnsetForm) {
    CharFormat f{1, 12, 3, 0};
    f.Reset();
    std::array<uint8_t, 5> bytes{};
    f.Write(bytes.data());
    EXPECT_EQ(bytes, (std::array<uint8_t, 5>{255, 0x00, 0x7F, 255, 1}));
    EXPECT_TRUE(f.IsUnset());
    EXPECT_TRUE((CharFormat{255, 0x7F05, 255, 0x03}.IsUnset())) << "any size from 0x7F00 and any flags with bit 0";
    EXPECT_FALSE((CharFormat{255, 0x7EFF, 255, 1}.IsUnset()));
}

TEST(CharFormat, MergeTakesOnlySetFields) {
    CharFormat target{1, 12, 3, CharFormat::kItalic};
    target.MergeFrom(CharFormat{255, 0x7F00, 6, 1});
    EXPECT_EQ(target.font, 1);
    EXPECT_EQ(target.size, 12);
    EXPECT_EQ(target.weightClass, 6);
    EXPECT_EQ(target.flags, CharFormat::kItalic);
    target.MergeFrom(CharFormat{0, 20, 255, CharFormat::kUnderline});
    EXPECT_EQ(target.font, 0);
    EXPECT_EQ(target.size, 20);
    EXPECT_EQ(target.flags, CharFormat::kUnderline);
}

TEST(CharFormat, MatchesUnsetFlagsAlike) {
    const CharFormat a{1, 12, 3, 0x01};
    EXPECT_TRUE(a.Matches(CharFormat{1, 12, 3, 0x07})) << "both flag bytes carry the unset bit";
    EXPECT_FALSE(a.Matches(CharFormat{1, 12, 3, 0x06}));
    EXPECT_FALSE(a.Matches(CharFormat{1, 13, 3, 0x01}));
    EXPECT_TRUE((CharFormat{1, 12, 3, 4}.Matches(CharFormat{1, 12, 3, 4})));
}

TEST(CharFormat, SetFlagClearsTheUnsetBitUnlessItAloneChanges) {
    CharFormat f;
    f.SetFlag(CharFormat::kUnderline, true);
    EXPECT_EQ(f.flags, CharFormat::kUnderline);
    f.SetFlag(CharFormat::kFlagsUnset, true);
    EXPECT_EQ(f.flags, CharFormat::kUnderline | CharFormat::kFlagsUnset);
    f.SetFlag(CharFormat::kUnderline, false);
    EXPECT_EQ(f.flags, 0);
}

TEST(CharFormat, FontSizeWeightAndItalic) {
    CharFormat f{2, 9, 3, 0};
    EXPECT_EQ(f.SetFontAndSize(-1, 40), -1);
    EXPECT_EQ(f.size, 9);
    EXPECT_EQ(f.SetFontAndSize(4, 14), 4);
    f.SetWeightAndItalic(700, 2);
    EXPECT_EQ(f.weightClass, 6);
    EXPECT_EQ(f.Weight(), 700);
    EXPECT_EQ(f.Italic(), 2);
    f.SetWeightAndItalic(400, 1);
    EXPECT_EQ(f.Italic(), 0);
}

TEST(CharFormat, ScaledSizeClampsBelowUnset) {
    CharFormat f{0, 0x7EFF, 3, 0};
    f.ScaleSize(300);
    EXPECT_EQ(f.size, 0x7EFF) << "wrapping would have made the size negative or unset";
    f.size = 12;
    f.ScaleSize(150);
    EXPECT_EQ(f.size, 18);
    f.size = CharFormat::kUnsetSize;
    f.ScaleSize(50);
    EXPECT_EQ(f.size, CharFormat::kUnsetSize) << "an unset size stays unset";
}

TEST(ValidateCharFormatPayload, TableOfCases) {
    struct Case {
        std::array<uint8_t, 5> payload;
        uint16_t faces;
        bool valid;
        int16_t sizeAfter;
        const char* why;
    };
    const Case cases[] = {
        {{255, 0x00, 0x7F, 255, 1}, 0, true, 0x7F00, "all unset, even without faces"},
        {{1, 12, 0, 3, 0}, 2, true, 12, "ordinary"},
        {{2, 12, 0, 3, 0}, 2, false, 12, "font index equal to the face count"},
        {{255, 12, 0, 3, 0}, 0, true, 12, "unset font"},
        {{0, 2, 0, 3, 0}, 1, true, 16, "size 2 mended to 16"},
        {{0, 3, 0, 3, 0}, 1, true, 3, "size 3 kept"},
        {{0, 255, 0, 8, 0}, 1, true, 255, "size 255, weight 8"},
        {{0, 0x2C, 0x01, 9, 0}, 1, false, 300, "size 300 with weight 9 refused"},
        {{0, 0x2C, 0x01, 3, 0}, 1, true, 16, "size 300 mended"},
        {{0, 12, 0, 0, 0}, 1, false, 12, "weight class 0"},
        {{0, 12, 0, 255, 0}, 1, true, 12, "weight unset"},
    };
    for (const Case& c : cases) {
        auto payload = c.payload;
        CharFormat out;
        EXPECT_EQ(lect32::ValidateCharFormatPayload(payload.data(), c.faces, out), c.valid) << c.why;
        const auto stored = static_cast<int16_t>(payload[1] | payload[2] << 8);
        EXPECT_EQ(stored, c.sizeAfter) << c.why << ": the payload itself";
        if (c.valid) {
            EXPECT_EQ(out.size, c.sizeAfter) << c.why;
        }
    }
}

TEST(Shadow, MergeOfTheFirstByte) {
    lect32::Shadow target{7, 1, 1};
    target.MergeFrom(lect32::Shadow{254, 3, -3});
    EXPECT_EQ(target.colour, 7) << "-2 keeps the colour";
    EXPECT_EQ(target.dx, 3);
    EXPECT_EQ(target.dy, -3);
    target.MergeFrom(lect32::Shadow{255, 0, 2});
    EXPECT_EQ(target.colour, 255) << "-1 clears it";
    target.MergeFrom(lect32::Shadow{9, 1, 0});
    EXPECT_EQ(target.colour, 9);
}

TEST(Shadow, ValidityComparisonAndScale) {
    EXPECT_TRUE((lect32::Shadow{255, 100, 100}.IsValid()));
    EXPECT_TRUE((lect32::Shadow{3, -10, 10}.IsValid()));
    EXPECT_FALSE((lect32::Shadow{3, 11, 0}.IsValid()));
    EXPECT_FALSE((lect32::Shadow{3, 0, -11}.IsValid()));
    EXPECT_TRUE((lect32::Shadow{255, 1, 2}.SameAs({255, 5, 5})));
    EXPECT_TRUE((lect32::Shadow{4, 0, 0}.SameAs({6, 0, 0})));
    EXPECT_FALSE((lect32::Shadow{4, 1, 0}.SameAs({6, 1, 0})));
    lect32::Shadow s{1, 100, -100};
    s.Scale(300);
    EXPECT_EQ(s.dx, 127);
    EXPECT_EQ(s.dy, -127);
}

TEST(Border, ScaledSizePast256BecomesZero) {
    lect32::Border b{{0x0F, 200, 9, 100}};
    b.Scale(200);
    EXPECT_EQ(b.bytes, (std::array<uint8_t, 4>{0x0F, 0, 9, 200})) << "400 -> 0, 200 kept, bytes 0 and 2 untouched";
    lect32::Border edge{{0, 128, 0, 129}};
    edge.Scale(200);
    EXPECT_EQ(edge.bytes[1], 0) << "256 does not fit a byte";
    EXPECT_EQ(edge.bytes[3], 0);
}

}  // namespace
