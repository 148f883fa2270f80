// Blits of the software GDI next to pixman, on the same pixels in the same run: a 4096 x 4096
// 24-bit DIB section stretched to 1920 x 1080 and back (COLORONCOLOR, nearest pixel), and a 1:1
// copy at three sizes, top-down and bottom-up (pixman walks a bottom-up picture through a
// negative stride, as the picture is stored). pixman composites with PIXMAN_OP_SRC and
// PIXMAN_FILTER_NEAREST over the very buffers of the DIB sections (24-bit rows padded to 4 bytes
// suit both). The stretches are also timed at 32 bits, where pixman has dedicated nearest-scaling
// code.
//
// Items processed are destination pixels, so the rates compare directly.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace {

HBITMAP dibSection(int width, int height, int bpp, bool topDown, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = topDown ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bpp);
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

struct PixmanUnref {
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};

// A 24- or 32-bit DIB section in a memory DC, filled with a pattern; pixman's view starts at the
// top row whichever way the rows are stored.
class Section {
  public:
    Section(int width, int height, int bpp = 24, bool topDown = true)
        : width_(width),
          height_(height),
          bpp_(bpp),
          bitmap_(dibSection(width, height, bpp, topDown, &bits_)),
          dc_(CreateCompatibleDC(nullptr)),
          selected_(dc_.get(), bitmap_.get()) {
        SetStretchBltMode(dc_.get(), COLORONCOLOR);
        auto* bytes = static_cast<uint8_t*>(bits_);
        for (size_t i = 0; i < stride() * static_cast<size_t>(height); ++i)
            bytes[i] = static_cast<uint8_t>(i * 2654435761u >> 24);
        const auto rowBytes = static_cast<int>(stride());
        uint8_t* top = topDown ? bytes : bytes + stride() * static_cast<size_t>(height - 1);
        image_.reset(pixman_image_create_bits(bpp == 24 ? PIXMAN_r8g8b8 : PIXMAN_x8r8g8b8, width, height,
                                              reinterpret_cast<uint32_t*>(top),
                                              topDown ? rowBytes : -rowBytes));
    }

    size_t stride() const {
        return (static_cast<size_t>(width_) * static_cast<size_t>(bpp_ / 8) + 3) / 4 * 4;
    }
    HDC dc() const { return dc_.get(); }
    pixman_image_t* image() const { return image_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    int width_;
    int height_;
    int bpp_;
    void* bits_ = nullptr;
    // Declared in the order they are made; they go in reverse: the pixman view, the selection, the
    // DC, then the bitmap.
    winplat::OwnedBitmap bitmap_;
    winplat::MemoryDc dc_;
    winplat::Selection selected_;
    std::unique_ptr<pixman_image_t, PixmanUnref> image_;
};

void gdiStretch(benchmark::State& state, int fromW, int fromH, int toW, int toH, int bpp = 24) {
    Section from(fromW, fromH, bpp);
    Section to(toW, toH, bpp);
    for (auto _ : state) {
        if (!StretchBlt(to.dc(), 0, 0, toW, toH, from.dc(), 0, 0, fromW, fromH, SRCCOPY))
            state.SkipWithError("failed");
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * toW * toH);
}

void pixmanStretch(benchmark::State& state, int fromW, int fromH, int toW, int toH, int bpp = 24) {
    Section from(fromW, fromH, bpp);
    Section to(toW, toH, bpp);
    pixman_transform_t scale;
    pixman_transform_init_scale(&scale, pixman_double_to_fixed(static_cast<double>(fromW) / toW),
                                pixman_double_to_fixed(static_cast<double>(fromH) / toH));
    pixman_image_set_transform(from.image(), &scale);
    pixman_image_set_filter(from.image(), PIXMAN_FILTER_NEAREST, nullptr, 0);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, from.image(), nullptr, to.image(), 0, 0, 0, 0, 0, 0, toW,
                                 toH);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * toW * toH);
}

void BM_Gdi_Stretch4096To1080(benchmark::State& state) {
    gdiStretch(state, 4096, 4096, 1920, 1080);
}
void BM_Pixman_Stretch4096To1080(benchmark::State& state) {
    pixmanStretch(state, 4096, 4096, 1920, 1080);
}
void BM_Gdi_Stretch1080To4096(benchmark::State& state) {
    gdiStretch(state, 1920, 1080, 4096, 4096);
}
void BM_Pixman_Stretch1080To4096(benchmark::State& state) {
    pixmanStretch(state, 1920, 1080, 4096, 4096);
}
void BM_Gdi_Stretch4096To1080_32(benchmark::State& state) {
    gdiStretch(state, 4096, 4096, 1920, 1080, 32);
}
void BM_Pixman_Stretch4096To1080_32(benchmark::State& state) {
    pixmanStretch(state, 4096, 4096, 1920, 1080, 32);
}
void BM_Gdi_Stretch1080To4096_32(benchmark::State& state) {
    gdiStretch(state, 1920, 1080, 4096, 4096, 32);
}
void BM_Pixman_Stretch1080To4096_32(benchmark::State& state) {
    pixmanStretch(state, 1920, 1080, 4096, 4096, 32);
}

// A 1:1 copy of width x height (the arguments) between two 24-bit sections.
void gdiCopy(benchmark::State& state, bool topDown) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    Section from(w, h, 24, topDown);
    Section to(w, h, 24, topDown);
    for (auto _ : state) {
        if (!BitBlt(to.dc(), 0, 0, w, h, from.dc(), 0, 0, SRCCOPY)) state.SkipWithError("failed");
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

void pixmanCopy(benchmark::State& state, bool topDown) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    Section from(w, h, 24, topDown);
    Section to(w, h, 24, topDown);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, from.image(), nullptr, to.image(), 0, 0, 0, 0, 0, 0, w, h);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

void BM_Gdi_Copy(benchmark::State& state) {
    gdiCopy(state, true);
}
void BM_Pixman_Copy(benchmark::State& state) {
    pixmanCopy(state, true);
}
void BM_Gdi_CopyBottomUp(benchmark::State& state) {
    gdiCopy(state, false);
}
void BM_Pixman_CopyBottomUp(benchmark::State& state) {
    pixmanCopy(state, false);
}

// The copies' sizes: a small window, a screen, a large photograph.
void copySizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"w", "h"})
        ->Args({640, 480})
        ->Args({1920, 1080})
        ->Args({4000, 3000})
        ->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_Gdi_Stretch4096To1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_Stretch4096To1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gdi_Stretch1080To4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_Stretch1080To4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gdi_Stretch4096To1080_32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_Stretch4096To1080_32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gdi_Stretch1080To4096_32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pixman_Stretch1080To4096_32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gdi_Copy)->Apply(copySizes);
BENCHMARK(BM_Pixman_Copy)->Apply(copySizes);
BENCHMARK(BM_Gdi_CopyBottomUp)->Apply(copySizes);
BENCHMARK(BM_Pixman_CopyBottomUp)->Apply(copySizes);

}  // namespace
