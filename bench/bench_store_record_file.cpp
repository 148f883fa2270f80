// Record-file costs as documents grow: writing numbered records one after another and reading
// them all back, at two sizes ten times apart (the cost per record must stay flat), and expanding
// a big compressed body side by side with inflating its chunks with zlib directly.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/vazazi_file.h"

namespace {

using lect32::MemReader;
using lect32::MemWriter;
using lect32::VazaziFile;

std::string benchPath(const char* name) {
    std::string path = (std::filesystem::temp_directory_path() / name).string();
    return "C:" + path;  // drive C: is the host root
}

std::vector<uint8_t> body(std::mt19937& random) {
    std::vector<uint8_t> bytes(200 + random() % 1801);
    for (auto& b : bytes) b = static_cast<uint8_t>(random() % 64 + 32);
    return bytes;
}

// Writes 'count' numbered records of 200..2000 bytes in order, reopens the file, reads them all.
void BM_WriteReopenReadNumbered(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::string path = benchPath("bench_numbered.lcn");
    std::mt19937 random(5);
    std::vector<std::vector<uint8_t>> bodies;
    for (int i = 0; i < count; ++i) bodies.push_back(body(random));
    for (auto _ : state) {
        VazaziFile file;
        file.Create(path.c_str(), 1);
        file.BeginAccess();
        MemWriter writer;
        for (int i = 0; i < count; ++i) {
            writer.Begin();
            writer.WriteBytesLong(bodies[i].data(), static_cast<uint32_t>(bodies[i].size()));
            writer.End();
            if (!file.WriteRecord(2, static_cast<int16_t>(i), writer)) state.SkipWithError("write failed");
        }
        file.EndAccess();
        VazaziFile again;
        again.Open(path.c_str(), false);
        again.BeginAccess();
        MemReader reader;
        for (int i = 0; i < count; ++i) {
            if (!again.ReadRecord(2, static_cast<int16_t>(i), reader)) state.SkipWithError("read failed");
        }
        again.EndAccess();
    }
    state.counters["per_record_us"] =
        benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
    std::remove(path.substr(2).c_str());
}
BENCHMARK(BM_WriteReopenReadNumbered)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);

constexpr uint32_t kBigBody = 64u << 20;

// A 64 MB picture-like body stored compressed in one record.
struct CompressedBody {
    std::string path = benchPath("bench_compressed.lcn");
    std::vector<std::vector<uint8_t>> packedChunks;
    CompressedBody() {
        std::vector<uint8_t> data(kBigBody);
        std::mt19937 random(9);
        for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>((i / 3) % 251 + random() % 4);
        MemWriter writer;
        writer.Begin();
        writer.WriteBytesLong(data.data(), kBigBody);
        writer.Compress();
        VazaziFile file;
        file.Create(path.c_str(), 1);
        const lect32::RecordFlags flags{1, 1};
        file.WriteRecord(2, 0, writer, &flags);
        for (uint32_t at = 0; at < kBigBody; at += MemReader::kChunk) {
            uLongf packedLength = compressBound(MemReader::kChunk);
            std::vector<uint8_t> packed(packedLength);
            compress(packed.data(), &packedLength, data.data() + at, std::min(MemReader::kChunk, kBigBody - at));
            packed.resize(packedLength);
            packedChunks.push_back(std::move(packed));
        }
    }
};

CompressedBody& compressedBody() {
    static CompressedBody body;
    return body;
}

void BM_ReadCompressedBody64MB(benchmark::State& state) {
    VazaziFile file;
    file.Open(compressedBody().path.c_str(), false);
    for (auto _ : state) {
        MemReader reader;
        if (!file.ReadRecord(2, 0, reader) || reader.size() != kBigBody) state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(int64_t{kBigBody} * state.iterations());
}
BENCHMARK(BM_ReadCompressedBody64MB)->Unit(benchmark::kMillisecond);

void BM_ZlibInflateSameChunks64MB(benchmark::State& state) {
    const auto& chunks = compressedBody().packedChunks;
    for (auto _ : state) {
        // Fresh memory each time, as a reader loading a record must have.
        std::unique_ptr<uint8_t[]> out(new uint8_t[kBigBody]);
        uint32_t at = 0;
        for (const auto& packed : chunks) {
            uLongf length = MemReader::kChunk;
            uncompress(out.get() + at, &length, packed.data(), packed.size());
            at += static_cast<uint32_t>(length);
        }
        benchmark::DoNotOptimize(out.get());
    }
    state.SetBytesProcessed(int64_t{kBigBody} * state.iterations());
}
BENCHMARK(BM_ZlibInflateSameChunks64MB)->Unit(benchmark::kMillisecond);

}  // namespace
