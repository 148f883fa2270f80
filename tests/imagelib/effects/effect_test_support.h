// Pictures and pixel readers shared by the effect tests.
#ifndef PIXMILL_TESTS_EFFECT_TEST_SUPPORT_H
#define PIXMILL_TESTS_EFFECT_TEST_SUPPORT_H

#include <ostream>
#include <vector>

#include "../pixmill_fixture.h"

inline bool operator==(const Rgb& a, const Rgb& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << "," << c.g << "," << c.b << ")";
}

// Every pixel of the image as colours, row by row from the top, whatever its depth.
inline std::vector<Rgb> pixelsOf(PxlImageId id) {
    pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Read);
    std::vector<Rgb> pixels;
    if (!image) return pixels;
    std::vector<uint8_t> rgb(static_cast<size_t>(image->width()) * 3);
    for (int y = 0; y < image->height(); ++y) {
        pixmill::readRowRgb(*image, y, rgb.data());
        for (int x = 0; x < image->width(); ++x) pixels.push_back({rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2]});
    }
    return pixels;
}

inline std::vector<Rgb> filled(int count, Rgb colour) { return std::vector<Rgb>(static_cast<size_t>(count), colour); }

// Black and white squares of one pixel, black at the top-left.
inline std::vector<Rgb> checkerboard(int width, int height) {
    std::vector<Rgb> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back((x + y) % 2 ? Rgb{255, 255, 255} : Rgb{0, 0, 0});
    }
    return pixels;
}

// Colours that differ in every channel from pixel to pixel.
inline std::vector<Rgb> gradient(int width, int height) {
    std::vector<Rgb> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back({(x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, (x * 113 + y * 29 + 7) % 256});
    }
    return pixels;
}

#endif
