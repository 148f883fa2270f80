// One slider step of each effect dialog: the edited preview recomputed from the original preview
// of a 1920 x 1080 picture, at previews of 160 x 120 and 320 x 240 (the larger one above the
// dialogs' own preview size), so a cost growing faster than the preview's area shows.
#include <benchmark/benchmark.h>

#include <random>

#include "effects/dialogs/effect_dialog_controller.h"
#include "effects/dialogs/effect_previews.h"
#include "pixmill/pixmill.h"

namespace {

using namespace pixmill::effects;


PxlImageId photo() {
    const PxlImageId id = PXLCreateImage(1920, 1080, 24);
    std::mt19937 random(5);
    uint8_t* bits = PXLGetBits(id);
    const int stride = PXLGetScanBytes(id);
    for (int y = 0; y < 1080; ++y) {
        for (int x = 0; x < 1920; ++x) {
            uint8_t* p = bits + static_cast<size_t>(y) * stride + 3 * x;
            p[0] = static_cast<uint8_t>(x / 8 + random() % 16);
            p[1] = static_cast<uint8_t>(y / 5 + random() % 16);
            p[2] = static_cast<uint8_t>((x + y) / 12 + random() % 16);
        }
    }
    return id;
}

// A step changes the setting the dialog's first control drives: a slider, or an option for the
// dialogs without one.
void stepOf(benchmark::State& state, int kind, int control, int low, int high) {
    const PxlImageId source = photo();
    const int previewWidth = static_cast<int>(state.range(0));
    const int previewHeight = previewWidth * 3 / 4;
    EffectSettings settings = startSettings(kind);
    const EffectRequest request{nullptr, source, kind, findEffectKind(kind)->dialogId, false};
    auto dialog = EffectDialogController::open(request, settings, [=](PxlImageId image, const PreviewView& view) {
        return buildOriginalPreview(image, previewWidth, previewHeight, view);
    });
    dialog->markReady();
    bool up = false;
    for (auto _ : state) {
        up = !up;
        if (!dialog->sliderMoved(control, up ? high : low)) dialog->optionClicked(up ? high : low);
        benchmark::DoNotOptimize(dialog->recompute());
    }
    dialog->cancel();
    PXLDeleteImage(source);
    state.counters["pixels"] = previewWidth * previewHeight;
}

BENCHMARK_CAPTURE(stepOf, brightness, PXL_EFFECT_BRIGHTNESS, 8068, -10, 10)->Arg(160)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stepOf, shade, PXL_EFFECT_SHADE, 8071, -10, 10)->Arg(160)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stepOf, bicolour, PXL_EFFECT_BICOLOR, 0, 8053, 8054)->Arg(160)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stepOf, contour, PXL_EFFECT_CONTOUR, 0, 8029, 8029)->Arg(160)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stepOf, emboss, PXL_EFFECT_EMBOSS, 0, 8056, 8061)->Arg(160)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stepOf, focus, PXL_EFFECT_FOCUS, 8070, 4, 5)->Arg(160)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stepOf, hsv, PXL_EFFECT_HSV, 8074, -100, 100)->Arg(160)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stepOf, posterize, PXL_EFFECT_POSTERIZE, 8075, 4, 5)->Arg(160)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stepOf, rgb, PXL_EFFECT_RGB, 8076, -10, 10)->Arg(160)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stepOf, soften, PXL_EFFECT_SOFTEN, 8078, 4, 5)->Arg(160)->Arg(320)->Unit(benchmark::kMillisecond);

}  // namespace
