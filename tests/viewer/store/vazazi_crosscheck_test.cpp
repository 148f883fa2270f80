// The record file against an independent implementation of the format (a Python tool written
// from the format description alone): files it writes, including layouts our writer never makes,
// read correctly here; damaged files it writes fail cleanly; and files we write pass its checks.
#include <zlib.h>

#include <fstream>
#include <sstream>

#include "store/vazazi_file.h"
#include "support/tool_runner.h"
#include "vazazi_test_support.h"
#include "winplat/testing.h"

namespace {

using lect32::MemReader;
using lect32::MemWriter;
using lect32::VazaziFile;
using namespace vazazi_test;

struct ManifestRecord {
    int table = 0, index = 0, flag = 0, version = 0;
    uint32_t size = 0, crc = 0;
};

struct ManifestFile {
    std::string name;
    uint32_t base = 0, length = 0;
    bool ownFile = true;
    std::string fails;  // "", "open" or "read"
    int failTable = 0, failIndex = 0;
    std::vector<ManifestRecord> records;   // good files: all; damaged ones: those still readable
    std::vector<std::array<int, 3>> free;  // table, first, last
};

std::vector<ManifestFile> loadManifest(const std::string& folder) {
    std::ifstream in(folder + "/manifest.txt");
    std::vector<ManifestFile> files;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "file") {
            ManifestFile f;
            int own = 1;
            words >> f.name >> f.base >> f.length >> own >> f.fails;
            f.ownFile = own != 0;
            if (f.fails == "read") words >> f.failTable >> f.failIndex;
            files.push_back(f);
        } else if (kind == "record" || kind == "readable") {
            ManifestRecord r;
            std::string crc;
            words >> r.table >> r.index >> r.flag >> r.version >> r.size >> crc;
            r.crc = static_cast<uint32_t>(std::stoul(crc, nullptr, 16));
            files.back().records.push_back(r);
        } else if (kind == "free") {
            std::array<int, 3> range{};
            words >> range[0] >> range[1] >> range[2];
            files.back().free.push_back(range);
        }
    }
    return files;
}

uint32_t crcOf(const MemReader& reader) {
    return static_cast<uint32_t>(crc32(0L, reader.data(), reader.size()));
}

bool openAs(VazaziFile& file, const std::string& folder, const ManifestFile& f) {
    const std::string path = folder + "/" + f.name;
    return f.ownFile ? file.Open(path.c_str(), false) == 1 : file.Open(path.c_str(), false, f.base, f.length) == 1;
}

void expectRecords(VazaziFile& file, const ManifestFile& f) {
    for (const ManifestRecord& r : f.records) {
        SCOPED_TRACE(std::to_string(r.table) + ":" + std::to_string(r.index));
        MemReader reader;
        ASSERT_EQ(file.ReadRecord(r.table, static_cast<int16_t>(r.index), reader), 1);
        EXPECT_EQ(reader.size(), r.size);
        EXPECT_EQ(crcOf(reader), r.crc);
        EXPECT_EQ(reader.form(), r.flag ? lect32::BodyForm::Chunked : lect32::BodyForm::Plain);
        EXPECT_EQ(reader.version(), r.version);
    }
}

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

// Runs the independent checker on a file: true when it finds nothing wrong; what it says goes to
// output.
bool independentCheck(const std::filesystem::path& file, std::string& output) {
    const tool_runner::Outcome checked = tool_runner::capture(
        std::string(PYTHON_EXECUTABLE) + " -B " + VAZAZI_TOOL + " check " + tool_runner::quoted(file),
        tool_runner::Errors::Merge);
    output = checked.output;
    return checked.ok();
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
