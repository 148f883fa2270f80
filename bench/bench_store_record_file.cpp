// Record-file costs as documents grow: writing numbered records one after another and reading
// them all back, at two sizes ten times apart (the cost per record must stay flat); expanding a
// big compressed body (4 MB and 64 MB) side by side with inflating its chunks with zlib directly;
// and reading one compressed page record after another (4 KB, 60 KB and 200 KB of text), outside
// an access bracket as a page is shown and inside one as a search reads them, next to reading the
// same packed bytes from a plain file with pread and inflating them with zlib.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
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

// A picture-like body of 'size' bytes stored compressed in one record, and its chunks packed by
// zlib directly.
struct CompressedBody {
    std::string path;
    uint32_t size;
    std::vector<std::vector<uint8_t>> packedChunks;
    explicit CompressedBody(uint32_t bytes)
        : path(benchPath(("bench_compressed_" + std::to_string(bytes) + ".lcn").c_str())), size(bytes) {
        std::vector<uint8_t> data(size);
        std::mt19937 random(9);
        for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>((i / 3) % 251 + random() % 4);
        MemWriter writer;
        writer.Begin();
        writer.WriteBytesLong(data.data(), size);
        writer.Compress();
        VazaziFile file;
        file.Create(path.c_str(), 1);
        const lect32::RecordFlags flags{1, 1};
        file.WriteRecord(2, 0, writer, &flags);
        file.Close();
        for (uint32_t at = 0; at < size; at += MemReader::kChunk) {
            uLongf packedLength = compressBound(MemReader::kChunk);
            std::vector<uint8_t> packed(packedLength);
            compress(packed.data(), &packedLength, data.data() + at, std::min(MemReader::kChunk, size - at));
            packed.resize(packedLength);
            packedChunks.push_back(std::move(packed));
        }
    }
};

CompressedBody& compressedBody(uint32_t size) {
    static std::map<uint32_t, std::unique_ptr<CompressedBody>> bodies;
    auto& body = bodies[size];
    if (!body) body = std::make_unique<CompressedBody>(size);
    return *body;
}

void BM_ReadCompressedBody(benchmark::State& state) {
    const CompressedBody& body = compressedBody(static_cast<uint32_t>(state.range(0)));
    VazaziFile file;
    file.Open(body.path.c_str(), false);
    for (auto _ : state) {
        MemReader reader;
        if (!file.ReadRecord(2, 0, reader) || reader.size() != body.size) state.SkipWithError("read failed");
    }
    file.Close();
    state.SetBytesProcessed(int64_t{body.size} * state.iterations());
}
BENCHMARK(BM_ReadCompressedBody)->Arg(4u << 20)->Arg(64u << 20)->Unit(benchmark::kMillisecond);

void BM_ZlibInflateSameChunks(benchmark::State& state) {
    const CompressedBody& body = compressedBody(static_cast<uint32_t>(state.range(0)));
    for (auto _ : state) {
        // Fresh memory each time, as a reader loading a record must have.
        std::unique_ptr<uint8_t[]> out(new uint8_t[body.size]);
        uint32_t at = 0;
        for (const auto& packed : body.packedChunks) {
            uLongf length = MemReader::kChunk;
            uncompress(out.get() + at, &length, packed.data(), packed.size());
            at += static_cast<uint32_t>(length);
        }
        benchmark::DoNotOptimize(out.get());
    }
    state.SetBytesProcessed(int64_t{body.size} * state.iterations());
}
BENCHMARK(BM_ZlibInflateSameChunks)->Arg(4u << 20)->Arg(64u << 20)->Unit(benchmark::kMillisecond);

constexpr int kPages = 64;

// Text of a page: Czech-like words, packing about as well as real pages do.
std::vector<uint8_t> pageText(std::mt19937& random, uint32_t size) {
    static const char* const words[] = {"text", "\xE8\x65sk\xFD", "odstavec", "Ko\xE8ka", "\xFAloha", "p\xF8\xEDklad",
                                        "a", "na", "strana", "kapitola", "obr\xE1zek", "tabulka"};
    std::vector<uint8_t> bytes;
    while (bytes.size() < size) {
        const char* word = words[random() % std::size(words)];
        bytes.insert(bytes.end(), word, word + std::strlen(word));
        bytes.push_back(random() % 9 ? ' ' : '\n');
    }
    bytes.resize(size);
    return bytes;
}

