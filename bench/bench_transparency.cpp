// Flood-filled masks and the transparent blit, the blit next to pixman's OVER through an a8 mask
// (benchmark peer only).
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "pixmill/pixmill.h"

#ifdef HAVE_PIXMAN
#include <pixman.h>
#endif

namespace {

constexpr int kFillSide = 4096;

uint8_t* rowOf(PxlImageId id, int y) {
    return PXLGetBits(id) + (PXLHeight(id) - 1 - y) * PXLGetScanBytes(id);
}

// 8-bit pictures: index 0 open, index 1 wall (the default palette's black and next colour).
PxlImageId oneColour() {
    const PxlImageId id = PXLCreateImage(kFillSide, kFillSide, 24);
    std::memset(PXLGetBits(id), 0x80, static_cast<size_t>(PXLSizeImage(id)));
    return id;
}

// A perfect maze of 2047 x 2047 cells (odd pixel coordinates), carved depth first with an explicit
// stack: every open pixel is reachable along exactly one path, so the fill walks every corridor.
PxlImageId maze() {
    const PxlImageId id = PXLCreateImage(kFillSide, kFillSide, 24);
    std::memset(PXLGetBits(id), 0, static_cast<size_t>(PXLSizeImage(id)));
    const int cells = (kFillSide - 1) / 2;
    auto open = [&](int x, int y) { std::memset(rowOf(id, y) + 3 * x, 0x80, 3); };
    std::vector<uint8_t> visited(static_cast<size_t>(cells) * cells, 0);
    std::vector<std::pair<int, int>> stack{{0, 0}};
    visited[0] = 1;
    open(1, 1);
    std::mt19937 random(12345);
    const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
    while (!stack.empty()) {
        const auto [cx, cy] = stack.back();
        int choices[4], count = 0;
        for (int k = 0; k < 4; ++k) {
            const int nx = cx + dx[k], ny = cy + dy[k];
            if (nx >= 0 && ny >= 0 && nx < cells && ny < cells && !visited[size_t(ny) * cells + nx]) {
                choices[count++] = k;
            }
        }
        if (count == 0) {
            stack.pop_back();
            continue;
        }
        const int k = choices[random() % count];
        const int nx = cx + dx[k], ny = cy + dy[k];
        visited[size_t(ny) * cells + nx] = 1;
        open(2 * cx + 1 + dx[k], 2 * cy + 1 + dy[k]);
        open(2 * nx + 1, 2 * ny + 1);
        stack.push_back({nx, ny});
    }
    return id;
}

void fill(benchmark::State& state, PxlImageId picture, int seedX, int seedY) {
    const PxlTransparencyEntry entry = {128, 128, 128, 0, PXL_TRANSPARENT_REGION, seedX, seedY};
    for (auto _ : state) {
        const PxlImageId mask = PXLFloodFillMask(picture, &entry);
        if (mask == 0) state.SkipWithError("the fill failed");
        PXLDeleteImage(mask);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kFillSide} * kFillSide);
    PXLDeleteImage(picture);
}

void BM_FloodFillOneColour4096(benchmark::State& state) {
    fill(state, oneColour(), kFillSide / 2, kFillSide / 2);
}
BENCHMARK(BM_FloodFillOneColour4096)->Unit(benchmark::kMillisecond);

void BM_FloodFillMaze4096(benchmark::State& state) {
    fill(state, maze(), 1, 1);
}
BENCHMARK(BM_FloodFillMaze4096)->Unit(benchmark::kMillisecond);

// The blit's inputs: a noisy 24-bit picture, a mask hiding a disc and a scatter of pixels, an alpha
// ramp, and a destination of its own size.
struct BlitScene {
    PxlImageId picture = 0;
    PxlImageId alpha = 0;
    int destSide = 0;
    BITMAPINFOHEADER header{};
    std::vector<uint8_t> dest;
    std::vector<uint8_t> maskBytes;  // one per pixel, 255 where drawn (pixman's a8 mask)

