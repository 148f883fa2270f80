#include "store/vazazi_file.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>

#include "store/vazazi_header.h"
#include "vazazi_test_support.h"
#include "winplat/testing.h"

namespace {

using lect32::MemReader;
using lect32::MemWriter;
using lect32::RecordFlags;
using lect32::VazaziFile;
using namespace vazazi_test;

std::vector<uint8_t> pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 31);
    return bytes;
}

class VazaziFileTest : public ::testing::Test {
protected:
    bool write(int table, int16_t index, const std::vector<uint8_t>& body, const RecordFlags* flags = nullptr) {
        MemWriter writer;
        fill(writer, body);
        return file.WriteRecord(table, index, writer, flags) == 1;
    }
    std::vector<uint8_t> read(VazaziFile& from, int table, int16_t index, bool* ok = nullptr) {
        MemReader reader;
        const bool done = from.ReadRecord(table, index, reader) == 1;
        if (ok) *ok = done;
        return done ? contents(reader) : std::vector<uint8_t>{};
    }
    std::vector<uint8_t> bytes() const { return fileBytes(scratch.host("doc.lcn")); }
    std::string path() const { return scratch.windows("doc.lcn"); }
    void create() { ASSERT_EQ(file.Create(path().c_str(), 1), 0); }

    ScratchFolder scratch;
    VazaziFile file;
};

TEST_F(VazaziFileTest, ANewFileIsExactlyItsHeadersAndAnEmptyTable) {
    create();
    const auto b = bytes();
    ASSERT_EQ(b.size(), 2388u);
    const uint8_t head[] = {'V', 'A', 'Z', 'A', 'Z', 'I', 20, 4, 0, 1, 'd', 'o', 'c', 0};
    EXPECT_EQ(std::memcmp(b.data(), head, sizeof head), 0);
    for (size_t i = 13; i < 266; ++i) ASSERT_EQ(b[i], 0) << "title padding at " << i;
    const uint8_t table[22] = {150, 0, 141, 0, 0, 0, 0, 0, 14, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(b.data() + 266, table, sizeof table), 0);
    for (size_t i = 288; i < b.size(); ++i) ASSERT_EQ(b[i], 0) << "table 1 at " << i;
    EXPECT_EQ(file.dataStart(), 2388u);
    EXPECT_TRUE(file.IsOpen());
}

struct TitleCase {
    const char* name;
    const char* title;
};

