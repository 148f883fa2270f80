// Colour reduction of 24-bit photographs: our converters next to ImageMagick, libimagequant and
// libgd (benchmark peers, each built in only when found). Every result is scored in the same run
// by its PSNR against the original pixels after mapping it back to RGB through its palette. The
// peers are held to one thread, as our converters run on one, so the times compare work, not cores.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "pixmill/pixmill.h"

#ifdef HAVE_MAGICK
#include <Magick++.h>
#endif
#ifdef HAVE_IMAGEQUANT
#include <libimagequant.h>
#endif
#ifdef HAVE_GD
#include <gd.h>
#endif
#ifdef HAVE_OPENMP
#include <omp.h>
#endif

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr size_t kPixels = size_t{kWidth} * kHeight;

// Top-down rows of R, G, B bytes: the originals and every result mapped back to colours.
using RgbPixels = std::vector<uint8_t>;
using Rgb = std::array<uint8_t, 3>;
using Palette = std::array<Rgb, 256>;

struct Photo {
    std::string name;
    RgbPixels rgb;
    PxlImageId image = 0;  // the same pixels as our 24-bit image
};

struct PhotoSource {
    const char* name;
    const char* spec;  // ImageMagick's built-in picture
};

#ifdef HAVE_MAGICK
constexpr PhotoSource kPhotoSources[] = {
    {"plasma", "plasma:fractal"}, {"wizard", "wizard:"}, {"rose", "rose:"}};
#else
constexpr PhotoSource kPhotoSources[] = {{"synthetic", nullptr}};
#endif
constexpr int kPhotoCount = static_cast<int>(std::size(kPhotoSources));

uint8_t* rowOf(PxlImageId id, int y) {
    return PXLGetBits(id) + (PXLHeight(id) - 1 - y) * PXLGetScanBytes(id);
}

#ifdef HAVE_MAGICK
// A built-in picture stretched to the benchmark size; plasma takes a fixed seed so every run sees
// the same picture.
RgbPixels magickPicture(const char* spec) {
    Magick::SetRandomSeed(1234);
    Magick::Image picture;
    picture.size(Magick::Geometry(kWidth, kHeight));
    picture.read(spec);
    Magick::Geometry size(kWidth, kHeight);
    size.aspect(true);
    picture.resize(size);
    RgbPixels rgb(kPixels * 3);
    picture.write(0, 0, kWidth, kHeight, "RGB", Magick::CharPixel, rgb.data());
    return rgb;
}
#endif

// Smooth colour waves with a little noise, standing in for a photograph without ImageMagick.
RgbPixels syntheticPicture() {
    RgbPixels rgb(kPixels * 3);
    std::mt19937 random(77);
    std::uniform_int_distribution<int> noise(-10, 10);
    auto channel = [&](double wave) {
        return static_cast<uint8_t>(std::clamp(128.0 + 110.0 * wave + noise(random), 0.0, 255.0));
    };
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* pixel = &rgb[(size_t(y) * kWidth + x) * 3];
            pixel[0] = channel(std::sin(x / 170.0 + y / 410.0));
            pixel[1] = channel(std::cos(x / 530.0 - y / 230.0));
            pixel[2] = channel(std::sin((x + y) / 310.0) * std::cos(y / 150.0));
        }
    }
    return rgb;
}

PxlImageId ourImageOf(const RgbPixels& rgb) {
    const PxlImageId id = PXLCreateImage(kWidth, kHeight, 24);
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = rowOf(id, y);
        const uint8_t* from = &rgb[size_t(y) * kWidth * 3];
        for (int x = 0; x < kWidth; ++x) {
            row[3 * x] = from[3 * x + 2];
            row[3 * x + 1] = from[3 * x + 1];
            row[3 * x + 2] = from[3 * x];
        }
    }
    return id;
}

RgbPixels pictureOf([[maybe_unused]] const PhotoSource& source) {
#ifdef HAVE_MAGICK
    if (source.spec != nullptr) return magickPicture(source.spec);
#endif
    return syntheticPicture();
}

