// Binary PNM files (P4, P5, P6) as the independent tools of the cross-checks write them.
#ifndef PIXMILL_TESTS_PNM_READER_H
#define PIXMILL_TESTS_PNM_READER_H

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "bmp_test_support.h"

namespace pnm_test {

using bmp_test::Bytes;

// A decoded PNM (P5 grey or P6 colour; P4 bitmaps as grey 0/1 with maxval 1, 1 = black).
struct Pnm {
    int width = 0;
    int height = 0;
    int channels = 0;
    int maxval = 0;
    std::vector<uint16_t> samples;

    uint16_t sample(int x, int y, int c) const {
        return samples[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) *
                           static_cast<size_t>(channels) +
                       static_cast<size_t>(c)];
    }
    // The pixel as 0xRRGGBB, samples scaled to 8 bits by rounding (16-bit samples: high byte).
    uint32_t rgb(int x, int y) const {
        auto eight = [&](uint16_t v) -> uint32_t {
            if (maxval == 65535) return v >> 8;
            return (static_cast<uint32_t>(v) * 255 + static_cast<uint32_t>(maxval) / 2) / static_cast<uint32_t>(maxval);
        };
        if (channels == 1) {
            const uint32_t g = eight(sample(x, y, 0));
            return g << 16 | g << 8 | g;
        }
        return eight(sample(x, y, 0)) << 16 | eight(sample(x, y, 1)) << 8 | eight(sample(x, y, 2));
    }
};

inline std::optional<Pnm> readPnm(const Bytes& b) {
    size_t pos = 0;
    auto skipSpace = [&] {
        while (pos < b.size()) {
            if (b[pos] == '#') {
                while (pos < b.size() && b[pos] != '\n') ++pos;
            } else if (std::isspace(b[pos])) {
                ++pos;
            } else {
                break;
            }
        }
    };
    auto number = [&]() -> long {
        skipSpace();
        long v = 0;
        bool any = false;
        while (pos < b.size() && std::isdigit(b[pos]) && v < 1000000) {
            v = v * 10 + (b[pos++] - '0');
            any = true;
        }
        return any ? v : -1;
    };
    if (b.size() < 2 || b[0] != 'P' || (b[1] != '4' && b[1] != '5' && b[1] != '6')) return std::nullopt;
    const char kind = static_cast<char>(b[1]);
    pos = 2;
    Pnm p;
    p.width = static_cast<int>(number());
    p.height = static_cast<int>(number());
    p.maxval = kind == '4' ? 1 : static_cast<int>(number());
    p.channels = kind == '6' ? 3 : 1;
    ++pos;
    if (p.width <= 0 || p.height <= 0 || p.maxval <= 0 || p.maxval > 65535) return std::nullopt;
    const size_t count = static_cast<size_t>(p.width) * static_cast<size_t>(p.height) * static_cast<size_t>(p.channels);
    if (kind == '4') {
        const size_t rowBytes = (static_cast<size_t>(p.width) + 7) / 8;
        if (b.size() < pos + rowBytes * static_cast<size_t>(p.height)) return std::nullopt;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                const uint8_t byte = b[pos + static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x / 8)];
                p.samples.push_back(static_cast<uint16_t>((byte >> (7 - x % 8)) & 1 ? 0 : 1));  // 1 = black
            }
        }
        return p;
    }
    const size_t sampleBytes = p.maxval > 255 ? 2 : 1;
    if (b.size() < pos + count * sampleBytes) return std::nullopt;
    for (size_t i = 0; i < count; ++i) {
        uint16_t v = b[pos];
        if (sampleBytes == 2) v = static_cast<uint16_t>(v << 8 | b[pos + 1]);
        pos += sampleBytes;
        p.samples.push_back(v);
    }
    return p;
}

inline std::optional<Pnm> readPnm(const std::filesystem::path& path) { return readPnm(bmp_test::readFile(path)); }

// Every pixel as 0x00RRGGBB, rows from the top.
inline std::vector<uint32_t> rgbPixels(const Pnm& p) {
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(p.width) * static_cast<size_t>(p.height));
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) pixels.push_back(p.rgb(x, y));
    return pixels;
}

}  // namespace pnm_test

#endif
