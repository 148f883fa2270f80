// The drafting program's selection: a window pass over 10,000 and 100,000 short lines, and a
// pointing pass (the pick box under the cursor, over a place where nothing lies, so every entity
// is tested), next to a brute-force scan of the same entities' boxes in plain C++.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "display/selection_engine.h"
#include "drawing/drawing.h"
#include "drawing/entity_builders.h"
#include "drawing/layer_table.h"

namespace {

using namespace linework;

constexpr double kArea = 1000;

struct Scene {
    SystemVariableImage image;
    LayerTable layers{image};
    Drawing drawing;
    std::vector<Box> boxes;  // the same lines as plain boxes, for the peer

    explicit Scene(int count) {
        layers.Reset();
        std::mt19937 random(11);
        std::uniform_real_distribution<double> place(0, kArea), step(-5, 5);
        for (int i = 0; i < count; ++i) {
            Point a{place(random), place(random)};
            Point b{a.x + step(random), a.y + step(random)};
            std::array<Point, 2> line{a, b};
            PushEntity(drawing, MakePolyline(line));
            Box box{a.x, a.y, b.x, b.y};
            NormalizeBox(box);
            boxes.push_back(box);
        }
    }
};

Scene& SceneOf(int count) {
    static Scene small(10'000), large(100'000);
    return count == 10'000 ? small : large;
}

void BM_WindowSelection(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    SelectionOutput quiet;
    SelectionEngineCore engine(scene.drawing, scene.layers, quiet);
    engine.state.method = select_method::kWindow;
    engine.SetSelectionBox({250, 250}, {750, 750});
    int selected = 0;
    for (auto _ : state) {
        selected = engine.SelectEntities();
        state.PauseTiming();
        engine.ClearSelection(false);
        state.ResumeTiming();
    }
    state.counters["selected"] = selected;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WindowSelection)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// The peer: the boxes wholly inside the window, counted.
void BM_WindowBruteForce(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    const Box window{250, 250, 750, 750};
    int64_t inside = 0;
    for (auto _ : state) {
        inside = std::count_if(scene.boxes.begin(), scene.boxes.end(), [&](const Box& b) {
            return b.x1 >= window.x1 && b.x2 <= window.x2 && b.y1 >= window.y1 && b.y2 <= window.y2;
        });
        benchmark::DoNotOptimize(inside);
    }
    state.counters["selected"] = static_cast<double>(inside);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WindowBruteForce)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_PointingPass(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    SelectionOutput quiet;
    SelectionEngineCore engine(scene.drawing, scene.layers, quiet);
    engine.state.method = select_method::kPick;
    engine.SetPickBox({-50, -50}, 1);  // off the drawing: every entity is tested
    for (auto _ : state) benchmark::DoNotOptimize(engine.PointAt(false));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PointingPass)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_PointingBruteForce(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    const Box pick{-53, -53, -47, -47};
    for (auto _ : state) {
        auto hit = std::find_if(scene.boxes.begin(), scene.boxes.end(), [&](const Box& b) {
            return b.x1 <= pick.x2 && pick.x1 <= b.x2 && b.y1 <= pick.y2 && pick.y1 <= b.y2;
        });
        benchmark::DoNotOptimize(hit);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PointingBruteForce)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