TEST_F(VazaziFileTest, TitleComesFromTheFileName) {
    const TitleCase cases[] = {
        {"MyDoc.LCN", "Mydoc"},
        {"ABC.def.lcn", "Abc"},
        {"X.lcn", "X"},
        {"\xC8\x8ASKA.lcn", "\xC8\x9Aska"},  // ČŠKA: cp1250 lower-casing after the first letter
        {"nodot", "Beze jm\xE9na"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VazaziFile f;
        ASSERT_EQ(f.Create(scratch.windows(c.name).c_str(), 1), 0);
        char title[256];
        f.GetTitle(title);
        EXPECT_STREQ(title, c.title);
    }
}

TEST_F(VazaziFileTest, TypedRecordsRoundTripThroughTheDirectory) {
    create();
    ASSERT_TRUE(write(1, VazaziFile::GetDirectorySlot(5, 0), pattern(300, 1)));
    MemWriter w;
    fill(w, pattern(40, 9));
    const RecordFlags properties{0, 10};
    ASSERT_EQ(file.WriteRecordByType(3, 0, w, &properties), 1);

    VazaziFile again;
    ASSERT_EQ(again.Open(path().c_str(), false), 1);
    MemReader reader;
    ASSERT_EQ(again.ReadRecordByType(3, 7, reader), 1) << "the sub-index of other types is ignored";
    EXPECT_EQ(contents(reader), pattern(40, 9));
    EXPECT_EQ(reader.version(), 10);
    EXPECT_EQ(reader.form(), lect32::BodyForm::Plain);
    ASSERT_EQ(again.ReadRecordByType(5, 0, reader), 1);
    EXPECT_EQ(contents(reader), pattern(300, 1));
    EXPECT_EQ(reader.version(), 1) << "default flags";
    checkInvariants(bytes());
}

TEST_F(VazaziFileTest, DirectorySlots) {
    const int cases[][3] = {{0, 0, 0},     {0, 127, 127}, {0, 128, 0xFFFF}, {0, -1, 0xFFFF}, {1, 0, 128},
                            {7, 99, 134},  {8, 0, 0xFFFF}, {9, 0, 135},     {14, 0, 140},    {15, 0, 0xFFFF},
                            {-1, 0, 0xFFFF}};
    for (const auto& c : cases) EXPECT_EQ(VazaziFile::GetDirectorySlot(c[0], c[1]), c[2]) << c[0] << "/" << c[1];

    create();
    const auto before = bytes();
    MemReader reader;
    MemWriter writer;
    fill(writer, pattern(10, 1));
    EXPECT_EQ(file.ReadRecordByType(8, 0, reader), 0);
    EXPECT_EQ(file.ReadRecordByType(15, 0, reader), 0);
    EXPECT_EQ(file.WriteRecordByType(8, 0, writer), 0);
    EXPECT_EQ(file.WriteRecordByType(15, 0, writer), 0);
    EXPECT_EQ(bytes(), before) << "no slot, no change";
}

TEST_F(VazaziFileTest, RewritingSmallerKeepsThePlaceWithSlackOrTruncates) {
    create();
    ASSERT_TRUE(write(1, 1, pattern(500, 1)));
    ASSERT_TRUE(write(1, 2, pattern(500, 2)));
    const size_t sizeBefore = bytes().size();
    ASSERT_TRUE(write(1, 1, pattern(100, 3)));  // the first record: slack
    EXPECT_EQ(bytes().size(), sizeBefore);
    ASSERT_TRUE(write(1, 2, pattern(100, 4)));  // the last record: the file shrinks
    EXPECT_EQ(bytes().size(), sizeBefore - 400);
    const auto layout = checkInvariants(bytes());
    EXPECT_EQ(layout.dataLength, 500u + 9 + 100 + 9);
    EXPECT_EQ(read(file, 1, 1), pattern(100, 3));
    EXPECT_EQ(read(file, 1, 2), pattern(100, 4));
}

TEST_F(VazaziFileTest, RewritingBiggerUsesANeighboursSlack) {
    create();
    ASSERT_TRUE(write(1, 1, pattern(500, 1)));
    ASSERT_TRUE(write(1, 2, pattern(50, 2)));
    ASSERT_TRUE(write(1, 3, pattern(50, 3)));
    ASSERT_TRUE(write(1, 1, pattern(100, 4)));  // leaves 400 bytes of slack behind record 1
    const size_t size = bytes().size();
    ASSERT_TRUE(write(1, 2, pattern(200, 5)));  // too big for its place: goes into record 1's slack
    EXPECT_EQ(bytes().size(), size) << "no growth: the slack took it";
    checkInvariants(bytes());
    EXPECT_EQ(read(file, 1, 2), pattern(200, 5));
    EXPECT_EQ(read(file, 1, 3), pattern(50, 3));
}

TEST_F(VazaziFileTest, NumberedIndexFiveGrowsTableTwoAndMovesTheFirstRecords) {
    create();
    ASSERT_TRUE(write(1, 0, pattern(20, 1)));
    ASSERT_TRUE(write(1, 1, pattern(20, 2)));
    ASSERT_TRUE(write(2, 5, pattern(70, 3)));
    EXPECT_EQ(file.GetNumberedRecordCount(), 6);
    const auto layout = checkInvariants(bytes());
    EXPECT_EQ(layout.count2, 6);
    EXPECT_FALSE(file.HasRecord(4));
    EXPECT_TRUE(file.HasRecord(5));
    VazaziFile again;
    ASSERT_EQ(again.Open(path().c_str(), false), 1);
    EXPECT_EQ(read(again, 1, 0), pattern(20, 1));
    EXPECT_EQ(read(again, 1, 1), pattern(20, 2));
    EXPECT_EQ(read(again, 2, 5), pattern(70, 3));
    EXPECT_EQ(again.CountUsedNumberedRecords(), 1);
}

TEST_F(VazaziFileTest, DeletingFirstMiddleAndLastRecords) {
    create();
    for (int16_t i = 0; i < 4; ++i) ASSERT_TRUE(write(1, i, pattern(100 + i, uint8_t(i))));
    const size_t full = bytes().size();
    ASSERT_EQ(file.DeleteRecord(1, 3), 1);  // last: the file shrinks
    EXPECT_EQ(bytes().size(), full - 112);
    ASSERT_EQ(file.DeleteRecord(1, 0), 1);  // first: joins the gap
    EXPECT_EQ(checkInvariants(bytes()).gap, 109u);
    ASSERT_EQ(file.DeleteRecord(1, 1), 1);  // now first again
    ASSERT_TRUE(write(1, 5, pattern(30, 5)));  // into the gap's end
    checkInvariants(bytes());
    EXPECT_EQ(file.DeleteRecord(1, 1), 0) << "already deleted";
    EXPECT_EQ(file.DeleteRecord(1, 200), 0);
    EXPECT_EQ(read(file, 1, 2), pattern(102, 2));
    EXPECT_EQ(read(file, 1, 5), pattern(30, 5));
}

TEST_F(VazaziFileTest, DeletingAMiddleRecordGivesItsSpaceToThePredecessor) {
    create();
    for (int16_t i = 0; i < 3; ++i) ASSERT_TRUE(write(1, i, pattern(100, uint8_t(i))));
    ASSERT_EQ(file.DeleteRecord(1, 1), 1);
    checkInvariants(bytes());
    ASSERT_TRUE(write(1, 7, pattern(150, 7)));  // fits in the predecessor's slack
    checkInvariants(bytes());
    EXPECT_EQ(read(file, 1, 7), pattern(150, 7));
    EXPECT_EQ(read(file, 1, 2), pattern(100, 2));
}

TEST_F(VazaziFileTest, AMovedRecordZeroesItsOldHeader) {
    create();
    ASSERT_TRUE(write(1, 0, pattern(10, 1)));
    ASSERT_TRUE(write(1, 1, pattern(10, 2)));
    ASSERT_TRUE(write(1, 2, pattern(10, 4)));
    const uint32_t oldOffset = file.dataStart() + 19;  // record 1 follows record 0
    ASSERT_TRUE(write(1, 1, pattern(200, 3)));           // no slack anywhere: appended
    const auto b = bytes();
    for (int i = 0; i < 9; ++i) EXPECT_EQ(b[oldOffset + i], 0) << i;
    checkInvariants(b);
}

TEST_F(VazaziFileTest, ReadingFreeOrOutOfRangeSlotsFails) {
    create();
    bool ok = true;
    read(file, 1, 3, &ok);
    EXPECT_FALSE(ok);
    read(file, 2, 0, &ok);
    EXPECT_FALSE(ok);
    read(file, 1, 150, &ok);
    EXPECT_FALSE(ok);
    read(file, 3, 0, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(file.useCount(), 0);
}

TEST_F(VazaziFileTest, TableOneBoundGrowsWithTheHighestSlot) {
    create();
    ASSERT_TRUE(write(1, 145, pattern(5, 1)));
    EXPECT_EQ(checkInvariants(bytes()).bound1, 146);
    EXPECT_TRUE(file.HasRecord(145, 1));
    ASSERT_TRUE(write(1, 3, pattern(5, 1)));
    EXPECT_EQ(checkInvariants(bytes()).bound1, 146);
}

TEST_F(VazaziFileTest, AllocateNumberedSlotReusesFreeEntriesFirst) {
    create();
    EXPECT_EQ(file.AllocateNumberedSlot(), 0);
    EXPECT_EQ(file.GetNumberedRecordCount(), 1);
    EXPECT_EQ(file.AllocateNumberedSlot(), 0) << "still free";
    ASSERT_TRUE(write(2, 0, pattern(5, 1)));
    EXPECT_EQ(file.AllocateNumberedSlot(), 1);
    ASSERT_TRUE(write(2, 3, pattern(5, 1)));
    EXPECT_EQ(file.AllocateNumberedSlot(), 1);
    checkInvariants(bytes());
}

TEST_F(VazaziFileTest, LocateRecordBodyGivesTheAbsoluteOffsetOfPlainBodies) {
    create();
    ASSERT_TRUE(write(2, 0, pattern(64, 1)));
    uint32_t length = 0;
    const uint32_t at = file.LocateRecordBody(0, &length);
    ASSERT_NE(at, 0u);
    EXPECT_EQ(length, 64u);
    const auto b = bytes();
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + at, b.begin() + at + 64), pattern(64, 1));
    EXPECT_EQ(file.LocateRecordBody(1, &length), 0u);
    EXPECT_EQ(length, 0u);
}

