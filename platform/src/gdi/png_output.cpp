// writePng: what a DC shows, or a bitmap, as an 8-bit RGB PNG file (every depth, indexed ones by
// their colour tables).
#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "gdi/png_output.h"

#include "gdi/objects.h"
#include "gdi/paint.h"
#include "winplat/testing.h"

namespace winplat::gdi {
namespace {

// Snapshot of the pixels, taken under the GDI lock so the file is written without it.
bool snapshot(const Surface& surface, RgbImage& image) {
    image.width = surface.width();
    image.height = surface.height();
    const size_t stride = static_cast<size_t>(image.width) * 3;
    image.bgr.resize(stride * static_cast<size_t>(image.height));
    const PixelFormat rgb{24, {}, {}};
    RowConverter converter(surface.format(), rgb);
    for (int y = 0; y < image.height; ++y)
        converter.convert(surface.row(y), image.bgr.data() + static_cast<size_t>(y) * stride, image.width);
    return true;
}

// libpng's write structures for one file, destroyed together.
class PngWriter {
  public:
    PngWriter()
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {}
    ~PngWriter() {
        if (png_) png_destroy_write_struct(&png_, info_ ? &info_ : nullptr);
    }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    explicit operator bool() const { return info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    png_structp png_;
    png_infop info_;
};

// Closes a file nobody closed on the way out.
struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng reports errors by long jump back to encode, whose writer was made before the jump point
// and so is destroyed as usual; libpng's own frames have no destructors to skip.
bool encode(std::FILE* file, const RgbImage& image, png_bytep* rows) {
    PngWriter writer;
    if (!writer) return false;
    png_structp png = writer.png();
    png_infop info = writer.info();
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool snapshotDc(HDC dc, RgbImage& image) {
    std::lock_guard lock(gdiMutex());
    auto context = findDc(handleValue(dc));
    const Surface* surface = context ? drawingSurface(*context) : nullptr;
    return surface && snapshot(*surface, image);
}

bool writeImage(const RgbImage& image, const char* path) {
    if (!path) return false;
    std::vector<png_bytep> rows(static_cast<size_t>(image.height));
    for (int y = 0; y < image.height; ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(
            image.bgr.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width) * 3);
    std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path, "wb"));
    if (!file) return false;
    const bool encoded = encode(file.get(), image, rows.data());
    const bool closed = std::fclose(file.release()) == 0;  // a failing close loses written data
    if (!encoded || !closed) {
        std::remove(path);
        return false;
    }
    return true;
}

}  // namespace winplat::gdi

namespace winplat::testing {

using namespace winplat::gdi;

bool writePng(HDC dc, const char* hostPath) {
    RgbImage image;
    return snapshotDc(dc, image) && writeImage(image, hostPath);
}

bool writePng(HBITMAP bitmap, const char* hostPath) {
    RgbImage image;
    {
        std::lock_guard lock(gdiMutex());
        auto object = findBitmap(handleValue(bitmap));
        if (!object || !snapshot(*object->surface, image)) return false;
    }
    return writeImage(image, hostPath);
}

}  // namespace winplat::testing
