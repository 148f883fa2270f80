#include "text/style_sheet.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "text_reference.h"
#include "winplat/cp1250.h"
#include "winplat/testing.h"

namespace {

using lect32::StyleRecord;
using lect32::StyleSheet;

int16_t Short(const StyleRecord& r, size_t at) { return static_cast<int16_t>(r[at] | r[at + 1] << 8); }

// The built-in colours as the format's description lists them: 16 system colours, then 64, then 112.
const char* const kBuiltInColours =
    "000000 000080 008000 008080 800000 800080 808000 808080 c0c0c0 0000ff 00ff00 00ffff ff0000 ff00ff ffff00 ffffff "
    "804040 400000 c00040 c00000 c04040 bf407f ff8080 df9f7f ff8000 c04000 804000 808040 404000 c0c000 ffff80 c0c040 "
    "bfbf7f bfbf9f 7fbf7f 7fbf40 bfff7f 80ff80 7fbf00 80ff00 00c000 40c000 00c040 40c040 408000 408040 004000 004080 "
    "408080 004040 008040 40bf7f 00bf7f 00c0c0 00ff80 40c0c0 7fffbf 80ffff 7fbf9f 7fbfbf 9fbfbf 0080ff 8080ff 0000c0 "
    "4040c0 0040c0 000040 404080 400080 4000c0 8000ff cfafcf ff80ff ff0080 c000c0 c040c0 800040 804080 400040 404040 "
    "f1f1f1 e3e3e3 d5d5d5 c7c7c7 b9b9b9 aaaaaa 9c9c9c 8e8e8e 808080 727272 646464 555555 474747 393939 2b2b2b 1d1d1d "
    "914855 480000 b60000 da0055 ff0055 ff4855 ff4800 ff6d55 ff6d55 ff6daa ff6daa da6daa b64855 da6d55 ffb6aa ffb655 "
    "ffb655 ff9100 da4800 b66d00 914800 919155 484800 91b600 ffb600 ffb600 b6b600 ffff55 ffff55 dada55 ffffaa b6ffaa "
    "6dda55 b6ff55 6dff55 91ff00 b6ff00 48da00 48ff00 00ff55 00da55 48ff55 00b655 00b655 00b600 489100 48b655 489155 "
    "004800 002400 002400 004855 006d55 006d55 006daa 006daa 48b6aa 009155 0091aa 0091ff 00b6ff 00daaa 00ffaa 48ffaa "
    "48ffff 6dffff 6dffaa 6ddaaa 6ddaff 48b6ff 4891aa b6ffff 9191aa b6b6ff 6d6dff 006dff 006dff 486dff 6d48ff 4848ff "
    "0048ff 0024ff 0024ff 0000aa 0024aa 0024aa 0048aa 4848aa 000055 002455 002455 484855 4800aa 9100ff b600ff 4800ff";

struct Row {
    const char* nameUtf8;
    uint16_t key;
    int font, size, weight, flags, text, background, shadow, dx, dy;
    int indents[4];
    int align, line, before, after;
    int border[4];
    int frame[3];
};

const Row kRows[] = {
    {"Základní text", 0x71, 1, 11, 3, 0, 0, 255, 255, 0, 0, {0, 0, 30, 0}, 0, 12, 0, 2, {0, 0, 0, 0}, {255, 0, 0}},
    {"Řádek", 0x72, 1, 11, 3, 0, 0, 255, 255, 0, 0, {0, 0, 0, 0}, 0, 12, 0, 2, {0, 0, 0, 0}, {255, 0, 0}},
    {"Zvýrazněný text", 0x73, 1, 11, 3, 2, 0, 255, 255, 0, 0, {0, 0, 0, 0}, 0, 12, 0, 2, {0, 0, 0, 0}, {255, 0, 0}},
    {"Podnadpis", 0x74, 1, 12, 6, 2, 0, 255, 255, 0, 0, {0, 0, 0, 0}, 0, -100, 8, 6, {0, 0, 0, 0}, {255, 0, 0}},
    {"Nadpis", 0x75, 0, 15, 6, 0, 3, 255, 8, 2, 2, {0, 0, 0, 0}, 3, -100, 2, 8, {0, 0, 0, 0}, {255, 0, 0}},
    {"Hlavní nadpis", 0x76, 0, 18, 6, 0, 0, 59, 3, 2, 2, {0, 0, 0, 0}, 3, -100, 2, 10, {12, 0, 0, 4}, {255, 0, 0}},
    {"Rámeček", 0x77, 0, 15, 6, 0, 0, 33, 255, 0, 0, {0, 0, 0, 0}, 3, -100, 5, 5, {143, 1, 0, 5}, {0, 5, 5}},
    {"Černé pozadí", 0x78, 0, 11, 3, 0, 15, 0, 255, 0, 0, {0, 0, 3, 3}, 0, 12, 2, 2, {15, 0, 0, 3}, {255, 0, 0}},
    {"Titulek okna", 0, 0, 18, 6, 0, 15, 4, 7, 1, 1, {10, 10, 0, 0}, 0, -100, 5, 5, {8, 1, 0, 0}, {255, 0, 0}},
};

TEST(BuiltInStyleSheet, EqualsTheTablesOfTheFormat) {
    lect32::ColourTable colours;
    lect32::DocumentFonts fonts;
    StyleSheet sheet;
    lect32::BuildDefaultStyleSheet(colours, fonts, sheet);

    std::istringstream list(kBuiltInColours);
    std::string hex;
    int i = 0;
    while (list >> hex) {
        const uint32_t v = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
        EXPECT_EQ(colours.GetEntry(static_cast<uint8_t>(i)), (lect32::Rgb{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}))
            << "colour " << i << " " << hex;
        ++i;
    }
    EXPECT_EQ(i, 192);
    EXPECT_EQ(colours.GetCount(), 192);

    EXPECT_EQ(fonts.main.GetCount(), 2);
    EXPECT_EQ(fonts.main.GetFace(1), (lect32::FontFace{"Times New Roman CE", 238}));
    EXPECT_EQ(fonts.markers.GetCount(), 3);
    EXPECT_EQ(fonts.markers.GetFace(0), (lect32::FontFace{"Wingdings", 2}));

    EXPECT_EQ(sheet.CountStyles(), 9);
    EXPECT_EQ(sheet.FindFreeSlot(), 9);
    for (uint16_t n = 0; n < 9; ++n) {
        const Row& row = kRows[n];
        const StyleRecord& r = sheet.GetRecord(n);
        SCOPED_TRACE(row.nameUtf8);
        EXPECT_EQ(winplat::cp1250::toUtf8(sheet.GetStyleName(n)), row.nameUtf8);
        EXPECT_EQ(sheet.GetKeyCode(n), row.key);
        const std::vector<int> got{r[0], Short(r, 1), r[3], r[4], r[5], r[6], r[7], int8_t(r[8]), int8_t(r[9]),
                                   Short(r, 10), Short(r, 12), Short(r, 14), Short(r, 16), r[18], Short(r, 19),
                                   Short(r, 21), Short(r, 23), r[25], r[26], r[27], r[28], r[29], r[30], r[31], r[32]};
        const std::vector<int> want{row.font, row.size, row.weight, row.flags, row.text, row.background, row.shadow,
                                    row.dx, row.dy, row.indents[0], row.indents[1], row.indents[2], row.indents[3],
                                    row.align, row.line, row.before, row.after, row.border[0], row.border[1],
                                    row.border[2], row.border[3], row.frame[0], row.frame[1], row.frame[2], 0};
        EXPECT_EQ(got, want);
    }
    lect32::TextFormat base;
    EXPECT_EQ(sheet.GetStyleFormat(100, base), StyleSheet::kNoStyle);
    EXPECT_EQ(base.chars.size, 11) << "the base default takes the first style";
    EXPECT_EQ(base.indents.firstLine, 30);
}

TEST(StyleRecordFromDefinition, ShadowBorderAndFrameRules) {
    lect32::StyleDefinition d{};
    d[6] = 9;    // shadow colour without offsets
    d[17] = 0x30;  // border byte whose low four bits are clear
    d[21] = 4;   // frame colour without offsets
    StyleRecord r = lect32::RecordFromDefinition(d);
    EXPECT_EQ(r[7], 255);
    EXPECT_EQ(r[25], 0);
    EXPECT_EQ(r[29], 255);
    d[8] = -1;
    d[17] = 0x31;
    d[23] = 1;
    r = lect32::RecordFromDefinition(d);
    EXPECT_EQ(r[7], 9);
    EXPECT_EQ(r[9], 0xFF);
    EXPECT_EQ(r[25], 0x31) << "high bits kept";
    EXPECT_EQ(r[29], 4);
}

TEST(StyleSheet, FormatsByNumber) {
    StyleSheet sheet;
    sheet.Reset();
    lect32::StyleDefinition d{};
    d[1] = 13;
    d[3] = 0x05;  // underline and the flags-unset bit
    sheet.DefineStyle("A", d, 3, 0x71);
    sheet.GlobalDefault()[1] = 77;
    lect32::TextFormat f;
    f.present.fill(true);
    EXPECT_EQ(sheet.GetStyleFormat(3, f), 3);
    EXPECT_EQ(f.chars.size, 13);
    EXPECT_EQ(f.chars.flags, 0x04) << "a style's flags always count as set";
    for (bool p : f.present) EXPECT_FALSE(p);
    EXPECT_EQ(sheet.GetStyleFormat(250, f), 250);
    EXPECT_EQ(f.chars.size, 77);
    EXPECT_EQ(sheet.GetStyleFormat(2, f), StyleSheet::kNoStyle);
    EXPECT_EQ(f.chars.size, 16) << "the built-in base default";
    EXPECT_EQ(f.lineSpacing, 16);
    EXPECT_EQ(sheet.GetStyleFormat(128, f), StyleSheet::kNoStyle);
    EXPECT_EQ(sheet.FindByKey(0x71), 3);
    EXPECT_EQ(sheet.FindByKey(0x72), StyleSheet::kNoKey);
}

TEST(StyleSheet, NamesAndVariants) {
    StyleSheet sheet;
    sheet.Reset();
    const std::string name29(29, 'x');
    sheet.DefineStyle(name29, {}, 0, 0);
    sheet.DefineStyle(name29 + "yz", {}, 1, 0);
    sheet.DefineStyle("Nadpis~2", {}, 2, 0);
    EXPECT_EQ(sheet.GetStyleName(0), name29);
    EXPECT_EQ(sheet.GetStyleName(1), name29) << "the 30th character is cut";
    EXPECT_EQ(sheet.GetStyleName(128), "");
    EXPECT_EQ(sheet.FindByName("Nadpis"), 2);
    EXPECT_EQ(sheet.FindByName("Nadpis~7"), 2);
    EXPECT_EQ(sheet.FindByName("Jiný"), StyleSheet::kNoStyle);
}

// A style record body, written here field by field: count, presence bytes, key + 40 bytes per
// present style, names, and an empty tab-stop table.
std::vector<uint8_t> Body(uint16_t count, const std::vector<uint16_t>& present, const StyleRecord& record,
                          std::vector<std::string> names) {
    std::vector<uint8_t> b{uint8_t(count), uint8_t(count >> 8)};
    for (uint16_t i = 0; i < count; ++i) b.push_back(std::find(present.begin(), present.end(), i) != present.end());
    for (uint16_t i = 0; i < count; ++i) {
        if (std::find(present.begin(), present.end(), i) == present.end()) continue;
        b.push_back(uint8_t(0x70 + i));
        b.push_back(0);
        b.insert(b.end(), record.begin(), record.end());
    }
    b.push_back(uint8_t(names.size()));
    b.push_back(0);
    for (const auto& n : names) {
        std::vector<uint8_t> slot(30, 0);
        std::copy(n.begin(), n.begin() + std::min<size_t>(n.size(), 30), slot.begin());
        b.insert(b.end(), slot.begin(), slot.end());
    }
    b.insert(b.end(), {0, 0, 0, 0});
    return b;
}

TEST(StyleSheet, ReadMasksFlagsPassesOverStylesPast128AndForcesNamesToEnd) {
    StyleRecord record{};
    record[1] = 16;
    record[4] = 0xC4;
    const auto body = Body(130, {0, 129}, record, {std::string(30, 'n')});
    lect32::MemReader reader;
    ASSERT_TRUE(reader.LoadFromMemory(body.data(), static_cast<uint32_t>(body.size())));
    StyleSheet sheet;
    ASSERT_TRUE(sheet.Read(reader));
    EXPECT_EQ(reader.remaining(), 0u) << "style 129 was read past, not left in the stream";
    EXPECT_EQ(sheet.CountStyles(), 1);
    EXPECT_EQ(sheet.GetRecord(0)[4], 0x04) << "bits 6 and 7 dropped";
    EXPECT_EQ(sheet.GetStyleName(0), std::string(29, 'n'));
}

TEST(StyleSheet, DamagedBodiesFailAndKeepTheSheet) {
    const StyleRecord record{};
    auto full = Body(2, {0}, record, {"a", "b"});
    std::vector<std::pair<std::vector<uint8_t>, const char*>> damaged;
    damaged.emplace_back(std::vector<uint8_t>(full.begin(), full.begin() + 3), "presence cut");
    damaged.emplace_back(std::vector<uint8_t>(full.begin(), full.begin() + 30), "style cut");
    auto names = full;
    names[46] = 0xFF;  // name count past the record
    damaged.emplace_back(names, "names count");
    damaged.emplace_back(std::vector<uint8_t>(full.begin(), full.end() - 2), "tab stops cut");
    for (const auto& [body, why] : damaged) {
        winplat::testing::DebugCapture quiet;
        StyleSheet sheet;
        sheet.Reset();
        sheet.DefineStyle("Kept", {}, 5, 0);
        lect32::MemReader reader;
        ASSERT_TRUE(reader.LoadFromMemory(body.data(), static_cast<uint32_t>(body.size())));
        EXPECT_FALSE(sheet.Read(reader)) << why;
        EXPECT_EQ(sheet.GetStyleName(5), "Kept") << why;
        EXPECT_TRUE(sheet.IsPresent(5)) << why;
    }
}

TEST(StyleSheet, OlderVersionsConvertSizesAndExactLineSpacing) {
    // The writer's old-formats document stores a version-1 sheet: size 16, line spacing 16.
    lect32::VazaziFile file;
    ASSERT_TRUE(text_reference::openReference(file, "old-formats.lcn"));
    StyleSheet sheet;
    ASSERT_TRUE(sheet.Load(file));
    lect32::TextFormat f;
    ASSERT_EQ(sheet.GetStyleFormat(0, f), 0);
    EXPECT_EQ(f.chars.size, 11) << "MulDiv(16, 11, 16) rounds";
    EXPECT_EQ(f.lineSpacing, 11);
    EXPECT_EQ(winplat::cp1250::toUtf8(sheet.GetStyleName(0)), "Starý");

    const struct {
        int16_t line, expected;
    } lines[] = {{-100, -100}, {0, 0}, {24, 17}};
    StyleRecord current{};
    current[1] = 16;
    const auto kept = Body(1, {0}, current, {});
    lect32::MemReader modern;
    ASSERT_TRUE(modern.LoadFromMemory(kept.data(), static_cast<uint32_t>(kept.size())));
    ASSERT_TRUE(sheet.Read(modern, 2));
    sheet.GetStyleFormat(0, f);
    EXPECT_EQ(f.chars.size, 16) << "version 2 is not converted";
    for (const auto& c : lines) {
        StyleRecord record{};
        record[1] = 16;
        lect32::PutInt16(&record[19], c.line);
        const auto body = Body(1, {0}, record, {});
        lect32::MemReader reader;
        ASSERT_TRUE(reader.LoadFromMemory(body.data(), static_cast<uint32_t>(body.size())));
        ASSERT_TRUE(sheet.Read(reader, 0));
        sheet.GetStyleFormat(0, f);
        EXPECT_EQ(f.lineSpacing, c.expected) << c.line;
        EXPECT_EQ(f.chars.size, 11) << "version 0 converts as version 1 does";
    }
}

TEST(StyleSheet, TheWritersStyledDocumentAndAWriteReadRoundTrip) {
    lect32::VazaziFile file;
    ASSERT_TRUE(text_reference::openReference(file, "styled.lcn"));
    StyleSheet sheet;
    ASSERT_TRUE(sheet.Load(file));
    EXPECT_GT(sheet.CountStyles(), 0);
    uint8_t stops[255 * 4];
    EXPECT_EQ(sheet.GetTabStops().GetStops(0, stops), 2) << "style 0 carries two tab stops";

    vazazi_test::ScratchFolder scratch;
    lect32::VazaziFile copy;
    ASSERT_EQ(copy.Create(scratch.windows("copy.lcn").c_str(), 1), 0);
    ASSERT_TRUE(sheet.Save(copy));
    StyleSheet back;
    ASSERT_TRUE(back.Load(copy));
    EXPECT_EQ(back.CountStyles(), sheet.CountStyles());
    for (uint16_t n = 0; n < StyleSheet::kSlots; ++n) {
        EXPECT_EQ(back.IsPresent(n), sheet.IsPresent(n)) << n;
        if (!sheet.IsPresent(n)) continue;
        EXPECT_EQ(back.GetRecord(n), sheet.GetRecord(n)) << n;
        EXPECT_EQ(back.GetStyleName(n), sheet.GetStyleName(n)) << n;
        EXPECT_EQ(back.GetKeyCode(n), sheet.GetKeyCode(n)) << n;
    }
    EXPECT_EQ(back.GetTabStops().GetStops(0, stops), 2);
}

TEST(StyleSheet, DamagedStyleRecordsOfTheWriterFail) {
    if (!text_reference::pythonRuns()) GTEST_SKIP() << "python3 is missing: the document writer cannot run";
    vazazi_test::ScratchFolder scratch;
    const auto files = text_reference::damagedTypedRecords(scratch, "styled", StyleSheet::kRecordType);
    ASSERT_FALSE(files.empty());
    for (const auto& path : files) {
        winplat::testing::DebugCapture quiet;
        lect32::MemReader reader;
        ASSERT_TRUE(text_reference::readDamaged(path, StyleSheet::kRecordType, reader)) << path;
        StyleSheet sheet;
        sheet.Reset();
        sheet.DefineStyle("Kept", {}, 5, 0);
        EXPECT_FALSE(sheet.Read(reader)) << path;
        EXPECT_EQ(sheet.GetStyleName(5), "Kept") << path;
    }
}

}  // namespace
