// Shared pieces of the record-file tests: a scratch folder, Windows paths into it, and an
// invariant check that parses the file's bytes on its own (not through the code under test).
#ifndef LECT32_TESTS_VAZAZI_SUPPORT_H
#define LECT32_TESTS_VAZAZI_SUPPORT_H

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "winplat/byte_reader.h"

namespace vazazi_test {

inline std::vector<uint8_t> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Replaces the file's contents with the bytes.
inline void putFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A folder of its own per test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("lect32_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                   std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::filesystem::path host(const std::string& name) const { return folder_ / name; }
    // The same file as the programs name it: drive C: is the host root.
    std::string windows(const std::string& name) const {
        std::string path = "C:" + (folder_ / name).string();
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

private:
    std::filesystem::path folder_;
};

inline void fill(lect32::MemWriter& writer, const std::vector<uint8_t>& bytes) {
    writer.Begin();
    writer.WriteBytesLong(bytes.data(), static_cast<uint32_t>(bytes.size()));
    writer.End();
}

inline std::vector<uint8_t> contents(const lect32::MemReader& reader) {
    return std::vector<uint8_t>(reader.data(), reader.data() + reader.size());
}

struct Layout {
    uint16_t capacity1, bound1, count2;
    uint8_t entrySize, headerSize;
    uint32_t gap, dataLength;
    uint64_t dataStart;
};

// Parses the tables and checks what every writer must keep true: record headers name their
// slots, spans of records and slack cover the data area exactly once, and the file ends where the
// data area does. Returns the layout for further checks.
inline Layout checkInvariants(const std::vector<uint8_t>& bytes, bool fileOfItsOwn = true) {
    winplat::ByteReader in(bytes.data(), bytes.size());
    Layout l{};
    EXPECT_TRUE(in.seek(266));
    l.capacity1 = in.u16();
    l.bound1 = in.u16();
    l.count2 = in.u16();
    in.u16();
    l.entrySize = in.u8();
    l.headerSize = in.u8();
    l.gap = in.u32();
    l.dataLength = in.u32();
    EXPECT_TRUE(in.ok());
    const uint64_t table2 = 288 + uint64_t{l.entrySize} * l.capacity1;
    l.dataStart = table2 + uint64_t{l.entrySize} * l.count2 + l.gap;
    if (fileOfItsOwn) {
        EXPECT_EQ(bytes.size(), l.dataStart + l.dataLength) << "the file ends with the data area";
    }

    struct Span {
        uint64_t start, end;
    };
    std::vector<Span> spans;
    auto scan = [&](uint64_t at, int count, int table) {
        for (int i = 0; i < count; ++i) {
            winplat::ByteReader e(bytes.data() + at + uint64_t{l.entrySize} * i, 14);
            const uint8_t used = e.u8();
            const uint32_t offset = e.u32(), length = e.u32(), slack = e.u32();
            if (!used) {
                EXPECT_EQ(offset | length | slack, 0u) << "free entries are zero, table " << table << " slot " << i;
                continue;
            }
            if (table == 1) {
                EXPECT_LT(i, l.bound1) << "table-1 bound covers every used slot";
            }
            EXPECT_GE(offset, l.dataStart);
            ASSERT_LE(uint64_t{offset} + 9, bytes.size());
            winplat::ByteReader h(bytes.data() + offset, 9);
            EXPECT_EQ(h.u32(), 0xFEFFFEFFu) << "record header magic, table " << table << " slot " << i;
            EXPECT_EQ(h.u16(), i);
            EXPECT_EQ(h.u8(), table);
            spans.push_back({offset, uint64_t{offset} + length + slack});
        }
    };
    scan(288, l.capacity1, 1);
    scan(table2, l.count2, 2);
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
    uint64_t reached = l.dataStart;
    for (const Span& s : spans) {
        EXPECT_EQ(s.start, reached) << "records and slack cover the data area without holes or overlaps";
        reached = s.end;
    }
    EXPECT_EQ(reached, l.dataStart + l.dataLength);
    return l;
}

}  // namespace vazazi_test

#endif
