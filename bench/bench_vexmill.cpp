// The metafile player: a picture of 10,000 records parsed, and stretched onto a 1024 x 768 32-bit
// surface at the surface's size and at a quarter of it, in two record mixes: filled shapes
// (rectangles, ellipses, polygons under changing brushes) and outlines (polylines, lines and text
// under changing pens). No library peer: the other metafile players are not ours to link.
//
// Run: taskset -c <cores> bench_vexmill --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "metafile_builder.h"
#include "metafile_parser.h"
#include "player.h"
#include "winplat/draw.h"
#include "winplat/testing.h"

namespace {

using namespace vxtest;

constexpr int kRecords = 10000;

// Shapes: each group of five records makes a brush, selects it, draws a shape and deletes it.
Bytes shapes() {
    Metafile m(4);
    m.placeable(0, 0, 4000, 3000, 1440).window(0, 0, 4000, 3000).pen(0, 8, 0x202020).select(0);
    for (int i = 0, records = 6; records < kRecords; ++i, records += 4) {
        const int x = (i * 397) % 3600, y = (i * 211) % 2700;
        m.brush(0, uint32_t(i * 0x010305) & 0xFFFFFF).select(1);
        switch (i % 3) {
            case 0: m.rect(kRectangle, x, y, x + 300, y + 200); break;
            case 1: m.rect(kEllipse, x, y, x + 400, y + 300); break;
            default: m.points(kPolygon, {{x, y}, {x + 350, y + 50}, {x + 200, y + 300}, {x - 50, y + 150}}); break;
        }
        m.record(kDeleteObject, {1});
    }
    return m.bytes();
}

// Outlines: pens of several widths, polylines, move-and-line pairs and short texts.
Bytes outlines() {
    Metafile m(4);
    m.placeable(0, 0, 4000, 3000, 1440).window(0, 0, 4000, 3000).font(-120, "Arial").select(0);
    for (int i = 0, records = 6; records < kRecords; ++i, records += i % 4 == 1 ? 7 : 6) {
        const int x = (i * 397) % 3600, y = (i * 211) % 2700;
        m.pen(0, 1 + i % 3 * 10, uint32_t(i * 0x030507) & 0xFFFFFF).select(1);
        m.points(kPolyline, {{x, y}, {x + 300, y + 100}, {x + 100, y + 250}, {x + 380, y + 300}});
        m.record(kMoveTo, {y, x}).record(kLineTo, {y + 200, x + 250});
        if (i % 4 == 0) m.textOut(x, y, "Ahoj");
        m.record(kDeleteObject, {1});
    }
    return m.bytes();
}

void recordsOf(benchmark::State& state, const Bytes& bytes) {
    auto picture = vexmill::parseMetafile(bytes);
    state.counters["records"] = picture ? double(picture->records.size()) : 0;
}

void Parse(benchmark::State& state, Bytes (*make)()) {
    const Bytes bytes = make();
    for (auto _ : state) benchmark::DoNotOptimize(vexmill::parseMetafile(bytes));
    recordsOf(state, bytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void Draw(benchmark::State& state, Bytes (*make)()) {
    const Bytes bytes = make();
    const auto picture = vexmill::parseMetafile(bytes);
    HDC dc = winplat::testing::createDisplayDc(1024, 768, 32);
    const int width = int(state.range(0)), height = width * 3 / 4;
    for (auto _ : state) {
        vexmill::playPicture(*picture, dc, 0, 0, width, height);
        GdiFlush();
    }
    DeleteDC(dc);
    recordsOf(state, bytes);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(picture->records.size()));
}

BENCHMARK_CAPTURE(Parse, shapes, shapes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Parse, outlines, outlines)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Draw, shapes, shapes)->Arg(1024)->Arg(256)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Draw, outlines, outlines)->Arg(1024)->Arg(256)->Unit(benchmark::kMillisecond);

}  // namespace