void holdPeersToOneThread() {
#ifdef HAVE_MAGICK
    Magick::InitializeMagick(nullptr);
    Magick::ResourceLimits::thread(1);
#endif
#ifdef HAVE_OPENMP
    omp_set_num_threads(1);
#endif
}

std::vector<Photo> makePhotos() {
    holdPeersToOneThread();
    std::vector<Photo> all;
    for (const PhotoSource& source : kPhotoSources) {
        RgbPixels rgb = pictureOf(source);
        const PxlImageId image = ourImageOf(rgb);
        all.push_back({source.name, std::move(rgb), image});
    }
    return all;
}

// Made on first use, so a run filtered to one case makes them only when it needs them.
const Photo& photo(int index) {
    static const std::vector<Photo> all = makePhotos();
    return all[index];
}

RgbPixels paint(const std::vector<uint8_t>& indices, const Palette& palette) {
    RgbPixels rgb(indices.size() * 3);
    for (size_t i = 0; i < indices.size(); ++i) {
        const Rgb& colour = palette[indices[i]];
        rgb[3 * i] = colour[0];
        rgb[3 * i + 1] = colour[1];
        rgb[3 * i + 2] = colour[2];
    }
    return rgb;
}

int indexAt(const uint8_t* row, int x, int bits) {
    switch (bits) {
        case 8:
            return row[x];
        case 4:
            return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
        default:
            return (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

// Our 24-bit image as it is, a palette image through its colour table.
RgbPixels rgbOf(PxlImageId id) {
    const int bits = PXLbpp(id);
    if (bits == 24) {
        RgbPixels rgb(kPixels * 3);
        for (int y = 0; y < kHeight; ++y) {
            const uint8_t* row = rowOf(id, y);
            for (int x = 0; x < kWidth; ++x)
                for (int c = 0; c < 3; ++c) rgb[(size_t(y) * kWidth + x) * 3 + c] = row[3 * x + 2 - c];
        }
        return rgb;
    }
    Palette palette{};
    for (int i = 0; i < (1 << bits); ++i) {
        const int32_t colour = PXLGetColorFromPalette(id, i);
        palette[i] = {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16)};
    }
    std::vector<uint8_t> indices(kPixels);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            indices[size_t(y) * kWidth + x] = uint8_t(indexAt(rowOf(id, y), x, bits));
    return paint(indices, palette);
}

int coloursIn(const RgbPixels& rgb) {
    std::vector<bool> seen(size_t{1} << 24);
    int count = 0;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        const size_t key = (size_t{rgb[i]} << 16) | (size_t{rgb[i + 1]} << 8) | rgb[i + 2];
        if (!seen[key]) ++count;
        seen[key] = true;
    }
    return count;
}

// The quality counters of a result: mean squared error per channel against the photo, its PSNR
// (99 dB stands for identical pixels) and the number of colours the result shows.
void score(benchmark::State& state, const Photo& original, const RgbPixels& result) {
    int64_t squared = 0;
    for (size_t i = 0; i < result.size(); ++i) {
        const int difference = int{result[i]} - int{original.rgb[i]};
        squared += difference * difference;
    }
    const double mse = static_cast<double>(squared) / static_cast<double>(result.size());
    state.counters["MSE"] = mse;
    state.counters["PSNR_dB"] = mse > 0 ? 10.0 * std::log10(255.0 * 255.0 / mse) : 99.0;
    state.counters["colours"] = coloursIn(result);
    state.SetItemsProcessed(state.iterations() * int64_t{kPixels});
}

// Times a converter that makes a new image of ours each round; the last one is scored.
template <typename Convert>
void timeNewImage(benchmark::State& state, const Photo& original, Convert convert) {
    PxlImageId result = 0;
    for (auto _ : state) {
        if (result != 0) PXLDeleteImage(result);
        result = convert();
        if (result == 0) {
            state.SkipWithError("the conversion failed");
            break;
        }
    }
    if (result == 0) return;
    score(state, original, rgbOf(result));
    PXLDeleteImage(result);
}

// ---- Our converters ----

// args: colours, dither type.
void oursFine(benchmark::State& state, int photoIndex) {
    const Photo& original = photo(photoIndex);
    const PxlImageId target = PXLCreateImage(kWidth, kHeight, 8);
    const auto colours = static_cast<int32_t>(state.range(0));
    const auto dither = static_cast<int32_t>(state.range(1));
    for (auto _ : state) {
        if (PXLFineColorConvert(target, original.image, 0, colours, dither, 0) != 1) {
            state.SkipWithError("the fine converter failed");
            break;
        }
    }
    if (!state.error_occurred()) score(state, original, rgbOf(target));
    PXLDeleteImage(target);
}

// args: target bits, dither type, palette mode.
void oursColourConvert(benchmark::State& state, int photoIndex) {
    const Photo& original = photo(photoIndex);
    const auto bits = static_cast<int16_t>(state.range(0));
    const auto dither = static_cast<int16_t>(state.range(1));
    const auto mode = static_cast<int16_t>(state.range(2));
    timeNewImage(state, original,
                 [&] { return PXLColorConvert(original.image, bits, dither, mode, 0, nullptr, nullptr); });
}

void oursCreate8from24(benchmark::State& state, int photoIndex) {
    const Photo& original = photo(photoIndex);
    timeNewImage(state, original, [&] { return PXLCreateImage8from24(original.image); });
}

void oursColourConvert24to8(benchmark::State& state, int photoIndex) {
    const Photo& original = photo(photoIndex);
    int32_t cells = 0;
    timeNewImage(state, original, [&] { return PXLColorConvert24to8(original.image, 0, 0, 0, &cells); });
    state.counters["cells"] = cells;
}

// An 8-bit copy of the photo back to 24 bits; scored against the photo it is the 8-bit copy's loss.
void ours8to24(benchmark::State& state, int photoIndex) {
    const Photo& original = photo(photoIndex);
    const PxlImageId source = PXLCreateImage8from24(original.image);
    timeNewImage(state, original, [&] { return PXLColorConvert(source, 24, 0, 0, 0, nullptr, nullptr); });
    PXLDeleteImage(source);
}

void oursHistogram(benchmark::State& state, int photoIndex) {
    const PxlImageId source = PXLCreateImage8from24(photo(photoIndex).image);
    std::vector<uint8_t> rows(256 * 7);
    for (auto _ : state) {
        if (PXLGenerateHistogramIndexImage(source, rows.data(), 0) != 256) {
            state.SkipWithError("the histogram failed");
            break;
        }
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kPixels});
    PXLDeleteImage(source);
}

