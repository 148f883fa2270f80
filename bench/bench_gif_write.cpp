// Encoding GIF files: the library's writer (one frame per call, rows fetched at 8 bits, output to
// memory through a callback stream) next to giflib's encoder (EGifPutLine, output to memory
// through its write callback) on the same pixels: one 1024 x 1024 8-bit picture and a 100-frame
// 500 x 500 animation with a graphic control block per frame. Both make valid files of the same
// pictures; their code streams differ (the table sizes and clear points are each encoder's own).
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/gif_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Smooth areas with some noise, like a photograph reduced to 256 colours.
uint8_t indexAt(int x, int y, int frame) {
    const uint32_t noise = (static_cast<uint32_t>(x * 7 + y * 13 + frame * 31) * 2654435761u) >> 29;
    return static_cast<uint8_t>((x / 16 + y / 16 + frame * 3) + noise);
}

struct Picture {
    int width, height, frames;
    std::vector<Bytes> pixels;  // per frame, rows from the top
};

Picture picture(int width, int height, int frames) {
    Picture p{width, height, frames, {}};
    for (int f = 0; f < frames; ++f) {
        Bytes b(static_cast<size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) b[static_cast<size_t>(y) * width + x] = indexAt(x, y, f);
        p.pixels.push_back(std::move(b));
    }
    return p;
}

const Picture& single() {
    static const Picture p = picture(1024, 1024, 1);
    return p;
}
const Picture& animation() {
    static const Picture p = picture(500, 500, 100);
    return p;
}

// Memory output for the library's writer.
struct Memory {
    PxlStreamCallbacks callbacks{&Memory::read, &Memory::write, &Memory::seek, &Memory::tell};
    Bytes data;
    static Memory& of(PxlStreamCallbacks* self) { return *reinterpret_cast<Memory*>(self); }
    static int32_t read(PxlStreamCallbacks*, void*, int32_t) { return 0; }
    static int32_t write(PxlStreamCallbacks* self, const void* buffer, int32_t count) {
        const auto* b = static_cast<const uint8_t*>(buffer);
        of(self).data.insert(of(self).data.end(), b, b + count);
        return count;
    }
    static int32_t seek(PxlStreamCallbacks*, int32_t, int32_t) { return 0; }
    static int32_t tell(PxlStreamCallbacks* self) { return static_cast<int32_t>(of(self).data.size()); }
};

class FrameRows final : public pixmill::RowSource {
  public:
    FrameRows(const Bytes& pixels, int width) : pixels_(pixels), width_(width) {}
    void getRow(uint8_t* row, int y) override {
        std::memcpy(row, pixels_.data() + static_cast<size_t>(y) * width_, static_cast<size_t>(width_));
    }

  private:
    const Bytes& pixels_;
    int width_;
};

size_t encodeOurs(const Picture& p) {
    Memory memory;
    pixmill::ByteStream stream(&memory.callbacks);
    for (int f = 0; f < p.frames; ++f) {
        pixmill::PxlCodecInfo info;
        info.width = static_cast<int16_t>(p.width);
        info.height = static_cast<int16_t>(p.height);
        info.screenWidth = info.width;
        info.screenHeight = info.height;
        info.bitsPerPixel = 8;
        info.sourceBitsPerPixel = 8;
        info.wantedFrame = static_cast<int16_t>(f);
        info.flags = f + 1 < p.frames ? 1 : 0;
        info.gifFrameWord = p.frames > 1 ? 1 : 0;
        info.frameDelay = 10;
        for (int i = 0; i < 256; ++i) info.setPaletteEntry(i, uint8_t(i), uint8_t(255 - i), uint8_t(i * 7));
        FrameRows rows(p.pixels[static_cast<size_t>(f)], p.width);
        pixmill::CodecCall call{info, stream};
        call.source = &rows;
        if (pixmill::gifSave(call) != pixmill::kCodecOk) return 0;
    }
    return memory.data.size();
}

int appendBytes(GifFileType* gif, const GifByteType* data, int count) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + count);
    return count;
}

size_t encodeGiflib(const Picture& p) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendBytes, &error);
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    for (int i = 0; i < 256; ++i)
        map->Colors[i] = GifColorType{GifByteType(i), GifByteType(255 - i), GifByteType(i * 7)};
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, p.width, p.height, 8, 0, map);
    for (int f = 0; f < p.frames; ++f) {
        if (p.frames > 1) {
            GraphicsControlBlock control{0, false, 10, NO_TRANSPARENT_COLOR};
            GifByteType extension[4];
            EGifGCBToExtension(&control, extension);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
        }
        EGifPutImageDesc(gif, 0, 0, p.width, p.height, false, nullptr);
        const Bytes& pixels = p.pixels[static_cast<size_t>(f)];
        for (int y = 0; y < p.height; ++y) {
            EGifPutLine(gif, const_cast<GifPixelType*>(pixels.data() + static_cast<size_t>(y) * p.width),
                        p.width);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out.size();
}

template <size_t (*Encode)(const Picture&), const Picture& (*Which)()>
void bench(benchmark::State& state) {
    const Picture& p = Which();
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = Encode(p);
        benchmark::DoNotOptimize(bytes);
    }
    if (bytes == 0) state.SkipWithError("the encoder failed");
    state.counters["file_bytes"] = static_cast<double>(bytes);
    state.SetItemsProcessed(state.iterations() * int64_t{p.width} * p.height * p.frames);
}

BENCHMARK(bench<encodeOurs, single>)->Name("gif_write_1024x1024/pixmill")->Unit(benchmark::kMillisecond);
BENCHMARK(bench<encodeGiflib, single>)->Name("gif_write_1024x1024/giflib")->Unit(benchmark::kMillisecond);
BENCHMARK(bench<encodeOurs, animation>)->Name("gif_write_100_frames/pixmill")->Unit(benchmark::kMillisecond);
BENCHMARK(bench<encodeGiflib, animation>)->Name("gif_write_100_frames/giflib")->Unit(benchmark::kMillisecond);

}  // namespace
