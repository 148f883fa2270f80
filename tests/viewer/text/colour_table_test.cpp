#include "text/colour_table.h"

#include <gtest/gtest.h>

#include <vector>

#include "store/mem_reader.h"
#include "text_reference.h"
#include "winplat/testing.h"

namespace {

using lect32::ColourTable;
using lect32::Rgb;

ColourTable FullTable() {
    ColourTable table;
    for (int i = 0; i < ColourTable::kAddLimit; ++i) table.Append(Rgb{0, static_cast<uint8_t>(i), 0});
    return table;
}

TEST(ColourTable, PackedColourInverseAndBrightness) {
    ColourTable table;
    table.Append(Rgb{0x12, 0x34, 0x56});
    EXPECT_EQ(table.GetColour(0), 0x563412u);
    EXPECT_EQ(table.Inverse(0), 0xFFFFFFu - 0x563412u);
    EXPECT_EQ(table.Brightness(0), 3 * 0x12 + 6 * 0x34 + 0x56);
}

TEST(ColourTable, FindOrAddInAFullTableTakesTheNearest) {
    ColourTable table = FullTable();
    EXPECT_EQ(table.FindOrAdd(Rgb{0, 7, 0}), 7) << "an equal entry";
    EXPECT_EQ(table.FindOrAdd(RGB(255, 0, 0)), 0) << "nearest: (0,0,0) is 255 away like all, the lowest index wins";
    EXPECT_EQ(table.FindOrAdd(Rgb{2, 100, 0}), 98) << "(0,98..102,0) all lie 2 away";
    EXPECT_EQ(table.GetCount(), 250) << "no growth";
    EXPECT_EQ(table.Append(Rgb{1, 1, 1}), 0);
    EXPECT_EQ(table.GetCount(), 250);
    EXPECT_EQ(table.FindOrAddUnlimited(Rgb{1, 1, 1}), 250) << "without the limit it still grows";
}

TEST(ColourTable, NearestTiesGoToTheLowestIndex) {
    ColourTable table;
    table.Append(Rgb{10, 10, 10});
    table.Append(Rgb{20, 0, 0});
    EXPECT_EQ(table.Nearest(Rgb{15, 5, 5}), 0);
    EXPECT_EQ(table.Nearest(Rgb{19, 1, 0}), 1);
    EXPECT_EQ(ColourTable{}.Nearest(Rgb{1, 2, 3}), 0) << "an empty table";
}

TEST(ColourTable, AppendRunStopsAt250) {
    ColourTable table;
    const std::vector<Rgb> run(300, Rgb{1, 2, 3});
    EXPECT_EQ(table.AppendRun(run), 250);
    EXPECT_EQ(table.AppendRun(run), 0);
    table.SetAll(std::vector<Rgb>(300));
    EXPECT_EQ(table.GetCount(), 256);
}

TEST(ColourTable, ReadBoundsTheCountByTheTableAndTheRecord) {
    struct Case {
        std::vector<uint8_t> body;
        int result;
        uint16_t count;
        const char* why;
    } cases[] = {
        {{2, 0, 1, 2, 3, 4, 5, 6}, 1, 2, "two colours"},
        {{2, 0, 1, 2, 3, 4, 5}, 0, 7, "the second colour cut short"},
        {{1, 1}, 0, 7, "257 colours"},
        {{0, 0}, 1, 0, "none"},
        {{5}, 0, 7, "the count cut short"},
    };
    for (const auto& c : cases) {
        ColourTable table;
        for (int i = 0; i < 7; ++i) table.Append(Rgb{9, 9, 9});
        lect32::MemReader reader;
        ASSERT_TRUE(reader.LoadFromMemory(c.body.data(), static_cast<uint32_t>(c.body.size())));
        EXPECT_EQ(table.Read(reader), c.result) << c.why;
        EXPECT_EQ(table.GetCount(), c.count) << c.why;
    }
    ColourTable table;
    const uint8_t body[] = {1, 0, 0xAA, 0xBB, 0xCC};
    lect32::MemReader reader;
    ASSERT_TRUE(reader.LoadFromMemory(body, sizeof body));
    ASSERT_TRUE(table.Read(reader));
    EXPECT_EQ(table.GetColour(0), 0xCCBBAAu);
}

TEST(ColourTable, TheWritersDocumentReadsAndItsDamagedCopiesFail) {
    constexpr int kType = 6;
    lect32::MemReader reader;
    ASSERT_TRUE(text_reference::readTyped("styled.lcn", kType, reader));
    ColourTable table;
    ASSERT_TRUE(table.Read(reader));
    EXPECT_EQ(table.GetCount(), 34);

    vazazi_test::ScratchFolder written;
    lect32::VazaziFile copy;
    ASSERT_EQ(copy.Create(written.windows("copy.lcn").c_str(), 1), 0);
    ASSERT_TRUE(table.Save(copy));
    ColourTable back;
    ASSERT_TRUE(back.Load(copy));
    ASSERT_EQ(back.GetCount(), 34);
    for (int i = 0; i < 34; ++i) EXPECT_EQ(back.GetEntry(uint8_t(i)), table.GetEntry(uint8_t(i))) << i;
    EXPECT_EQ(table.GetColour(1), 0x800000u);
    EXPECT_EQ(table.GetEntry(2), (Rgb{255, 0, 0}));
    EXPECT_EQ(table.GetEntry(33), (Rgb{200, 200, 200}));

    if (!text_reference::pythonRuns()) GTEST_SKIP() << "python3 is missing: the document writer cannot run";
    vazazi_test::ScratchFolder scratch;
    const auto files = text_reference::damagedTypedRecords(scratch, "styled", kType);
    ASSERT_FALSE(files.empty());
    for (const auto& path : files) {
        winplat::testing::DebugCapture quiet;
        lect32::MemReader damaged;
        ASSERT_TRUE(text_reference::readDamaged(path, kType, damaged)) << path;
        EXPECT_FALSE(table.Read(damaged)) << path;
        EXPECT_EQ(table.GetCount(), 34) << path;
    }
}

}  // namespace
