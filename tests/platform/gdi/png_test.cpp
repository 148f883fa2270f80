// writePng: the files decode (with libpng) to the pixels GetPixel reports.
#include <png.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/testing.h"

namespace {

using namespace drawtest;
namespace wt = winplat::testing;
namespace fs = std::filesystem;

struct Decoded {
    bool ok = false;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    Rgb at(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
        return (Rgb{rgb[i]} << 16) | (Rgb{rgb[i + 1]} << 8) | rgb[i + 2];
    }
};

Decoded decode(const fs::path& path) {
    Decoded out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return out;
    image.format = PNG_FORMAT_RGB;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgb.resize(PNG_IMAGE_SIZE(image));
    out.ok = png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
    return out;
}

class PngOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("winplat_png_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

// Every pixel of the decoded file is what GetPixel says the DC shows.
void expectSameAsDc(HDC dc, const Decoded& png, int width, int height) {
    ASSERT_TRUE(png.ok);
    ASSERT_EQ(png.width, width);
    ASSERT_EQ(png.height, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(png.at(x, y), rgbOfRef(GetPixel(dc, x, y))) << x << "," << y;
}

TEST_F(PngOutput, DisplaysOfEachDepthDecodeToTheirPixels) {
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bpp);
        HDC dc = wt::createDisplayDc(7, 5, bpp);
        ASSERT_TRUE(dc);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) SetPixel(dc, x, y, RGB(x * 40, y * 60, (x * y * 17) & 0xFF));
        const fs::path path = folder_ / ("display" + std::to_string(bpp) + ".png");
        ASSERT_TRUE(wt::writePng(dc, path.c_str()));
        expectSameAsDc(dc, decode(path), 7, 5);
        DeleteDC(dc);
    }
}

TEST_F(PngOutput, BitmapsAndPrinterPages) {
    Canvas canvas(3, 2, 24, {}, false);  // bottom-up: the file still starts with the top row
    canvas.set(0, 0, 0xFF0000);
    canvas.set(2, 1, 0x0000FF);
    const fs::path bitmapPath = folder_ / "bitmap.png";
    ASSERT_TRUE(wt::writePng(canvas.bitmap(), bitmapPath.c_str()));
    const Decoded png = decode(bitmapPath);
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(png.at(0, 0), 0xFF0000u);
    EXPECT_EQ(png.at(2, 1), 0x0000FFu);
    EXPECT_EQ(png.at(1, 0), 0x000000u);

    HDC printer = wt::createPrinterDc(4, 6, 72);
    PatBlt(printer, 1, 1, 2, 2, BLACKNESS);
    const fs::path pagePath = folder_ / "page.png";
    ASSERT_TRUE(wt::writePng(printer, pagePath.c_str()));
    expectSameAsDc(printer, decode(pagePath), 4, 6);
    DeleteDC(printer);
}

TEST_F(PngOutput, RefusesWhatHasNoPixelsAndUnwritablePaths) {
    HDC metafile = wt::createMetafileDc();
    EXPECT_FALSE(wt::writePng(metafile, (folder_ / "metafile.png").c_str()));
    EXPECT_FALSE(fs::exists(folder_ / "metafile.png"));
    DeleteDC(metafile);
    HDC dc = wt::createDisplayDc(2, 2, 24);
    EXPECT_FALSE(wt::writePng(dc, (folder_ / "no" / "such" / "folder.png").c_str()));
    EXPECT_FALSE(wt::writePng(static_cast<HBITMAP>(nullptr), (folder_ / "none.png").c_str()));
    DeleteDC(dc);
}

}  // namespace
