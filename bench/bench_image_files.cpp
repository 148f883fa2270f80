// Decoding JPEG, PNG and LZW TIFF files of 256 x 256, 1024 x 1024 and 4096 x 4096 pixels: the
// library's codecs (into a whole-picture buffer through the row sink, as a load into a new image
// does, and through PXLLoadImage) next to the bare library calls decoding the same file into a
// buffer: a djpeg-style decode with the same decoder settings, png_read_image, and
// TIFFReadEncodedStrip strip by strip. PNG comes as 24-bit colour and as 8-bit palette indexes.
//
// Each pair shares its name but for the first part (BM_PngBareLibrary/rgb/side:4096 and
// BM_PngCodec/rgb/side:4096): the ratio of their times is the glue's cost. Costs that grow faster
// than the pixels show as a ratio rising with the side. On a busy machine, run one group at a time
// with its cases interleaved, so drift in the machine's speed falls on both sides of a pair:
//   --benchmark_filter='BM_Png[A-Za-z]*/rgb/side:4096$' --benchmark_enable_random_interleaving=true
// At 4096 x 4096 much of every case is the first touch of the fresh 48 MiB picture, on each side.
//
// The files are made by the libraries themselves, in a temporary folder, before a case's first
// timed run, from a picture of gradients and noise. Every case decodes into a fresh whole-picture
// buffer, as a load into a new image does.
#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "formats/codec.h"
#include "formats/jpeg_codec.h"
#include "formats/png_codec.h"
#include "formats/tiff_codec.h"
#include "pixmill/pixmill.h"

namespace {

namespace fs = std::filesystem;

enum class Kind { Rgb, Palette };

size_t rgbRowBytes(int side) { return size_t{3} * static_cast<size_t>(side); }

// Red, green, blue rows: gradients across the whole side with a little noise, like a photograph.
std::vector<uint8_t> rgbPicture(int side) {
    const size_t rowBytes = rgbRowBytes(side);
    std::vector<uint8_t> rgb(rowBytes * static_cast<size_t>(side));
    uint32_t noise = 12345;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = static_cast<int>((noise >> 16) & 15) - 8;
            uint8_t* p = &rgb[static_cast<size_t>(y) * rowBytes + 3 * static_cast<size_t>(x)];
            p[0] = static_cast<uint8_t>(std::clamp(x * 256 / side + n, 0, 255));
            p[1] = static_cast<uint8_t>(std::clamp(y * 256 / side + n, 0, 255));
            p[2] = static_cast<uint8_t>(std::clamp((x + y) * 128 / side + n, 0, 255));
        }
    }
    return rgb;
}

// Palette indexes in diagonal bands with a little noise, as a quantised photograph gives.
std::vector<uint8_t> indexPicture(int side) {
    std::vector<uint8_t> indexes(static_cast<size_t>(side) * static_cast<size_t>(side));
    uint32_t noise = 54321;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = static_cast<int>((noise >> 16) & 7) - 4;
            indexes[static_cast<size_t>(y) * static_cast<size_t>(side) + static_cast<size_t>(x)] =
                static_cast<uint8_t>(std::clamp((x + y) * 128 / side + n, 0, 255));
        }
    }
    return indexes;
}

void writeJpeg(const fs::path& path, int side) {
    const std::vector<uint8_t> rgb = rgbPicture(side);
    FILE* f = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = c.image_height = static_cast<JDIMENSION>(side);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 75, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(&rgb[c.next_scanline * rgbRowBytes(side)]);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(f);
}

void writePng(const fs::path& path, Kind kind, int side) {
    const bool palette = kind == Kind::Palette;
    const std::vector<uint8_t> pixels = palette ? indexPicture(side) : rgbPicture(side);
    const size_t rowBytes = palette ? static_cast<size_t>(side) : rgbRowBytes(side);
    FILE* f = std::fopen(path.c_str(), "wb");
    png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop i = png_create_info_struct(p);
    png_init_io(p, f);
    const auto s = static_cast<png_uint_32>(side);
    png_set_IHDR(p, i, s, s, 8, palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> entries(256);
    for (int e = 0; e < 256; ++e) {
        entries[static_cast<size_t>(e)] = png_color{static_cast<png_byte>(e), static_cast<png_byte>(255 - e),
                                                    static_cast<png_byte>(e / 2)};
    }
    if (palette) png_set_PLTE(p, i, entries.data(), 256);
    png_write_info(p, i);
    for (int y = 0; y < side; ++y) png_write_row(p, &pixels[static_cast<size_t>(y) * rowBytes]);
    png_write_end(p, nullptr);
    png_destroy_write_struct(&p, &i);
    std::fclose(f);
}

void writeTiff(const fs::path& path, int side) {
    const std::vector<uint8_t> rgb = rgbPicture(side);
    TIFF* t = TIFFOpen(path.c_str(), "w");
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, side);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, side);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
    for (int y = 0; y < side; ++y) {
        TIFFWriteScanline(t, const_cast<uint8_t*>(&rgb[static_cast<size_t>(y) * rgbRowBytes(side)]),
                          static_cast<uint32_t>(y), 0);
    }
    TIFFClose(t);
}

