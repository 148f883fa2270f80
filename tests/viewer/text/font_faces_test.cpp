#include "text/font_faces.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "store/mem_reader.h"
#include "text_reference.h"
#include "winplat/testing.h"

namespace {

using lect32::FontFace;
using lect32::FontFaceList;

// The system as a table: the charset reported per face (ANSI when unknown), the faces that exist
// in the system charset.
class FakeProbe final : public lect32::FaceProbe {
public:
    std::map<std::string, uint8_t, std::less<>> reported;
    std::vector<std::string> inSystemCharset;
    std::vector<std::string> probed;

    uint8_t ProbeCharset(std::string_view face) override {
        probed.emplace_back(face);
        const auto at = reported.find(face);
        return at == reported.end() ? lect32::kCharsetAnsi : at->second;
    }
    bool ExistsInCharset(std::string_view face, uint8_t charset) override {
        return charset == SystemCharset() &&
               std::find(inSystemCharset.begin(), inSystemCharset.end(), face) != inSystemCharset.end();
    }
    uint8_t SystemCharset() override { return lect32::kCharsetEastEurope; }
};

TEST(FontFaces, SubstitutionTable) {
    struct Case {
        const char* name;
        uint8_t charset;
        FontFace stored;
    } cases[] = {
        {"Arial", 238, {"Arial CE", 238}},
        {"Arial CE", 0, {"Arial", 0}},
        {"Arial CE", 204, {"Arial", 204}},
        {"Times New Roman", 204, {"Times New Roman Cyr", 204}},
        {"Courier New Cyr", 238, {"Courier New", 238}},
        {"Verdana", 238, {"Verdana", 238}},  // only the three common faces gain a suffix
        {"Arial CE", 238, {"Arial CE", 238}},
        {"Arial CE", 254, {"Arial CE", 238}},
        {"Courier New Cyr", 254, {"Courier New Cyr", 204}},
        {"Tahoma", 254, {"Tahoma", 238}},    // exists in the system charset
        {"Georgia", 254, {"Georgia", 0}},    // does not: what the system reported
        {"Wingdings", 238, {"Wingdings", 2}},
    };
    for (const Case& c : cases) {
        FakeProbe probe;
        probe.reported["Wingdings"] = lect32::kCharsetSymbol;
        probe.inSystemCharset = {"Tahoma"};
        FontFaceList list;
        list.Append("Other", 0);
        EXPECT_EQ(list.FindOrAddFace(c.name, c.charset, probe), 1) << c.name << " " << int{c.charset};
        EXPECT_EQ(list.GetFace(1), c.stored) << c.name << " " << int{c.charset};
        EXPECT_EQ(list.FindOrAddFace(c.name, c.charset, probe), 1) << "found again, not added";
        EXPECT_EQ(list.GetCount(), 2);
    }
}

TEST(FontFaces, AFullListAnswersZeroAndEmptyNamesOutside) {
    FakeProbe probe;
    FontFaceList list;
    for (int i = 0; i < FontFaceList::kMaxFaces; ++i) ASSERT_TRUE(list.Append("F" + std::to_string(i), 0));
    EXPECT_EQ(list.FindOrAddFace("New face", 0, probe), 0);
    EXPECT_EQ(list.GetCount(), 250);
    EXPECT_EQ(list.FindOrAddFace("F249", 0, probe), 249);
    EXPECT_EQ(list.GetFace(255).name, "");
    FontFaceList small;
    small.Append("A", 0);
    EXPECT_EQ(small.GetFace(1).name, "");
    small.SetFace(1, "B", 0);
    EXPECT_EQ(small.GetCount(), 1);
}

std::vector<uint8_t> Names(std::initializer_list<const char*> names, std::vector<uint8_t> charsets = {}) {
    std::vector<uint8_t> body{static_cast<uint8_t>(names.size()), 0};
    for (const char* name : names) {
        std::vector<uint8_t> slot(31, 0);
        std::copy(name, name + std::strlen(name), slot.begin());
        body.insert(body.end(), slot.begin(), slot.end());
    }
    body.insert(body.end(), charsets.begin(), charsets.end());
    return body;
}

TEST(FontFaces, OldListsAskTheSystemWithTheVariantRules) {
    FakeProbe probe;
    probe.reported = {{"Symbol", 2}, {"Arial CE", 0}, {"Other", 161}};
    const auto body = Names({"Symbol", "Arial CE", "Times New Roman Cyr", "Other"});
    lect32::MemReader reader;
    ASSERT_TRUE(reader.LoadFromMemory(body.data(), static_cast<uint32_t>(body.size())));
    FontFaceList list;
    ASSERT_TRUE(list.Read(reader, 2, probe));
    const std::vector<uint8_t> expected{2, 238, 204, 161};
    for (uint8_t i = 0; i < 4; ++i) EXPECT_EQ(list.GetFace(i).charset, expected[i]) << list.GetFace(i).name;
}

TEST(FontFaces, CurrentListsTakeTheStoredCharsetsButSymbolFacesAreSymbol) {
    FakeProbe probe;
    const auto body = Names({"Wingdings", "Arial CE"}, {238, 0});
    lect32::MemReader reader;
    ASSERT_TRUE(reader.LoadFromMemory(body.data(), static_cast<uint32_t>(body.size())));
    FontFaceList list;
    ASSERT_TRUE(list.Read(reader, 3, probe));
    EXPECT_EQ(list.GetFace(0), (FontFace{"Wingdings", 2}));
    EXPECT_EQ(list.GetFace(1), (FontFace{"Arial CE", 0})) << "the stored charset holds";
    EXPECT_TRUE(probe.probed.empty());
}

TEST(FontFaces, NamesEndInsideTheirSlotAndCountsAreBounded) {
    FakeProbe probe;
    auto body = Names({"x"}, {0});
    std::fill(body.begin() + 2, body.begin() + 33, 'N');  // no terminating zero
    lect32::MemReader reader;
    ASSERT_TRUE(reader.LoadFromMemory(body.data(), static_cast<uint32_t>(body.size())));
    FontFaceList list;
    ASSERT_TRUE(list.Read(reader, 3, probe));
    EXPECT_EQ(list.GetFace(0).name, std::string(30, 'N'));

    const struct {
        std::vector<uint8_t> body;
        const char* why;
    } damaged[] = {
        {{251, 0}, "251 faces"},
        {{2, 0}, "names missing"},
        {Names({"a", "b"}, {0}), "a charset missing"},
    };
    for (const auto& d : damaged) {
        winplat::testing::DebugCapture quiet;
        lect32::MemReader in;
        ASSERT_TRUE(in.LoadFromMemory(d.body.data(), static_cast<uint32_t>(d.body.size())));
        FontFaceList kept;
        kept.Append("Kept", 0);
        EXPECT_FALSE(kept.Read(in, 3, probe)) << d.why;
        EXPECT_EQ(kept.GetFace(0).name, "Kept") << d.why;
    }
}

TEST(FontFaces, TheWritersDocumentsReadInEveryVersion) {
    const struct {
        const char* document;
        std::vector<FontFace> main, markers;
    } cases[] = {
        {"styled.lcn", {{"Arial CE", 238}, {"Times New Roman CE", 238}}, {{"Wingdings", 2}, {"Arial CE", 238}}},
        {"navigation.lcn", {{"Arial CE", 238}, {"Times New Roman CE", 238}}, {{"Wingdings", 2}}},
        {"old-formats.lcn", {{"Arial", 0}}, {{"Kept", 9}}},  // version 1: no marker list
    };
    for (const auto& c : cases) {
        FakeProbe probe;
        probe.reported["Wingdings"] = lect32::kCharsetSymbol;  // version 2 asks the system
        lect32::VazaziFile file;
        ASSERT_TRUE(text_reference::openReference(file, c.document)) << c.document;
        lect32::DocumentFonts fonts;
        fonts.markers.Append("Kept", 9);
        ASSERT_TRUE(fonts.Load(file, probe)) << c.document;
        ASSERT_EQ(fonts.main.GetCount(), c.main.size()) << c.document;
        for (uint8_t i = 0; i < c.main.size(); ++i) EXPECT_EQ(fonts.main.GetFace(i), c.main[i]) << c.document;
        ASSERT_EQ(fonts.markers.GetCount(), c.markers.size()) << c.document;
        for (uint8_t i = 0; i < c.markers.size(); ++i) EXPECT_EQ(fonts.markers.GetFace(i), c.markers[i]) << c.document;
    }
}

TEST(FontFaces, WrittenAsVersionThreeAndReadBack) {
    FakeProbe probe;
    lect32::DocumentFonts fonts;
    fonts.main.Append("Arial CE", 238);
    fonts.main.Append("Symbol", 2);
    fonts.markers.Append("Courier New Cyr", 204);
    vazazi_test::ScratchFolder scratch;
    lect32::VazaziFile file;
    ASSERT_EQ(file.Create(scratch.windows("fonts.lcn").c_str(), 1), 0);
    ASSERT_TRUE(fonts.Save(file));
    lect32::DocumentFonts back;
    ASSERT_TRUE(back.Load(file, probe));
    EXPECT_TRUE(probe.probed.empty()) << "version 3 carries the charsets";
    EXPECT_EQ(back.main.GetFace(0), (FontFace{"Arial CE", 238}));
    EXPECT_EQ(back.main.GetFace(1), (FontFace{"Symbol", 2}));
    EXPECT_EQ(back.markers.GetFace(0), (FontFace{"Courier New Cyr", 204}));
}

TEST(FontFaces, DamagedFontRecordsFailAndKeepTheLists) {
    if (!text_reference::pythonRuns()) GTEST_SKIP() << "python3 is missing: the document writer cannot run";
    vazazi_test::ScratchFolder scratch;
    const auto files = text_reference::damagedTypedRecords(scratch, "styled", lect32::DocumentFonts::kRecordType);
    ASSERT_FALSE(files.empty());
    for (const auto& path : files) {
        winplat::testing::DebugCapture quiet;
        lect32::MemReader reader;
        ASSERT_TRUE(text_reference::readDamaged(path, lect32::DocumentFonts::kRecordType, reader)) << path;
        FakeProbe probe;
        lect32::DocumentFonts fonts;
        fonts.main.Append("Kept", 0);
        EXPECT_FALSE(fonts.Read(reader, probe)) << path;
        EXPECT_EQ(fonts.main.GetFace(0).name, "Kept") << path;
        EXPECT_EQ(fonts.main.GetCount(), 1) << path;
    }
}

}  // namespace

namespace {

TEST(PlatformFaceProbe, AsksTheFontLayerOnTheScreen) {
    winplat::testing::ScopedFontSource face(winplat::testing::FontSource::Test);
    lect32::FaceProbe& probe = lect32::PlatformFaceProbe();
    EXPECT_EQ(probe.ProbeCharset("No Such Face At All"), lect32::kCharsetAnsi) << "nothing reported";
    EXPECT_FALSE(probe.ExistsInCharset("No Such Face At All", lect32::kCharsetEastEurope));
    EXPECT_EQ(probe.ProbeCharset("Wingdings"), lect32::kCharsetSymbol);
    EXPECT_EQ(probe.ProbeCharset("Arial"), lect32::kCharsetAnsi) << "the enumeration stops at ANSI";
    EXPECT_TRUE(probe.ExistsInCharset("Arial", lect32::kCharsetEastEurope));
}

}  // namespace
