// What a canvas holds, row by row from the top: as its own colours, for comparing one state of the
// canvas with another, or as an image the harness compares with a golden picture (the canvas keeps
// colours as COLORREF, 0x00BBGGRR, the harness as the screen does, 0x00RRGGBB).
#ifndef TESTS_DRAFTING_SUPPORT_CANVAS_IMAGE_H
#define TESTS_DRAFTING_SUPPORT_CANVAS_IMAGE_H

#include <cstdint>
#include <vector>

#include "winforms/canvas.h"
#include "winplat_harness/harness.h"

namespace linework::test {

inline std::vector<COLORREF> CanvasPixels(const winforms::Canvas& canvas, int width, int height) {
    std::vector<COLORREF> pixels;
    pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back(canvas.Pixel(x, y));
    }
    return pixels;
}

inline winplat::test::Image CanvasImage(const winforms::Canvas& canvas, int width, int height) {
    winplat::test::Image image{
        width, height, std::vector<uint32_t>(static_cast<size_t>(width) * static_cast<size_t>(height))};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = canvas.Pixel(x, y);
            image.at(x, y) = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        }
    }
    return image;
}

}  // namespace linework::test

#endif