// A record's header is read once: bytes changed behind the file's back, with its size and write
// time kept, go unseen. A changed stamp is looked at once the clock moved on: then the file is
// read again and they are seen.
TEST_F(VazaziFileTest, ARecordHeaderIsReadOnceUntilTheFileChanges) {
    winplat::testing::VirtualClock clock;
    create();
    ASSERT_TRUE(write(2, 0, pattern(64, 1)));
    uint32_t length = 0;
    const uint32_t at = file.LocateRecordBody(0, &length);
    ASSERT_NE(at, 0u);
    const auto host = scratch.host("doc.lcn");
    const auto written = std::filesystem::last_write_time(host);
    {
        std::fstream patch(host, std::ios::in | std::ios::out | std::ios::binary);
        patch.seekp(at - 9 + 4);
        patch.put('\x07');  // the header now names slot 7
    }
    std::filesystem::last_write_time(host, written);
    clock.advance(1);
    EXPECT_EQ(file.LocateRecordBody(0, &length), at) << "the header was not read again";
    EXPECT_EQ(read(file, 2, 0), pattern(64, 1));
    std::filesystem::last_write_time(host, written + std::chrono::seconds(1));
    EXPECT_EQ(file.LocateRecordBody(0, &length), at) << "no look at the file within the same tick";
    clock.advance(1);
    EXPECT_EQ(file.LocateRecordBody(0, &length), 0u) << "a changed file is read again";
    bool ok = true;
    read(file, 2, 0, &ok);
    EXPECT_FALSE(ok);
}

