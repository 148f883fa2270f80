// The interactive display on a 1280 x 1024 bitmap: one mouse move tracked with a cross-hair and a
// rubber band over drawings of 10,000 and 100,000 lines (the tracking must not depend on the
// drawing's size); a regeneration drawing everything next to one that copies the cached
// background behind the "$LK_FG" mark and draws only the newest 1 % in front of it; a drag
// preview of 10,000 selected lines drawn whole, and given up after the first check as the next
// mouse move would.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "display/cursor_tracker.h"
#include "display/drag_preview.h"
#include "display/regeneration.h"
#include "drawing/drawing.h"
#include "drawing/entity_builders.h"
#include "drawing/layer_table.h"
#include "drawing/view_transform.h"
#include "winforms/bitmap.h"

namespace linework {
namespace {

constexpr int kWidth = 1280, kHeight = 1024;

struct Scene {
    SystemVariableImage image;
    LayerTable layers{image};
    LayerScaleRanges ranges;
    ViewState view{image};
    DisplaySettings settings;
    PlaceholderRenderers placeholders;
    Drawing drawing;
    std::vector<EntityHandle> handles;
    winforms::Bitmap target{kWidth, kHeight};

    // Lines over the window, the oldest 99 % behind the foreground mark.
    explicit Scene(int lines) {
        layers.Reset();
        view.UpdateViewTransform({kWidth, kHeight}, {kWidth, kHeight}, layers, ranges);
        std::mt19937 random(7);
        std::uniform_real_distribution<double> x(0, kWidth - 1), y(0, kHeight - 1), step(-60, 60);
        const int behind = lines - lines / 100;
        for (int i = 0; i < lines; ++i) {
            if (i == behind) PushEntity(drawing, MakeInsert(AddBlockDef(drawing, "$LK_FG", {}), {0, 0}));
            const double x1 = x(random), y1 = y(random);
            const Point ends[2] = {{x1, y1}, {x1 + step(random), y1 + step(random)}};
            handles.push_back(PushEntity(drawing, MakePolyline(ends, {.colour = uint8_t(1 + i % 15)})));
        }
    }
    KindRenderers Renderers() { return KindRenderers::AllOf(placeholders); }
};

Scene& SceneOf(int lines) {
    static std::vector<std::unique_ptr<Scene>> scenes;
    for (auto& scene : scenes) {
        if (static_cast<int>(scene->handles.size()) == lines) return *scene;
    }
    scenes.push_back(std::make_unique<Scene>(lines));
    return *scenes.back();
}

struct QuietHost : TrackingHost {};

void BM_TrackMouseWithRubberBand(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    QuietHost host;
    CursorTracker tracker(scene.view, host);
    tracker.drawing = &scene.drawing;
    tracker.SetCanvas(&scene.target.GetCanvas(), {kWidth, kHeight});
    tracker.step.waitingForSecondPoint = true;
    tracker.step.reference = {100, 100};
    int i = 0;
    for (auto _ : state) {
        tracker.HandleMouseMove({200 + (i % 600), 300 + (i % 400)});
        ++i;
    }
    tracker.HideAll();
}
BENCHMARK(BM_TrackMouseWithRubberBand)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

void Regenerate(benchmark::State& state, bool cache) {
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    Regenerator regenerator(scene.view, scene.layers, scene.settings, scene.Renderers());
    regenerator.options.foregroundCache = cache;
    regenerator.Regenerate(scene.target.GetCanvas(), {kWidth, kHeight}, scene.drawing, 0, nullptr, true);
    for (auto _ : state) {
        const RegenerationResult result =
            regenerator.Regenerate(scene.target.GetCanvas(), {kWidth, kHeight}, scene.drawing, 0, nullptr, false);
        benchmark::DoNotOptimize(result.entities);
    }
}
void BM_RegenerateFullRedraw(benchmark::State& state) { Regenerate(state, false); }
void BM_RegenerateFromForegroundCache(benchmark::State& state) { Regenerate(state, true); }
BENCHMARK(BM_RegenerateFullRedraw)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegenerateFromForegroundCache)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void DragPreviewOf(benchmark::State& state, bool interrupted) {
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    DragPreview preview(scene.view, scene.layers, scene.settings, scene.Renderers());
    preview.entities = scene.handles;
    int i = 0;
    for (auto _ : state) {
        preview.Erase(scene.target.GetCanvas(), scene.drawing, 0x0000FF);
        preview.Draw(scene.target.GetCanvas(), scene.drawing, 0x0000FF, {double(i % 50), double(i % 30)},
                     [interrupted] { return interrupted; });
        ++i;
    }
    state.counters["drawn"] = static_cast<double>(preview.Drawn());
}
void BM_DragPreviewWhole(benchmark::State& state) { DragPreviewOf(state, false); }
void BM_DragPreviewGivenUp(benchmark::State& state) { DragPreviewOf(state, true); }
BENCHMARK(BM_DragPreviewWhole)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragPreviewGivenUp)->Arg(10'000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace linework
