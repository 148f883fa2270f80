// The document's page names: blocks written here byte by byte from the stored layout, read back
// through the table, straight from the file and through a full parse.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/doc_string_table.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"
#include "vazazi_test_support.h"
#include "winplat/testing.h"

namespace {

using lect32::DocStringTable;
using lect32::MemReader;
using lect32::MemWriter;
using lect32::VazaziFile;
using Bytes = std::vector<uint8_t>;
using Slots = std::map<int, std::string>;

// A block in its stored form: header word, 256 lengths, size, strings of the slots in order.
Bytes blockBytes(const Slots& slots, uint16_t header = 0) {
    Bytes out{static_cast<uint8_t>(header), static_cast<uint8_t>(header >> 8)};
    std::string strings;
    std::array<uint8_t, 256> lengths{};
    for (const auto& [slot, text] : slots) {
        lengths[static_cast<size_t>(slot)] = static_cast<uint8_t>(text.size());
        strings += text;
    }
    out.insert(out.end(), lengths.begin(), lengths.end());
    out.push_back(static_cast<uint8_t>(strings.size()));
    out.push_back(static_cast<uint8_t>(strings.size() >> 8));
    out.insert(out.end(), strings.begin(), strings.end());
    return out;
}

class DocStringTableTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(file.Create(scratch.windows("doc.vzz").c_str(), 1), 0); }

    void putBlock(int block, const Bytes& bytes, bool compressed = false) {
        MemWriter writer;
        vazazi_test::fill(writer, bytes);
        lect32::RecordFlags flags;
        if (compressed) {
            ASSERT_TRUE(writer.Compress());
            flags.compressed = 1;
        }
        ASSERT_EQ(file.WriteRecordByType(0, block, writer, &flags), 1);
    }

    Bytes storedBlock(int block) {
        MemReader reader;
        EXPECT_EQ(file.ReadRecordByType(0, block, reader), 1);
        return vazazi_test::contents(reader);
    }

    std::string read(int16_t n) {
        char buffer[DocStringTable::kBufferSize];
        std::memset(buffer, 'x', sizeof buffer);
        const int length = table.ReadString(n, buffer);
        EXPECT_EQ(static_cast<size_t>(length), std::strlen(buffer));
        return buffer;
    }

    vazazi_test::ScratchFolder scratch;
    VazaziFile file;
    DocStringTable table{file};
};

TEST_F(DocStringTableTest, StringLiesAfterTheLengthsOfTheSlotsBeforeIt) {
    putBlock(1, blockBytes({{0, "abcde"}, {1, "fghijkl"}, {44, "Strana 300"}, {45, "next"}}));
    EXPECT_EQ(read(300), "Strana 300");
    EXPECT_EQ(read(256), "abcde");
    EXPECT_EQ(read(301), "next");
    EXPECT_EQ(read(299), "");

    MemReader reader;
    ASSERT_EQ(file.ReadRecordByType(0, 1, reader), 1);
    ASSERT_EQ(table.ParseBlock(reader), 1);
    EXPECT_EQ(table.GetSlotOffset(44), 12u);
    EXPECT_EQ(std::memcmp(reader.data() + 260 + 12, "Strana 300", 10), 0);
}

TEST_F(DocStringTableTest, AbsentBlockGivesTheEmptyString) {
    putBlock(0, blockBytes({{3, "three"}}));
    EXPECT_EQ(read(3 + 256), "");
    EXPECT_EQ(read(3), "three");
}

TEST_F(DocStringTableTest, LastStringOfTheLastBlock) {
    putBlock(127, blockBytes({{254, "a"}, {255, "the last"}}));
    EXPECT_EQ(read(32767), "the last");
    EXPECT_EQ(read(-1), "");
    EXPECT_EQ(read(-32768), "");
}

TEST_F(DocStringTableTest, CompressedBlockIsReadThroughAFullParse) {
    Slots slots;
    for (int s = 0; s < 256; s += 3) slots[s] = "nazev stranky " + std::to_string(s);
    putBlock(2, blockBytes(slots), true);
    uint32_t length = 0;
    ASSERT_EQ(file.LocateRecordBody(2, &length, 1), 0u) << "the fixture must be stored compressed";
    EXPECT_EQ(read(2 * 256 + 99), "nazev stranky 99");
    EXPECT_EQ(read(2 * 256 + 100), "");
}

