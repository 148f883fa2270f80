// Turning and resizing a 4096 x 4096 24-bit picture, next to pixman doing the same transforms
// (benchmark peer only) on the same pixels as 24-bit r8g8b8 and as its favoured 32-bit x8r8g8b8;
// cropping and mirroring a 4000 x 3000 picture.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "core/edit/image_rotate.h"
#include "pixmill/pixmill.h"

#ifdef HAVE_PIXMAN
#include <pixman.h>
#endif

namespace {

constexpr int kSide = 4096;
constexpr int kReduced = 1024;

PxlImageId noise(int width, int height, int bits) {
    std::mt19937 random(7);
    const PxlImageId id = PXLCreateImage(width, height, bits);
    uint8_t* pixels = PXLGetBits(id);
    const int32_t size = PXLSizeImage(id);
    for (int32_t i = 0; i < size; ++i) pixels[i] = static_cast<uint8_t>(random());
    return id;
}

// One picture for every benchmark of the run.
PxlImageId picture() {
    static const PxlImageId id = noise(kSide, kSide, 24);
    return id;
}

void pixelsPerSecond(benchmark::State& state, int64_t pixels) {
    state.SetItemsProcessed(state.iterations() * pixels);
}

void rotate(benchmark::State& state, PxlImageId source, int angle) {
    int64_t pixels = 0;
    for (auto _ : state) {
        const PxlImageId turned = PXLRotateImage(source, angle, 1, nullptr);
        if (turned == 0) state.SkipWithError("the turn failed");
        pixels = int64_t{PXLWidth(turned)} * PXLHeight(turned);
        PXLDeleteImage(turned);
    }
    pixelsPerSecond(state, pixels);
}

void BM_Rotate90(benchmark::State& state) {
    rotate(state, picture(), 90);
}
BENCHMARK(BM_Rotate90)->Unit(benchmark::kMillisecond);

void BM_Rotate30(benchmark::State& state) {
    rotate(state, picture(), 30);
}
BENCHMARK(BM_Rotate30)->Unit(benchmark::kMillisecond);

void BM_Rotate90_8bit4000x3000(benchmark::State& state) {
    const PxlImageId source = noise(4000, 3000, 8);
    rotate(state, source, 90);
    PXLDeleteImage(source);
}
BENCHMARK(BM_Rotate90_8bit4000x3000)->Unit(benchmark::kMillisecond);

void BM_Rotate30_8bit4000x3000(benchmark::State& state) {
    const PxlImageId source = noise(4000, 3000, 8);
    rotate(state, source, 30);
    PXLDeleteImage(source);
}
BENCHMARK(BM_Rotate30_8bit4000x3000)->Unit(benchmark::kMillisecond);

void resize(benchmark::State& state, PxlImageId source, int width, int height, int16_t mode) {
    for (auto _ : state) {
        const PxlImageId resized = PXLNewSizeImageEx(source, static_cast<int16_t>(width),
                                                     static_cast<int16_t>(height), mode, nullptr);
        if (resized == 0) state.SkipWithError("the resize failed");
        PXLDeleteImage(resized);
    }
    pixelsPerSecond(state, int64_t{width} * height);
}

// Mode 0 draws through a memory DC as the display would; 1-3 are the resampler's.
void BM_Resize4096To1024(benchmark::State& state) {
    resize(state, picture(), kReduced, kReduced, static_cast<int16_t>(state.range(0)));
}
BENCHMARK(BM_Resize4096To1024)->DenseRange(0, 3)->ArgName("mode")->Unit(benchmark::kMillisecond);

void BM_Resize4000x3000To1000x750(benchmark::State& state) {
    const PxlImageId source = noise(4000, 3000, 24);
    resize(state, source, 1000, 750, static_cast<int16_t>(state.range(0)));
    PXLDeleteImage(source);
}
BENCHMARK(BM_Resize4000x3000To1000x750)->DenseRange(0, 3)->ArgName("mode")->Unit(benchmark::kMillisecond);

void BM_Resize400x300To1200x900(benchmark::State& state) {
    const PxlImageId source = noise(400, 300, 24);
    resize(state, source, 1200, 900, static_cast<int16_t>(state.range(0)));
    PXLDeleteImage(source);
}
BENCHMARK(BM_Resize400x300To1200x900)->DenseRange(0, 3)->ArgName("mode")->Unit(benchmark::kMillisecond);

void BM_Crop4000x3000(benchmark::State& state) {
    const PxlImageId source = noise(4000, 3000, 24);
    for (auto _ : state) {
        const PxlImageId crop = PXLCropImage(source, 501, 377, 3500, 2622);
        if (crop == 0) state.SkipWithError("the crop failed");
        PXLDeleteImage(crop);
    }
    pixelsPerSecond(state, int64_t{3000} * 2246);
    PXLDeleteImage(source);
}
BENCHMARK(BM_Crop4000x3000)->Unit(benchmark::kMillisecond);

void BM_Flip4000x3000(benchmark::State& state) {
    const PxlImageId source = noise(4000, 3000, 24);
    for (auto _ : state) {
        if (PXLFlipImage(source, static_cast<int16_t>(state.range(0))) != 1)
            state.SkipWithError("the flip failed");
    }
    pixelsPerSecond(state, int64_t{4000} * 3000);
    PXLDeleteImage(source);
}
BENCHMARK(BM_Flip4000x3000)->DenseRange(1, 3)->ArgName("flags")->Unit(benchmark::kMillisecond);

#ifdef HAVE_PIXMAN
// The picture's pixels in a pixman image of the given format; rows from the top, as pixman has them.
struct PixmanPicture {
    std::vector<uint32_t> storage;
    pixman_image_t* image = nullptr;

