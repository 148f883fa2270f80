// Regions as the window manager will use them: combining two regions of a few hundred rectangles
// each (every mode), scanning an ellipse the size of a screen, and filling a 1024 x 768 surface
// through a clipping region of many rectangles next to the same fill through a single rectangle.
//
// Items processed are the 300 rectangles the two combined regions were made from, rows for the
// ellipse and pixels for the fills.
#include <benchmark/benchmark.h>

#include <random>

#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/region.h"

namespace {

// The union of 'count' random rectangles of up to 60 x 40 on a 1024 x 768 screen, like the update
// region of many small windows.
winplat::OwnedRegion scatter(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> x(0, 1000), y(0, 740), w(4, 60), h(4, 40);
    winplat::OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int left = x(random), top = y(random);
        winplat::OwnedRegion piece(CreateRectRgn(left, top, left + w(random), top + h(random)));
        CombineRgn(region.get(), region.get(), piece.get(), RGN_OR);
    }
    return region;
}

void BM_CombineRgn(benchmark::State& state) {
    const auto a = scatter(1, 150);
    const auto b = scatter(2, 150);
    winplat::OwnedRegion result(CreateRectRgn(0, 0, 0, 0));
    const int mode = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(CombineRgn(result.get(), a.get(), b.get(), mode));
    state.SetItemsProcessed(state.iterations() * 300);
}

void BM_CreateEllipticRgn(benchmark::State& state) {
    for (auto _ : state) {
        winplat::OwnedRegion region(CreateEllipticRgn(0, 0, 1024, 768));
        benchmark::DoNotOptimize(region.get());
    }
    state.SetItemsProcessed(state.iterations() * 768);
}

// A 1024 x 768 32-bit surface filled through a clip: none (range 0) or the scattered region with
// an elliptic hole (range 1).
void BM_FillThroughClip(benchmark::State& state) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 1024, -768, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    winplat::OwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    winplat::Selection selected(dc.get(), bitmap.get());
    winplat::OwnedRegion clip = scatter(3, 300);
    winplat::OwnedRegion hole(CreateEllipticRgn(200, 100, 800, 600));
    CombineRgn(clip.get(), clip.get(), hole.get(), RGN_XOR);
    if (state.range(0) == 1) SelectClipRgn(dc.get(), clip.get());
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    const RECT all{0, 0, 1024, 768};
    for (auto _ : state) FillRect(dc.get(), &all, brush);
    state.SetItemsProcessed(state.iterations() * 1024 * 768);
}

}  // namespace

BENCHMARK(BM_CombineRgn)->Arg(RGN_AND)->Arg(RGN_OR)->Arg(RGN_XOR)->Arg(RGN_DIFF)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CreateEllipticRgn)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillThroughClip)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
