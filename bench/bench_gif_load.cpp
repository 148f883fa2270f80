// Decoding GIF files: the library's reader (info and load per frame, as the front end does, rows
// into a whole-picture buffer) next to giflib's DGifSlurp and stb_image on the same bytes. The
// files are written by giflib's encoder: one 4096 x 4096 8-bit picture, and a 100-frame 500 x 500
// animation. Called frame by frame the reader parses the file from its start for every frame, so
// that animation costs it the square of the frame count in parsing; the peers decode all frames in
// one pass.
//
// Animations of 25, 50, 100 and 200 frames of 500 x 500 are also loaded whole: as a frame chain
// through PXLLoadImageFramesOffset, next to DGifSlurp reading the same file. Items are frames, so
// the per_frame counter (seconds) should stay flat as the file grows.
//
// The 25- and 200-frame files are also loaded frame by frame through the library's loader, one
// call per frame into an image of its own (frames 0 to n - 1, each image deleted after it), next
// to DGifSlurp's one pass. The calls share nothing but the file, so a per_frame figure that stays
// flat shows that a call does not parse the frames before its own again.
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_GIF
#include <stb/stb_image.h>

#include "formats/gif_codec.h"
#include "formats/image_load.h"
#include "pixmill/pixmill.h"

namespace {

using Bytes = std::vector<uint8_t>;

int appendBytes(GifFileType* gif, const GifByteType* data, int count) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + count);
    return count;
}

// Smooth areas with some noise, like a photograph reduced to 256 colours.
uint8_t indexAt(int x, int y, int frame) {
    const uint32_t noise = (static_cast<uint32_t>(x * 7 + y * 13 + frame * 31) * 2654435761u) >> 29;
    return static_cast<uint8_t>((x / 16 + y / 16 + frame * 3) + noise);
}

