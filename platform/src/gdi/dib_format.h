// Reading caller-supplied DIB headers: every size derived from one goes through the checked
// helpers, so a damaged header is refused before anything is allocated or read.
#ifndef WINPLAT_SRC_GDI_DIB_FORMAT_H
#define WINPLAT_SRC_GDI_DIB_FORMAT_H

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "gdi/surface.h"
#include "winplat/gdi.h"

namespace winplat::gdi {

// Where the parts of a DIB sit, measured from the start of its BITMAPINFO.
struct DibLayout {
    int width = 0;
    int height = 0;  // always positive
    bool topDown = false;
    int bitsPerPixel = 0;
    DWORD compression = BI_RGB;
    BitMasks masks;          // for 16 and 32 bits (the BI_RGB defaults unless BI_BITFIELDS)
    size_t colorCount = 0;   // RGBQUADs after the header (and masks)
    size_t colorOffset = 0;  // header, plus the three masks that follow a 40-byte header
    size_t bitsOffset = 0;   // where the bits start in a packed DIB
    size_t stride = 0;
    size_t imageSize = 0;

    PixelFormat format(const std::vector<RGBQUAD>& colors) const {
        return PixelFormat{bitsPerPixel, masks, colors};
    }
};

enum class DibProblem {
    None,
    BadHeader,    // damaged or absurd
    Unsupported,  // well-formed, but not something the layer does (yet)
};

struct DibCheck {
    std::optional<DibLayout> layout;
    DibProblem problem = DibProblem::None;
};

constexpr size_t kUnknownSize = std::numeric_limits<size_t>::max();

// Checks the header (and, for BI_BITFIELDS, the masks) of a DIB; 'available' is how many bytes
// can be read from 'info', kUnknownSize when the caller vouches for it. Only the header and masks
// are read here; the colour table and the bits are the caller's to bound by the layout.
DibCheck checkDib(const BITMAPINFO* info, size_t available);

std::vector<RGBQUAD> readColorTable(const BITMAPINFO* info, const DibLayout& layout);

// The table GetDIBits gives an indexed target when it cannot pass on the source's own:
// 1 bit black and white, 4 bits the 16 VGA colours, 8 bits the table described in the source.
const std::vector<RGBQUAD>& defaultColorTable(int bitsPerPixel);

}  // namespace winplat::gdi

#endif
