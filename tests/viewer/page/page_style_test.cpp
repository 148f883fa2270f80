#include "page/page_style.h"

#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace {

using lect32::PageStyle;
using lect32::ShortRect;
using lect32::TextRange;

// Fields of the packed style are read through + into a value: gtest would bind a reference to them.

TEST(PageStyleTest, FreshStyleHasTheDefaults) {
    const PageStyle style;
    EXPECT_EQ(+style.flags, 0);
    EXPECT_EQ(+style.width, 400);
    EXPECT_TRUE(lect32::Equals(style.margins, ShortRect{10, 10, 10, 10}));
    EXPECT_EQ(+style.backgroundColour, 15);
    EXPECT_EQ(+style.backgroundPicture, -1);
    EXPECT_EQ(+style.backgroundPictureMode, 1);
    EXPECT_EQ(+style.trailingId, -1);
    EXPECT_EQ(+style.group10[1], 1);
    EXPECT_EQ(+style.group10[3], 2);
    EXPECT_EQ(+style.group40Word, -1);
    EXPECT_EQ(+style.group400Words[1], 200);
    EXPECT_EQ(+style.group800Bytes[1], 1);
    EXPECT_EQ(+style.group2000Word2, 10);
    for (const auto& link : style.links) {
        EXPECT_EQ(+link.id, -1);
        EXPECT_EQ(+link.value, 0);
    }
}

TEST(PageStyleTest, SetDefaultsKeepsOnlyTheLayoutWord) {
    PageStyle style;
    style.layoutWord = 77;
    style.width = 5;
    style.flags = 0x2000;
    style.links[2] = {4, 4};
    style.group2000Word2 = 3;
    style.SetDefaults();
    EXPECT_EQ(+style.layoutWord, 77);
    EXPECT_EQ(+style.width, 400);
    EXPECT_EQ(+style.flags, 0);
    EXPECT_EQ(+style.links[2].id, -1);
    EXPECT_EQ(+style.group2000Word2, 10);
}

struct EqualsCase {
    std::string name;
    std::function<void(PageStyle&)> left;
    std::function<void(PageStyle&)> right;
    bool equal;
};

