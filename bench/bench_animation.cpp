// Animations: playing a 640 x 480 FLC of 500 word-delta frames (and its ring frame) next to
// ffmpeg's FLIC decoder on the same file ("ffmpeg -i f.flc -f null -", a separate process whose
// start-up counts too; run only when ffmpeg is on the path), and composing 100 frames of
// 640 x 480 with transparent pixels through PXLRenderFrames.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../tests/imagelib/formats/flic_test_support.h"
#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"
#include "pixmill/pixmill.h"

namespace {

constexpr int kWidth = 640, kHeight = 480, kFlicFrames = 500, kComposedFrames = 100;

const std::string& flicFile() {
    static const std::string path = [] {
        const std::string p = "/tmp/pixmill_bench_" + std::to_string(::getpid()) + ".flc";
        const flic_test::Bytes bytes = flic_test::animation(
            flic_test::kFlc, kWidth, kHeight, flic_test::pictures(kFlicFrames, kWidth, kHeight));
        FILE* f = std::fopen(p.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return p;
    }();
    return path;
}

void playFlic(benchmark::State& state) {
    const std::string path = "C:" + flicFile();
    for (auto _ : state) {
        FlicStream* stream = nullptr;
        if (FLICFileOpen(&stream, path.c_str()) != 0) {
            state.SkipWithError("cannot open the animation");
            return;
        }
        for (int i = 0; i <= kFlicFrames; ++i) {
            if (FLICStreamGetNextFrame(stream) != 0) state.SkipWithError("a frame failed");
        }
        benchmark::DoNotOptimize(stream->frame[0]);
        FLICFileRelease(stream);
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(double(kFlicFrames + 1) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void playFlicFfmpeg(benchmark::State& state) {
    if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) {
        state.SkipWithError("ffmpeg is not installed");
        return;
    }
    const std::string command = "ffmpeg -v error -i '" + flicFile() + "' -f null - >/dev/null 2>&1";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("ffmpeg failed");
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(double(kFlicFrames + 1) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// 100 frames of 640 x 480, 8 bits, each with a palette-index transparent colour over a quarter
// of its pixels, placed at moving offsets; composed onto a 24-bit canvas with disposals 1-3.
PxlImageId makeAnimation() {
    PxlImageId first = 0;
    for (int f = 0; f < kComposedFrames; ++f) {
        const PxlImageId frame = PXLCreateImage(kWidth, kHeight, 8);
        {
            pixmill::ImageLock image = pixmill::lockImage(frame, pixmill::Access::Write);
            for (int y = 0; y < kHeight; ++y) {
                uint8_t* row = pixmill::rowFromTop(*image, y);
                for (int x = 0; x < kWidth; ++x)
                    row[x] = uint8_t((x / 8 + y / 8 + f) % 4 == 0 ? 0 : (x + y + f) & 255);
            }
        }
        PxlFramesInfo info{
            0,       0,       (f * 7) % 32, (f * 5) % 24, 5, 1 + f % 3, PXL_FRAME_TRANSPARENT_INDEX | 0,
            nullptr, nullptr, nullptr};
        PXLSetImageFramesInfo(frame, &info);
        if (first == 0) {
            first = frame;
            PxlAnimateInfo animate{kWidth, kHeight, 0, 0, nullptr};
            PXLSetAnimateInfo(first, &animate);
        } else {
            PXLAddImageFrame(first, frame, -1);
        }
    }
    return first;
}

void composeFrames(benchmark::State& state) {
    const PxlImageId first = makeAnimation();
    const PxlImageId canvas = PXLCreateImage(kWidth, kHeight, 24);
    for (auto _ : state) {
        PXLRenderFrames(first, canvas, 0, 0, 0, kComposedFrames - 1, RGB(255, 255, 255), 0, 0);
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(double(kComposedFrames) * double(state.iterations()), benchmark::Counter::kIsRate);
    PXLDeleteImage(canvas);
    PXLDeleteImage(first);
}

BENCHMARK(playFlic)->Name("flc_play_640x480x500/pixmill")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(playFlicFfmpeg)
    ->Name("flc_play_640x480x500/ffmpeg_process")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
BENCHMARK(composeFrames)->Name("render_frames_640x480x100/pixmill")->Unit(benchmark::kMillisecond);

}  // namespace