    BlitScene(int pictureSide, int destinationSide) : destSide(destinationSide) {
        std::mt19937 random(99);
        picture = PXLCreateImage(pictureSide, pictureSide, 24);
        for (int32_t i = 0; i < PXLSizeImage(picture); ++i)
            PXLGetBits(picture)[i] = static_cast<uint8_t>(random());
        const PxlImageId mask = PXLCreateImage(pictureSide, pictureSide, 1);
        alpha = PXLCreateImage(pictureSide, pictureSide, 8);
        maskBytes.assign(size_t(pictureSide) * pictureSide, 255);
        const int centre = pictureSide / 2;
        for (int y = 0; y < pictureSide; ++y) {
            for (int x = 0; x < pictureSide; ++x) {
                const int ddx = x - centre, ddy = y - centre;
                const bool hidden = ddx * ddx + ddy * ddy < centre * centre / 4 || random() % 8 == 0;
                if (hidden) {
                    rowOf(mask, y)[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
                    maskBytes[size_t(y) * pictureSide + x] = 0;
                }
                rowOf(alpha, y)[x] = static_cast<uint8_t>(x * 255 / pictureSide);
            }
        }
        PXLSetImageTransparentMask(picture, mask);
        header.biSize = sizeof header;
        header.biWidth = destSide;
        header.biHeight = destSide;
        header.biPlanes = 1;
        header.biBitCount = 24;
        // Rows of 3 * side bytes, with no padding: the sides are multiples of 4.
        dest.assign(size_t(destSide) * destSide * 3, 0x40);
    }
    ~BlitScene() {
        PXLDeleteImage(alpha);
        PXLDeleteImage(picture);
    }
};

void blit(benchmark::State& state, int pictureSide, int destSide, bool withAlpha) {
    BlitScene scene(pictureSide, destSide);
    for (auto _ : state) {
        const int16_t done =
            PXLStretchBltTransparent(nullptr, &scene.header, scene.dest.data(), 0, 0, destSide, destSide,
                                     scene.picture, 0, withAlpha ? scene.alpha : 0, 0, 0, 0);
        if (done != 1) state.SkipWithError("the blit failed");
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t{destSide} * destSide);
}

// The sides the blits are timed at (pictures and destinations square).
void blitSides(benchmark::internal::Benchmark* b) {
    b->ArgName("side")->Arg(512)->Arg(1024)->Arg(2048)->Unit(benchmark::kMicrosecond);
}

void BM_TransparentBlitMask(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    blit(state, side, side, false);
}
BENCHMARK(BM_TransparentBlitMask)->Apply(blitSides);

void BM_TransparentBlitMaskAlpha(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    blit(state, side, side, true);
}
BENCHMARK(BM_TransparentBlitMaskAlpha)->Apply(blitSides);

// Half the side stretched to the side: the picture, mask and alpha are resized first.
void BM_TransparentBlitMaskAlphaStretched(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    blit(state, side / 2, side, true);
}
BENCHMARK(BM_TransparentBlitMaskAlphaStretched)->Apply(blitSides);

#ifdef HAVE_PIXMAN
// The same scene composed by pixman: OVER of the opaque picture through the a8 mask. format is the
// picture's and the destination's (24-bit like ours, or pixman's favoured 32-bit).
void pixmanOver(benchmark::State& state, pixman_format_code_t format, bool withAlpha) {
    const int side = static_cast<int>(state.range(0));
    BlitScene scene(side, side);
    const int bytes = PIXMAN_FORMAT_BPP(format) / 8;
    const int stride = (side * bytes + 3) / 4 * 4;
    std::vector<uint32_t> source(size_t(stride / 4) * side), dest(size_t(stride / 4) * side, 0x40404040);
    auto* sourceBytes = reinterpret_cast<uint8_t*>(source.data());
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            std::memcpy(sourceBytes + size_t(y) * stride + x * bytes, rowOf(scene.picture, y) + 3 * x, 3);
    std::vector<uint32_t> mask(size_t(side / 4) * side);
    auto* maskBytes = reinterpret_cast<uint8_t*>(mask.data());
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int drawn = scene.maskBytes[size_t(y) * side + x];
            const int opacity = withAlpha ? 255 - rowOf(scene.alpha, y)[x] : 255;
            maskBytes[size_t(y) * side + x] = static_cast<uint8_t>(drawn * opacity / 255);
        }
    }
    pixman_image_t* src = pixman_image_create_bits(format, side, side, source.data(), stride);
    pixman_image_t* msk = pixman_image_create_bits(PIXMAN_a8, side, side, mask.data(), side);
    pixman_image_t* dst = pixman_image_create_bits(format, side, side, dest.data(), stride);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src, msk, dst, 0, 0, 0, 0, 0, 0, side, side);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t{side} * side);
    pixman_image_unref(src);
    pixman_image_unref(msk);
    pixman_image_unref(dst);
}

void BM_PixmanOverA8Mask_r8g8b8(benchmark::State& state) {
    pixmanOver(state, PIXMAN_r8g8b8, false);
}
BENCHMARK(BM_PixmanOverA8Mask_r8g8b8)->Apply(blitSides);

void BM_PixmanOverA8Mask_x8r8g8b8(benchmark::State& state) {
    pixmanOver(state, PIXMAN_x8r8g8b8, false);
}
BENCHMARK(BM_PixmanOverA8Mask_x8r8g8b8)->Apply(blitSides);

void BM_PixmanOverA8MaskAlpha_r8g8b8(benchmark::State& state) {
    pixmanOver(state, PIXMAN_r8g8b8, true);
}
BENCHMARK(BM_PixmanOverA8MaskAlpha_r8g8b8)->Apply(blitSides);

void BM_PixmanOverA8MaskAlpha_x8r8g8b8(benchmark::State& state) {
    pixmanOver(state, PIXMAN_x8r8g8b8, true);
}
BENCHMARK(BM_PixmanOverA8MaskAlpha_x8r8g8b8)->Apply(blitSides);
#endif

}  // namespace