    explicit PixmanPicture(pixman_format_code_t format, PxlImageId source = picture()) {
        const int bytes = PIXMAN_FORMAT_BPP(format) / 8;
        const int width = PXLWidth(source), height = PXLHeight(source);
        const int stride = (width * bytes + 3) / 4 * 4;
        storage.assign(size_t(stride / 4) * height, 0);
        auto* out = reinterpret_cast<uint8_t*>(storage.data());
        const int scan = PXLGetScanBytes(source);
        for (int y = 0; y < height; ++y) {
            const uint8_t* in = PXLGetBits(source) + size_t(height - 1 - y) * scan;
            for (int x = 0; x < width; ++x)
                std::memcpy(out + size_t(y) * stride + size_t(x) * bytes, in + 3 * x, 3);
        }
        image = pixman_image_create_bits(format, width, height, storage.data(), stride);
    }
    ~PixmanPicture() { pixman_image_unref(image); }
};

// Each iteration makes its destination, as ours makes a new image.
void pixmanTransform(benchmark::State& state, pixman_format_code_t format,
                     const pixman_transform_t& transform, pixman_filter_t filter, int width, int height,
                     const pixman_fixed_t* params = nullptr, int paramCount = 0, PxlImageId picked = picture()) {
    PixmanPicture source(format, picked);
    pixman_image_set_transform(source.image, &transform);
    pixman_image_set_filter(source.image, filter, params, paramCount);
    for (auto _ : state) {
        pixman_image_t* dest = pixman_image_create_bits(format, width, height, nullptr, 0);
        if (!dest) state.SkipWithError("no destination");
        pixman_image_composite32(PIXMAN_OP_SRC, source.image, nullptr, dest, 0, 0, 0, 0, 0, 0, width, height);
        benchmark::ClobberMemory();
        pixman_image_unref(dest);
    }
    pixelsPerSecond(state, int64_t{width} * height);
}

// Destination pixel centres mapped onto the source: a quarter turn clockwise.
pixman_transform_t quarterTurn() {
    pixman_transform_t t;
    pixman_transform_init_identity(&t);
    t.matrix[0][0] = 0;
    t.matrix[0][1] = pixman_fixed_1;
    t.matrix[1][0] = -pixman_fixed_1;
    t.matrix[1][1] = 0;
    t.matrix[1][2] = pixman_int_to_fixed(kSide);
    return t;
}

// Our general turn's canvas and mapping for the angle, as a pixman transform.
pixman_transform_t generalTurn(int angle, int& width, int& height) {
    const PxlImageId probe = PXLRotateImage(picture(), angle, 1, nullptr);
    width = PXLWidth(probe);
    height = PXLHeight(probe);
    PXLDeleteImage(probe);
    const pixmill::RotationStep step = pixmill::rotationStep(pixmill::rotationIndex(angle));
    const double c = step.c / 1024.0, s = step.s / 1024.0;
    const double dcx = (width - 1) / 2, dcy = (height - 1) / 2, cx = kSide / 2, cy = kSide / 2;
    pixman_transform_t t;
    pixman_transform_init_identity(&t);
    t.matrix[0][0] = pixman_double_to_fixed(c);
    t.matrix[0][1] = pixman_double_to_fixed(-s);
    t.matrix[0][2] = pixman_double_to_fixed(cx - dcx * c + dcy * s);
    t.matrix[1][0] = pixman_double_to_fixed(s);
    t.matrix[1][1] = pixman_double_to_fixed(c);
    t.matrix[1][2] = pixman_double_to_fixed(cy - dcx * s - dcy * c);
    return t;
}

pixman_transform_t scaleDown() {
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_int_to_fixed(kSide / kReduced),
                                pixman_int_to_fixed(kSide / kReduced));
    return t;
}

void BM_PixmanRotate90_r8g8b8(benchmark::State& state) {
    pixmanTransform(state, PIXMAN_r8g8b8, quarterTurn(), PIXMAN_FILTER_NEAREST, kSide, kSide);
}
BENCHMARK(BM_PixmanRotate90_r8g8b8)->Unit(benchmark::kMillisecond);

