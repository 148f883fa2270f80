// Test-side reading and writing of DIB pixels, written independently of the layer's converters so
// the two check each other.
#ifndef WINPLAT_TESTS_GDI_DIB_HELPERS_H
#define WINPLAT_TESTS_GDI_DIB_HELPERS_H

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "winplat/gdi.h"

namespace dibtest {

// 0xRRGGBB, for readable comparisons.
using Rgb = uint32_t;
constexpr Rgb kBlack = 0x000000;
constexpr Rgb kWhite = 0xFFFFFF;
constexpr Rgb kRed = 0xFF0000;
constexpr Rgb kGreen = 0x00FF00;
constexpr Rgb kBlue = 0x0000FF;

inline RGBQUAD quad(Rgb rgb) {
    return RGBQUAD{static_cast<BYTE>(rgb), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb >> 16), 0};
}
inline Rgb rgbOf(const RGBQUAD& q) {
    return (Rgb{q.rgbRed} << 16) | (Rgb{q.rgbGreen} << 8) | q.rgbBlue;
}

// A BITMAPINFO with room for any colour table (or the three masks).
struct DibInfo {
    BITMAPINFOHEADER header{};
    RGBQUAD colors[256]{};

    BITMAPINFO* info() { return reinterpret_cast<BITMAPINFO*>(this); }
    const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
    DWORD* masks() { return reinterpret_cast<DWORD*>(colors); }
    const DWORD* masks() const { return reinterpret_cast<const DWORD*>(colors); }
};

inline DibInfo makeInfo(int width, int height, int bpp, DWORD compression = BI_RGB,
                        std::vector<Rgb> colors = {}, const DWORD* masks = nullptr) {
    DibInfo d;
    d.header.biSize = sizeof(BITMAPINFOHEADER);
    d.header.biWidth = width;
    d.header.biHeight = height;
    d.header.biPlanes = 1;
    d.header.biBitCount = static_cast<WORD>(bpp);
    d.header.biCompression = compression;
    d.header.biClrUsed = static_cast<DWORD>(colors.size());
    for (size_t i = 0; i < colors.size() && i < 256; ++i) d.colors[i] = quad(colors[i]);
    if (masks) std::memcpy(d.masks(), masks, 3 * sizeof(DWORD));
    return d;
}

inline size_t strideOf(int width, int bpp) {
    return static_cast<size_t>((width * bpp + 31) / 32 * 4);
}
inline size_t imageSizeOf(const DibInfo& d) {
    return strideOf(d.header.biWidth, d.header.biBitCount) * static_cast<size_t>(std::abs(d.header.biHeight));
}

struct Masks {
    DWORD red, green, blue;
};

inline Masks masksOf(const DibInfo& d) {
    if (d.header.biCompression == BI_BITFIELDS) return {d.masks()[0], d.masks()[1], d.masks()[2]};
    if (d.header.biBitCount == 16) return {0x7C00, 0x03E0, 0x001F};
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

inline size_t rowOffset(const DibInfo& d, int y) {
    const int height = std::abs(d.header.biHeight);
    const int stored = d.header.biHeight < 0 ? y : height - 1 - y;
    return static_cast<size_t>(stored) * strideOf(d.header.biWidth, d.header.biBitCount);
}

inline uint32_t readRaw(const DibInfo& d, const uint8_t* bits, int x, int y) {
    const uint8_t* row = bits + rowOffset(d, y);
    const int bpp = d.header.biBitCount;
    const size_t bitPos = static_cast<size_t>(x) * static_cast<size_t>(bpp);
    if (bpp < 8) return (row[bitPos / 8] >> (8 - bpp - bitPos % 8)) & ((1u << bpp) - 1);
    uint32_t value = 0;
    for (int i = 0; i < bpp / 8; ++i) value |= uint32_t{row[bitPos / 8 + static_cast<size_t>(i)]} << (8 * i);
    return value;
}

inline void writeRaw(const DibInfo& d, uint8_t* bits, int x, int y, uint32_t value) {
    uint8_t* row = bits + rowOffset(d, y);
    const int bpp = d.header.biBitCount;
    const size_t bitPos = static_cast<size_t>(x) * static_cast<size_t>(bpp);
    if (bpp < 8) {
        const int shift = static_cast<int>(8 - bpp - bitPos % 8);
        const auto mask = static_cast<uint8_t>(((1u << bpp) - 1) << shift);
        row[bitPos / 8] = static_cast<uint8_t>((row[bitPos / 8] & ~mask) | ((value << shift) & mask));
        return;
    }
    for (int i = 0; i < bpp / 8; ++i)
        row[bitPos / 8 + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

// Channel value scaled to 0..255 by arithmetic (not bit tricks), rounding to nearest.
inline uint32_t scaleChannel(uint32_t value, DWORD mask) {
    const uint32_t max = mask >> std::countr_zero(mask);
    return ((value & mask) >> std::countr_zero(mask)) * 255 / max;
}

inline Rgb readPixel(const DibInfo& d, const uint8_t* bits, int x, int y) {
    const uint32_t raw = readRaw(d, bits, x, y);
    const int bpp = d.header.biBitCount;
    if (bpp <= 8) return rgbOf(d.colors[raw]);
    if (bpp == 24) return raw & 0xFFFFFF;
    const Masks m = masksOf(d);
    return (scaleChannel(raw, m.red) << 16) | (scaleChannel(raw, m.green) << 8) | scaleChannel(raw, m.blue);
}

// Writes a colour that the format holds exactly (an entry of the table for indexed formats).
inline void writePixel(const DibInfo& d, uint8_t* bits, int x, int y, Rgb color) {
    const int bpp = d.header.biBitCount;
    if (bpp <= 8) {
        const int entries = d.header.biClrUsed ? static_cast<int>(d.header.biClrUsed) : 1 << bpp;
        for (int i = 0; i < entries; ++i) {
            if (rgbOf(d.colors[i]) == color) return writeRaw(d, bits, x, y, static_cast<uint32_t>(i));
        }
        std::abort();  // the test asked for a colour its table lacks
    }
    if (bpp == 24) return writeRaw(d, bits, x, y, color);
    const Masks m = masksOf(d);
    auto part = [](uint32_t c8, DWORD mask) {
        const uint32_t max = mask >> std::countr_zero(mask);
        return ((c8 * max + 127) / 255) << std::countr_zero(mask);
    };
    writeRaw(d, bits, x, y,
             part(color >> 16 & 0xFF, m.red) | part(color >> 8 & 0xFF, m.green) | part(color & 0xFF, m.blue));
}

}  // namespace dibtest

#endif
