// The compression exports against zlib called directly, on the 64000-byte chunks record bodies are
// stored in: the wrapper should cost nothing measurable beyond zlib itself.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

#include "pixmill/pixmill.h"

namespace {

constexpr uint32_t kChunk = 64000;

// Prose-like bytes: words of a small vocabulary, spaces, some punctuation and line breaks.
std::vector<uint8_t> textChunk() {
    static constexpr std::string_view kWords[] = {
        "the",   "page",    "of",    "document", "image", "record", "and",  "with",    "text",   "style",
        "table", "picture", "links", "reader",   "a",     "to",     "file", "chapter", "figure", "note"};
    std::mt19937 random(42);
    std::uniform_int_distribution<size_t> word(0, std::size(kWords) - 1);
    std::uniform_int_distribution<int> mark(0, 19);
    std::vector<uint8_t> bytes;
    bytes.reserve(kChunk + 16);
    while (bytes.size() < kChunk) {
        const auto w = kWords[word(random)];
        bytes.insert(bytes.end(), w.begin(), w.end());
        const int m = mark(random);
        bytes.push_back(m == 0 ? '.' : m == 1 ? ',' : m == 2 ? '\n' : ' ');
    }
    bytes.resize(kChunk);
    return bytes;
}

// A 320 x 200 8-bit picture: soft gradients with sensor-like noise and a few flat areas.
std::vector<uint8_t> pictureChunk() {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 3.0);
    std::vector<uint8_t> bytes(kChunk);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 320; ++x) {
            const bool flat = (x / 64 + y / 50) % 5 == 0;
            const double value = flat ? 200.0 : (x * 0.5 + y * 0.4) + noise(random);
            bytes[static_cast<size_t>(y) * 320 + x] = static_cast<uint8_t>(std::clamp(value, 0.0, 255.0));
        }
    }
    return bytes;
}

const std::vector<uint8_t>& chunk(int64_t kind) {
    static const std::vector<uint8_t> text = textChunk();
    static const std::vector<uint8_t> picture = pictureChunk();
    return kind == 0 ? text : picture;
}

const char* kindName(int64_t kind) {
    return kind == 0 ? "text" : "picture";
}

std::vector<uint8_t> packedWithZlib(const std::vector<uint8_t>& source) {
    uLongf length = compressBound(source.size());
    std::vector<uint8_t> out(length);
    compress(out.data(), &length, source.data(), source.size());
    out.resize(length);
    return out;
}

void report(benchmark::State& state, int64_t kind, size_t packedSize) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kChunk);
    state.SetLabel(kindName(kind));
    state.counters["ratio"] = static_cast<double>(packedSize) / kChunk;
}

void BM_PXLcompress(benchmark::State& state) {
    const auto& source = chunk(state.range(0));
    std::vector<uint8_t> dest(compressBound(kChunk));
    uint32_t length = 0;
    for (auto _ : state) {
        length = static_cast<uint32_t>(dest.size());
        if (PXLcompress(dest.data(), &length, source.data(), kChunk) != Z_OK)
            state.SkipWithError("compress failed");
        benchmark::DoNotOptimize(dest.data());
    }
    report(state, state.range(0), length);
}

void BM_ZlibCompress(benchmark::State& state) {
    const auto& source = chunk(state.range(0));
    std::vector<uint8_t> dest(compressBound(kChunk));
    uLongf length = 0;
    for (auto _ : state) {
        length = dest.size();
        if (compress(dest.data(), &length, source.data(), kChunk) != Z_OK)
            state.SkipWithError("compress failed");
        benchmark::DoNotOptimize(dest.data());
    }
    report(state, state.range(0), length);
}

void BM_PXLdecompress(benchmark::State& state) {
    const auto packed = packedWithZlib(chunk(state.range(0)));
    std::vector<uint8_t> dest(kChunk);
    for (auto _ : state) {
        uint32_t length = kChunk;
        if (PXLdecompress(dest.data(), &length, packed.data(), static_cast<uint32_t>(packed.size())) != Z_OK)
            state.SkipWithError("decompress failed");
        benchmark::DoNotOptimize(dest.data());
    }
    report(state, state.range(0), packed.size());
}

void BM_ZlibUncompress(benchmark::State& state) {
    const auto packed = packedWithZlib(chunk(state.range(0)));
    std::vector<uint8_t> dest(kChunk);
    for (auto _ : state) {
        uLongf length = kChunk;
        if (uncompress(dest.data(), &length, packed.data(), packed.size()) != Z_OK)
            state.SkipWithError("uncompress failed");
        benchmark::DoNotOptimize(dest.data());
    }
    report(state, state.range(0), packed.size());
}

BENCHMARK(BM_PXLcompress)->DenseRange(0, 1);
BENCHMARK(BM_ZlibCompress)->DenseRange(0, 1);
BENCHMARK(BM_PXLdecompress)->DenseRange(0, 1);
BENCHMARK(BM_ZlibUncompress)->DenseRange(0, 1);

}  // namespace