const EqualsCase kEqualsCases[] = {
    {"same defaults", [](PageStyle&) {}, [](PageStyle&) {}, true},
    {"flags", [](PageStyle&) {}, [](PageStyle& s) { s.flags = 2; }, false},
    {"width while the mode is 0", [](PageStyle&) {}, [](PageStyle& s) { s.width = 1; }, true},
    {"width while the mode is 2", [](PageStyle& s) { s.widthMode = 2; },
     [](PageStyle& s) { s.widthMode = 2, s.width = 1; }, true},
    {"width while the mode is 1", [](PageStyle& s) { s.widthMode = 1; },
     [](PageStyle& s) { s.widthMode = 1, s.width = 1; }, false},
    {"width mode", [](PageStyle&) {}, [](PageStyle& s) { s.widthMode = 1; }, false},
    {"background colour", [](PageStyle&) {}, [](PageStyle& s) { s.backgroundColour = 3; }, false},
    {"old-form presence", [](PageStyle&) {}, [](PageStyle& s) { s.oldFormPresence = 1; }, false},
    {"each margin", [](PageStyle&) {}, [](PageStyle& s) { s.margins.bottom = 11; }, false},
    {"first margin", [](PageStyle&) {}, [](PageStyle& s) { s.margins.left = 11; }, false},
    {"group 0x10 last byte", [](PageStyle&) {}, [](PageStyle& s) { s.group10[4] = 9; }, false},
    {"group 0x20 second byte", [](PageStyle&) {}, [](PageStyle& s) { s.group20[1] = 9; }, false},
    {"group 0x40 word", [](PageStyle&) {}, [](PageStyle& s) { s.group40Word = 9; }, false},
    {"group 0x40 byte", [](PageStyle&) {}, [](PageStyle& s) { s.group40Byte = 9; }, false},
    {"background picture", [](PageStyle&) {}, [](PageStyle& s) { s.backgroundPicture = 9; }, false},
    {"picture mode", [](PageStyle&) {}, [](PageStyle& s) { s.backgroundPictureMode = 9; }, false},
    {"trailing id", [](PageStyle&) {}, [](PageStyle& s) { s.trailingId = 9; }, false},
    {"layout word not compared", [](PageStyle&) {}, [](PageStyle& s) { s.layoutWord = 9; }, true},
    {"group 0x80 not compared", [](PageStyle&) {}, [](PageStyle& s) { s.group80Byte = 9; }, true},
    {"group 0x100 not compared", [](PageStyle&) {}, [](PageStyle& s) { s.group100Byte = 9; }, true},
    {"group 0x800 byte 2 not compared", [](PageStyle&) {}, [](PageStyle& s) { s.group800Bytes[1] = 9; }, true},
    {"group 0x800 word not compared", [](PageStyle&) {}, [](PageStyle& s) { s.group800Word = 9; }, true},
    {"group 0x800 byte 1", [](PageStyle&) {}, [](PageStyle& s) { s.group800Bytes[0] = 9; }, false},
    {"unused pairs differ in their byte", [](PageStyle&) {}, [](PageStyle& s) { s.links[1].value = 5; }, true},
    {"pair id on one side", [](PageStyle&) {}, [](PageStyle& s) { s.links[2].id = 0; }, false},
    {"used pairs differ in their byte", [](PageStyle& s) { s.links[0] = {4, 1}; },
     [](PageStyle& s) { s.links[0] = {4, 2}; }, false},
    {"used pairs alike", [](PageStyle& s) { s.links[0] = {4, 1}; }, [](PageStyle& s) { s.links[0] = {4, 1}; },
     true},
    {"group 0x2000 absent on both sides",
     [](PageStyle&) {}, [](PageStyle& s) { s.group2000Word1 = 5, s.group2000Byte = 5, s.group2000Word2 = 5; },
     true},
    {"group 0x2000 presence", [](PageStyle&) {}, [](PageStyle& s) { s.group2000Present = 1; }, false},
    {"group 0x2000 present, word 2 differs", [](PageStyle& s) { s.group2000Present = 1; },
     [](PageStyle& s) { s.group2000Present = 1, s.group2000Word2 = 5; }, false},
    {"group 0x2000 present, byte differs", [](PageStyle& s) { s.group2000Present = 1; },
     [](PageStyle& s) { s.group2000Present = 1, s.group2000Byte = 5; }, false},
    {"group 0x2000 present, word 1 differs", [](PageStyle& s) { s.group2000Present = 1; },
     [](PageStyle& s) { s.group2000Present = 1, s.group2000Word1 = 5; }, false},
    {"groups 0x200/0x400 unused, words differ", [](PageStyle&) {},
     [](PageStyle& s) { s.group200Words[1] = 5, s.group400Words[0] = 5; }, true},
    {"group 0x200 byte on one side", [](PageStyle&) {}, [](PageStyle& s) { s.group200Byte = 1; }, false},
    {"group 0x400 byte on one side", [](PageStyle&) {}, [](PageStyle& s) { s.group400Byte = 1; }, false},
    {"group 0x200 used, its second word differs", [](PageStyle& s) { s.group200Byte = 1; },
     [](PageStyle& s) { s.group200Byte = 1, s.group200Words[1] = 5; }, false},
    {"group 0x400 used, a 0x400 word differs", [](PageStyle& s) { s.group400Byte = 1; },
     [](PageStyle& s) { s.group400Byte = 1, s.group400Words[1] = 5; }, false},
    {"group 0x400 used, a 0x200 word differs", [](PageStyle& s) { s.group400Byte = 1; },
     [](PageStyle& s) { s.group400Byte = 1, s.group200Words[0] = 5; }, false},
    {"groups used and alike", [](PageStyle& s) { s.group200Byte = 2, s.group200Words[0] = 5; },
     [](PageStyle& s) { s.group200Byte = 2, s.group200Words[0] = 5; }, true},
};

TEST(PageStyleTest, EqualsFollowsEveryClause) {
    for (const EqualsCase& c : kEqualsCases) {
        SCOPED_TRACE(c.name);
        PageStyle left, right;
        c.left(left);
        c.right(right);
        EXPECT_EQ(left.Equals(right), c.equal);
        EXPECT_EQ(right.Equals(left), c.equal);
    }
}

TEST(PageStyleTest, ScalesMarginsHeldToSixteenBits) {
    struct Case {
        int16_t margin, percent, scaled;
    };
    const Case cases[] = {
        {10, 150, 15}, {10, 33, 3}, {-10, 33, -3},  // truncated toward zero
        {30000, 150, 32767}, {-30000, 150, -32768},  // held at the ends of 16 bits, not wrapped
        {21845, 150, 32767},                         // 32767.5 truncated: exactly the top
        {300, 200, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.margin);
        PageStyle style;
        style.margins = {c.margin, 1, 2, c.margin};
        style.ScaleMargins(c.percent);
        EXPECT_EQ(+style.margins.left, c.scaled);
        EXPECT_EQ(+style.margins.bottom, c.scaled);
        EXPECT_EQ(+style.margins.right, lect32::ScaleByPercent(ShortRect{0, 0, 2, 0}, c.percent).right);
    }
}

TEST(PageStyleTest, MergeTakesEachClearGroupFromTheDefaults) {
    PageStyle defaults;
    defaults.width = 111;
    defaults.backgroundColour = 2;
    defaults.backgroundPicture = 3;
    defaults.group10[2] = 4;
    defaults.group20[0] = 5;
    defaults.group40Byte = 6;
    defaults.group80Byte = 7;
    defaults.group100Byte = 8;
    defaults.group200Words[1] = 9;
    defaults.group400Byte = 10;
    defaults.group800Word = 11;
    defaults.links[0] = {12, 12};
    defaults.group2000Word1 = 13;

    PageStyle page;
    page.links[0] = {20, 20};
    page.group2000Present = 1;
    page.group2000Word1 = 21;
    page.width = 22;
    page.group100Byte = 23;

    const PageStyle fromDefaults = lect32::MergeWithDefaults(page, defaults);
    EXPECT_EQ(+fromDefaults.width, 111);
    EXPECT_EQ(+fromDefaults.backgroundColour, 2);
    EXPECT_EQ(+fromDefaults.backgroundPicture, 3);
    EXPECT_EQ(+fromDefaults.group10[2], 4);
    EXPECT_EQ(+fromDefaults.group20[0], 5);
    EXPECT_EQ(+fromDefaults.group40Byte, 6);
    EXPECT_EQ(+fromDefaults.group80Byte, 7);
    EXPECT_EQ(+fromDefaults.group100Byte, 8);
    EXPECT_EQ(+fromDefaults.group200Words[1], 9);
    EXPECT_EQ(+fromDefaults.group400Byte, 10);
    EXPECT_EQ(+fromDefaults.group800Word, 11);
    EXPECT_EQ(+fromDefaults.links[0].id, 20);  // always the page's
    EXPECT_EQ(+fromDefaults.group2000Word1, 21);
    EXPECT_EQ(+fromDefaults.group2000Present, 1);

    page.flags = 0x0FFE;
    const PageStyle fromPage = lect32::MergeWithDefaults(page, defaults);
    EXPECT_EQ(+fromPage.width, 22);
    EXPECT_EQ(+fromPage.group100Byte, 23);
    EXPECT_EQ(+fromPage.group800Word, 0);
    EXPECT_EQ(+fromPage.backgroundColour, 15);

    page.flags = PageStyle::kGroup100;  // one bit takes one group only
    const PageStyle oneGroup = lect32::MergeWithDefaults(page, defaults);
    EXPECT_EQ(+oneGroup.group100Byte, 23);
    EXPECT_EQ(+oneGroup.group80Byte, 7);
    EXPECT_EQ(+oneGroup.width, 111);
}

TEST(TextRangeTest, EmptinessComparesUnsigned) {
    struct Case {
        uint16_t sp, so, ep, eo;
        bool nonEmpty;
    };
    const Case cases[] = {
        {2, 5, 2, 5, false}, {2, 5, 3, 0, true}, {2, 5, 2, 6, true}, {3, 0, 2, 9, false},
        {2, 0x7FFF, 2, 0x8000, true},  // signed, the end would come first
        {0x7FFF, 0, 0x8000, 0, true},
    };
    for (const Case& c : cases) {
        TextRange range;
        range.Set(c.sp, c.so, c.ep, c.eo);
        EXPECT_EQ(range.IsNonEmpty(), c.nonEmpty) << c.sp << "," << c.so << " - " << c.ep << "," << c.eo;
        range.active = 0;
        EXPECT_FALSE(range.IsNonEmpty());
    }
}

TEST(TextRangeTest, SetFillsBothFlagsAndTheBounds) {
    TextRange range;
    EXPECT_EQ(range.active, 0);
    range.Set(1, 2, 3, 4);
    EXPECT_EQ(range.active, 1);
    EXPECT_EQ(range.second, 1);
    const TextRange::Bounds bounds = range.GetBounds();
    EXPECT_EQ(bounds.startParagraph, 1);
    EXPECT_EQ(bounds.startOffset, 2);
    EXPECT_EQ(bounds.endParagraph, 3);
    EXPECT_EQ(bounds.endOffset, 4);
}

}  // namespace
