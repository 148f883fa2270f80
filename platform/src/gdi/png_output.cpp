// writePng: what a DC shows, or a bitmap, as an 8-bit RGB PNG file (every depth, indexed ones by
// their colour tables).
#include <png.h>

#include <cstdio>
#include <vector>

#include "gdi/objects.h"
#include "gdi/paint.h"
#include "winplat/testing.h"

namespace winplat::gdi {
namespace {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgr;  // rows of 3 bytes per pixel, top row first
};

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

// libpng reports errors by long jump: nothing here has a destructor to skip.
bool encode(std::FILE* file, const RgbImage& image, png_bytep* rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool writeImage(const RgbImage& image, const char* path) {
    if (!path) return false;
    std::vector<png_bytep> rows(static_cast<size_t>(image.height));
    for (int y = 0; y < image.height; ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(
            image.bgr.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width) * 3);
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    const bool encoded = encode(file, image, rows.data());
    const bool closed = std::fclose(file) == 0;
    if (!encoded || !closed) {
        std::remove(path);
        return false;
    }
    return true;
}

}  // namespace
}  // namespace winplat::gdi

namespace winplat::testing {

using namespace winplat::gdi;

bool writePng(HDC dc, const char* hostPath) {
    RgbImage image;
    {
        std::lock_guard lock(gdiMutex());
        auto context = findDc(handleValue(dc));
        const Surface* surface = context ? drawingSurface(*context) : nullptr;
        if (!surface || !snapshot(*surface, image)) return false;
    }
    return writeImage(image, hostPath);
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