Bytes encode(int width, int height, int frames) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendBytes, &error);
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    for (int i = 0; i < 256; ++i) map->Colors[i] = GifColorType{static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i), static_cast<GifByteType>(i * 7)};
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 8, 0, map);
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    for (int f = 0; f < frames; ++f) {
        GraphicsControlBlock control{0, false, 10, NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
        EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) line[static_cast<size_t>(x)] = indexAt(x, y, f);
            EGifPutLine(gif, line.data(), width);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

std::string writeTemporary(const Bytes& bytes, const char* name) {
    const std::string path = "/tmp/pixmill_bench_" + std::to_string(::getpid()) + "_" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

const Bytes& single() {
    static const Bytes b = encode(4096, 4096, 1);
    return b;
}
const Bytes& animation() {
    static const Bytes b = encode(500, 500, 100);
    return b;
}

class PictureSink final : public pixmill::RowSink {
public:
    explicit PictureSink(const pixmill::RowLayout& layout)
        : stride_(layout.stride), pixels_(size_t{layout.stride} * static_cast<size_t>(layout.height)) {}
    int16_t putRow(const uint8_t* row, int index) override {
        std::memcpy(pixels_.data() + size_t{stride_} * static_cast<size_t>(index), row, stride_);
        return pixmill::kCodecOk;
    }

private:
    uint32_t stride_;
    std::vector<uint8_t> pixels_;
};

// One frame through the library's reader, as a load does: info, then the rows.
bool loadFrame(const std::string& windowsPath, int frame) {
    pixmill::ByteStream file;
    if (!file.openFile(windowsPath.c_str(), "rb")) return false;
    pixmill::PxlCodecInfo info;
    info.wantedFrame = static_cast<int16_t>(frame);
    pixmill::CodecCall call{info, file};
    if (pixmill::gifInfo(call) != pixmill::kCodecOk) return false;
    PictureSink sink(pixmill::prepareRowTransfer(info));
    call.sink = &sink;
    return pixmill::gifLoad(call) == pixmill::kCodecOk;
}

void ours(benchmark::State& state, const Bytes& bytes, int frames, const char* name) {
    const std::string path = writeTemporary(bytes, name);
    const std::string windowsPath = "C:" + path;
    for (auto _ : state) {
        for (int f = 0; f < frames; ++f) {
            if (!loadFrame(windowsPath, f)) state.SkipWithError("the reader failed");
        }
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

struct MemoryInput {
    const Bytes* bytes;
    size_t at = 0;
};

int readMemory(GifFileType* gif, GifByteType* out, int count) {
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    const size_t n = std::min(static_cast<size_t>(count), in->bytes->size() - in->at);
    std::memcpy(out, in->bytes->data() + in->at, n);
    in->at += n;
    return static_cast<int>(n);
}

void giflib(benchmark::State& state, const Bytes& bytes) {
    for (auto _ : state) {
        MemoryInput input{&bytes};
        int error = 0;
        GifFileType* gif = DGifOpen(&input, readMemory, &error);
        if (!gif || DGifSlurp(gif) != GIF_OK) state.SkipWithError("giflib failed");
        benchmark::DoNotOptimize(gif->SavedImages);
        DGifCloseFile(gif, &error);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void stb(benchmark::State& state, const Bytes& bytes, bool animated) {
    for (auto _ : state) {
        int w = 0, h = 0, frames = 0, channels = 0;
        int* delays = nullptr;
        stbi_uc* pixels = animated ? stbi_load_gif_from_memory(bytes.data(), static_cast<int>(bytes.size()), &delays, &w, &h, &frames, &channels, 0)
                                   : stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 0);
        if (!pixels) state.SkipWithError("stb_image failed");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
        stbi_image_free(delays);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void BM_Gif4096_Pixmill(benchmark::State& s) { ours(s, single(), 1, "single.gif"); }
void BM_Gif4096_Giflib(benchmark::State& s) { giflib(s, single()); }
void BM_Gif4096_Stb(benchmark::State& s) { stb(s, single(), false); }
void BM_Gif100Frames_Pixmill(benchmark::State& s) { ours(s, animation(), 100, "anim.gif"); }
void BM_Gif100Frames_Giflib(benchmark::State& s) { giflib(s, animation()); }
void BM_Gif100Frames_Stb(benchmark::State& s) { stb(s, animation(), true); }

// The animation files by frame count, removed when the program ends.
struct AnimationFiles {
    std::map<int, std::string> paths;
    ~AnimationFiles() {
        for (const auto& [frames, path] : paths) std::remove(path.c_str());
    }
};

const std::string& animationFile(int frames) {
    static AnimationFiles files;
    auto found = files.paths.find(frames);
    if (found == files.paths.end()) {
        const std::string name = "chain" + std::to_string(frames) + ".gif";
        found = files.paths.emplace(frames, writeTemporary(encode(500, 500, frames), name.c_str())).first;
    }
    return found->second;
}

void countFrames(benchmark::State& state, int frames) {
    const double all = double(frames) * double(state.iterations());
    state.SetItemsProcessed(static_cast<int64_t>(all));
    state.counters["per_frame"] =
        benchmark::Counter(all, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void chainPixmill(benchmark::State& state, int frames) {
    const std::string path = "C:" + animationFile(frames);
    for (auto _ : state) {
        const PxlImageId first = PXLLoadImageFramesOffset(path.c_str(), 0, nullptr, 0);
        if (first <= 0 || PXLGetImageFramesNum(first) != frames) {
            state.SkipWithError("the chain did not load");
        }
        PXLDeleteImage(first);
    }
    countFrames(state, frames);
}

void chainGiflib(benchmark::State& state, int frames) {
    const std::string& path = animationFile(frames);
    for (auto _ : state) {
        int error = 0;
        GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
        if (!gif || DGifSlurp(gif) != GIF_OK || gif->ImageCount != frames) {
            state.SkipWithError("giflib failed");
        }
        benchmark::DoNotOptimize(gif->SavedImages);
        DGifCloseFile(gif, &error);
    }
    countFrames(state, frames);
}

// The library keeps a file's frame index between loads only once the file has been left unchanged
// for two seconds (a quicker rewrite might not show in the file times); the files of a document
// are older than that, so the loads are measured on a file that has settled.
void waitUntilSettled(const std::string& path) {
    struct stat facts {};
    if (::stat(path.c_str(), &facts) != 0) return;
    const auto changed = std::chrono::system_clock::time_point(
        std::chrono::seconds(facts.st_ctim.tv_sec) + std::chrono::nanoseconds(facts.st_ctim.tv_nsec));
    std::this_thread::sleep_until(changed + std::chrono::milliseconds(2100));
}

void framesPixmill(benchmark::State& state, int frames) {
    waitUntilSettled(animationFile(frames));
    const std::string path = "C:" + animationFile(frames);
    for (auto _ : state) {
        for (int f = 0; f < frames; ++f) {
            pixmill::PxlCodecInfo info;
            const PxlImageId id = pixmill::loadImageFromFile(path.c_str(), 0, f, info, -3, nullptr);
            if (id <= 0) state.SkipWithError("a frame did not load");
            PXLDeleteImage(id);
        }
    }
    countFrames(state, frames);
}

BENCHMARK(BM_Gif4096_Pixmill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gif4096_Giflib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gif4096_Stb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gif100Frames_Pixmill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gif100Frames_Giflib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gif100Frames_Stb)->Unit(benchmark::kMillisecond);

// Side by side at each length: ours, then giflib.
const bool chainsRegistered = [] {
    for (int frames : {25, 50, 100, 200}) {
        const std::string name = "gif_chain_500x500/" + std::to_string(frames) + "_frames/";
        benchmark::RegisterBenchmark((name + "pixmill").c_str(), chainPixmill, frames)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "giflib").c_str(), chainGiflib, frames)
            ->Unit(benchmark::kMillisecond);
    }
    for (int frames : {25, 200}) {
        const std::string name = "gif_frame_by_frame_500x500/" + std::to_string(frames) + "_frames/";
        benchmark::RegisterBenchmark((name + "pixmill").c_str(), framesPixmill, frames)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "giflib").c_str(), chainGiflib, frames)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