// Records read back inside the access that grew the file: what the file's size was when last
// looked at no longer holds after a write.
TEST_F(VazaziFileTest, RecordsWrittenInsideAnAccessReadBackInIt) {
    winplat::testing::VirtualClock clock;
    create();
    ASSERT_EQ(file.BeginAccess(), 1);
    ASSERT_TRUE(write(2, 0, pattern(100, 1)));
    ASSERT_TRUE(write(2, 1, pattern(5000, 2)));
    MemWriter writer;
    fill(writer, pattern(90000, 3));
    ASSERT_TRUE(writer.Compress());
    const RecordFlags compressed{1, 1};
    ASSERT_EQ(file.WriteRecord(2, 2, writer, &compressed), 1);
    EXPECT_EQ(read(file, 2, 1), pattern(5000, 2));
    EXPECT_EQ(read(file, 2, 2), pattern(90000, 3));
    file.EndAccess();
    EXPECT_EQ(read(file, 2, 2), pattern(90000, 3)) << "and outside it";
}

// A file cut short behind the document's back, before the clock moves on, is not looked at
// again: the records still inside it read, the one cut reads nothing. Once the clock moved on
// the cut is seen, and the same holds.
TEST_F(VazaziFileTest, ARecordCutShortOnDiskReadsNothing) {
    winplat::testing::VirtualClock clock;
    create();
    ASSERT_TRUE(write(2, 0, pattern(300, 1)));
    ASSERT_TRUE(write(2, 1, pattern(300, 2)));
    const auto host = scratch.host("doc.lcn");
    std::filesystem::resize_file(host, std::filesystem::file_size(host) - 1);
    for (int look = 0; look < 2; ++look) {
        SCOPED_TRACE(look ? "after the look" : "before the look");
        bool ok = true;
        EXPECT_EQ(read(file, 2, 1, &ok), std::vector<uint8_t>{});
        EXPECT_FALSE(ok);
        EXPECT_EQ(read(file, 2, 0), pattern(300, 1));
        clock.advance(1);
    }
}

