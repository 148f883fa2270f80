#include "gdi/dib_format.h"

#include <cstring>

namespace winplat::gdi {
namespace {

constexpr size_t kInfoHeaderSize = sizeof(BITMAPINFOHEADER);
constexpr size_t kMaskBytes = 3 * sizeof(DWORD);
// Headers beyond the 40-byte one keep the masks inside (at the same offset); none is this large.
constexpr size_t kMaxHeaderSize = 4096;
// Entries a DIB of more than 8 bits may carry as a hint for palette devices.
constexpr size_t kMaxHintColors = 256;

RGBQUAD bgr(uint8_t red, uint8_t green, uint8_t blue) {
    return RGBQUAD{blue, green, red, 0};
}

std::vector<RGBQUAD> vgaColors() {
    return {bgr(0x00, 0x00, 0x00), bgr(0x80, 0x00, 0x00), bgr(0x00, 0x80, 0x00), bgr(0x80, 0x80, 0x00),
            bgr(0x00, 0x00, 0x80), bgr(0x80, 0x00, 0x80), bgr(0x00, 0x80, 0x80), bgr(0xC0, 0xC0, 0xC0),
            bgr(0x80, 0x80, 0x80), bgr(0xFF, 0x00, 0x00), bgr(0x00, 0xFF, 0x00), bgr(0xFF, 0xFF, 0x00),
            bgr(0x00, 0x00, 0xFF), bgr(0xFF, 0x00, 0xFF), bgr(0x00, 0xFF, 0xFF), bgr(0xFF, 0xFF, 0xFF)};
}

// Indices 0-15 are the VGA colours, so 4-bit pictures widened to 8 bits keep their exact colours;
// 16-231 a 6x6x6 cube on the levels 0, 51, 102, 153, 204, 255 (red slowest, blue fastest);
// 232-255 greys 8, 18, ..., 238, which fill the steps between the cube's six greys.
std::vector<RGBQUAD> eightBitColors() {
    std::vector<RGBQUAD> table = vgaColors();
    for (int red = 0; red < 6; ++red) {
        for (int green = 0; green < 6; ++green) {
            for (int blue = 0; blue < 6; ++blue) {
                table.push_back(bgr(static_cast<uint8_t>(red * 51), static_cast<uint8_t>(green * 51),
                                    static_cast<uint8_t>(blue * 51)));
            }
        }
    }
    for (int step = 0; step < 24; ++step) {
        const auto level = static_cast<uint8_t>(8 + 10 * step);
        table.push_back(bgr(level, level, level));
    }
    return table;
}

}  // namespace

DibCheck checkDib(const BITMAPINFO* info, size_t available) {
    const DibCheck bad{std::nullopt, DibProblem::BadHeader};
    const DibCheck unsupported{std::nullopt, DibProblem::Unsupported};
    if (!info || available < kInfoHeaderSize) return bad;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < kInfoHeaderSize || header.biSize > kMaxHeaderSize || header.biSize > available)
        return bad;

    DibLayout layout;
    const int64_t height = header.biHeight;
    if (header.biWidth <= 0 || height == 0 || height < -kMaxSide || height > kMaxSide ||
        header.biWidth > kMaxSide) {
        return bad;
    }
    layout.width = header.biWidth;
    layout.height = static_cast<int>(height < 0 ? -height : height);
    layout.topDown = height < 0;
    layout.bitsPerPixel = header.biBitCount;
    layout.compression = header.biCompression;
    if (!isSupportedDepth(layout.bitsPerPixel)) return bad;

    layout.colorOffset = header.biSize;
    layout.masks = defaultMasks(layout.bitsPerPixel);
    switch (header.biCompression) {
        case BI_RGB:
            break;
        case BI_BITFIELDS: {
            if (layout.bitsPerPixel != 16 && layout.bitsPerPixel != 32) return bad;
            if (header.biSize != kInfoHeaderSize && header.biSize < kInfoHeaderSize + kMaskBytes) return bad;
            if (available < kInfoHeaderSize + kMaskBytes) return bad;
            DWORD masks[3];
            std::memcpy(masks, reinterpret_cast<const uint8_t*>(info) + kInfoHeaderSize, kMaskBytes);
            layout.masks = BitMasks{masks[0], masks[1], masks[2]};
            if (!validMasks(layout.masks, layout.bitsPerPixel)) return bad;
            if (header.biSize == kInfoHeaderSize) layout.colorOffset += kMaskBytes;
            break;
        }
        case BI_RLE8:
        case BI_RLE4:
            if (layout.bitsPerPixel != (header.biCompression == BI_RLE8 ? 8 : 4)) return bad;
            return unsupported;
        default:
            return unsupported;
    }

    if (layout.bitsPerPixel <= 8) {
        const size_t full = size_t{1} << layout.bitsPerPixel;
        if (header.biClrUsed > full) return bad;
        layout.colorCount = header.biClrUsed ? header.biClrUsed : full;
    } else {
        if (header.biClrUsed > kMaxHintColors) return bad;
        layout.colorCount = header.biClrUsed;
    }
    layout.bitsOffset = layout.colorOffset + layout.colorCount * sizeof(RGBQUAD);

    const auto stride = rowBytes(layout.width, layout.bitsPerPixel);
    const auto size = imageBytes(layout.width, layout.height, layout.bitsPerPixel);
    if (!stride || !size) return bad;
    layout.stride = *stride;
    layout.imageSize = *size;
    return DibCheck{layout, DibProblem::None};
}

std::vector<RGBQUAD> readColorTable(const BITMAPINFO* info, const DibLayout& layout) {
    if (layout.bitsPerPixel > 8) return {};
    std::vector<RGBQUAD> colors(layout.colorCount);
    std::memcpy(colors.data(), reinterpret_cast<const uint8_t*>(info) + layout.colorOffset,
                colors.size() * sizeof(RGBQUAD));
    return colors;
}

const std::vector<RGBQUAD>& defaultColorTable(int bitsPerPixel) {
    static const std::vector<RGBQUAD> mono{bgr(0, 0, 0), bgr(0xFF, 0xFF, 0xFF)};
    static const std::vector<RGBQUAD> vga = vgaColors();
    static const std::vector<RGBQUAD> eight = eightBitColors();
    static const std::vector<RGBQUAD> none;
    switch (bitsPerPixel) {
        case 1:
            return mono;
        case 4:
            return vga;
        case 8:
            return eight;
        default:
            return none;
    }
}

}  // namespace winplat::gdi
