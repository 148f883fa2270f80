// Every effect on a 1920 x 1080 24-bit picture, and the 3 x 3 kernels next to ImageMagick's
// convolution of the same picture, with its emboss, modulate, brightness-contrast and posterize
// beside the matching effects (benchmark peer only; the definitions differ, so only the times
// compare).
#include <benchmark/benchmark.h>

#include <functional>
#include <random>
#include <vector>

#include "core/registry/image_registry.h"
#include "effects/effect_kernels.h"
#include "effects/effect_settings.h"
#include "effects/kernel_5x5.h"
#include "pixmill/pixmill.h"

#ifdef HAVE_MAGICKCORE
#include <magick/MagickCore.h>
#endif

namespace {

using namespace pixmill::effects;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Smooth gradients with noise, so no effect meets only flat areas.
PxlImageId photo() {
    const PxlImageId id = PXLCreateImage(kWidth, kHeight, 24);
    std::mt19937 random(5);
    uint8_t* bits = PXLGetBits(id);
    const int stride = PXLGetScanBytes(id);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = bits + static_cast<size_t>(y) * stride + 3 * x;
            p[0] = static_cast<uint8_t>(x / 8 + random() % 16);
            p[1] = static_cast<uint8_t>(y / 5 + random() % 16);
            p[2] = static_cast<uint8_t>((x + y) / 12 + random() % 16);
        }
    }
    return id;
}

class FixedSettings : public EffectSettingsProvider {
public:
    explicit FixedSettings(std::function<void(EffectSettings&)> choose) : choose_(std::move(choose)) {
        previous_ = setEffectSettingsProvider(this);
    }
    ~FixedSettings() override { setEffectSettingsProvider(previous_); }
    bool askSettings(const EffectRequest&, EffectSettings& settings) override {
        if (choose_) choose_(settings);
        return true;
    }

private:
    std::function<void(EffectSettings&)> choose_;
    EffectSettingsProvider* previous_ = nullptr;
};

void runEffect(benchmark::State& state, int kind, std::function<void(EffectSettings&)> choose) {
    const PxlImageId source = photo();
    FixedSettings settings(std::move(choose));
    for (auto _ : state) {
        const PxlImageId result = PXLBitmapEffect(nullptr, source, static_cast<int16_t>(kind), 0, nullptr);
        if (result == 0) state.SkipWithError("the effect gave no image");
        PXLDeleteImage(result);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
    PXLDeleteImage(source);
}

void BM_Shade(benchmark::State& state) {
    runEffect(state, PXL_EFFECT_SHADE, [](EffectSettings& s) { s.shadeColour = RGB(120, 80, 40), s.contrast = 20; });
}
BENCHMARK(BM_Shade)->Unit(benchmark::kMillisecond);

void BM_BicolourFloydSteinberg(benchmark::State& state) {
    runEffect(state, PXL_EFFECT_BICOLOR, [](EffectSettings& s) { s.method = 2; });
}
BENCHMARK(BM_BicolourFloydSteinberg)->Unit(benchmark::kMillisecond);

void BM_Invert(benchmark::State& state) {
    runEffect(state, PXL_EFFECT_INVERT, {});
}
BENCHMARK(BM_Invert)->Unit(benchmark::kMillisecond);

void BM_BrightnessContrast(benchmark::State& state) {
    runEffect(state, PXL_EFFECT_BRIGHTNESS, [](EffectSettings& s) { s.brightness = 20, s.contrast = 30; });
}
BENCHMARK(BM_BrightnessContrast)->Unit(benchmark::kMillisecond);

void BM_RgbOffsets(benchmark::State& state) {
    runEffect(state, PXL_EFFECT_RGB, [](EffectSettings& s) { s.red = 10, s.green = -20, s.blue = 30; });
}
BENCHMARK(BM_RgbOffsets)->Unit(benchmark::kMillisecond);

void BM_Hsv(benchmark::State& state) {
    runEffect(state, PXL_EFFECT_HSV, [](EffectSettings& s) { s.hue = 200, s.saturation = 30, s.value = 5; });
}
BENCHMARK(BM_Hsv)->Unit(benchmark::kMillisecond);

void BM_Focus(benchmark::State& state) {
    const int degree = static_cast<int>(state.range(0));
    runEffect(state, PXL_EFFECT_FOCUS, [degree](EffectSettings& s) { s.degree = degree; });
}
BENCHMARK(BM_Focus)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_Soften(benchmark::State& state) {
    const int degree = static_cast<int>(state.range(0));
    runEffect(state, PXL_EFFECT_SOFTEN, [degree](EffectSettings& s) { s.degree = degree; });
}
BENCHMARK(BM_Soften)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_Emboss(benchmark::State& state) {
    runEffect(state, PXL_EFFECT_EMBOSS, [](EffectSettings& s) { s.lightSource = kLightTopLeft; });
}
BENCHMARK(BM_Emboss)->Unit(benchmark::kMillisecond);

void BM_Contour(benchmark::State& state) {
    runEffect(state, PXL_EFFECT_CONTOUR, [](EffectSettings& s) { s.inversion = true; });
}
BENCHMARK(BM_Contour)->Unit(benchmark::kMillisecond);

void BM_Posterize(benchmark::State& state) {
    const int degree = static_cast<int>(state.range(0));
    runEffect(state, PXL_EFFECT_POSTERIZE, [degree](EffectSettings& s) { s.degree = degree; });
}
BENCHMARK(BM_Posterize)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond);