// The picture files, each made on first use and all removed at exit.
class Files {
public:
    Files() {
        folder_ = fs::temp_directory_path() / ("pixmill_bench_files_" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    ~Files() { fs::remove_all(folder_); }

    const fs::path& jpeg(int side) {
        return made(name("p", side, ".jpg"), [side](const fs::path& p) { writeJpeg(p, side); });
    }
    const fs::path& png(Kind kind, int side) {
        return made(name(kind == Kind::Palette ? "i" : "p", side, ".png"),
                    [kind, side](const fs::path& p) { writePng(p, kind, side); });
    }
    const fs::path& tiff(int side) {
        return made(name("p", side, ".tif"), [side](const fs::path& p) { writeTiff(p, side); });
    }

private:
    static std::string name(const char* prefix, int side, const char* extension) {
        std::string made(prefix);
        made += std::to_string(side);
        made += extension;
        return made;
    }
    template <class Write>
    const fs::path& made(const std::string& name, Write write) {
        auto found = paths_.find(name);
        if (found == paths_.end()) {
            found = paths_.emplace(name, folder_ / name).first;
            write(found->second);
        }
        return found->second;
    }

    fs::path folder_;
    std::map<std::string, fs::path> paths_;
};

Files& files() {
    static Files made;
    return made;
}

int sideOf(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

// Rows into one whole-picture buffer, as a load into a new image stores them: a codec may decode
// straight into the buffer's rows.
class BufferSink final : public pixmill::RowSink {
public:
    explicit BufferSink(const pixmill::RowLayout& layout)
        : stride_(layout.stride),
          height_(layout.height),
          bits_(size_t{layout.stride} * static_cast<size_t>(layout.height)) {}
    uint8_t* rowTarget(int indexFromTop, size_t bytes) override {
        if (indexFromTop < 0 || indexFromTop >= height_ || bytes > stride_) return nullptr;
        return &bits_[static_cast<size_t>(indexFromTop) * stride_];
    }
    int16_t putRow(const uint8_t* row, int indexFromTop) override {
        uint8_t* target = &bits_[static_cast<size_t>(indexFromTop) * stride_];
        if (row != target) std::memcpy(target, row, stride_);
        return 0;
    }
    const uint8_t* data() const { return bits_.data(); }

private:
    size_t stride_;
    int height_;
    std::vector<uint8_t> bits_;
};

using CodecFn = int16_t (*)(pixmill::CodecCall&);

void ours(benchmark::State& state, const fs::path& path, CodecFn info, CodecFn load) {
    const std::string windowsPath = "C:" + path.string();
    for (auto _ : state) {
        pixmill::ByteStream stream;
        stream.openFile(windowsPath.c_str(), "rb");
        pixmill::PxlCodecInfo record;
        pixmill::CodecCall call{record, stream};
        if (info(call) != 0) state.SkipWithError("info failed");
        stream.seek(0, SEEK_SET);
        BufferSink sink(pixmill::prepareRowTransfer(record));
        call.sink = &sink;
        pixmill::startLoad();
        if (load(call) != 0) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(sink.data());
    }
}

void throughLoadImage(benchmark::State& state, const fs::path& path) {
    const std::string windowsPath = "C:" + path.string();
    for (auto _ : state) {
        const PxlImageId id = PXLLoadImage(0, windowsPath.c_str(), nullptr);
        if (id == 0) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(id);
        PXLDeleteImage(id);
    }
}

void BM_JpegBareLibrary(benchmark::State& state) {
    const int side = sideOf(state);
    const fs::path& path = files().jpeg(side);
    const size_t rowBytes = rgbRowBytes(side);
    for (auto _ : state) {
        std::vector<uint8_t> buffer(rowBytes * static_cast<size_t>(side));
        FILE* f = std::fopen(path.c_str(), "rb");
        jpeg_decompress_struct d{};
        jpeg_error_mgr errors{};
        d.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&d);
        jpeg_stdio_src(&d, f);
        jpeg_read_header(&d, TRUE);
        d.out_color_space = JCS_EXT_BGR;
        d.dct_method = JDCT_IFAST;
        d.do_fancy_upsampling = FALSE;
        d.do_block_smoothing = FALSE;
        jpeg_start_decompress(&d);
        while (d.output_scanline < d.output_height) {
            JSAMPROW row = &buffer[d.output_scanline * rowBytes];
            jpeg_read_scanlines(&d, &row, 1);
        }
        jpeg_finish_decompress(&d);
        jpeg_destroy_decompress(&d);
        std::fclose(f);
        benchmark::DoNotOptimize(buffer.data());
    }
}
void BM_JpegCodec(benchmark::State& state) {
    ours(state, files().jpeg(sideOf(state)), pixmill::jpegInfo, pixmill::jpegLoad);
}
void BM_JpegLoadImage(benchmark::State& state) { throughLoadImage(state, files().jpeg(sideOf(state))); }

void BM_PngBareLibrary(benchmark::State& state, Kind kind) {
    const int side = sideOf(state);
    const fs::path& path = files().png(kind, side);
    const size_t rowBytes = kind == Kind::Palette ? static_cast<size_t>(side) : rgbRowBytes(side);
    for (auto _ : state) {
        std::vector<uint8_t> buffer(rowBytes * static_cast<size_t>(side));
        std::vector<png_bytep> rows(static_cast<size_t>(side));
        for (size_t y = 0; y < rows.size(); ++y) rows[y] = &buffer[y * rowBytes];
        FILE* f = std::fopen(path.c_str(), "rb");
        png_structp p = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop i = png_create_info_struct(p);
        png_init_io(p, f);
        png_read_info(p, i);
        if (kind == Kind::Rgb) png_set_bgr(p);
        png_read_update_info(p, i);
        png_read_image(p, rows.data());
        png_read_end(p, nullptr);
        png_destroy_read_struct(&p, &i, nullptr);
        std::fclose(f);
        benchmark::DoNotOptimize(buffer.data());
    }
}
void BM_PngCodec(benchmark::State& state, Kind kind) {
    ours(state, files().png(kind, sideOf(state)), pixmill::pngInfo, pixmill::pngLoad);
}
void BM_PngLoadImage(benchmark::State& state, Kind kind) {
    throughLoadImage(state, files().png(kind, sideOf(state)));
}

void BM_TiffBareLibrary(benchmark::State& state) {
    const int side = sideOf(state);
    const fs::path& path = files().tiff(side);
    for (auto _ : state) {
        std::vector<uint8_t> buffer(rgbRowBytes(side) * static_cast<size_t>(side));
        TIFF* t = TIFFOpen(path.c_str(), "r");
        const tmsize_t stripSize = TIFFStripSize(t);
        const uint32_t strips = TIFFNumberOfStrips(t);
        uint8_t* at = buffer.data();
        for (uint32_t s = 0; s < strips; ++s) {
            const tmsize_t got = TIFFReadEncodedStrip(t, s, at, stripSize);
            if (got < 0) state.SkipWithError("strip failed");
            at += got;
        }
        TIFFClose(t);
        benchmark::DoNotOptimize(buffer.data());
    }
}
void BM_TiffCodec(benchmark::State& state) {
    ours(state, files().tiff(sideOf(state)), pixmill::tiffInfo, pixmill::tiffLoad);
}
void BM_TiffLoadImage(benchmark::State& state) { throughLoadImage(state, files().tiff(sideOf(state))); }

void sides(benchmark::internal::Benchmark* b) {
    b->ArgName("side")->Arg(256)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_JpegBareLibrary)->Apply(sides);
BENCHMARK(BM_JpegCodec)->Apply(sides);
BENCHMARK(BM_JpegLoadImage)->Apply(sides);
BENCHMARK_CAPTURE(BM_PngBareLibrary, rgb, Kind::Rgb)->Apply(sides);
BENCHMARK_CAPTURE(BM_PngCodec, rgb, Kind::Rgb)->Apply(sides);
BENCHMARK_CAPTURE(BM_PngLoadImage, rgb, Kind::Rgb)->Apply(sides);
BENCHMARK_CAPTURE(BM_PngBareLibrary, palette, Kind::Palette)->Apply(sides);
BENCHMARK_CAPTURE(BM_PngCodec, palette, Kind::Palette)->Apply(sides);
BENCHMARK_CAPTURE(BM_PngLoadImage, palette, Kind::Palette)->Apply(sides);
BENCHMARK(BM_TiffBareLibrary)->Apply(sides);
BENCHMARK(BM_TiffCodec)->Apply(sides);
BENCHMARK(BM_TiffLoadImage)->Apply(sides);