TEST_F(DocStringTableTest, WritingIntoAMissingBlockCreatesIt) {
    ASSERT_EQ(table.WriteString(5, "p\xE1t\xE1", 4), 1);
    EXPECT_EQ(storedBlock(0), blockBytes({{5, "p\xE1t\xE1"}}));
    EXPECT_EQ(read(5), "p\xE1t\xE1");
}

TEST_F(DocStringTableTest, ReplacingByAShorterStringMovesTheLaterOnesDown) {
    putBlock(0, blockBytes({{1, "0123456789"}, {2, "after"}}, 0x1234));
    ASSERT_EQ(table.WriteString(1, "abc", 3), 1);
    const Bytes stored = storedBlock(0);
    EXPECT_EQ(stored, blockBytes({{1, "abc"}, {2, "after"}}, 0x1234));
    EXPECT_EQ(table.size(), 8);
    ASSERT_EQ(table.WriteString(1, "a longer one", 12), 1);
    EXPECT_EQ(storedBlock(0), blockBytes({{1, "a longer one"}, {2, "after"}}, 0x1234));
    ASSERT_EQ(table.WriteString(2, "", 0), 1);
    EXPECT_EQ(storedBlock(0), blockBytes({{1, "a longer one"}}, 0x1234));
}

TEST_F(DocStringTableTest, SetSlotKeepsALockAcrossGrowth) {
    EXPECT_EQ(table.LockBlock(), 0) << "no bytes to lock";
    ASSERT_EQ(table.SetSlot(0, "ab", 2), 1);
    ASSERT_EQ(table.LockBlock(), 1);
    EXPECT_EQ(table.LockBlock(), 1);
    ASSERT_EQ(table.SetSlot(255, std::string(255, 'z').c_str(), 255), 1);
    EXPECT_TRUE(table.locked());
    EXPECT_EQ(table.size(), 257);
    char buffer[DocStringTable::kBufferSize];
    EXPECT_EQ(table.GetSlot(255, buffer), 255);
    EXPECT_EQ(std::string(buffer), std::string(255, 'z'));
    EXPECT_EQ(table.SetSlot(256, "x", 1), 0);
    EXPECT_EQ(table.SetSlot(-1, "x", 1), 0);
    table.ClearBlock();
    EXPECT_FALSE(table.locked());
    EXPECT_EQ(table.size(), 0);
}

// A block whose lengths and size disagree, or whose bytes stop early, is refused whole: neither a
// parse nor a read straight from the file goes past it.
TEST_F(DocStringTableTest, MalformedBlocksAreRefused) {
    const Bytes good = blockBytes({{0, "abcde"}, {7, "fgh"}});
    struct Case {
        const char* name;
        Bytes bytes;
    };
    Bytes sumAbove = good;
    sumAbove[2 + 7] = 4;  // lengths add up to 9, size says 8
    Bytes sumBelow = good;
    sumBelow[2 + 7] = 2;
    Bytes sizeAbove = good;
    sizeAbove[258] = 9;  // lengths say 8, the body holds 8
    sizeAbove.push_back('!');
    sizeAbove[2 + 7] = 4;
    sizeAbove.pop_back();   // size and lengths agree on 9, the body holds 8
    Bytes shortHead(good.begin(), good.begin() + 259);
    const Case cases[] = {{"sum above size", sumAbove},
                          {"sum below size", sumBelow},
                          {"bytes shorter than size", sizeAbove},
                          {"head cut", shortHead}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        putBlock(0, c.bytes);
        EXPECT_EQ(read(7), "");
        MemReader reader;
        ASSERT_EQ(file.ReadRecordByType(0, 0, reader), 1);
        EXPECT_EQ(table.ParseBlock(reader), 0);
        EXPECT_EQ(table.size(), 0);
        EXPECT_EQ(table.WriteString(7, "x", 1), 0);
        EXPECT_EQ(storedBlock(0), c.bytes) << "a refused write leaves the block";
    }
    putBlock(0, good);
    EXPECT_EQ(read(7), "fgh");
}

