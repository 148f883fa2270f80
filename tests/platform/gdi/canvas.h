// Drawing tests draw on a DIB section selected into a memory DC and read its bits back through
// the bits pointer with the test-side DIB helpers, never through the layer's own conversions.
#ifndef WINPLAT_TESTS_GDI_CANVAS_H
#define WINPLAT_TESTS_GDI_CANVAS_H

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dib_helpers.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"

namespace drawtest {

using dibtest::Rgb;

inline COLORREF ref(Rgb rgb) {
    return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
inline Rgb rgbOfRef(COLORREF c) {
    return (Rgb{GetRValue(c)} << 16) | (Rgb{GetGValue(c)} << 8) | GetBValue(c);
}

// A DIB section of the given format selected into its own memory DC.
class Canvas {
  public:
    Canvas(int width, int height, int bpp, std::vector<Rgb> colors = {}, bool topDown = true,
           DWORD compression = BI_RGB, const DWORD* masks = nullptr)
        : info_(dibtest::makeInfo(width, topDown ? -height : height, bpp, compression, std::move(colors),
                                  masks)) {
        bitmap_ = CreateDIBSection(nullptr, info_.info(), DIB_RGB_COLORS, &bits_, nullptr, 0);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool ok() const { return bitmap_ && dc_ && old_; }
    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    const dibtest::DibInfo& info() const { return info_; }
    uint8_t* bits() const { return static_cast<uint8_t*>(bits_); }
    int width() const { return info_.header.biWidth; }
    int height() const { return std::abs(info_.header.biHeight); }

    uint32_t raw(int x, int y) const { return dibtest::readRaw(info_, bits(), x, y); }
    void setRaw(int x, int y, uint32_t v) { dibtest::writeRaw(info_, bits(), x, y, v); }
    Rgb at(int x, int y) const { return dibtest::readPixel(info_, bits(), x, y); }
    void set(int x, int y, Rgb c) { dibtest::writePixel(info_, bits(), x, y, c); }
    void fill(Rgb c) {
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x) set(x, y, c);
    }

    // The picture as rows of characters, one per pixel, from a colour legend ('?' for others).
    std::vector<std::string> art(const std::map<Rgb, char>& legend) const {
        std::vector<std::string> rows;
        for (int y = 0; y < height(); ++y) {
            std::string row;
            for (int x = 0; x < width(); ++x) {
                auto it = legend.find(at(x, y));
                row += it == legend.end() ? '?' : it->second;
            }
            rows.push_back(row);
        }
        return rows;
    }
    // Paints from rows of characters with the legend reversed.
    void paint(const std::vector<std::string>& rows, const std::map<char, Rgb>& legend) {
        for (size_t y = 0; y < rows.size(); ++y)
            for (size_t x = 0; x < rows[y].size(); ++x)
                set(static_cast<int>(x), static_cast<int>(y), legend.at(rows[y][x]));
    }

  private:
    dibtest::DibInfo info_;
    void* bits_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace drawtest

#endif
