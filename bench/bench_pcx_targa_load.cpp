// Decoding 4096 x 4096 PCX and Targa files: the library's codecs (info, then every row into one
// whole-picture buffer, as a load into a new image does) next to stb_image decoding the same
// Targa bytes from memory, and netpbm's pcxtoppm and tgatoppm run on the same files (their
// times include starting the program and writing the PPM to /dev/null). stb_image reads no PCX.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#include <stb/stb_image.h>

#include "formats/format_registry.h"
#include "formats/pcx_codec.h"
#include "formats/pcx_rle.h"
#include "formats/targa_codec.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kSide = 4096;

// Flat areas with edges and a noisy strip every few rows, so both packet kinds occur.
uint8_t sample(int x, int y, int channel) {
    if (y % 16 == 0 && x < 512) return static_cast<uint8_t>(((x + channel) * 2654435761u) >> 24);
    return static_cast<uint8_t>(x / 96 + y / 128 + channel * 40);
}

Bytes pcx8() {
    Bytes b(128, 0);
    b[0] = 0x0A;
    b[1] = 5;
    b[2] = 1;
    b[3] = 8;
    b[8] = (kSide - 1) & 0xFF;
    b[9] = (kSide - 1) >> 8;
    b[10] = (kSide - 1) & 0xFF;
    b[11] = (kSide - 1) >> 8;
    b[65] = 1;
    b[66] = kSide & 0xFF;
    b[67] = kSide >> 8;
    Bytes line(kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) line[static_cast<size_t>(x)] = sample(x, y, 0);
        pixmill::encodePcxLine(line, b);
    }
    b.push_back(0x0C);
    for (int i = 0; i < 768; ++i) b.push_back(static_cast<uint8_t>(i));
    return b;
}

Bytes targa24(bool rle) {
    Bytes b(18, 0);
    b[2] = rle ? 10 : 2;
    b[12] = kSide & 0xFF;
    b[13] = kSide >> 8;
    b[14] = kSide & 0xFF;
    b[15] = kSide >> 8;
    b[16] = 24;
    b[17] = 0x20;
    for (int y = 0; y < kSide; ++y) {
        int x = 0;
        while (x < kSide) {
            if (!rle) {
                for (int c = 0; c < 3; ++c) b.push_back(sample(x, y, c));
                ++x;
                continue;
            }
            int run = 1;
            while (x + run < kSide && run < 128 && sample(x + run, y, 0) == sample(x, y, 0) &&
                   sample(x + run, y, 1) == sample(x, y, 1) && sample(x + run, y, 2) == sample(x, y, 2)) {
                ++run;
            }
            if (run > 1) {
                b.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
                for (int c = 0; c < 3; ++c) b.push_back(sample(x, y, c));
            } else {
                b.push_back(0);
                for (int c = 0; c < 3; ++c) b.push_back(sample(x, y, c));
            }
            x += run;
        }
    }
    return b;
}

struct Fixture {
    std::string pcx, tga, tgaRle;
    Bytes tgaBytes, tgaRleBytes;
    Fixture() {
        char folder[] = "/tmp/pixmill_bench_XXXXXX";
        const std::string base = mkdtemp(folder) ? folder : "/tmp";
        pcx = base + "/p8.pcx";
        tga = base + "/t24.tga";
        tgaRle = base + "/t24rle.tga";
        auto write = [](const std::string& path, const Bytes& bytes) {
            if (FILE* f = std::fopen(path.c_str(), "wb")) {
                std::fwrite(bytes.data(), 1, bytes.size(), f);
                std::fclose(f);
            }
        };
        write(pcx, pcx8());
        tgaBytes = targa24(false);
        tgaRleBytes = targa24(true);
        write(tga, tgaBytes);
        write(tgaRle, tgaRleBytes);
    }
};

const Fixture& files() {
    static const Fixture f;
    return f;
}

class WholePicture final : public pixmill::RowSink {
public:
    explicit WholePicture(const pixmill::RowLayout& l) : layout_(l), bits_(size_t{l.stride} * static_cast<size_t>(l.height)) {}
    int16_t putRow(const uint8_t* row, int y) override {
        std::memcpy(bits_.data() + size_t{layout_.stride} * static_cast<size_t>(y), row, layout_.stride);
        return pixmill::kCodecOk;
    }
    pixmill::RowLayout layout_;
    std::vector<uint8_t> bits_;
};

void ours(benchmark::State& state, const std::string& path, pixmill::CodecFn info, pixmill::CodecFn load) {
    const std::string windows = "C:" + path;
    for (auto _ : state) {
        pixmill::PxlCodecInfo record;
        pixmill::ByteStream stream;
        if (!stream.openFile(windows.c_str(), "rb")) state.SkipWithError("cannot open");
        pixmill::CodecCall call{record, stream};
        if (info(call) != 0) state.SkipWithError("info failed");
        WholePicture sink(pixmill::prepareRowTransfer(record));
        call.sink = &sink;
        if (load(call) != 0) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(sink.bits_.data());
    }
}

void netpbm(benchmark::State& state, const char* program, const std::string& path) {
    const std::string command = std::string(program) + " '" + path + "' > /dev/null 2>&1";
    if (std::system(("command -v " + std::string(program) + " > /dev/null").c_str()) != 0) {
        state.SkipWithError("netpbm is not installed");
        return;
    }
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("the program failed");
    }
}

void stb(benchmark::State& state, const Bytes& bytes) {
    for (auto _ : state) {
        int w, h, n;
        stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &n, 0);
        if (!pixels) state.SkipWithError("stb_image failed");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
}

void BM_Pcx8_Ours(benchmark::State& s) { ours(s, files().pcx, pixmill::pcxInfo, pixmill::pcxLoad); }
void BM_Pcx8_Pcxtoppm(benchmark::State& s) { netpbm(s, "pcxtoppm", files().pcx); }
void BM_Targa24Rle_Ours(benchmark::State& s) { ours(s, files().tgaRle, pixmill::targaInfo, pixmill::targaLoad); }
void BM_Targa24Rle_Stb(benchmark::State& s) { stb(s, files().tgaRleBytes); }
void BM_Targa24Rle_Tgatoppm(benchmark::State& s) { netpbm(s, "tgatoppm", files().tgaRle); }
void BM_Targa24_Ours(benchmark::State& s) { ours(s, files().tga, pixmill::targaInfo, pixmill::targaLoad); }
void BM_Targa24_Stb(benchmark::State& s) { stb(s, files().tgaBytes); }
void BM_Targa24_Tgatoppm(benchmark::State& s) { netpbm(s, "tgatoppm", files().tga); }

}  // namespace

BENCHMARK(BM_Pcx8_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pcx8_Pcxtoppm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Targa24Rle_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Targa24Rle_Stb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Targa24Rle_Tgatoppm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Targa24_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Targa24_Stb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Targa24_Tgatoppm)->Unit(benchmark::kMillisecond);
