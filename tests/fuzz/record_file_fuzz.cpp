// The reader's record file under fuzzing: the bytes are opened as a record file, every record of
// both tables is read (compressed bodies expanded) and checked against what the file object
// promises: a plain body is exactly the bytes where LocateRecordBody places it, a compressed one is
// never located, and a reader hands out its whole body and then nothing. Seeds are files of the
// store's own writer: records in both tables, plain and compressed bodies (packed and stored
// chunks), slack and gap left by rewrites and deletes, and a file without records.
#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "fuzz_scratch.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/record_flags.h"
#include "store/vazazi_file.h"
#include "winplat/byte_reader.h"

namespace {

namespace fs = std::filesystem;
using lect32::MemReader;
using lect32::MemWriter;
using lect32::RecordFlags;
using lect32::VazaziFile;

// The title of a new file is its name up to the first dot, so seeds come out the same in every run.
fs::path scratch(const char* suffix) {
    return fuzzScratchPath("Record_fuzz", suffix);
}

// The file the inputs are written to, removed when the run ends.
struct ScratchFile {
    fs::path path = scratch(".lcn");
    ~ScratchFile() {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
};

// The same file as the reader names it: drive C: is the host root.
std::string windowsPath(const fs::path& host) {
    std::string path = "C:" + host.string();
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// The slots of table 1 the file's table header makes room for (its first word), at most 32,768.
int table1Slots(const uint8_t* data, size_t size) {
    winplat::ByteReader in(data, size);
    in.seek(VazaziFile::kHeaderSize);
    const uint16_t capacity = in.u16();
    return in.ok() ? std::min<int>(capacity, INT16_MAX + 1) : 0;
}

void readRecord(VazaziFile& file, int table, int16_t index, const uint8_t* data, size_t size) {
    MemReader reader;
    if (!file.ReadRecord(table, index, reader)) return;
    FuzzBytes body(reader.size());
    check(reader.ReadBytesLong(body.data(), reader.size()) == 1 && reader.remaining() == 0);
    uint8_t past = 0xAA;
    check(reader.ReadByte(past) == 0 && past == 0 && reader.overrun());

    uint32_t length = 1;
    const uint32_t at = file.LocateRecordBody(index, &length, table);
    if (reader.form() == lect32::BodyForm::Chunked) {
        check(at == 0 && length == 0);
        return;
    }
    check(at != 0 && length == body.size() && at <= size && size - at >= length);
    check(length == 0 || std::memcmp(body.data(), data + at, length) == 0);
}

// A record file made by the store's writer in a scratch file, record by record.
class SeedFile {
public:
    SeedFile() : path_(scratch(".seed")) { ok_ = file_.Create(windowsPath(path_).c_str(), 1) == 0; }
    ~SeedFile() {
        file_.Close();
        std::error_code ignored;
        fs::remove(path_, ignored);
    }

    // A body in the chunked form: packed by MemWriter::Compress, or 'stored' as given.
    SeedFile& write(int table, int16_t index, const FuzzBytes& body, bool compress = false,
                    uint8_t version = 1) {
        MemWriter writer;
        writer.Begin();
        writer.WriteBytesLong(body.data(), static_cast<uint32_t>(body.size()));
        writer.End();
        if (compress && !writer.Compress()) ok_ = false;
        const RecordFlags flags{uint8_t(compress ? 1 : 0), version};
        if (file_.WriteRecord(table, index, writer, &flags) != 1) ok_ = false;
        return *this;
    }
    SeedFile& stored(int table, int16_t index, const FuzzBytes& plain) {
        FuzzBytes body = {1, 0, 0, uint8_t(plain.size()), uint8_t(plain.size() >> 8)};
        body.insert(body.end(), plain.begin(), plain.end());
        MemWriter writer;
        writer.Begin();
        writer.WriteBytesLong(body.data(), static_cast<uint32_t>(body.size()));
        writer.End();
        const RecordFlags flags{1, 2};
        if (file_.WriteRecord(table, index, writer, &flags) != 1) ok_ = false;
        return *this;
    }
    SeedFile& remove(int table, int16_t index) {
        if (file_.DeleteRecord(table, index) != 1) ok_ = false;
        return *this;
    }
    // Empty when any step failed, which the runners report.
    FuzzBytes bytes() {
        file_.Close();
        std::ifstream in(path_, std::ios::binary);
        FuzzBytes b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return ok_ ? b : FuzzBytes{};
    }

private:
    fs::path path_;
    VazaziFile file_;
    bool ok_ = false;
};

FuzzBytes pattern(size_t size, uint8_t seed) {
    FuzzBytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 31 + (i >> 9));
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QuietInput quiet;  // the store's messages about damaged files
    static const ScratchFile input;
    {
        std::ofstream out(input.path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    VazaziFile file;
    if (!file.Open(windowsPath(input.path).c_str(), false)) return 0;
    char title[256];
    file.GetTitle(title);
    if (!file.BeginAccess()) return 0;
    // Table 1 has no count of its own outside the file: its slots are those the table header gives
    // room for, and those past its end are refused (the first one and the last there can be).
    const int slots1 = table1Slots(data, size);
    for (int index = 0; index < slots1; ++index) readRecord(file, 1, int16_t(index), data, size);
    for (const int past : {slots1, int{INT16_MAX}}) {
        if (past < slots1 || past > INT16_MAX) continue;
        MemReader reader;
        check(!file.HasRecord(int16_t(past), 1) && file.ReadRecord(1, int16_t(past), reader) == 0);
    }
    for (int index = 0; index < file.GetNumberedRecordCount(); ++index) {
        readRecord(file, 2, int16_t(index), data, size);
    }
    file.EndAccess();
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds;
    seeds.push_back(SeedFile().bytes());
    seeds.push_back(SeedFile()
                        .write(1, 0, pattern(40, 1))
                        .write(1, 1, pattern(700, 2))
                        .write(1, 128, pattern(90, 3), false, 10)
                        .write(1, 135, {})
                        .write(2, 0, pattern(300, 4))
                        .write(2, 1, {})
                        .write(2, 3, pattern(5, 5))
                        .bytes());
    seeds.push_back(SeedFile()
                        .write(1, 129, pattern(20000, 6), true)
                        .write(1, 2, pattern(64, 7))
                        .write(2, 0, pattern(150000, 8), true, 3)
                        .write(2, 1, pattern(120, 9))
                        .stored(2, 2, pattern(200, 10))
                        .write(2, 5, pattern(64000, 11), true)
                        .bytes());
    // Rewrites and deletes leave slack behind records and a gap before the data area; growing
    // table 2 moves the first records out of the way.
    seeds.push_back(SeedFile()
                        .write(1, 0, pattern(500, 12))
                        .write(1, 1, pattern(300, 13))
                        .write(2, 0, pattern(400, 14))
                        .write(2, 1, pattern(4000, 15), true)
                        .write(1, 1, pattern(100, 16))
                        .remove(1, 0)
                        .write(2, 2, pattern(80, 17))
                        .remove(2, 0)
                        .write(2, 60, pattern(30, 18))
                        .bytes());
    return seeds;
}
