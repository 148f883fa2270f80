// Decoding 4096 x 4096 bitmaps held in memory: the library's codec (through a callback stream,
// into a fresh whole-picture buffer, as a load into a new image does) next to stb_image decoding
// the same bytes with stbi_load_from_memory.
//
// stb_image does not read run-length bitmaps at all; for RLE8 it is timed on the same picture
// stored uncompressed at 8 bits, and a separate case records that it refuses the RLE bytes.
// stb_image also expands 8-bit pictures to 24-bit pixels, while the codec hands over the indexes
// the library keeps; both produce what their callers hold afterwards.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>

#include "formats/bmp_codec.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kSide = 4096;

void put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// File header, 40-byte info header and palette, then the pixel data.
Bytes bitmap(int bits, uint32_t compression, const Bytes& pixels) {
    const uint32_t paletteBytes = bits <= 8 ? 4u << bits : 0;
    const uint32_t offset = 54 + paletteBytes;
    Bytes b = {'B', 'M'};
    put32(b, static_cast<uint32_t>(offset + pixels.size()));
    put32(b, 0);
    put32(b, offset);
    put32(b, 40);
    put32(b, kSide);
    put32(b, kSide);
    put16(b, 1);
    put16(b, static_cast<uint32_t>(bits));
    put32(b, compression);
    put32(b, static_cast<uint32_t>(pixels.size()));
    for (int i = 0; i < 4; ++i) put32(b, 0);
    for (uint32_t i = 0; i < paletteBytes / 4; ++i) put32(b, (i * 0x010203u) & 0xFFFFFF);
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

Bytes make24() {
    Bytes pixels;
    pixels.reserve(size_t{kSide} * kSide * 3);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            pixels.push_back(static_cast<uint8_t>(x ^ y));
            pixels.push_back(static_cast<uint8_t>(y));
            pixels.push_back(static_cast<uint8_t>(x));
        }
    }
    return bitmap(24, 0, pixels);
}

// An 8-bit picture of the kind run-length files hold: flat areas with edges, and a noisy strip
// every few rows so that absolute blocks occur too.
uint8_t indexAt(int x, int y) {
    if (y % 16 == 0 && x < 512) return static_cast<uint8_t>((x * 2654435761u) >> 24);
    return static_cast<uint8_t>(x / 96 + y / 128);
}

// Rows bottom first, as the file stores them.
std::vector<Bytes> indexedRows() {
    std::vector<Bytes> rows;
    for (int y = kSide - 1; y >= 0; --y) {
        Bytes row(kSide);
        for (int x = 0; x < kSide; ++x) row[static_cast<size_t>(x)] = indexAt(x, y);
        rows.push_back(std::move(row));
    }
    return rows;
}

Bytes make8() {
    Bytes pixels;
    for (const Bytes& row : indexedRows()) pixels.insert(pixels.end(), row.begin(), row.end());
    return bitmap(8, 0, pixels);
}

// A plain RLE8 encoder: runs of three or more as encoded runs, other stretches as absolute
// blocks, an end of line per row and the end mark.
Bytes makeRle8() {
    Bytes data;
    for (const Bytes& row : indexedRows()) {
        size_t x = 0;
        while (x < row.size()) {
            size_t run = 1;
            while (x + run < row.size() && run < 255 && row[x + run] == row[x]) ++run;
            if (run >= 3) {
                data.push_back(static_cast<uint8_t>(run));
                data.push_back(row[x]);
                x += run;
                continue;
            }
            size_t literal = 0;
            while (x + literal < row.size() && literal < 255) {
                const size_t at = x + literal;
                if (at + 2 < row.size() && row[at] == row[at + 1] && row[at] == row[at + 2]) break;
                ++literal;
            }
            if (literal < 3) {
                for (size_t i = 0; i < literal; ++i) {
                    data.push_back(1);
                    data.push_back(row[x + i]);
                }
            } else {
                data.push_back(0);
                data.push_back(static_cast<uint8_t>(literal));
                data.insert(data.end(), row.begin() + static_cast<std::ptrdiff_t>(x),
                            row.begin() + static_cast<std::ptrdiff_t>(x + literal));
                if (literal % 2) data.push_back(0);
            }
            x += literal;
        }
        data.push_back(0);
        data.push_back(0);
    }
    data.push_back(0);
    data.push_back(1);
    return bitmap(8, 1, data);
}

const Bytes& picture24() {
    static const Bytes b = make24();
    return b;
}
const Bytes& picture8() {
    static const Bytes b = make8();
    return b;
}
const Bytes& pictureRle8() {
    static const Bytes b = makeRle8();
    return b;
}

// A callback stream over bytes in memory.
struct MemoryStream {
    PxlStreamCallbacks callbacks{&MemoryStream::read, nullptr, &MemoryStream::seek, &MemoryStream::tell};
    const Bytes* data = nullptr;
    size_t position = 0;

    static MemoryStream& of(PxlStreamCallbacks* self) { return *reinterpret_cast<MemoryStream*>(self); }
    static int32_t read(PxlStreamCallbacks* self, void* buffer, int32_t count) {
        MemoryStream& m = of(self);
        const size_t n =
            std::min(static_cast<size_t>(count), m.data->size() - std::min(m.position, m.data->size()));
        std::memcpy(buffer, m.data->data() + m.position, n);
        m.position += n;
        return static_cast<int32_t>(n);
    }
    static int32_t seek(PxlStreamCallbacks* self, int32_t offset, int32_t origin) {
        MemoryStream& m = of(self);
        const int64_t base = origin == 0   ? 0
                             : origin == 1 ? static_cast<int64_t>(m.position)
                                           : static_cast<int64_t>(m.data->size());
        m.position = static_cast<size_t>(base + offset);
        return 0;
    }
    static int32_t tell(PxlStreamCallbacks* self) { return static_cast<int32_t>(of(self).position); }
};

// Rows into one picture buffer, as the front end copies them into a new image.
class BufferSink final : public pixmill::RowSink {
  public:
    explicit BufferSink(const pixmill::RowLayout& layout)
        : stride_(layout.stride),
          pixels_(new uint8_t[size_t{layout.stride} * static_cast<size_t>(layout.height)]) {}
    int16_t putRow(const uint8_t* row, int indexFromTop) override {
        std::memcpy(pixels_.get() + size_t{stride_} * static_cast<size_t>(indexFromTop), row, stride_);
        return pixmill::kCodecOk;
    }
    const uint8_t* pixels() const { return pixels_.get(); }

  private:
    uint32_t stride_;
    std::unique_ptr<uint8_t[]> pixels_;
};

void pixmillDecode(benchmark::State& state, const Bytes& (*picture)()) {
    const Bytes& file = picture();
    for (auto _ : state) {
        MemoryStream memory;
        memory.data = &file;
        pixmill::ByteStream stream(&memory.callbacks);
        pixmill::PxlCodecInfo info;
        pixmill::CodecCall call{info, stream};
        if (pixmill::bmpInfo(call) != pixmill::kCodecOk) {
            state.SkipWithError("info failed");
            break;
        }
        BufferSink sink(pixmill::prepareRowTransfer(info));
        call.sink = &sink;
        if (pixmill::bmpLoad(call) != pixmill::kCodecOk) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(sink.pixels());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size()));
    state.counters["Mpixel/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kSide * kSide / 1e6, benchmark::Counter::kIsRate);
}

void stbDecode(benchmark::State& state, const Bytes& (*picture)()) {
    const Bytes& file = picture();
    for (auto _ : state) {
        int width = 0, height = 0, channels = 0;
        stbi_uc* pixels =
            stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &channels, 0);
        if (!pixels) {
            state.SkipWithError(stbi_failure_reason());
            break;
        }
        benchmark::DoNotOptimize(pixels);
        benchmark::ClobberMemory();
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size()));
    state.counters["Mpixel/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kSide * kSide / 1e6, benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(pixmillDecode, bmp24, &picture24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stbDecode, bmp24, &picture24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pixmillDecode, bmp8, &picture8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stbDecode, bmp8, &picture8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pixmillDecode, rle8, &pictureRle8)->Unit(benchmark::kMillisecond);
// stb_image's nearest case for the RLE8 picture: the same picture uncompressed.
BENCHMARK_CAPTURE(stbDecode, rle8_picture_uncompressed, &picture8)->Unit(benchmark::kMillisecond);
// Expected to stop at once with stb_image's own reason: it has no RLE decoder.
BENCHMARK_CAPTURE(stbDecode, rle8, &pictureRle8)->Unit(benchmark::kMillisecond);

}  // namespace
