// The pixels of a DC as 8-bit RGB rows, and such rows as a PNG file: for writePng and for the
// virtual printers' pages.
#ifndef WINPLAT_SRC_GDI_PNG_OUTPUT_H
#define WINPLAT_SRC_GDI_PNG_OUTPUT_H

#include <cstdint>
#include <vector>

#include "winplat/types.h"

namespace winplat::gdi {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgr;  // rows of 3 bytes per pixel (blue, green, red), top row first
};

// What the DC shows (every depth, indexed ones by their colour tables); false for a DC without
// pixels or a handle that is none.
bool snapshotDc(HDC dc, RgbImage& image);

// The image as an 8-bit RGB PNG file; false (and no file) when it cannot be written whole.
bool writeImage(const RgbImage& image, const char* hostPath);

}  // namespace winplat::gdi

#endif
