// Each image test starts with an empty registry, so ids are predictable, and leaves none behind.
#ifndef PIXMILL_TESTS_FIXTURE_H
#define PIXMILL_TESTS_FIXTURE_H

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "core/registry/image_registry.h"
#include "core/rows/pixel_rows.h"
#include "pixmill/pixmill.h"
#include "winplat/testing.h"

class PixmillTest : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }

    static void clear() {
        winplat::testing::DebugCapture quiet;  // the registry reports what it frees
        pixmill::deleteAllImages();
    }
};

struct Rgb {
    int r, g, b;
};

// A 24-bit image whose pixels are given row by row from the top.
inline PxlImageId make24(int width, int height, const std::vector<Rgb>& pixels) {
    const PxlImageId id = PXLCreateImage(width, height, 24);
    pixmill::ImageLock image = pixmill::lockImage(id, pixmill::Access::Write);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixmill::rowFromTop(*image, y);
        for (int x = 0; x < width; ++x) {
            const Rgb& p = pixels[static_cast<size_t>(y * width + x)];
            row[3 * x] = static_cast<uint8_t>(p.b);
            row[3 * x + 1] = static_cast<uint8_t>(p.g);
            row[3 * x + 2] = static_cast<uint8_t>(p.r);
        }
    }
    return id;
}

#endif
