// Decoding 4096 x 4096 JPEG, PNG and LZW TIFF files: the library's codecs (into a whole-picture
// buffer through the row sink, as a load into a new image does, and through PXLLoadImage) next
// to the bare library calls decoding the same file into a buffer: a djpeg-style decode with the
// same decoder settings, png_read_image, and TIFFReadEncodedStrip strip by strip.
//
// The files are made once in a temporary folder by the libraries themselves from a picture of
// gradients and noise. Every case decodes into a fresh whole-picture buffer, as a load into a new
// image does.
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
#include <string>
#include <vector>

#include "formats/codec.h"
#include "formats/jpeg_codec.h"
#include "formats/png_codec.h"
#include "formats/tiff_codec.h"
#include "pixmill/pixmill.h"

namespace {

namespace fs = std::filesystem;
constexpr int kSide = 4096;
constexpr size_t kRowBytes = size_t{kSide} * 3;

// Red, green, blue rows: gradients with a little noise, like a photograph.
std::vector<uint8_t> picture() {
    std::vector<uint8_t> rgb(kRowBytes * kSide);
    uint32_t noise = 12345;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = static_cast<int>((noise >> 16) & 15) - 8;
            uint8_t* p = &rgb[static_cast<size_t>(y) * kRowBytes + 3 * static_cast<size_t>(x)];
            p[0] = static_cast<uint8_t>(std::clamp((x >> 4) + n, 0, 255));
            p[1] = static_cast<uint8_t>(std::clamp((y >> 4) + n, 0, 255));
            p[2] = static_cast<uint8_t>(std::clamp(((x + y) >> 5) + n, 0, 255));
        }
    }
    return rgb;
}

struct Files {
    fs::path folder, jpeg, png, tiff;
    Files() {
        folder = fs::temp_directory_path() / ("pixmill_bench_files_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        jpeg = folder / "p.jpg";
        png = folder / "p.png";
        tiff = folder / "p.tif";
        const std::vector<uint8_t> rgb = picture();
        writeJpeg(rgb);
        writePng(rgb);
        writeTiff(rgb);
    }
    ~Files() { fs::remove_all(folder); }

    void writeJpeg(const std::vector<uint8_t>& rgb) const {
        FILE* f = std::fopen(jpeg.c_str(), "wb");
        jpeg_compress_struct c{};
        jpeg_error_mgr errors{};
        c.err = jpeg_std_error(&errors);
        jpeg_create_compress(&c);
        jpeg_stdio_dest(&c, f);
        c.image_width = c.image_height = kSide;
        c.input_components = 3;
        c.in_color_space = JCS_RGB;
        jpeg_set_defaults(&c);
        jpeg_set_quality(&c, 75, TRUE);
        jpeg_start_compress(&c, TRUE);
        while (c.next_scanline < c.image_height) {
            JSAMPROW row = const_cast<uint8_t*>(&rgb[c.next_scanline * kRowBytes]);
            jpeg_write_scanlines(&c, &row, 1);
        }
        jpeg_finish_compress(&c);
        jpeg_destroy_compress(&c);
        std::fclose(f);
    }
    void writePng(const std::vector<uint8_t>& rgb) const {
        FILE* f = std::fopen(png.c_str(), "wb");
        png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop i = png_create_info_struct(p);
        png_init_io(p, f);
        png_set_IHDR(p, i, kSide, kSide, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(p, i);
        for (int y = 0; y < kSide; ++y) png_write_row(p, &rgb[static_cast<size_t>(y) * kRowBytes]);
        png_write_end(p, nullptr);
        png_destroy_write_struct(&p, &i);
        std::fclose(f);
    }
    void writeTiff(const std::vector<uint8_t>& rgb) const {
        TIFF* t = TIFFOpen(tiff.c_str(), "w");
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, kSide);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, kSide);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
        for (int y = 0; y < kSide; ++y) TIFFWriteScanline(t, const_cast<uint8_t*>(&rgb[static_cast<size_t>(y) * kRowBytes]), y, 0);
        TIFFClose(t);
    }
};

const Files& files() {
    static const Files made;
    return made;
}
// Made before the first benchmark, so no case times the making.
const Files& filesMadeAtStart = files();

// Rows into one whole-picture buffer, as a load into a new image stores them.
class BufferSink final : public pixmill::RowSink {
public:
    explicit BufferSink(const pixmill::RowLayout& layout)
        : stride_(layout.stride), bits_(size_t{layout.stride} * static_cast<size_t>(layout.height)) {}
    int16_t putRow(const uint8_t* row, int indexFromTop) override {
        std::memcpy(&bits_[static_cast<size_t>(indexFromTop) * stride_], row, stride_);
        return 0;
    }
    const uint8_t* data() const { return bits_.data(); }

private:
    size_t stride_;
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

void BM_JpegCodec(benchmark::State& state) { ours(state, files().jpeg, pixmill::jpegInfo, pixmill::jpegLoad); }
void BM_JpegLoadImage(benchmark::State& state) { throughLoadImage(state, files().jpeg); }
void BM_JpegBareLibrary(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<uint8_t> buffer(kRowBytes * kSide);
        FILE* f = std::fopen(files().jpeg.c_str(), "rb");
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
            JSAMPROW row = &buffer[d.output_scanline * kRowBytes];
            jpeg_read_scanlines(&d, &row, 1);
        }
        jpeg_finish_decompress(&d);
        jpeg_destroy_decompress(&d);
        std::fclose(f);
        benchmark::DoNotOptimize(buffer.data());
    }
}

void BM_PngCodec(benchmark::State& state) { ours(state, files().png, pixmill::pngInfo, pixmill::pngLoad); }
void BM_PngLoadImage(benchmark::State& state) { throughLoadImage(state, files().png); }
void BM_PngBareLibrary(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<uint8_t> buffer(kRowBytes * kSide);
        std::vector<png_bytep> rows(kSide);
        for (int y = 0; y < kSide; ++y) rows[static_cast<size_t>(y)] = &buffer[static_cast<size_t>(y) * kRowBytes];
        FILE* f = std::fopen(files().png.c_str(), "rb");
        png_structp p = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop i = png_create_info_struct(p);
        png_init_io(p, f);
        png_read_info(p, i);
        png_set_bgr(p);
        png_read_update_info(p, i);
        png_read_image(p, rows.data());
        png_read_end(p, nullptr);
        png_destroy_read_struct(&p, &i, nullptr);
        std::fclose(f);
        benchmark::DoNotOptimize(buffer.data());
    }
}

void BM_TiffCodec(benchmark::State& state) { ours(state, files().tiff, pixmill::tiffInfo, pixmill::tiffLoad); }
void BM_TiffLoadImage(benchmark::State& state) { throughLoadImage(state, files().tiff); }
void BM_TiffBareLibrary(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<uint8_t> buffer(kRowBytes * kSide);
        TIFF* t = TIFFOpen(files().tiff.c_str(), "r");
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

}  // namespace

BENCHMARK(BM_JpegBareLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegCodec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegLoadImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngBareLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngCodec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngLoadImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiffBareLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiffCodec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiffLoadImage)->Unit(benchmark::kMillisecond);