// ---- ImageMagick ----
#ifdef HAVE_MAGICK
RgbPixels rgbOf(Magick::Image picture) {
    RgbPixels rgb(kPixels * 3);
    picture.write(0, 0, kWidth, kHeight, "RGB", Magick::CharPixel, rgb.data());
    return rgb;
}

// Runs one operation on a fresh copy of the photo each round (the copy is not timed).
template <typename Operation>
void timeMagick(benchmark::State& state, const Photo& original, Operation operation) {
    const Magick::Image source(kWidth, kHeight, "RGB", Magick::CharPixel, original.rgb.data());
    Magick::Image work;
    for (auto _ : state) {
        state.PauseTiming();
        work = source;
        work.modifyImage();
        state.ResumeTiming();
        if (!operation(work.image())) {
            state.SkipWithError("ImageMagick failed");
            break;
        }
    }
    if (!state.error_occurred()) score(state, original, rgbOf(work));
}

MagickCore::QuantizeInfo quantizeInfo(size_t colours, bool floydSteinberg) {
    MagickCore::QuantizeInfo info;
    MagickCore::GetQuantizeInfo(&info);
    info.number_colors = colours;
    info.dither = floydSteinberg ? MagickCore::MagickTrue : MagickCore::MagickFalse;
    info.dither_method = floydSteinberg ? MagickCore::FloydSteinbergDitherMethod : MagickCore::NoDitherMethod;
    return info;
}

Magick::Image magickPalette(const PALETTEENTRY* entries, int count) {
    std::vector<uint8_t> rgb;
    for (int i = 0; i < count; ++i)
        rgb.insert(rgb.end(), {entries[i].peRed, entries[i].peGreen, entries[i].peBlue});
    return Magick::Image(count, 1, "RGB", Magick::CharPixel, rgb.data());
}

// The palettes our depth converter falls back to: the 3-3-2 cube for 8 bits, black and white for 1.
Magick::Image magickDefaultPalette(int bits) {
    constexpr PALETTEENTRY kBlackWhite[] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    return bits == 8 ? magickPalette(PXLGetHardPalette(), 256) : magickPalette(kBlackWhite, 2);
}

// args: colours, Floyd-Steinberg (0/1).
void magickQuantise(benchmark::State& state, int photoIndex) {
    const MagickCore::QuantizeInfo info = quantizeInfo(size_t(state.range(0)), state.range(1) != 0);
    timeMagick(state, photo(photoIndex),
               [&](MagickCore::Image* image) { return MagickCore::QuantizeImage(&info, image) != 0; });
}

// args: bits of our default palette to map onto, Floyd-Steinberg (0/1).
void magickRemap(benchmark::State& state, int photoIndex) {
    const MagickCore::QuantizeInfo info = quantizeInfo(256, state.range(1) != 0);
    const Magick::Image palette = magickDefaultPalette(static_cast<int>(state.range(0)));
    timeMagick(state, photo(photoIndex), [&](MagickCore::Image* image) {
        return MagickCore::RemapImage(&info, image, palette.constImage()) != 0;
    });
}

// Ordered 8x8 dither to 8 levels of red and green and 4 of blue, the 3-3-2 cube, then mapped onto
// that palette so every pixel is exactly one of its entries.
void magickOrdered332(benchmark::State& state, int photoIndex) {
    const MagickCore::QuantizeInfo info = quantizeInfo(256, false);
    const Magick::Image palette = magickDefaultPalette(8);
    timeMagick(state, photo(photoIndex), [&](MagickCore::Image* image) {
        return MagickCore::OrderedPosterizeImage(image, "o8x8,8,8,4", &image->exception) != 0 &&
               MagickCore::RemapImage(&info, image, palette.constImage()) != 0;
    });
}
#endif

// ---- libimagequant ----
#ifdef HAVE_IMAGEQUANT
struct Reduced {
    std::vector<uint8_t> indices = std::vector<uint8_t>(kPixels);
    Palette palette{};
};

// One whole reduction: the palette, then every pixel mapped onto it.
bool liqReduce(const std::vector<uint8_t>& rgba, int colours, float dither, Reduced& out) {
    liq_attr* attr = liq_attr_create();
    liq_set_max_colors(attr, colours);
    liq_image* image = liq_image_create_rgba(attr, rgba.data(), kWidth, kHeight, 0);
    liq_result* result = nullptr;
    bool done = image != nullptr && liq_image_quantize(image, attr, &result) == LIQ_OK;
    if (done) {
        liq_set_dithering_level(result, dither);
        done = liq_write_remapped_image(result, image, out.indices.data(), out.indices.size()) == LIQ_OK;
        const liq_palette* palette = liq_get_palette(result);
        for (unsigned i = 0; i < palette->count; ++i)
            out.palette[i] = {palette->entries[i].r, palette->entries[i].g, palette->entries[i].b};
        liq_result_destroy(result);
    }
    if (image != nullptr) liq_image_destroy(image);
    liq_attr_destroy(attr);
    return done;
}

// args: colours, dithering level (0/1).
void liqQuantise(benchmark::State& state, int photoIndex) {
    const Photo& original = photo(photoIndex);
    std::vector<uint8_t> rgba;
    rgba.reserve(kPixels * 4);
    for (size_t i = 0; i < kPixels; ++i)
        rgba.insert(rgba.end(), {original.rgb[3 * i], original.rgb[3 * i + 1], original.rgb[3 * i + 2], 255});
    Reduced reduced;
    for (auto _ : state) {
        if (!liqReduce(rgba, static_cast<int>(state.range(0)), static_cast<float>(state.range(1)), reduced)) {
            state.SkipWithError("libimagequant failed");
            break;
        }
    }
    if (!state.error_occurred()) score(state, original, paint(reduced.indices, reduced.palette));
}
#endif

// ---- libgd ----
#ifdef HAVE_GD
RgbPixels rgbOf(gdImagePtr picture) {
    Palette palette{};
    for (int i = 0; i < gdImageColorsTotal(picture); ++i)
        palette[i] = {uint8_t(picture->red[i]), uint8_t(picture->green[i]), uint8_t(picture->blue[i])};
    std::vector<uint8_t> indices(kPixels);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) indices[size_t(y) * kWidth + x] = picture->pixels[y][x];
    return paint(indices, palette);
}

// args: colours, dither (0/1); libgd's own median cut, which keeps the source and makes a new image.
void gdQuantise(benchmark::State& state, int photoIndex) {
    const Photo& original = photo(photoIndex);
    gdImagePtr source = gdImageCreateTrueColor(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint8_t* p = &original.rgb[(size_t(y) * kWidth + x) * 3];
            source->tpixels[y][x] = gdTrueColor(p[0], p[1], p[2]);
        }
    }
    gdImageTrueColorToPaletteSetMethod(source, GD_QUANT_JQUANT, 0);
    gdImagePtr result = nullptr;
    for (auto _ : state) {
        if (result != nullptr) gdImageDestroy(result);
        result = gdImageCreatePaletteFromTrueColor(source, int(state.range(1)), int(state.range(0)));
        if (result == nullptr) {
            state.SkipWithError("libgd failed");
            break;
        }
    }
    if (result != nullptr) {
        score(state, original, rgbOf(result));
        gdImageDestroy(result);
    }
    gdImageDestroy(source);
}
#endif

// ---- Registration: every case once per photo, named photo/converter, so each photo's rows sit
// together in the output ----

benchmark::internal::Benchmark* add(int photoIndex, const char* converter,
                                    void (*run)(benchmark::State&, int)) {
    const std::string name = std::string(kPhotoSources[photoIndex].name) + "/" + converter;
    return benchmark::RegisterBenchmark(name.c_str(), run, photoIndex)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

// The reductions to 256 colours first, then to 16, each through the given dither settings.
void byColoursThenDither(benchmark::internal::Benchmark* bench, std::initializer_list<int64_t> dithers,
                         const char* ditherName = "dither") {
    bench->ArgNames({"colours", ditherName});
    for (const int64_t colours : {256, 16})
        for (const int64_t dither : dithers) bench->Args({colours, dither});
}

void addOurs(int p) {
    byColoursThenDither(add(p, "ours_fine", oursFine), {0, 1, 2, 3});
    add(p, "ours_convert", oursColourConvert)
        ->ArgNames({"bits", "dither", "palette"})
        ->ArgsProduct({{8}, {0, 1, 2, 3}, {0, 1}})
        ->Args({1, 2, 0});
    add(p, "ours_8to24", ours8to24);
    add(p, "ours_8from24", oursCreate8from24);
    add(p, "ours_24to8", oursColourConvert24to8);
    add(p, "ours_histogram", oursHistogram);
}

void addPeers([[maybe_unused]] int p) {
#ifdef HAVE_MAGICK
    byColoursThenDither(add(p, "magick_quantise", magickQuantise), {0, 1}, "fs");
    add(p, "magick_remap_default", magickRemap)
        ->ArgNames({"bits", "fs"})
        ->Args({8, 0})
        ->Args({8, 1})
        ->Args({1, 1});
    add(p, "magick_ordered_332", magickOrdered332);
#endif
#ifdef HAVE_IMAGEQUANT
    byColoursThenDither(add(p, "liq", liqQuantise), {0, 1});
#endif
#ifdef HAVE_GD
    add(p, "gd_jquant", gdQuantise)->ArgNames({"colours", "dither"})->ArgsProduct({{256}, {0, 1}});
#endif
}

const bool kRegistered = [] {
    for (int p = 0; p < kPhotoCount; ++p) {
        addOurs(p);
        addPeers(p);
    }
    return true;
}();

}  // namespace
