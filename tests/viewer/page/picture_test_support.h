// Pieces of the picture and background tests: display surfaces read back as tables of letters,
// 24-bit BMP files written byte by byte, and documents with picture stores made by the independent
// document writer (tools/lcnwriter).
#ifndef LECT32_TESTS_PICTURE_TEST_SUPPORT_H
#define LECT32_TESTS_PICTURE_TEST_SUPPORT_H

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page_test_support.h"
#include "support/tool_runner.h"
#include "winplat/draw.h"
#include "winplat/owners.h"
#include "winplat/testing.h"

namespace picture_test {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);

// A display surface of its own at the given depth.
class Canvas {
public:
    Canvas(int width, int height, int bits = 32)
        : width_(width), height_(height), dc_(winplat::testing::createDisplayDc(width, height, bits)) {}
    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

    void fill(COLORREF colour) const { fill({0, 0, width_, height_}, colour); }
    void fill(RECT rect, COLORREF colour) const {
        const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
        FillRect(dc_.get(), &rect, brush.get());
    }
    // Different colours in neighbouring pixels, so that a pixel changed twice would show.
    void fillNoise() const {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                SetPixel(dc_.get(), x, y, RGB((x * 37 + y * 11) & 0xFF, (x * 7 + y * 53) & 0xFF, (x * y * 3 + 90) & 0xFF));
    }
    COLORREF pixel(int x, int y) const { return GetPixel(dc_.get(), x, y) & 0xFFFFFF; }
    std::vector<COLORREF> pixels() const {
        std::vector<COLORREF> all;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) all.push_back(pixel(x, y));
        return all;
    }
    // The surface as rows of letters; a colour the legend does not name is '?'.
    std::vector<std::string> rows(const std::map<COLORREF, char>& legend) const {
        std::vector<std::string> out;
        for (int y = 0; y < height_; ++y) {
            std::string row;
            for (int x = 0; x < width_; ++x) {
                const auto found = legend.find(pixel(x, y));
                row += found == legend.end() ? '?' : found->second;
            }
            out.push_back(row);
        }
        return out;
    }

private:
    int width_;
    int height_;
    winplat::MemoryDc dc_;
};

// A 24-bit BMP: 14-byte file header, 40-byte info header, bottom-up rows padded to 4 bytes.
inline void writeBmp(const std::filesystem::path& path, int width, int height, const std::vector<COLORREF>& pixels) {
    const int stride = (width * 3 + 3) & ~3;
    page_test::Fields f;
    f.u8('B').u8('M').u32(54 + stride * height).u32(0).u32(54);
    f.u32(40).u32(width).u32(height).u16(1).u16(24).u32(0).u32(stride * height).u32(2835).u32(2835).u32(0).u32(0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixels[static_cast<size_t>(y * width + x)];
            f.u8(GetBValue(c)).u8(GetGValue(c)).u8(GetRValue(c));
        }
        for (int pad = width * 3; pad < stride; ++pad) f.u8(0);
    }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(f.bytes.data()),
                                                static_cast<std::streamsize>(f.bytes.size()));
}

// Builds the description's files into the folder with the document writer; false when it failed.
inline bool buildDocument(const std::string& description, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const auto json = folder / "description.json";
    std::ofstream(json) << description;
    return tool_runner::run(page_test::writer() + " build " + tool_runner::quoted(json) + " " + tool_runner::quoted(folder));
}

}  // namespace picture_test

#endif
