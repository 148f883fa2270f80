// The page background's tiled fill next to pixman's repeat fill, on the same pixels in the same
// run: a 64 x 64 picture tiled over 640 x 480 and 1920 x 1080 of a 32-bit DIB section, from a
// scroll origin that cuts every edge tile. The background draws the bitmap it loaded (the image's
// own 24-bit bitmap on a 32-bit display); pixman composites with PIXMAN_OP_SRC and
// PIXMAN_REPEAT_NORMAL from the same tile held as 24-bit and as 32-bit pixels.
//
// Items processed are destination pixels, so the rates compare directly.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "page/page_background.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace {

constexpr int kTile = 64;
constexpr int16_t kOriginX = 23;
constexpr int32_t kOriginY = 41;

uint8_t channel(int x, int y, int k) { return static_cast<uint8_t>((x * 37 + y * 11 + k * 85) & 0xFF); }

void put16(std::string& s, uint32_t v) { s += static_cast<char>(v & 0xFF), s += static_cast<char>(v >> 8 & 0xFF); }
void put32(std::string& s, uint32_t v) { put16(s, v & 0xFFFF), put16(s, v >> 16); }

// The tile as a 24-bit BMP in the temporary folder; its Windows path.
std::string tileFile() {
    const auto path = std::filesystem::temp_directory_path() / "bench_page_background_tile.bmp";
    std::string bmp = "BM";
    const uint32_t rowBytes = kTile * 3;
    put32(bmp, 54 + rowBytes * kTile), put32(bmp, 0), put32(bmp, 54);
    put32(bmp, 40), put32(bmp, kTile), put32(bmp, kTile), put16(bmp, 1), put16(bmp, 24);
    for (int i = 0; i < 6; ++i) put32(bmp, 0);
    for (int y = kTile - 1; y >= 0; --y)
        for (int x = 0; x < kTile; ++x)
            for (int k = 0; k < 3; ++k) bmp += static_cast<char>(channel(x, y, k));
    std::ofstream(path, std::ios::binary) << bmp;
    std::string windows = "C:" + path.string();
    for (char& c : windows)
        if (c == '/') c = '\\';
    return windows;
}

struct PixmanUnref {
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};
using Pixman = std::unique_ptr<pixman_image_t, PixmanUnref>;

// A top-down 32-bit DIB section in a memory DC, and pixman's view of its pixels.
class Target {
public:
    Target(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        dc_.reset(CreateCompatibleDC(nullptr));
        selected_ = SelectObject(dc_.get(), bitmap_.get());
        image_.reset(pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, static_cast<uint32_t*>(bits_), width * 4));
    }
    ~Target() { SelectObject(dc_.get(), selected_); }
    HDC dc() const { return dc_.get(); }
    pixman_image_t* image() const { return image_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_;
    void* bits_ = nullptr;
    winplat::OwnedBitmap bitmap_;
    winplat::MemoryDc dc_;
    HGDIOBJ selected_ = nullptr;
    Pixman image_;
};

void perPixel(benchmark::State& state, const Target& target) {
    state.SetItemsProcessed(state.iterations() * target.width() * target.height());
}

void BM_PageBackgroundTiledFill(benchmark::State& state) {
    const Target target(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    lect32::PageBackground background;
    background.LoadForDevice(target.dc(), tileFile().c_str(), 0);
    if (background.Width() != kTile) {
        state.SkipWithError("the tile did not load");
        return;
    }
    background.SetScrollOrigin(kOriginX, kOriginY);
    for (auto _ : state) {
        background.DrawPicture(target.dc(), 0, 0, target.width(), target.height());
        benchmark::ClobberMemory();
    }
    perPixel(state, target);
}

// pixman's repeat fill from the tile in the format given (24-bit as the background holds it, or
// pixman's own 32-bit), from the same origin.
void pixmanRepeat(benchmark::State& state, pixman_format_code_t format, int bytesPerPixel) {
    const Target target(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const int stride = (kTile * bytesPerPixel + 3) / 4 * 4;
    std::vector<uint32_t> pixels(static_cast<size_t>(stride / 4 * kTile));
    auto* bytes = reinterpret_cast<uint8_t*>(pixels.data());
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x)
            for (int k = 0; k < 3; ++k) bytes[y * stride + x * bytesPerPixel + k] = channel(x, y, k);
    const Pixman tile(pixman_image_create_bits(format, kTile, kTile, pixels.data(), stride));
    pixman_image_set_repeat(tile.get(), PIXMAN_REPEAT_NORMAL);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, tile.get(), nullptr, target.image(), kOriginX, kOriginY, 0, 0, 0, 0,
                                 target.width(), target.height());
        benchmark::ClobberMemory();
    }
    perPixel(state, target);
}

void BM_PixmanRepeatFill24(benchmark::State& state) { pixmanRepeat(state, PIXMAN_r8g8b8, 3); }
void BM_PixmanRepeatFill32(benchmark::State& state) { pixmanRepeat(state, PIXMAN_x8r8g8b8, 4); }

void sizes(benchmark::internal::Benchmark* b) { b->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMicrosecond); }

BENCHMARK(BM_PageBackgroundTiledFill)->Apply(sizes);
BENCHMARK(BM_PixmanRepeatFill24)->Apply(sizes);
BENCHMARK(BM_PixmanRepeatFill32)->Apply(sizes);

}  // namespace