TEST_F(VazaziFileTest, CompressedBodiesAreExpandedOnExportAndNeverLocatedInPlace) {
    create();
    const auto original = pattern(150000, 3);
    MemWriter writer;
    fill(writer, original);
    ASSERT_TRUE(writer.Compress());
    const RecordFlags compressed{1, 1};
    ASSERT_EQ(file.WriteRecord(2, 4, writer, &compressed), 1);
    uint32_t length = 99;
    EXPECT_EQ(file.LocateRecordBody(4, &length), 0u) << "packed bytes are no picture to load in place";
    EXPECT_EQ(length, 0u);
    ASSERT_EQ(file.ExportRecordToFile(4, scratch.windows("expanded.bin").c_str()), 1);
    EXPECT_EQ(fileBytes(scratch.host("expanded.bin")), original);
    MemReader reader;
    ASSERT_EQ(file.ReadRecord(2, 4, reader), 1);
    EXPECT_EQ(reader.form(), lect32::BodyForm::Chunked);
    EXPECT_EQ(contents(reader), original);
}

// Random bytes do not pack: a record written compressed keeps them in stored chunks, and reads
// back as they were, at sizes up to several chunks.
TEST_F(VazaziFileTest, IncompressibleBodiesWrittenCompressedReadBackWhole) {
    create();
    std::mt19937 random(9);
    const RecordFlags compressed{1, 1};
    int16_t slot = 0;
    for (const size_t size : {size_t{1}, size_t{5000}, size_t{64000}, size_t{64001}, size_t{150000}}) {
        SCOPED_TRACE(size);
        std::vector<uint8_t> original(size);
        for (auto& b : original) b = static_cast<uint8_t>(random());
        MemWriter writer;
        fill(writer, original);
        ASSERT_TRUE(writer.Compress());
        ASSERT_EQ(file.WriteRecord(2, slot, writer, &compressed), 1);
        MemReader reader;
        ASSERT_EQ(file.ReadRecord(2, slot, reader), 1);
        EXPECT_EQ(reader.form(), lect32::BodyForm::Chunked);
        EXPECT_TRUE(contents(reader) == original);
        ++slot;
    }
}

TEST_F(VazaziFileTest, ADeleteThatCannotPlaceTheFreedSpaceChangesNothing) {
    create();
    for (int16_t i = 0; i < 3; ++i) ASSERT_TRUE(write(1, i, pattern(50, uint8_t(i))));
    file.Close();
    // Record 1 now starts one byte later (same end): nothing ends where it begins.
    auto b = bytes();
    const size_t entry = 288 + 14 * 1;
    uint32_t offset = b[entry + 1] | b[entry + 2] << 8 | b[entry + 3] << 16 | uint32_t(b[entry + 4]) << 24;
    ++offset;
    for (int i = 0; i < 4; ++i) b[entry + 1 + i] = static_cast<uint8_t>(offset >> (8 * i));
    --b[entry + 5];  // length, low byte (59 -> 58)
    putFileBytes(scratch.host("doc.lcn"), b);
    ASSERT_EQ(file.Open(path().c_str(), true), 1);
    EXPECT_EQ(file.DeleteRecord(1, 1), 0);
    EXPECT_TRUE(file.HasRecord(1, 1)) << "a failed delete must not have removed the record";
    EXPECT_EQ(bytes(), b);
}

TEST_F(VazaziFileTest, UseCountSurvivesAFailedAllocation) {
    create();
    ASSERT_TRUE(write(1, 0, pattern(5000, 1)));
    MemReader reader;
    {
        winplat::testing::GlobalAllocFailure noMemory(1, 1000);
        EXPECT_EQ(file.ReadRecord(1, 0, reader), 0);
    }
    EXPECT_EQ(file.useCount(), 0);
    EXPECT_EQ(file.ReadRecord(1, 0, reader), 1) << "the file is still usable";
}

