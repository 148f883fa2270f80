// What the vector-picture tests share: a headless layer with the synthetic test face, white
// canvases to draw on, and pictures parsed or written out as files.
#ifndef VEXMILL_TESTS_FIXTURE_H
#define VEXMILL_TESTS_FIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "metafile_builder.h"
#include "metafile_parser.h"
#include "player.h"
#include "winplat/draw.h"
#include "winplat_harness/harness.h"
#include "winplat/testing.h"

namespace vxtest {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A display DC over a 32-bit surface of its own, white, deleted with the owner.
class Canvas {
  public:
    Canvas(int width, int height) : dc_(winplat::testing::createDisplayDc(width, height, 32)) {
        const RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() { DeleteDC(dc_); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }
    // How many pixels of [left, right) x [top, bottom) are not white.
    int inked(int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += at(x, y) != kWhite;
        return n;
    }

  private:
    HDC dc_;
};

class VexmillTest : public ::testing::Test {
  protected:
    // Parses, failing the test when the bytes hold no picture.
    static std::unique_ptr<vexmill::Picture> parse(const Bytes& bytes) {
        auto picture = vexmill::parseMetafile(bytes);
        EXPECT_TRUE(picture) << "the metafile did not load";
        return picture;
    }
    // Draws the bytes into (x, y, w, h) of the canvas.
    static void draw(const Bytes& bytes, Canvas& canvas, int x, int y, int w, int h) {
        auto picture = parse(bytes);
        if (picture) {
            EXPECT_TRUE(vexmill::playPicture(*picture, canvas.dc(), x, y, w, h));
        }
    }
    // Writes the bytes to a file of the test's folder; its Windows path.
    std::string file(const std::string& name, const Bytes& bytes) {
        const std::filesystem::path path = folder_ / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return "C:" + path.string();
    }
    std::filesystem::path hostPath(const std::string& name) const { return folder_ / name; }

    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name) c = c == '/' ? '_' : c;  // a parameterised test's name has a slash
        folder_ = std::filesystem::temp_directory_path() / ("vexmill_test_" + std::to_string(::getpid()) + "_" + name);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    winplat::test::Harness harness_;
    std::filesystem::path folder_;
};

}  // namespace vxtest

#endif