// A document of kPages page records of 'size' bytes each, stored compressed; beside it a plain
// file with the same packed bodies one after another, where they are read by offset.
struct PageDocument {
    std::string path;
    std::string plainPath;
    uint32_t size;
    std::vector<std::pair<off_t, uint32_t>> packed;  // offset and length in the plain file
    explicit PageDocument(uint32_t bytes)
        : path(benchPath(("bench_pages_" + std::to_string(bytes) + ".lcn").c_str())),
          plainPath(benchPath(("bench_pages_" + std::to_string(bytes) + ".bin").c_str()).substr(2)),
          size(bytes) {
        std::mt19937 random(21);
        VazaziFile file;
        file.Create(path.c_str(), 1);
        file.BeginAccess();
        const int plain = ::open(plainPath.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
        off_t at = 0;
        for (int page = 0; page < kPages; ++page) {
            const std::vector<uint8_t> text = pageText(random, size);
            MemWriter writer;
            writer.Begin();
            writer.WriteBytesLong(text.data(), size);
            writer.End();
            writer.Compress();
            const lect32::RecordFlags flags{1, 1};
            file.WriteRecord(2, static_cast<int16_t>(page), writer, &flags);
            std::vector<uint8_t> body(writer.GetLength());
            writer.CopyTo(body.data());
            if (::pwrite(plain, body.data(), body.size(), at) != static_cast<ssize_t>(body.size())) break;
            packed.emplace_back(at, static_cast<uint32_t>(body.size()));
            at += static_cast<off_t>(body.size());
        }
        ::close(plain);
        file.EndAccess();
        file.Close();
    }
};

PageDocument& pageDocument(uint32_t size) {
    static std::map<uint32_t, std::unique_ptr<PageDocument>> documents;
    auto& document = documents[size];
    if (!document) document = std::make_unique<PageDocument>(size);
    return *document;
}

void readPages(benchmark::State& state, bool inBracket) {
    const PageDocument& document = pageDocument(static_cast<uint32_t>(state.range(0)));
    VazaziFile file;
    file.Open(document.path.c_str(), false);
    if (inBracket) file.BeginAccess();
    int page = 0;
    for (auto _ : state) {
        MemReader reader;
        if (!file.ReadRecord(2, static_cast<int16_t>(page), reader) || reader.size() != document.size)
            state.SkipWithError("read failed");
        page = (page + 1) % kPages;
    }
    if (inBracket) file.EndAccess();
    file.Close();
}

void BM_ReadPageRecord(benchmark::State& state) { readPages(state, false); }
void BM_ReadPageRecordInBracket(benchmark::State& state) { readPages(state, true); }

// The peer: one pread of the packed body, then each chunk inflated by zlib into fresh memory.
void BM_PreadInflatePage(benchmark::State& state) {
    const PageDocument& document = pageDocument(static_cast<uint32_t>(state.range(0)));
    const int fd = ::open(document.plainPath.c_str(), O_RDONLY);
    int page = 0;
    for (auto _ : state) {
        const auto [offset, length] = document.packed[page];
        std::unique_ptr<uint8_t[]> body(new uint8_t[length]);
        if (::pread(fd, body.get(), length, offset) != static_cast<ssize_t>(length)) state.SkipWithError("read failed");
        std::unique_ptr<uint8_t[]> out(new uint8_t[document.size]);
        const uint32_t count = body[0] | body[1] << 8;
        uint32_t at = 2;
        uLongf filled = 0;
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t unpacked = body[at + 1] | body[at + 2] << 8;
            if (body[at] == 1) {
                const uint32_t packedLength = body[at + 3] | body[at + 4] << 8;
                uLongf expanded = unpacked;
                uncompress(out.get() + filled, &expanded, body.get() + at + 5, packedLength);
                at += 5 + packedLength;
            } else {
                std::memcpy(out.get() + filled, body.get() + at + 3, unpacked);
                at += 3 + unpacked;
            }
            filled += unpacked;
        }
        if (filled != document.size) state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.get());
        page = (page + 1) % kPages;
    }
    ::close(fd);
}

// Each iteration reads one page, so the time is the time per page.
BENCHMARK(BM_ReadPageRecord)->Arg(4000)->Arg(60000)->Arg(200000);
BENCHMARK(BM_ReadPageRecordInBracket)->Arg(4000)->Arg(60000)->Arg(200000);
BENCHMARK(BM_PreadInflatePage)->Arg(4000)->Arg(60000)->Arg(200000);

}  // namespace
