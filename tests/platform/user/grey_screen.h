// A 64 x 64 32-bit display surface, all grey: the background pictures are drawn over in tests of
// cursors and icons.
#ifndef TESTS_PLATFORM_USER_GREY_SCREEN_H
#define TESTS_PLATFORM_USER_GREY_SCREEN_H

#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"

namespace picture_test {

constexpr COLORREF kGrey = RGB(128, 128, 128);

struct GreyScreen {
    static constexpr int kSide = 64;
    GreyScreen() : dc(winplat::testing::createDisplayDc(kSide, kSide, 32)) {
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) SetPixel(dc, x, y, kGrey);
        }
    }
    ~GreyScreen() { DeleteDC(dc); }
    GreyScreen(const GreyScreen&) = delete;
    GreyScreen& operator=(const GreyScreen&) = delete;
    HDC dc;
};

}  // namespace picture_test

#endif