// Every number of a document whose blocks are random (some absent, some compressed): the read
// straight from the file gives what a parse of the whole block holds.
TEST_F(DocStringTableTest, FastReadEqualsParseThenGetForEveryNumber) {
    std::mt19937 random(24);
    std::vector<Slots> blocks(128);
    for (int b = 0; b < 128; ++b) {
        if (random() % 8 == 0) continue;
        for (int s = 0; s < 256; ++s) {
            if (random() % 4 == 0) continue;
            std::string text(random() % 256, '\0');
            // A small alphabet of cp1250 letters, so that the compressed blocks really compress.
            for (char& c : text) c = static_cast<char>(0xC0 + random() % 24);
            blocks[b][s] = text;
        }
        putBlock(b, blockBytes(blocks[b]), b % 5 == 0);
    }
    int nonEmpty = 0;
    DocStringTable parsed(file);
    for (int b = 0; b < 128; ++b) {
        MemReader reader;
        const bool present = file.ReadRecordByType(0, b, reader) != 0;
        if (present) {
            ASSERT_EQ(parsed.ParseBlock(reader), 1) << b;
        }
        for (int s = 0; s < 256; ++s) {
            std::string expected;
            if (present) {
                char buffer[DocStringTable::kBufferSize];
                parsed.GetSlot(s, buffer);
                expected = buffer;
            }
            ASSERT_EQ(expected, blocks[b].count(s) ? blocks[b][s] : "") << b << "/" << s;
            ASSERT_EQ(read(static_cast<int16_t>(b * 256 + s)), expected) << b << "/" << s;
            nonEmpty += !expected.empty();
        }
    }
    EXPECT_GT(nonEmpty, 20000);
}

// Descriptors of this process open on a host file; -1 when the system does not list them.
int descriptorsOn(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::directory_iterator fds("/proc/self/fd", error);
    if (error) return -1;
    const auto wanted = std::filesystem::weakly_canonical(file);
    int count = 0;
    for (const auto& fd : fds) {
        const auto target = std::filesystem::read_symlink(fd.path(), error);
        if (!error && target == wanted) ++count;
    }
    return count;
}

// Writes a document of page names "<prefix> N" for the first 'pages' pages; 'padding' bytes of a
// numbered record go first, so that its name blocks lie elsewhere than in a document without.
void writeNames(const std::string& path, const std::string& prefix, int pages, size_t padding = 0) {
    VazaziFile document;
    ASSERT_EQ(document.Create(path.c_str(), 1), 0);
    if (padding) {
        MemWriter writer;
        vazazi_test::fill(writer, Bytes(padding, 0x55));
        ASSERT_EQ(document.WriteRecord(2, 0, writer), 1);
    }
    DocStringTable names(document);
    for (int block = 0; block * 256 < pages; ++block) {
        names.ClearBlock();
        for (int n = block * 256; n < std::min(pages, block * 256 + 256); ++n) {
            const std::string name = prefix + " " + std::to_string(n);
            ASSERT_EQ(names.SetSlot(n % 256, name.c_str(), static_cast<uint8_t>(name.size())), 1);
        }
        MemWriter writer;
        ASSERT_EQ(names.BuildBlock(writer), 1);
        ASSERT_EQ(document.WriteRecordByType(0, block, writer), 1);
    }
    document.Close();
}

class OpenDocumentTest : public DocStringTableTest {
protected:
    void SetUp() override {
        writeNames(path(), "Strana", 300);
        ASSERT_EQ(file.Open(path().c_str(), false), 1);
    }
    std::string path() const { return scratch.windows("names.vzz"); }
    std::filesystem::path host() const { return scratch.host("names.vzz"); }

    // The document looks at its file once per clock tick: the tests move the clock themselves.
    winplat::testing::VirtualClock clock;
};

// The document's file is opened once for its life: reading names one after another reuses the
// handle, and closing the document lets it go.
TEST_F(OpenDocumentTest, ReadingNamesKeepsOneHandleUntilTheDocumentCloses) {
    ASSERT_TRUE(file.file().IsOpen()) << "open from the start";
    const HANDLE handle = file.file().handle();
    for (int16_t n : {0, 5, 255, 256, 299, 7}) {
        EXPECT_EQ(read(n), "Strana " + std::to_string(n));
        EXPECT_EQ(file.file().handle(), handle) << n;
    }
    const int open = descriptorsOn(host());
    if (open < 0) GTEST_SKIP() << "/proc/self/fd does not list this process's descriptors";
    EXPECT_EQ(open, 1);
    file.Close();
    EXPECT_FALSE(file.file().IsOpen());
    EXPECT_EQ(descriptorsOn(host()), 0) << "closing the document closes its file";
    {
        VazaziFile other;
        ASSERT_EQ(other.Open(path().c_str(), false), 1);
        EXPECT_EQ(descriptorsOn(host()), 1);
    }
    EXPECT_EQ(descriptorsOn(host()), 0) << "a document that goes away closes its file";
}

// Between two reads the file changes on disk: the next read once the clock moved on sees the
// file as it now is.
TEST_F(OpenDocumentTest, AFileChangedOnDiskBetweenReadsIsSeen) {
    struct Case {
        const char* what;
        std::function<void()> change;
        std::string five;  // pages 5 and 6 afterwards
        std::string six;
    };
    const Case cases[] = {
        {"replaced by another document under its name",
         [this] {
             writeNames(scratch.windows("other.vzz"), "Page", 300, 5000);
             std::filesystem::rename(scratch.host("other.vzz"), host());
         },
         "Page 5", "Page 6"},
        {"written by another program",
         [this] {
             VazaziFile writer;
             ASSERT_EQ(writer.Open(path().c_str(), true), 1);
             ASSERT_EQ(DocStringTable(writer).WriteString(5, "a longer fifth name", 19), 1);
             writer.Close();
         },
         "a longer fifth name", "Strana 6"},
        {"cut short", [this] { std::filesystem::resize_file(host(), 1000); }, "", ""},
        {"deleted", [this] { std::filesystem::remove(host()); }, "", ""},
        {"touched, its bytes the same",
         [this] {
             std::filesystem::last_write_time(host(), std::filesystem::last_write_time(host()) + std::chrono::seconds(2));
         },
         "Strana 5", "Strana 6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        file.Close();
        writeNames(path(), "Strana", 300);
        ASSERT_EQ(file.Open(path().c_str(), false), 1);
        EXPECT_EQ(read(5), "Strana 5");
        EXPECT_EQ(read(6), "Strana 6");
        c.change();
        clock.advance(1);
        EXPECT_EQ(read(5), c.five);
        EXPECT_EQ(read(6), c.six);
    }
}

// A damaged entry of the record table, or a record header that names another record, gives the
// failure value on every read, also when a block was read before.
TEST_F(OpenDocumentTest, ADamagedRecordTableGivesTheFailureValue) {
    struct Case {
        const char* what;
        std::streamoff at;  // into the file
        uint32_t value;
        int width;
    };
    // Block 0 is table 1, entry 0: 288 + 1 is its offset, 288 + 5 its length.
    const Case cases[] = {{"offset past the end", 288 + 1, 0xFFFFFFF0u, 4},
                          {"length below a header", 288 + 5, 8, 4},
                          {"header naming another slot", -1, 9, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        file.Close();
        writeNames(path(), "Strana", 300);
        uint32_t body = 0;
        {
            VazaziFile probe;
            ASSERT_EQ(probe.Open(path().c_str(), false), 1);
            body = probe.LocateRecordBody(0, nullptr, 1);
            ASSERT_NE(body, 0u);
        }
        {
            std::fstream patch(host(), std::ios::in | std::ios::out | std::ios::binary);
            patch.seekp(c.at >= 0 ? c.at : static_cast<std::streamoff>(body) - 9 + 4);
            for (int i = 0; i < c.width; ++i) patch.put(static_cast<char>(c.value >> (8 * i)));
        }
        ASSERT_EQ(file.Open(path().c_str(), false), 1);
        EXPECT_EQ(read(5), "");
        EXPECT_EQ(read(5), "") << "read again";
        EXPECT_EQ(read(256), "Strana 256") << "the other block is whole";
        EXPECT_EQ(read(6), "");
    }
}

}  // namespace
