// The record file against an independent implementation of the format (a Python tool written
// from the format description alone): files it writes, including layouts our writer never makes,
// read correctly here; damaged files it writes fail cleanly; and files we write pass its checks.
#include "store/vazazi_file.h"
#include "support/tool_runner.h"
#include "record_manifest.h"
#include "vazazi_test_support.h"
#include "winplat/testing.h"

namespace {

using lect32::MemReader;
using lect32::MemWriter;
using lect32::VazaziFile;
using namespace vazazi_test;

TEST(VazaziCrossCheck, LegalFilesOfTheOtherWriterReadCorrectly) {
    const std::string folder = VAZAZI_FIXTURES_DIR;
    const auto files = loadManifest(folder);
    ASSERT_FALSE(files.empty()) << "no fixtures in " << folder;
    for (const ManifestFile& f : files) {
        SCOPED_TRACE(f.name + " at " + std::to_string(f.base));
        VazaziFile file;
        ASSERT_TRUE(openAs(file, folder, f));
        expectRecords(file, f);
        for (const auto& range : f.free) {
            for (int i = range[1]; i <= range[2] && i <= range[1] + 50; ++i) {
                MemReader reader;
                EXPECT_EQ(file.ReadRecord(range[0], static_cast<int16_t>(i), reader), 0) << range[0] << ":" << i;
            }
        }
    }
}

TEST(VazaziCrossCheck, DamagedFilesFailWhereTheyAreDamagedAndNowhereElse) {
    const std::string folder = VAZAZI_MALFORMED_DIR;
    const auto files = loadManifest(folder);
    ASSERT_FALSE(files.empty()) << "no damaged files in " << folder;
    for (const ManifestFile& f : files) {
        SCOPED_TRACE(f.name);
        winplat::testing::DebugCapture quiet;
        VazaziFile file;
        const bool opened = openAs(file, folder, f);
        if (f.fails == "open") {
            EXPECT_FALSE(opened);
            continue;
        }
        ASSERT_TRUE(opened);
        MemReader reader;
        EXPECT_EQ(file.ReadRecord(f.failTable, static_cast<int16_t>(f.failIndex), reader), 0);
        EXPECT_EQ(file.useCount(), 0);
        expectRecords(file, f);
    }
}

TEST(VazaziCrossCheck, FilesWeWritePassTheIndependentChecker) {
    if (!tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -c pass")) {
        GTEST_SKIP() << "python3 is missing: the independent checker cannot run";
    }
    ScratchFolder scratch;
    VazaziFile file;
    ASSERT_EQ(file.Create(scratch.windows("ours.lcn").c_str(), 1), 0);
    std::mt19937 random(99);
    for (int step = 0; step < 300; ++step) {
        const int table = step % 3 ? 2 : 1;
        const auto index = static_cast<int16_t>(table == 1 ? random() % 141 : random() % 60);
        if (random() % 4 == 0) {
            file.DeleteRecord(table, index);
            continue;
        }
        std::vector<uint8_t> body(random() % 4000, static_cast<uint8_t>(step));
        MemWriter writer;
        fill(writer, body);
        ASSERT_EQ(file.WriteRecord(table, index, writer), 1);
    }
    std::string output;
    EXPECT_TRUE(independentCheck(scratch.host("ours.lcn"), output)) << output;
}

}  // namespace
