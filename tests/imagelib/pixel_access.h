// Reading and writing single pixels of test images through the exported accessors, the way a
// caller sees them: rows from the top, indexes high bits first, 24-bit pixels blue, green, red.
#ifndef PIXMILL_TESTS_PIXEL_ACCESS_H
#define PIXMILL_TESTS_PIXEL_ACCESS_H

#include <cstdint>
#include <cstring>
#include <vector>

#include "pixmill/pixmill.h"

namespace testpx {

inline uint8_t* row(PxlImageId id, int y) {
    return PXLGetBits(id) +
           static_cast<size_t>(PXLHeight(id) - 1 - y) * static_cast<size_t>(PXLGetScanBytes(id));
}

// Palette index of a 1-, 4- or 8-bit pixel.
inline int index(PxlImageId id, int x, int y) {
    const int bits = PXLbpp(id);
    const uint8_t* r = row(id, y);
    const int perByte = 8 / bits;
    const int shift = (perByte - 1 - x % perByte) * bits;
    return (r[x / perByte] >> shift) & ((1 << bits) - 1);
}

inline void setIndex(PxlImageId id, int x, int y, int value) {
    const int bits = PXLbpp(id);
    uint8_t* r = row(id, y);
    const int perByte = 8 / bits;
    const int shift = (perByte - 1 - x % perByte) * bits;
    const int all = (1 << bits) - 1;
    r[x / perByte] = static_cast<uint8_t>((r[x / perByte] & ~(all << shift)) | ((value & all) << shift));
}

// A 24-bit pixel as a COLORREF.
inline COLORREF colour(PxlImageId id, int x, int y) {
    const uint8_t* p = row(id, y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

inline void setColour(PxlImageId id, int x, int y, COLORREF c) {
    uint8_t* p = row(id, y) + 3 * x;
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
}

// Pixel (x, y) of any depth as a number: the index below 8 bits, else its stored bytes.
inline uint32_t value(PxlImageId id, int x, int y) {
    const int bits = PXLbpp(id);
    if (bits < 8) return static_cast<uint32_t>(index(id, x, y));
    uint32_t v = 0;
    std::memcpy(&v, row(id, y) + x * (bits / 8), static_cast<size_t>(bits / 8));
    return v;
}

// An image of any depth (16 means 5-6-5) whose pixels differ from their neighbours wherever the
// depth allows, so that a pixel put in the wrong place shows.
inline PxlImageId distinctPixels(int bits, int width, int height) {
    const PxlImageId id = PXLCreateImage(width, height, bits == 16 ? PXL_BITS_565 : bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (bits < 8) {
                // A hash, so that even 1-bit rows have no period a shift could hide behind.
                const uint32_t h = static_cast<uint32_t>(x) * 2654435761u ^ static_cast<uint32_t>(y) * 2246822519u;
                setIndex(id, x, y, static_cast<int>((h >> 13) % (1u << bits)));
            } else {
                const uint32_t v = 0x01020304u * static_cast<uint32_t>(x + 1) + 0x10u * static_cast<uint32_t>(y);
                std::memcpy(row(id, y) + x * (bits / 8), &v, static_cast<size_t>(bits / 8));
            }
        }
    }
    return id;
}

// Every pixel of an image as a number (index, or COLORREF for 24 bits), rows from the top.
inline std::vector<uint32_t> pixels(PxlImageId id) {
    std::vector<uint32_t> all;
    for (int y = 0; y < PXLHeight(id); ++y) {
        for (int x = 0; x < PXLWidth(id); ++x) {
            all.push_back(PXLbpp(id) == 24 ? colour(id, x, y) : static_cast<uint32_t>(index(id, x, y)));
        }
    }
    return all;
}

// A palette image of the given depth whose pixel (x, y) is index f(x, y).
template <class F>
PxlImageId indexed(int width, int height, int bits, F f) {
    const PxlImageId id = PXLCreateImage(width, height, bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) setIndex(id, x, y, f(x, y));
    return id;
}

// A 24-bit image whose pixel (x, y) is colour f(x, y).
template <class F>
PxlImageId truecolour(int width, int height, F f) {
    const PxlImageId id = PXLCreateImage(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) setColour(id, x, y, f(x, y));
    return id;
}

}  // namespace testpx

#endif