void BM_PixmanRotate90_x8r8g8b8(benchmark::State& state) {
    pixmanTransform(state, PIXMAN_x8r8g8b8, quarterTurn(), PIXMAN_FILTER_NEAREST, kSide, kSide);
}
BENCHMARK(BM_PixmanRotate90_x8r8g8b8)->Unit(benchmark::kMillisecond);

void BM_PixmanRotate30_r8g8b8(benchmark::State& state) {
    int width, height;
    const pixman_transform_t t = generalTurn(30, width, height);
    pixmanTransform(state, PIXMAN_r8g8b8, t, PIXMAN_FILTER_NEAREST, width, height);
}
BENCHMARK(BM_PixmanRotate30_r8g8b8)->Unit(benchmark::kMillisecond);

void BM_PixmanRotate30_x8r8g8b8(benchmark::State& state) {
    int width, height;
    const pixman_transform_t t = generalTurn(30, width, height);
    pixmanTransform(state, PIXMAN_x8r8g8b8, t, PIXMAN_FILTER_NEAREST, width, height);
}
BENCHMARK(BM_PixmanRotate30_x8r8g8b8)->Unit(benchmark::kMillisecond);

// Modes as ours: 1 nearest, 2 bilinear, 3 box (separable convolution of box kernels).
void pixmanResize(benchmark::State& state, pixman_format_code_t format) {
    const int mode = static_cast<int>(state.range(0));
    if (mode == 3) {
        int count = 0;
        pixman_fixed_t* params = pixman_filter_create_separable_convolution(
            &count, pixman_int_to_fixed(kSide / kReduced), pixman_int_to_fixed(kSide / kReduced),
            PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 1, 1);
        pixmanTransform(state, format, scaleDown(), PIXMAN_FILTER_SEPARABLE_CONVOLUTION, kReduced, kReduced,
                        params, count);
        free(params);
        return;
    }
    pixmanTransform(state, format, scaleDown(), mode == 1 ? PIXMAN_FILTER_NEAREST : PIXMAN_FILTER_BILINEAR,
                    kReduced, kReduced);
}

// The other sizes our resizes are timed at, nearest and bilinear: pixman's scale maps destination
// centres onto the source as ours do.
void pixmanResizeFrom(benchmark::State& state, pixman_format_code_t format, int sw, int sh, int dw, int dh) {
    const int mode = static_cast<int>(state.range(0));
    const PxlImageId source = noise(sw, sh, 24);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(double(sw) / dw), pixman_double_to_fixed(double(sh) / dh));
    pixmanTransform(state, format, t, mode == 1 ? PIXMAN_FILTER_NEAREST : PIXMAN_FILTER_BILINEAR, dw, dh, nullptr, 0,
                    source);
    PXLDeleteImage(source);
}

void BM_PixmanResize4000x3000To1000x750_r8g8b8(benchmark::State& state) {
    pixmanResizeFrom(state, PIXMAN_r8g8b8, 4000, 3000, 1000, 750);
}
BENCHMARK(BM_PixmanResize4000x3000To1000x750_r8g8b8)->DenseRange(1, 2)->ArgName("mode")->Unit(benchmark::kMillisecond);

void BM_PixmanResize4000x3000To1000x750_x8r8g8b8(benchmark::State& state) {
    pixmanResizeFrom(state, PIXMAN_x8r8g8b8, 4000, 3000, 1000, 750);
}
BENCHMARK(BM_PixmanResize4000x3000To1000x750_x8r8g8b8)
    ->DenseRange(1, 2)
    ->ArgName("mode")
    ->Unit(benchmark::kMillisecond);

void BM_PixmanResize400x300To1200x900_r8g8b8(benchmark::State& state) {
    pixmanResizeFrom(state, PIXMAN_r8g8b8, 400, 300, 1200, 900);
}
BENCHMARK(BM_PixmanResize400x300To1200x900_r8g8b8)->DenseRange(1, 2)->ArgName("mode")->Unit(benchmark::kMillisecond);

void BM_PixmanResize400x300To1200x900_x8r8g8b8(benchmark::State& state) {
    pixmanResizeFrom(state, PIXMAN_x8r8g8b8, 400, 300, 1200, 900);
}
BENCHMARK(BM_PixmanResize400x300To1200x900_x8r8g8b8)->DenseRange(1, 2)->ArgName("mode")->Unit(benchmark::kMillisecond);

void BM_PixmanResize4096To1024_r8g8b8(benchmark::State& state) {
    pixmanResize(state, PIXMAN_r8g8b8);
}
BENCHMARK(BM_PixmanResize4096To1024_r8g8b8)->DenseRange(1, 3)->ArgName("mode")->Unit(benchmark::kMillisecond);

void BM_PixmanResize4096To1024_x8r8g8b8(benchmark::State& state) {
    pixmanResize(state, PIXMAN_x8r8g8b8);
}
BENCHMARK(BM_PixmanResize4096To1024_x8r8g8b8)
    ->DenseRange(1, 3)
    ->ArgName("mode")
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace
