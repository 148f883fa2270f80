// The manifests the independent record-file tools write beside their files (manifest.txt: one
// "file" line per record file, then its records, free ranges and errors), read back so a test can
// check every record our store reads against what the other writer put there.
#ifndef LECT32_TESTS_RECORD_MANIFEST_H
#define LECT32_TESTS_RECORD_MANIFEST_H

#include <zlib.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/mem_reader.h"
#include "store/vazazi_file.h"
#include "support/tool_runner.h"

namespace vazazi_test {

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

inline std::vector<ManifestFile> loadManifest(const std::string& folder) {
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

inline uint32_t crcOf(const lect32::MemReader& reader) {
    return static_cast<uint32_t>(crc32(0L, reader.data(), reader.size()));
}

inline bool openAs(lect32::VazaziFile& file, const std::string& folder, const ManifestFile& f) {
    const std::string path = folder + "/" + f.name;
    return f.ownFile ? file.Open(path.c_str(), false) == 1 : file.Open(path.c_str(), false, f.base, f.length) == 1;
}

inline void expectRecords(lect32::VazaziFile& file, const ManifestFile& f) {
    for (const ManifestRecord& r : f.records) {
        SCOPED_TRACE(std::to_string(r.table) + ":" + std::to_string(r.index));
        lect32::MemReader reader;
        ASSERT_EQ(file.ReadRecord(r.table, static_cast<int16_t>(r.index), reader), 1);
        EXPECT_EQ(reader.size(), r.size);
        EXPECT_EQ(crcOf(reader), r.crc);
        EXPECT_EQ(reader.form(), r.flag ? lect32::BodyForm::Chunked : lect32::BodyForm::Plain);
        EXPECT_EQ(reader.version(), r.version);
    }
}

// Runs the independent checker on a record file (or on the window base, length of a larger one):
// true when it finds nothing wrong; what it says goes to output.
inline bool independentCheck(const std::filesystem::path& file, std::string& output, uint32_t base = 0,
                             uint32_t length = 0) {
    std::string command = std::string(PYTHON_EXECUTABLE) + " -B " + VAZAZI_TOOL + " check " + tool_runner::quoted(file);
    if (length != 0) command += " --base " + std::to_string(base) + " --length " + std::to_string(length);
    const tool_runner::Outcome checked = tool_runner::capture(command, tool_runner::Errors::Merge);
    output = checked.output;
    return checked.ok();
}

}  // namespace vazazi_test

#endif
