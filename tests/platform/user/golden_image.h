// Golden images of the screen for the frame tests: a rectangle of the screen compared pixel for
// pixel with tests/platform/user/golden/<name>.png. WINPLAT_UPDATE_GOLDEN=1 writes the golden
// instead; a mismatch writes <name>.actual.png beside the build's working folder to look at.
#ifndef TESTS_PLATFORM_USER_GOLDEN_IMAGE_H
#define TESTS_PLATFORM_USER_GOLDEN_IMAGE_H

#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "winplat/draw.h"
#include "winplat/user.h"

namespace window_test {

// Named by the build: __FILE__ may be relative to wherever the compiler ran (a compiler cache
// rewrites paths so builds in different folders share their objects).
inline std::filesystem::path goldenFolder() { return WINPLAT_GOLDEN_DIR; }

// The screen's pixels in the rectangle as RGB bytes.
inline std::vector<png_byte> screenRgb(const RECT& r) {
    HDC screen = GetDC(nullptr);
    std::vector<png_byte> rgb;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = GetPixel(screen, x, y);
            rgb.push_back(GetRValue(c));
            rgb.push_back(GetGValue(c));
            rgb.push_back(GetBValue(c));
        }
    }
    ReleaseDC(nullptr, screen);
    return rgb;
}

inline bool writeRgbPng(const std::filesystem::path& path, int width, int height, const std::vector<png_byte>& rgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

inline bool readRgbPng(const std::filesystem::path& path, int& width, int& height, std::vector<png_byte>& rgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0;
}

// Compares (or, asked to, writes) the golden of a screen rectangle.
inline void expectGolden(const RECT& r, const std::string& name) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const std::vector<png_byte> actual = screenRgb(r);
    const std::filesystem::path golden = goldenFolder() / (name + ".png");
    const char* update = std::getenv("WINPLAT_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        ASSERT_TRUE(writeRgbPng(golden, width, height, actual)) << golden;
        return;
    }
    int goldenWidth = 0;
    int goldenHeight = 0;
    std::vector<png_byte> expected;
    ASSERT_TRUE(readRgbPng(golden, goldenWidth, goldenHeight, expected))
        << "no golden " << golden << " (WINPLAT_UPDATE_GOLDEN=1 writes it)";
    ASSERT_EQ(goldenWidth, width) << name;
    ASSERT_EQ(goldenHeight, height) << name;
    if (expected != actual) {
        const std::filesystem::path written = std::filesystem::temp_directory_path() / (name + ".actual.png");
        writeRgbPng(written, width, height, actual);
        size_t first = 0;
        while (first < actual.size() && actual[first] == expected[first]) ++first;
        const size_t pixel = first / 3;
        ADD_FAILURE() << name << " differs from its golden first at (" << pixel % static_cast<size_t>(width) << ", "
                      << pixel / static_cast<size_t>(width) << "); the frame as drawn is in " << written;
    }
}

}  // namespace window_test

#endif