TEST_F(VazaziFileTest, ExportWritesTheBodyToAFile) {
    create();
    ASSERT_TRUE(write(2, 2, pattern(100000, 5)));
    ASSERT_EQ(file.ExportRecordToFile(2, scratch.windows("out.bin").c_str()), 1);
    EXPECT_EQ(fileBytes(scratch.host("out.bin")), pattern(100000, 5));
    EXPECT_EQ(file.ExportRecordToFile(3, scratch.windows("none.bin").c_str()), 0);
}

TEST_F(VazaziFileTest, ReadOnlyFilesRefuseWrites) {
    create();
    ASSERT_TRUE(write(1, 0, pattern(5, 1)));
    VazaziFile reader;
    ASSERT_EQ(reader.Open(path().c_str(), false), 1);
    MemWriter w;
    fill(w, pattern(5, 2));
    EXPECT_EQ(reader.WriteRecord(1, 0, w), 0);
    EXPECT_EQ(reader.DeleteRecord(1, 0), 0);
    EXPECT_EQ(read(reader, 1, 0), pattern(5, 1));
}

TEST_F(VazaziFileTest, ADocumentInsideAPackageReadsRelativeToItsBase) {
    create();
    ASSERT_TRUE(write(1, 0, pattern(300, 1)));
    ASSERT_TRUE(write(2, 1, pattern(77, 2)));
    file.Close();
    const auto inner = bytes();
    std::vector<uint8_t> package(1000, 0xAB);
    package.insert(package.end(), inner.begin(), inner.end());
    package.insert(package.end(), 500, 0xCD);
    putFileBytes(scratch.host("pack.lnp"), package);
    VazaziFile member;
    ASSERT_EQ(member.Open(scratch.windows("pack.lnp").c_str(), false, 1000, static_cast<uint32_t>(inner.size())), 1);
    EXPECT_EQ(read(member, 1, 0), pattern(300, 1));
    EXPECT_EQ(read(member, 2, 1), pattern(77, 2));
    uint32_t length = 0;
    const uint32_t at = member.LocateRecordBody(1, &length);
    EXPECT_EQ(std::vector<uint8_t>(package.begin() + at, package.begin() + at + length), pattern(77, 2));
}

TEST_F(VazaziFileTest, UseCountReturnsToZeroOnEveryPath) {
    create();
    MemReader reader;
    MemWriter writer;
    fill(writer, pattern(5, 1));
    file.ReadRecord(1, 0, reader);
    file.WriteRecord(2, -1, writer);
    file.DeleteRecord(1, 0);
    EXPECT_EQ(file.useCount(), 0);
    ASSERT_EQ(file.BeginAccess(), 1);
    ASSERT_EQ(file.BeginAccess(), 1);
    EXPECT_EQ(file.WriteRecord(1, 0, writer), 1);
    EXPECT_EQ(file.useCount(), 2) << "nested operations share the open handle";
    file.EndAccess();
    file.EndAccess();
    EXPECT_EQ(file.useCount(), 0);
}

TEST_F(VazaziFileTest, OpenRefusesWhatIsNoRecordFile) {
    {
        std::ofstream out(scratch.host("junk.lcn"), std::ios::binary);
        out << std::string(3000, 'x');
    }
    VazaziFile f;
    EXPECT_EQ(f.Open(scratch.windows("junk.lcn").c_str(), false), 0);
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(f.Open(scratch.windows("missing.lcn").c_str(), false), 0);
}

