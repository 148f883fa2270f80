// Pictures of the screen, PNG files of them, and the comparison with golden images.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "hooks.h"
#include "winplat/owners.h"

namespace winplat::test {
namespace {

// libpng's simplified reader, freed on every way out.
struct PngImage {
    png_image image{};
    PngImage() {
        image.version = PNG_IMAGE_VERSION;
    }
    ~PngImage() { png_image_free(&image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
};

// Blue, green, red, unused: the byte order of 0x00RRGGBB in memory on a little-endian machine.
constexpr auto kPixelFormat = PNG_FORMAT_BGRA;

void releaseScreenDc(HDC dc) { ReleaseDC(nullptr, dc); }
using ScreenDc = UniqueHandle<HDC, releaseScreenDc>;

bool updateGoldens() {
    const char* value = std::getenv("WINPLAT_UPDATE_GOLDEN");
    return value && std::strcmp(value, "1") == 0;
}

Image sideBySide(const Image& expected, const Image& actual) {
    const int width = std::max(expected.width, actual.width);
    const int height = std::max(expected.height, actual.height);
    Image out{width * 3, height, std::vector<uint32_t>(static_cast<size_t>(width) * 3 * static_cast<size_t>(height), 0x808080)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool inExpected = x < expected.width && y < expected.height;
            const bool inActual = x < actual.width && y < actual.height;
            if (inExpected) out.at(x, y) = expected.at(x, y);
            if (inActual) out.at(width + x, y) = actual.at(x, y);
            const bool same = inExpected && inActual && ((expected.at(x, y) ^ actual.at(x, y)) & 0xFFFFFF) == 0;
            out.at(2 * width + x, y) = same ? 0xFFFFFF : 0xFF0000;
        }
    }
    return out;
}

bool sameColours(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return false;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        if ((a.pixels[i] ^ b.pixels[i]) & 0xFFFFFF) return false;
    }
    return true;
}

std::string firstDifference(const Image& expected, const Image& actual) {
    if (expected.width != actual.width || expected.height != actual.height) {
        return "the golden is " + std::to_string(expected.width) + "x" + std::to_string(expected.height) +
               ", the image " + std::to_string(actual.width) + "x" + std::to_string(actual.height);
    }
    size_t count = 0;
    std::string first;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            if (!((expected.at(x, y) ^ actual.at(x, y)) & 0xFFFFFF)) continue;
            if (count++ == 0) {
                char text[96];
                std::snprintf(text, sizeof text, "first at (%d, %d): golden %06X, image %06X", x, y,
                              expected.at(x, y) & 0xFFFFFF, actual.at(x, y) & 0xFFFFFF);
                first = text;
            }
        }
    }
    return std::to_string(count) + " pixels differ, " + first;
}

}  // namespace

std::optional<Image> readPng(const std::string& path, std::string* error) {
    PngImage png;
    if (!png_image_begin_read_from_file(&png.image, path.c_str())) {
        if (error) *error = path + ": " + png.image.message;
        return std::nullopt;
    }
    png.image.format = kPixelFormat;
    Image image{static_cast<int>(png.image.width), static_cast<int>(png.image.height), {}};
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    if (!png_image_finish_read(&png.image, nullptr, image.pixels.data(), 0, nullptr)) {
        if (error) *error = path + ": " + png.image.message;
        return std::nullopt;
    }
    for (uint32_t& pixel : image.pixels) pixel &= 0xFFFFFF;
    return image;
}

bool writePng(const Image& image, const std::string& path) {
    PngImage png;
    png.image.width = static_cast<png_uint_32>(image.width);
    png.image.height = static_cast<png_uint_32>(image.height);
    png.image.format = PNG_FORMAT_BGR;
    std::vector<uint8_t> bgr;
    bgr.reserve(image.pixels.size() * 3);
    for (uint32_t pixel : image.pixels) {
        bgr.push_back(static_cast<uint8_t>(pixel));
        bgr.push_back(static_cast<uint8_t>(pixel >> 8));
        bgr.push_back(static_cast<uint8_t>(pixel >> 16));
    }
    return png_image_write_to_file(&png.image, path.c_str(), 0, bgr.data(), 0, nullptr) != 0;
}

Image crop(const Image& image, RECT area) {
    area.left = std::clamp<LONG>(area.left, 0, image.width);
    area.right = std::clamp<LONG>(area.right, area.left, image.width);
    area.top = std::clamp<LONG>(area.top, 0, image.height);
    area.bottom = std::clamp<LONG>(area.bottom, area.top, image.height);
    Image out{area.right - area.left, area.bottom - area.top, {}};
    out.pixels.reserve(static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) out.pixels.push_back(image.at(x, y));
    }
    return out;
}

Image Harness::screenshot(bool withPointer) const {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    Image image{width, height, {}};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const OwnedBitmap copy(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const MemoryDc memory(CreateCompatibleDC(nullptr));
    const ScreenDc screen(GetDC(nullptr));
    if (!copy || !memory || !screen || !bits) {
        ADD_FAILURE() << "screenshot: cannot copy the screen";
        return image;
    }
    {
        const Selection selected(memory.get(), copy.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
        if (withPointer) testing::drawPointer(memory.get(), 0, 0);
        GdiFlush();
        const auto* pixels = static_cast<const uint32_t*>(bits);
        image.pixels.assign(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height));
    }
    for (uint32_t& pixel : image.pixels) pixel &= 0xFFFFFF;
    return image;
}

Image Harness::windowImage(HWND window, bool clientOnly) const {
    const WindowInfo info = windowInfo(window);
    return crop(screenshot(false), clientOnly ? info.client : info.rect);
}

bool Harness::expectImage(const Image& image, const std::string& name) const {
    namespace fs = std::filesystem;
    const std::string golden = (fs::path(options_.goldenFolder) / (name + ".png")).string();
    if (updateGoldens()) {
        std::error_code ignored;
        fs::create_directories(fs::path(golden).parent_path(), ignored);
        if (!writePng(image, golden)) ADD_FAILURE() << "cannot write the golden " << golden;
        return true;
    }
    std::string error;
    const std::optional<Image> expected = readPng(golden, &error);
    if (!expected) {
        ADD_FAILURE() << "no golden image: " << error << " (WINPLAT_UPDATE_GOLDEN=1 writes it)";
        return false;
    }
    if (sameColours(*expected, image)) return true;
    const fs::path folder = options_.diffFolder.empty() ? fs::current_path() / "image_diffs" : fs::path(options_.diffFolder);
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    const std::string diff = (folder / (name + ".diff.png")).string();
    const bool written = writePng(sideBySide(*expected, image), diff);
    ADD_FAILURE() << "image \"" << name << "\" differs from " << golden << ": " << firstDifference(*expected, image)
                  << (written ? "; golden, image and differences are in " + diff : "; no diff could be written");
    return false;
}

}  // namespace winplat::test

namespace winplat::test {

std::vector<Image> Harness::printedPages() const {
    std::vector<Image> images;
    for (testing::PrintedPage& page : hooks_->printed.pages()) images.push_back(Image{page.width, page.height, std::move(page.pixels)});
    return images;
}

}  // namespace winplat::test
