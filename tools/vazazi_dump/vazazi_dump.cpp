// vazazi_dump: lists the headers, index tables and records of a record file, for people
// debugging documents. It parses the bytes on its own and reports what does not add up instead
// of refusing, so it also shows what is wrong with a damaged file. It exits 0 for a file in
// which it finds nothing wrong, 1 when it names damage (or cannot read the file), 2 for a wrong
// command line, so that scripts and tests can use it as a check.
//
//   vazazi_dump FILE [--base N] [--length N]
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "winplat/byte_reader.h"

namespace {

struct Options {
    std::string path;
    uint64_t base = 0;
    uint64_t length = 0;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--base" || arg == "--length") && i + 1 < argc) {
            (arg == "--base" ? options.base : options.length) = std::strtoull(argv[++i], nullptr, 0);
        } else if (options.path.empty() && arg[0] != '-') {
            options.path = arg;
        } else {
            return false;
        }
    }
    return !options.path.empty();
}

// Lists one index table; the number of its entries that are damaged.
int dumpTable(const std::vector<uint8_t>& file, uint64_t at, int count, int table, unsigned entrySize,
              unsigned headerSize) {
    int damaged = 0;
    for (int i = 0; i < count; ++i) {
        winplat::ByteReader e(file.data() + at + uint64_t{entrySize} * i, 14);
        const unsigned used = e.u8();
        const uint32_t offset = e.u32(), length = e.u32(), slack = e.u32();
        if (!used) {
            if (offset | length | slack) {
                std::printf("  %d/%-5d FREE, BUT NOT ZERO (%u %u %u)\n", table, i, offset, length, slack);
                ++damaged;
            }
            continue;
        }
        std::printf("  %d/%-5d offset %-10u length %-9u slack %-9u", table, i, offset, length, slack);
        if (length < headerSize || uint64_t{offset} + headerSize > file.size()) {
            std::printf(" OUTSIDE THE FILE\n");
            ++damaged;
            continue;
        }
        winplat::ByteReader h(file.data() + offset, 9);
        const uint32_t magic = h.u32();
        const unsigned index = h.u16(), tableByte = h.u8(), compressed = h.u8(), version = h.u8();
        std::printf(" v%u%s", version, compressed ? " compressed" : "");
        const bool mismatch = magic != 0xFEFFFEFF || index != unsigned(i) || tableByte != unsigned(table);
        if (mismatch) std::printf(" HEADER MISMATCH (magic %08x slot %u table %u)", magic, index, tableByte);
        const bool pastEnd = uint64_t{offset} + length > file.size();
        if (pastEnd) std::printf(" BODY PAST THE END");
        std::printf("\n");
        damaged += mismatch || pastEnd ? 1 : 0;
    }
    return damaged;
}

// The verdict closes the listing: what a script tests is the exit code.
int verdict(int damaged) {
    if (damaged == 0) return 0;
    std::printf("%d damaged %s\n", damaged, damaged == 1 ? "part" : "parts");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: vazazi_dump FILE [--base N] [--length N]\n");
        return 2;
    }
    std::ifstream in(options.path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "vazazi_dump: cannot open %s\n", options.path.c_str());
        return 1;
    }
    std::vector<uint8_t> whole{std::istreambuf_iterator<char>(in), {}};
    if (options.base > whole.size()) options.base = whole.size();
    const uint64_t available = whole.size() - options.base;
    const uint64_t length = options.length && options.length < available ? options.length : available;
    const std::vector<uint8_t> file(whole.begin() + static_cast<long>(options.base),
                                    whole.begin() + static_cast<long>(options.base + length));

    winplat::ByteReader r(file.data(), file.size());
    char magic[7] = {};
    r.bytes(magic, 6);
    const unsigned twenty = r.u8(), version = r.u16(), kind = r.u8();
    char title[257] = {};
    r.bytes(title, 256);
    const unsigned cap1 = r.u16(), bound1 = r.u16(), count2 = r.u16();
    r.u16();
    const unsigned entrySize = r.u8(), headerSize = r.u8();
    const uint32_t gap = r.u32(), dataLength = r.u32();
    if (!r.ok()) {
        std::printf("%s: %zu bytes, SHORTER THAN THE 288 BYTES OF THE HEADERS\n", options.path.c_str(), file.size());
        return verdict(1);
    }
    std::printf("%s: %zu bytes at base %" PRIu64 "\n", options.path.c_str(), file.size(), options.base);
    const bool wrongMagic = std::memcmp(magic, "VAZAZI", 6) != 0;
    std::printf("magic %s%s, byte %u, version %u, kind %u, title \"%s\"\n", magic, wrongMagic ? " (WRONG)" : "",
                twenty, version, kind, title);
    const uint64_t table2 = 288 + uint64_t{entrySize} * cap1;
    const uint64_t dataStart = table2 + uint64_t{entrySize} * count2 + gap;
    const uint64_t dataEnd = dataStart + dataLength;
    std::printf("table 1: %u entries (in use below %u); table 2: %u entries; entry %u bytes, record header %u bytes\n",
                cap1, bound1, count2, entrySize, headerSize);
    // Bytes after the data are no damage: a document may lie in front of others in one file.
    std::printf("gap %u, data start %" PRIu64 ", data length %u, data end %" PRIu64, gap, dataStart, dataLength,
                dataEnd);
    if (dataEnd > file.size()) {
        std::printf(" (PAST THE FILE END)\n");
    } else if (dataEnd < file.size()) {
        std::printf(" (%" PRIu64 " more bytes follow)\n", file.size() - dataEnd);
    } else {
        std::printf("\n");
    }
    int damaged = (wrongMagic ? 1 : 0) + (dataEnd > file.size() ? 1 : 0);
    if (entrySize < 14 || headerSize < 9 || table2 + uint64_t{entrySize} * count2 > file.size()) {
        std::printf("TABLES CANNOT BE READ: entry size, header size or table length is wrong\n");
        return verdict(damaged + 1);
    }
    damaged += dumpTable(file, 288, static_cast<int>(cap1), 1, entrySize, headerSize);
    damaged += dumpTable(file, table2, static_cast<int>(count2), 2, entrySize, headerSize);
    return verdict(damaged);
}
