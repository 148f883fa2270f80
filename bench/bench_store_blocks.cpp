// The reader's memory blocks and file class against the plainest code doing the same work:
// expanding a chunked body through MemReader against zlib's uncompress on the same chunks,
// MemWriter fed a byte at a time against std::vector, and the small reads of string-table lookups.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "store/disk_file.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kChunk = 64000;
constexpr uint32_t kBodySize = 10u << 20;

// Prose-like bytes: words of a small vocabulary with punctuation and line breaks.
Bytes text(size_t size) {
    static constexpr std::string_view kWords[] = {"kapitola", "strana", "obrazek", "odkaz", "text", "styl",
                                                  "tabulka",  "poznamka", "soubor", "dokument", "a", "v"};
    std::mt19937 random(42);
    std::uniform_int_distribution<size_t> word(0, std::size(kWords) - 1);
    std::uniform_int_distribution<int> mark(0, 19);
    Bytes bytes;
    bytes.reserve(size + 16);
    while (bytes.size() < size) {
        const auto w = kWords[word(random)];
        bytes.insert(bytes.end(), w.begin(), w.end());
        const int m = mark(random);
        bytes.push_back(m == 0 ? '.' : m == 1 ? ',' : m == 2 ? '\n' : ' ');
    }
    bytes.resize(size);
    return bytes;
}

struct PackedChunk {
    uint32_t unpacked;
    Bytes packed;
};

// A folder of its own for the benchmark's files, removed at exit.
struct Scratch {
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "lect32-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        host = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(host, ignored);
    }
    std::string win(const std::string& name) const {
        std::string path = "C:" + (host / name).string();
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }
    fs::path host;
};

Scratch& scratch() {
    static Scratch folder;
    return folder;
}

// 10 MB of text cut into 64000-byte chunks, each packed by zlib at its default level, and the same
// chunks laid out as a chunked body in a file.
struct ChunkedBody {
    ChunkedBody() {
        const Bytes data = text(kBodySize);
        Bytes body = {0, 0};
        for (uint32_t offset = 0; offset < kBodySize; offset += kChunk) {
            const uint32_t length = std::min(kChunk, kBodySize - offset);
            uLongf packedLength = compressBound(length);
            PackedChunk chunk{length, Bytes(packedLength)};
            if (compress(chunk.packed.data(), &packedLength, data.data() + offset, length) != Z_OK) std::abort();
            chunk.packed.resize(packedLength);
            body.insert(body.end(), {1, static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
                                     static_cast<uint8_t>(packedLength), static_cast<uint8_t>(packedLength >> 8)});
            body.insert(body.end(), chunk.packed.begin(), chunk.packed.end());
            chunks.push_back(std::move(chunk));
        }
        body[0] = static_cast<uint8_t>(chunks.size());
        body[1] = static_cast<uint8_t>(chunks.size() >> 8);
        bodyLength = static_cast<uint32_t>(body.size());
        path = scratch().win("body.bin");
        lect32::DiskFile file;
        if (!file.Create(path.c_str(), lect32::DiskFile::kWrite) || file.Write(body.data(), bodyLength) != bodyLength)
            std::abort();
        file.Close();
    }
    std::vector<PackedChunk> chunks;
    uint32_t bodyLength = 0;
    std::string path;
};

const ChunkedBody& chunkedBody() {
    static const ChunkedBody body;
    return body;
}

void BM_ExpandThroughMemReader(benchmark::State& state) {
    const ChunkedBody& body = chunkedBody();
    lect32::DiskFile file;
    if (!file.Open(body.path.c_str(), lect32::DiskFile::kRead)) std::abort();
    lect32::MemReader reader;
    for (auto _ : state) {
        file.Seek(0, lect32::DiskFile::kBegin);
        if (!reader.LoadFromFile(file, body.bodyLength, {lect32::BodyForm::Chunked, 1})) {
            state.SkipWithError("load failed");
        }
        benchmark::DoNotOptimize(reader.data());
    }
    if (reader.size() != kBodySize) state.SkipWithError("wrong size");
    file.Close();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBodySize);
}
BENCHMARK(BM_ExpandThroughMemReader)->Unit(benchmark::kMillisecond);

// zlib alone: the packed chunks already in memory, expanded into a buffer allocated once.
void BM_ExpandWithZlibDirectly(benchmark::State& state) {
    const ChunkedBody& body = chunkedBody();
    Bytes out(kBodySize);
    for (auto _ : state) {
        uint8_t* at = out.data();
        for (const PackedChunk& chunk : body.chunks) {
            uLongf length = chunk.unpacked;
            if (uncompress(at, &length, chunk.packed.data(), chunk.packed.size()) != Z_OK) state.SkipWithError("zlib");
            at += length;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBodySize);
}
BENCHMARK(BM_ExpandWithZlibDirectly)->Unit(benchmark::kMillisecond);

void BM_MemWriterByteSteps(benchmark::State& state) {
    lect32::MemWriter writer;
    for (auto _ : state) {
        writer.Begin();
        for (uint32_t i = 0; i < kBodySize; ++i) writer.WriteByte(static_cast<uint8_t>(i));
        if (writer.End() != 0) state.SkipWithError("write failed");
        benchmark::DoNotOptimize(writer.GetLength());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBodySize);
}
BENCHMARK(BM_MemWriterByteSteps)->Unit(benchmark::kMillisecond);

void BM_VectorPushBack(benchmark::State& state) {
    for (auto _ : state) {
        Bytes bytes;
        for (uint32_t i = 0; i < kBodySize; ++i) bytes.push_back(static_cast<uint8_t>(i));
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBodySize);
}
BENCHMARK(BM_VectorPushBack)->Unit(benchmark::kMillisecond);

// The string table's lookup: a 2-byte length, a 256-byte block, a 2-byte trailer, one after
// another through a file of 1 MB; with a window (argument 1) as for a document in a package.
void BM_DiskFileSmallReads(benchmark::State& state) {
    static const std::string path = [] {
        const std::string name = scratch().win("reads.bin");
        const Bytes bytes = text(1u << 20);
        lect32::DiskFile file;
        if (!file.Create(name.c_str(), lect32::DiskFile::kWrite) ||
            file.Write(bytes.data(), static_cast<uint32_t>(bytes.size())) != bytes.size())
            std::abort();
        file.Close();
        return name;
    }();
    const bool windowed = state.range(0) != 0;
    lect32::DiskFile file;
    if (!file.Open(path.c_str(), lect32::DiskFile::kRead, windowed ? 4096 : 0, windowed ? (1u << 20) - 8192 : 0))
        std::abort();
    uint8_t buffer[260];
    for (auto _ : state) {
        if (file.Read(buffer, 2) != 2 || file.Read(buffer + 2, 256) != 256 || file.Read(buffer + 258, 2) != 2)
            file.Seek(0, lect32::DiskFile::kBegin);
        benchmark::DoNotOptimize(buffer);
    }
    file.Close();
    state.SetLabel(windowed ? "window" : "whole file");
}
BENCHMARK(BM_DiskFileSmallReads)->Arg(0)->Arg(1);

}  // namespace