// The convolution alone, in place on one picture (its content drifts between runs; the work does not).
void runKernel(benchmark::State& state, const EffectKernel& kernel) {
    const PxlImageId id = photo();
    for (auto _ : state) {
        pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
        if (!applyKernel5x5(*image, kernel, {})) state.SkipWithError("the kernel was refused");
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
    PXLDeleteImage(id);
}

void BM_KernelSharpen(benchmark::State& state) {
    runKernel(state, sharpenKernel());
}
BENCHMARK(BM_KernelSharpen)->Unit(benchmark::kMillisecond);

void BM_KernelContour(benchmark::State& state) {
    runKernel(state, contourKernel());
}
BENCHMARK(BM_KernelContour)->Unit(benchmark::kMillisecond);

#ifdef HAVE_MAGICKCORE
// The same picture in ImageMagick, its operations held to one thread like ours.
class MagickPicture {
public:
    MagickPicture(benchmark::State& state, int threads) {
        MagickCoreGenesis(nullptr, MagickFalse);
        SetMagickResourceLimit(ThreadResource, static_cast<MagickSizeType>(threads));
        exception = AcquireExceptionInfo();
        const PxlImageId id = photo();
        // Our rows are bottom-up with padding: ImageMagick takes tightly packed top-down rows.
        std::vector<uint8_t> packed(static_cast<size_t>(kWidth) * kHeight * 3);
        for (int y = 0; y < kHeight; ++y) {
            const uint8_t* row = PXLGetBits(id) + static_cast<size_t>(kHeight - 1 - y) * PXLGetScanBytes(id);
            std::copy_n(row, kWidth * 3, packed.data() + static_cast<size_t>(y) * kWidth * 3);
        }
        PXLDeleteImage(id);
        image = ConstituteImage(kWidth, kHeight, "BGR", CharPixel, packed.data(), exception);
        if (!image) state.SkipWithError("ImageMagick could not take the picture");
    }
    ~MagickPicture() {
        if (image) DestroyImage(image);
        DestroyExceptionInfo(exception);
    }
    MagickPicture(const MagickPicture&) = delete;
    MagickPicture& operator=(const MagickPicture&) = delete;

    Image* image = nullptr;
    ExceptionInfo* exception = nullptr;
};

// An operation that makes a new image from the picture, as our effects do.
void magickMaking(benchmark::State& state, const std::function<Image*(const Image*, ExceptionInfo*)>& make) {
    MagickPicture picture(state, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!picture.image) break;
        Image* result = make(picture.image, picture.exception);
        if (!result) state.SkipWithError("ImageMagick's operation failed");
        else DestroyImage(result);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

// An operation in place, on a copy made first so the work matches ours.
void magickOnCopy(benchmark::State& state, const std::function<bool(Image*)>& change) {
    magickMaking(state, [&](const Image* image, ExceptionInfo* exception) -> Image* {
        Image* copy = CloneImage(image, 0, 0, MagickTrue, exception);
        if (copy && !change(copy)) {
            DestroyImage(copy);
            return nullptr;
        }
        return copy;
    });
}

constexpr double kMagickSharpen[9] = {-1, 0, -1, 0, 7, 0, -1, 0, -1};
constexpr double kMagickContour[9] = {-1, -1, -1, -1, 8, -1, -1, -1, -1};

void BM_MagickConvolveSharpen(benchmark::State& state) {
    magickMaking(state, [](const Image* image, ExceptionInfo* e) { return ConvolveImage(image, 3, kMagickSharpen, e); });
}
BENCHMARK(BM_MagickConvolveSharpen)->ArgName("threads")->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MagickConvolveContour(benchmark::State& state) {
    magickMaking(state, [](const Image* image, ExceptionInfo* e) { return ConvolveImage(image, 3, kMagickContour, e); });
}
BENCHMARK(BM_MagickConvolveContour)->ArgName("threads")->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MagickEmboss(benchmark::State& state) {
    magickMaking(state, [](const Image* image, ExceptionInfo* e) { return EmbossImage(image, 1, 0.5, e); });
}
BENCHMARK(BM_MagickEmboss)->ArgName("threads")->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MagickModulate(benchmark::State& state) {
    magickOnCopy(state, [](Image* image) { return ModulateImage(image, "105,130,155") == MagickTrue; });
}
BENCHMARK(BM_MagickModulate)->ArgName("threads")->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MagickBrightnessContrast(benchmark::State& state) {
    magickOnCopy(state, [](Image* image) { return BrightnessContrastImage(image, 15, 25) == MagickTrue; });
}
BENCHMARK(BM_MagickBrightnessContrast)->ArgName("threads")->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MagickPosterize(benchmark::State& state) {
    magickOnCopy(state, [](Image* image) { return PosterizeImage(image, 8, MagickFalse) == MagickTrue; });
}
BENCHMARK(BM_MagickPosterize)->ArgName("threads")->Arg(1)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