// Each damage to the headers is refused by its own check, and the debug output names it.
TEST_F(VazaziFileTest, OpenSaysWhyItRefusesDamagedHeaders) {
    create();
    const std::vector<uint8_t> good = bytes();
    const auto put16 = [](std::vector<uint8_t>& b, size_t at, uint16_t v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    constexpr size_t kTable = VazaziFile::kHeaderSize;  // capacity1, bound1, count2, reserved, sizes
    struct Case {
        const char* why;
        std::function<void(std::vector<uint8_t>&)> damage;
    };
    const Case cases[] = {
        {"shorter than its headers", [](auto& b) { b.resize(VazaziFile::kTable1Offset - 1); }},
        {"no VAZAZI magic", [](auto& b) { b[5] = 'J'; }},
        {"entry or record header size", [](auto& b) { b[kTable + 8] = 13; }},
        {"entry or record header size", [](auto& b) { b[kTable + 9] = 8; }},
        {"table sizes", [&](auto& b) { put16(b, kTable + 4, 32768); }},
        {"tables longer than the file", [&](auto& b) { put16(b, kTable, 0xFFFF); }},
        {"tables cut short", [](auto& b) { b.resize(b.size() - 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::vector<uint8_t> damaged = good;
        c.damage(damaged);
        putFileBytes(scratch.host("damaged.lcn"), damaged);
        winplat::testing::DebugCapture debug;
        VazaziFile f;
        EXPECT_EQ(f.Open(scratch.windows("damaged.lcn").c_str(), false), 0);
        EXPECT_TRUE(debug.contains(std::string("lect32: record file: refused: ") + c.why)) << debug.text();
    }
}

TEST_F(VazaziFileTest, ARecordWhoseHeaderNamesAnotherSlotIsRefusedAndSaysSo) {
    create();
    ASSERT_TRUE(write(2, 0, pattern(20, 1)));
    uint32_t length = 0;
    const uint32_t body = file.LocateRecordBody(0, &length);
    ASSERT_NE(body, 0u);
    file.Close();
    std::vector<uint8_t> damaged = bytes();
    damaged[body - lect32::kRecordHeaderSize + 4] = 1;  // the slot index the header names
    putFileBytes(scratch.host("doc.lcn"), damaged);
    VazaziFile again;
    ASSERT_EQ(again.Open(path().c_str(), false), 1);
    winplat::testing::DebugCapture debug;
    bool ok = true;
    read(again, 2, 0, &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(debug.contains("lect32: record file: refused: record header does not match its entry")) << debug.text();
}

// Random writes, rewrites, deletes and numbered slots against a model; after each step the file is
// opened anew from disk, every record is read back and the layout checked.
TEST_F(VazaziFileTest, RandomOperationsAgainstAModel) {
    create();
    std::mt19937 random(2026);
    std::map<std::pair<int, int>, std::vector<uint8_t>> model;
    auto pickSlot = [&](int& table, int& index) {
        table = random() % 3 == 0 ? 1 : 2;
        index = table == 1 ? static_cast<int>(random() % 141) : static_cast<int>(random() % 40);
    };
    for (int step = 0; step < 400; ++step) {
        SCOPED_TRACE(step);
        int table, index;
        pickSlot(table, index);
        const int action = static_cast<int>(random() % 10);
        if (action < 6) {
            const auto body = pattern(static_cast<size_t>(random() % 3000), static_cast<uint8_t>(step));
            ASSERT_TRUE(write(table, static_cast<int16_t>(index), body));
            model[{table, index}] = body;
        } else if (action < 9) {
            if (model.empty()) continue;
            auto it = std::next(model.begin(), static_cast<long>(random() % model.size()));
            ASSERT_EQ(file.DeleteRecord(it->first.first, static_cast<int16_t>(it->first.second)), 1);
            model.erase(it);
        } else {
            const int16_t slot = file.AllocateNumberedSlot();
            ASSERT_GE(slot, 0);
            EXPECT_EQ(model.count({2, slot}), 0u) << "an allocated slot is free";
        }
        if (step % 4 == 0 || step > 380) {
            const auto b = bytes();
            checkInvariants(b);
            VazaziFile again;
            ASSERT_EQ(again.Open(path().c_str(), false), 1);
            for (const auto& [slot, body] : model) {
                bool ok = false;
                EXPECT_EQ(read(again, slot.first, static_cast<int16_t>(slot.second), &ok), body)
                    << "table " << slot.first << " slot " << slot.second;
                EXPECT_TRUE(ok);
            }
            EXPECT_EQ(again.CountUsedNumberedRecords(),
                      std::count_if(model.begin(), model.end(), [](const auto& m) { return m.first.first == 2; }));
        }
    }
}

}  // namespace
