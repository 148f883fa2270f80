// Regeneration of a drawing of lines and arcs on a 1280 x 1024 bitmap through the entity painter,
// next to cairo drawing the same segments (the painter's own flattening of the arcs) into an image
// surface of the same size. Two drawing sizes: 100,000 lines and 20,000 arcs, and ten times that.
// The same drawing zoomed in so that the window shows 1 % of it: entities off the window must cost
// comparisons only.
//
// Run with --benchmark_repetitions=5 --benchmark_report_aggregates_only=true under taskset.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <random>
#include <vector>

#include "display/entity_painter.h"
#include "drawing/drawing.h"
#include "drawing/entity_builders.h"
#include "drawing/layer_table.h"
#include "drawing/view_transform.h"
#include "winforms/bitmap.h"

namespace linework {
namespace {

constexpr int kWidth = 1280, kHeight = 1024;

struct Scene {
    Drawing drawing;
    std::vector<EntityHandle> order;
};

// Lines and arcs spread over the window's world area (scale 1), newest first as adders make them.
Scene& SceneOf(int lines, int arcs) {
    static std::vector<std::unique_ptr<Scene>> scenes;
    for (auto& scene : scenes) {
        if (static_cast<int>(scene->order.size()) == lines + arcs) return *scene;
    }
    auto scene = std::make_unique<Scene>();
    std::mt19937 random(43);
    std::uniform_real_distribution<double> x(0, kWidth - 1), y(0, kHeight - 1), r(2, 80), step(-60, 60);
    for (int i = 0; i < lines; ++i) {
        double x1 = x(random), y1 = y(random);
        const Point ends[2] = {{x1, y1}, {x1 + step(random), y1 + step(random)}};
        scene->order.push_back(PushEntity(scene->drawing, MakePolyline(ends, {.colour = uint8_t(1 + i % 15)})));
    }
    for (int i = 0; i < arcs; ++i) {
        double cx = x(random), cy = y(random), radius = r(random);
        Point start{cx + radius, cy};
        Point end = i % 2 ? start : Point{cx, cy + radius};
        scene->order.push_back(PushEntity(scene->drawing, MakeArc({cx, cy}, start, end, {.colour = uint8_t(1 + i % 15)})));
    }
    scenes.push_back(std::move(scene));
    return *scenes.back();
}

struct View {
    SystemVariableImage image;
    LayerTable layers{image};
    LayerScaleRanges ranges;
    ViewState state{image};
    explicit View(double scale) {
        ResetDrawingSettings(image);
        ViewTransform t;
        t.scale = scale;
        state.SetViewTransform(t);
        state.UpdateViewTransform({kWidth, kHeight}, {kWidth, kHeight}, layers, ranges);
    }
};

void Regenerate(benchmark::State& s, double scale) {
    Scene& scene = SceneOf(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)));
    View view(scale);
    winforms::Bitmap bitmap(kWidth, kHeight);
    DisplaySettings settings;
    PlaceholderRenderers placeholders;
    EntityPainter painter(&bitmap.GetCanvas(), view.state, view.layers, settings, KindRenderers::AllOf(placeholders));
    for (auto _ : s) {
        ForEachEntity(scene.drawing, scene.drawing.head,
                      [&](EntityHandle at) { painter.DrawEntityIfShown(scene.drawing[at], 0, at); });
    }
    s.SetItemsProcessed(s.iterations() * static_cast<int64_t>(scene.order.size()));
}

void BM_Regenerate(benchmark::State& s) { Regenerate(s, 1); }

// Zoomed in so that the window shows 1 % of the drawing's area (a tenth of its width and height):
// the other 99 % lie outside it.
void BM_RegenerateWindowAt1Percent(benchmark::State& s) { Regenerate(s, 0.1); }

// cairo drawing the same segments, arcs flattened as the painter flattens them, 1-pixel lines.
void BM_CairoSameSegments(benchmark::State& s) {
    Scene& scene = SceneOf(static_cast<int>(s.range(0)), static_cast<int>(s.range(1)));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_width(cr, 1);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    ColourTable colours = DefaultColourTable(0xC0C0C0);
    ArcPoints points;
    auto stroke = [&](std::span<const Point> run, uint8_t colour) {
        COLORREF c = colours[colour];
        cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0);
        cairo_move_to(cr, run[0].x + 0.5, kHeight - 1 - run[0].y + 0.5);
        for (size_t i = 1; i < run.size(); ++i) cairo_line_to(cr, run[i].x + 0.5, kHeight - 1 - run[i].y + 0.5);
        cairo_stroke(cr);
    };
    for (auto _ : s) {
        ForEachEntity(scene.drawing, scene.drawing.head, [&](EntityHandle at) {
            const EntityRecord& record = scene.drawing[at];
            if (record.Kind() == EntityKind::Arc) {
                int count = FlattenArc(ArcView(record), 1, 0, points);
                stroke(std::span<const Point>(points.data(), static_cast<size_t>(count) + 1), record.Colour());
            } else {
                PolylineView line(record);
                const Point ends[2] = {line.Vertex(0), line.Vertex(1)};
                stroke(ends, record.Colour());
            }
        });
        cairo_surface_flush(surface);
    }
    s.SetItemsProcessed(s.iterations() * static_cast<int64_t>(scene.order.size()));
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Args({100000, 20000})->Args({1000000, 200000})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Regenerate)->Apply(Sizes);
BENCHMARK(BM_CairoSameSegments)->Apply(Sizes);
BENCHMARK(BM_RegenerateWindowAt1Percent)->Apply(Sizes);

}  // namespace
}  // namespace linework
