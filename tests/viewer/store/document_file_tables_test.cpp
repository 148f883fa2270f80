// The link-target tables of record type 9: program references, both record versions, the round
// trip through a record file, and damaged bodies.
#include "store/document_file_tables.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "store/mem_reader.h"
#include "store/vazazi_file.h"
#include "store_test_support.h"
#include "vazazi_test_support.h"
#include "winplat/testing.h"

namespace lect32 {
namespace {

struct Ref {
    std::string path;
    std::string arguments;
    int found = 0;
};

Ref refOf(DocumentFileTables& tables, uint32_t ref) {
    char path[FileNameTable::kPathBuffer] = "junk";
    char arguments[DocumentFileTables::kArgumentBuffer] = "junk";
    Ref out;
    out.found = tables.GetProgramRef(ref, path, arguments);
    out.path = path;
    out.arguments = arguments;
    return out;
}

int32_t add(DocumentFileTables& tables, std::string path, std::string arguments) {
    return tables.AddProgramRef(path.data(), arguments.data());
}

uint16_t addPath(FileNameTable& table, std::string path) { return table.AddPath(path.data()); }
uint16_t acquire(StringPool& pool, std::string text) { return pool.Acquire(text.data()); }

std::string pathOf(FileNameTable& table, uint16_t index) {
    char path[FileNameTable::kPathBuffer];
    table.GetPath(index, path);
    return path;
}

std::string textOf(StringPool& pool, uint16_t index) {
    char text[256] = "";
    pool.GetString(index, text);
    return text;
}

// Every list holds something, so a list left out or read in the wrong place shows.
void fill(DocumentFileTables& tables) {
    ASSERT_EQ(add(tables, "c:\\nastroje\\kalk.exe", "/a"), 0x00000001);
    ASSERT_EQ(addPath(tables.documents(), "c:\\knihy\\druha.lcn"), 0);
    ASSERT_EQ(addPath(tables.associated(), "c:\\data\\tabulka.xls"), 0);
    ASSERT_EQ(acquire(tables.urls(), "http://priklad.cz/"), 0);
}

void expectFilled(DocumentFileTables& tables) {
    const Ref ref = refOf(tables, 0x00000001);
    EXPECT_EQ(ref.path, "c:\\nastroje\\kalk.exe");
    EXPECT_EQ(ref.arguments, "/a");
    EXPECT_EQ(pathOf(tables.documents(), 0), "c:\\knihy\\druha.lcn");
    EXPECT_EQ(pathOf(tables.associated(), 0), "c:\\data\\tabulka.xls");
    EXPECT_EQ(textOf(tables.urls(), 0), "http://priklad.cz/");
}

store_test::Bytes written(DocumentFileTables& tables) {
    return store_test::savedBy([&](MemWriter& writer) { return tables.Write(writer); });
}

int parse(DocumentFileTables& tables, const store_test::Bytes& bytes, uint8_t version) {
    return store_test::loadedBy(bytes, [&](MemReader& reader) { return tables.Parse(reader, version); });
}

TEST(DocumentFileTables, ProgramReferencesPackProgramAndArguments) {
    DocumentFileTables tables;
    EXPECT_EQ(add(tables, "c:\\a\\prvni.exe", ""), 0x00000000) << "no arguments: low word 0";
    EXPECT_EQ(add(tables, "c:\\a\\druhy.exe", "x"), 0x00010001);
    EXPECT_EQ(add(tables, "c:\\a\\treti.exe", "y"), 0x00020002);
    EXPECT_EQ(refOf(tables, 0x00000000).arguments, "") << "low word 0 gives no arguments";
    EXPECT_EQ(refOf(tables, 0x00000000).path, "c:\\a\\prvni.exe");
    const Ref third = refOf(tables, 0x00020001);
    EXPECT_EQ(third.path, "c:\\a\\treti.exe") << "high word 2 names program 2";
    EXPECT_EQ(third.arguments, "x") << "low word 1 names argument text 0";
    const Ref missing = refOf(tables, 0x00070000);
    EXPECT_EQ(missing.found, 0);
    EXPECT_EQ(missing.path, "");
    EXPECT_EQ(missing.arguments, "");
}

TEST(DocumentFileTables, RemovingGivesUpOneUseOfPathAndText) {
    DocumentFileTables tables;
    const int32_t ref = add(tables, "c:\\a\\prvni.exe", "p");
    ASSERT_EQ(add(tables, "c:\\a\\prvni.exe", "p"), ref) << "the same program and text share entries";
    EXPECT_EQ(tables.programs().GetUseCount(0), 2);
    EXPECT_EQ(tables.arguments().GetUseCount(0), 2);
    EXPECT_EQ(tables.RemoveProgramRef(static_cast<uint32_t>(ref)), 1);
    EXPECT_EQ(tables.programs().GetUseCount(0), 1);
    EXPECT_EQ(tables.arguments().GetUseCount(0), 1);
    EXPECT_EQ(tables.RemoveProgramRef(static_cast<uint32_t>(ref)), 0) << "the path's last use went";
    EXPECT_EQ(tables.arguments().GetUseCount(0), 1) << "the text keeps its use then";
    EXPECT_EQ(tables.RemoveProgramRef(0x00090001), 0) << "no such program";
}

TEST(DocumentFileTables, UsesAddAndTakeAway) {
    DocumentFileTables tables;
    const auto ref = static_cast<uint32_t>(add(tables, "c:\\a\\prvni.exe", "p"));
    tables.AddProgramRefUses(ref, 3);
    EXPECT_EQ(tables.programs().GetUseCount(0), 4);
    EXPECT_EQ(tables.arguments().GetUseCount(0), 4);
    tables.AddProgramRefUses(ref, -3);
    EXPECT_EQ(tables.programs().GetUseCount(0), 1);
    EXPECT_EQ(tables.arguments().GetUseCount(0), 1);
    tables.AddProgramRefUses(ref, -1);
    EXPECT_EQ(refOf(tables, ref).found, 0) << "the program entry went with its last use";
    EXPECT_EQ(textOf(tables.arguments(), 0), "") << "and so did the text";
}

TEST(DocumentFileTables, VersionTwoRoundTripsAllEightLists) {
    DocumentFileTables tables;
    fill(tables);
    const store_test::Bytes bytes = written(tables);
    DocumentFileTables back;
    ASSERT_EQ(parse(back, bytes, 2), 1);
    expectFilled(back);
    EXPECT_EQ(written(back), bytes);
}

TEST(DocumentFileTables, VersionOneReadsOnlyTheProgramLists) {
    DocumentFileTables tables;
    fill(tables);
    DocumentFileTables back;
    ASSERT_EQ(addPath(back.documents(), "c:\\stara\\kniha.lcn"), 0);
    // The program lists alone, as a version-1 record holds them.
    DocumentFileTables programsOnly;
    ASSERT_EQ(add(programsOnly, "c:\\nastroje\\kalk.exe", "/a"), 1);
    const store_test::Bytes full = written(programsOnly);
    ASSERT_EQ(parse(back, full, 1), 1);
    EXPECT_EQ(refOf(back, 1).path, "c:\\nastroje\\kalk.exe");
    EXPECT_EQ(pathOf(back.documents(), 0), "c:\\stara\\kniha.lcn") << "the later lists keep what they held";
}

TEST(DocumentFileTables, ARecordCutShortFailsAndKeepsWhatWasRead) {
    DocumentFileTables tables;
    fill(tables);
    store_test::Bytes bytes = written(tables);
    // The URL pool is last: without its final byte everything before it still reads.
    bytes.pop_back();
    DocumentFileTables back;
    winplat::testing::DebugCapture log;
    EXPECT_EQ(parse(back, bytes, 2), 0);
    EXPECT_EQ(refOf(back, 1).path, "c:\\nastroje\\kalk.exe");
    EXPECT_EQ(pathOf(back.associated(), 0), "c:\\data\\tabulka.xls");
    EXPECT_NE(log.text().find("URL pool"), std::string::npos);
    EXPECT_EQ(parse(back, {}, 2), 0);
}

TEST(DocumentFileTables, SavedRecordLoadsBackFromTheDocument) {
    vazazi_test::ScratchFolder folder;
    const std::string path = folder.windows("kniha.lcn");
    DocumentFileTables tables;
    fill(tables);
    {
        VazaziFile file;
        ASSERT_EQ(file.Create(path.c_str(), 1), 0);
        DocumentFileTables empty;
        EXPECT_EQ(empty.Load(file), 0) << "no record yet";
        ASSERT_EQ(tables.Save(file), 1);
    }
    VazaziFile file;
    ASSERT_EQ(file.Open(path.c_str(), false), 1);
    MemReader record;
    ASSERT_EQ(file.ReadRecordByType(DocumentFileTables::kRecordType, 0, record), 1);
    EXPECT_EQ(record.version(), 2) << "written as version 2";
    DocumentFileTables back;
    ASSERT_EQ(back.Load(file), 1);
    expectFilled(back);
    back.Free();
    EXPECT_EQ(refOf(back, 1).found, 0) << "Free empties the program table";
    EXPECT_EQ(textOf(back.arguments(), 0), "");
    EXPECT_EQ(pathOf(back.documents(), 0), "c:\\knihy\\druha.lcn") << "the other lists stay until the next load";
}

}  // namespace
}  // namespace lect32
