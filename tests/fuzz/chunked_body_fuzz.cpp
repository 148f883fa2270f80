// The chunked form of record bodies under fuzzing: the bytes are put in a file and read as one
// body with the whole of it in one block, and again a few bytes at a time, so chunks lie across
// every block edge. Both reads must hand on the same chunks and fail alike; neither reads past the
// body; a reader's expansion gives the chunks' bytes or nothing. Seeds are bodies of the store's
// own writer (packed and stored chunks) and a body with a chunk of no bytes.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "fuzz_scratch.h"
#include "store/chunked_body.h"
#include "store/disk_file.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"

namespace {

namespace fs = std::filesystem;
using lect32::BodyChunk;
using lect32::ChunkReader;
using lect32::DiskFile;
using lect32::MemReader;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// Bytes ahead of the body in its file, so that a read from the file's start would show.
constexpr uint32_t kLead = 3;

struct ScratchFile {
    fs::path path = fuzzScratchPath("Chunked_fuzz", ".bin");
    ~ScratchFile() {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    std::string windowsPath() const {
        std::string windows = "C:" + path.string();
        for (char& c : windows)
            if (c == '/') c = '\\';
        return windows;
    }
};

struct Walk {
    bool whole = false;  // every chunk handed on
    std::vector<uint8_t> chunks;  // each chunk's flag, lengths and data, one after another
};

Walk walk(DiskFile& file, uint32_t length, uint32_t block) {
    file.Seek(kLead, DiskFile::kBegin);
    ChunkReader reader(file, length, block);
    Walk result;
    if (!reader.Start()) return result;
    check(reader.expandedBound() <= uint64_t{reader.count()} * MemReader::kChunk);
    BodyChunk chunk;
    for (uint32_t i = 0; i < reader.count(); ++i) {
        if (!reader.Next(chunk)) return result;
        check(chunk.unpacked <= MemReader::kChunk && chunk.length <= MemReader::kChunk);
        result.chunks.push_back(chunk.packed ? 1 : 0);
        result.chunks.push_back(static_cast<uint8_t>(chunk.unpacked));
        result.chunks.push_back(static_cast<uint8_t>(chunk.length));
        result.chunks.insert(result.chunks.end(), chunk.data, chunk.data + chunk.length);
    }
    result.whole = true;
    check(file.Tell() <= kLead + length);
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    const QuietInput quiet;  // the store's messages about damaged bodies
    static const ScratchFile scratch;
    {
        std::ofstream out(scratch.path, std::ios::binary | std::ios::trunc);
        const char lead[kLead] = {'\x01', '\x00', '\x01'};
        out.write(lead, kLead);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    DiskFile file;
    if (!file.Open(scratch.windowsPath().c_str(), DiskFile::kRead)) return 0;
    const auto length = static_cast<uint32_t>(size);
    const Walk whole = walk(file, length, length + 1);
    for (const uint32_t block : {1u, 7u, 300u}) {
        const Walk pieces = walk(file, length, block);
        check(pieces.whole == whole.whole);
        if (whole.whole) check(pieces.chunks == whole.chunks);
    }
    file.Seek(kLead, DiskFile::kBegin);
    MemReader reader;
    if (reader.LoadFromFile(file, length, {lect32::BodyForm::Chunked, 1})) {
        check(whole.whole);
        check(file.Tell() == kLead + length);
    } else {
        check(reader.size() == 0 && reader.data() == nullptr);
    }
    file.Close();
    return 0;
}

namespace {

FuzzBytes chunked(const std::vector<uint8_t>& data) {
    lect32::MemWriter writer;
    writer.Begin();
    writer.WriteBytesLong(data.data(), static_cast<uint32_t>(data.size()));
    writer.End();
    writer.Compress();
    FuzzBytes body(writer.GetLength());
    writer.CopyTo(body.data());
    return body;
}

std::vector<uint8_t> text(size_t size) {
    static const char words[] = "kapitola strana text odkaz obrazek ";
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(words[(i * 7 + i / 13) % (sizeof words - 1)]);
    return bytes;
}

std::vector<uint8_t> noise(size_t size) {
    std::vector<uint8_t> bytes(size);
    uint32_t seed = 11;
    for (auto& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(seed >> 24);
    }
    return bytes;
}

}  // namespace

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds;
    seeds.push_back(chunked({}));
    seeds.push_back(chunked(text(900)));
    seeds.push_back(chunked(text(64001)));
    seeds.push_back(chunked(noise(300)));
    std::vector<uint8_t> mixed = text(128000);
    const std::vector<uint8_t> loud = noise(64000);
    std::copy(loud.begin(), loud.end(), mixed.begin() + 64000);
    seeds.push_back(chunked(mixed));
    // One packed chunk of no bytes, then a stored chunk of three.
    seeds.push_back({2, 0, 1, 0, 0, 8, 0, 0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01, 0, 3, 0, 'a', 'b', 'c'});
    return seeds;
}
