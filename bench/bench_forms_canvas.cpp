// The form library's canvas drawing lines (one pixel and wide, copying and NOT-XOR) and filling a
// screen-sized rectangle, next to cairo drawing the same into an image surface without
// antialiasing (benchmark peer only). NOT-XOR with a black pen inverts what it covers; cairo's
// nearest is the DIFFERENCE operator with white, which inverts as well.
//
// Rates are in millions of pixels a second: a line counts its length along the longer axis times
// its width, a fill its area, the same count for both.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "winforms/bitmap.h"
#include "winforms/canvas.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;
constexpr int kLines = 512;

struct Line {
    int x0, y0, x1, y1;
};

// Lines of the given length in random directions, wholly inside the surface.
std::vector<Line> LinesOf(int length) {
    std::mt19937 random(4242);
    std::uniform_int_distribution<int> x(length + 8, kWidth - length - 8);
    std::uniform_int_distribution<int> y(length + 8, kHeight - length - 8);
    std::uniform_int_distribution<int> d(-length, length);
    std::vector<Line> lines;
    while (lines.size() < kLines) {
        const int x0 = x(random), y0 = y(random);
        int dx = d(random), dy = d(random);
        // Keep the longer axis at the length asked for.
        if (std::abs(dx) >= std::abs(dy)) dx = dx < 0 ? -length : length;
        else dy = dy < 0 ? -length : length;
        lines.push_back(Line{x0, y0, x0 + dx, y0 + dy});
    }
    return lines;
}

double PixelsOf(const std::vector<Line>& lines, int width) {
    double pixels = 0;
    for (const Line& l : lines) pixels += std::max(std::abs(l.x1 - l.x0), std::abs(l.y1 - l.y0)) * double(width);
    return pixels;
}

void SetRate(benchmark::State& state, double pixelsPerIteration) {
    state.counters["Mpixel/s"] = benchmark::Counter(pixelsPerIteration * 1e-6 * double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

// Arguments: line length, pen width, 1 for NOT-XOR.
void CanvasLines(benchmark::State& state) {
    const auto lines = LinesOf(static_cast<int>(state.range(0)));
    const int width = static_cast<int>(state.range(1));
    winforms::Bitmap bitmap(kWidth, kHeight, winforms::PixelFormat::Bits32);
    winforms::Canvas& canvas = bitmap.GetCanvas();
    canvas.GetPen().SetWidth(width);
    canvas.GetPen().SetColor(RGB(0, 0, 0));
    canvas.GetPen().SetMode(state.range(2) ? winforms::PenMode::NotXor : winforms::PenMode::Copy);
    for (auto _ : state) {
        for (const Line& l : lines) {
            canvas.MoveTo(l.x0, l.y0);
            canvas.LineTo(l.x1, l.y1);
        }
        benchmark::DoNotOptimize(bitmap.Row(0).data());
    }
    SetRate(state, PixelsOf(lines, width));
}

void CairoLines(benchmark::State& state) {
    const auto lines = LinesOf(static_cast<int>(state.range(0)));
    const int width = static_cast<int>(state.range(1));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, width > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    if (state.range(2)) {
        cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
        cairo_set_source_rgb(cr, 1, 1, 1);
    } else {
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_rgb(cr, 0, 0, 0);
    }
    for (auto _ : state) {
        for (const Line& l : lines) {
            cairo_move_to(cr, l.x0 + 0.5, l.y0 + 0.5);
            cairo_line_to(cr, l.x1 + 0.5, l.y1 + 0.5);
            cairo_stroke(cr);
        }
        cairo_surface_flush(surface);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
    }
    SetRate(state, PixelsOf(lines, width));
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

// Arguments: width and height of the filled rectangle.
void CanvasFill(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    winforms::Bitmap bitmap(kWidth, kHeight, winforms::PixelFormat::Bits32);
    winforms::Canvas& canvas = bitmap.GetCanvas();
    int colour = 0;
    for (auto _ : state) {
        canvas.GetBrush().SetColor(RGB(colour & 0xFF, 0x40, 0x80));
        ++colour;
        canvas.FillRect(RECT{0, 0, w, h});
        benchmark::DoNotOptimize(bitmap.Row(0).data());
    }
    SetRate(state, double(w) * h);
}

void CairoFill(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    int colour = 0;
    for (auto _ : state) {
        cairo_set_source_rgb(cr, (colour & 0xFF) / 255.0, 0.25, 0.5);
        ++colour;
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_fill(cr);
        cairo_surface_flush(surface);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
    }
    SetRate(state, double(w) * h);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

void LineArguments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"length", "width", "notxor"});
    for (int length : {16, 256})
        for (int width : {1, 5})
            for (int notXor : {0, 1}) b->Args({length, width, notXor});
}

void FillArguments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"w", "h"});
    b->Args({640, 480});
    b->Args({kWidth, kHeight});
}

BENCHMARK(CanvasLines)->Apply(LineArguments);
BENCHMARK(CairoLines)->Apply(LineArguments);
BENCHMARK(CanvasFill)->Apply(FillArguments);
BENCHMARK(CairoFill)->Apply(FillArguments);

}  // namespace
