#include "text/ink_painter.h"

#include <algorithm>
#include <cstring>

#include "gdi/raster.h"

namespace winplat::text {
namespace {

// A pixel of the depth as the surface stores it: 32-bit pixels in the machine's order, as every
// writer of these surfaces keeps them; 24-bit pixels as the value's three low bytes, lowest first.
template <size_t kBytes>
void storePixel(uint8_t* p, uint32_t value) {
    if constexpr (kBytes == 4) {
        std::memcpy(p, &value, 4);
    } else {
        p[0] = static_cast<uint8_t>(value);
        p[1] = static_cast<uint8_t>(value >> 8);
        p[2] = static_cast<uint8_t>(value >> 16);
    }
}

}  // namespace

InkPainter::InkPainter(gdi::Surface& surface, const gdi::ClipArea& clip, uint32_t value)
    : surface_(surface),
      clip_(clip),
      area_(clip.box()),
      rectangular_(clip.rectangular()),
      value_(value),
      bitsPerPixel_(surface.bitsPerPixel()),
      rowStep_(surface.topDown() ? static_cast<ptrdiff_t>(surface.stride())
                                 : -static_cast<ptrdiff_t>(surface.stride())) {
    if (bitsPerPixel_ != 32 && bitsPerPixel_ != 24 && !area_.empty())
        values_.assign(static_cast<size_t>(area_.right - area_.left), value);
}

void InkPainter::paint(int64_t x, int64_t y, const GlyphInk& glyph) {
    if (glyph.boxes.empty()) return;
    if (rectangular_ && inside(x, y, glyph.bounds)) {
        // Inside the clip the coordinates are the surface's, which fit an int.
        if (bitsPerPixel_ == 32) return paintWhole<4>(static_cast<int>(x), static_cast<int>(y), glyph);
        if (bitsPerPixel_ == 24) return paintWhole<3>(static_cast<int>(x), static_cast<int>(y), glyph);
    }
    for (const InkBox& box : glyph.boxes) paintBox(x, y, box);
}

bool InkPainter::inside(int64_t x, int64_t y, const InkBox& bounds) const {
    return x + bounds.left >= area_.left && x + bounds.right <= area_.right && y + bounds.top >= area_.top &&
           y + bounds.bottom <= area_.bottom;
}

template <size_t kBytes>
void InkPainter::paintWhole(int x, int y, const GlyphInk& glyph) {
    const InkBox& bounds = glyph.bounds;
    // The top left pixel of the bounds: every box lies right of it and below.
    uint8_t* const corner = surface_.row(y + bounds.top) + kBytes * static_cast<size_t>(x + bounds.left);
    const ptrdiff_t step = rowStep_;
    const uint32_t value = value_;
    for (const InkBox& box : glyph.boxes) {
        uint8_t* line = corner + (box.top - bounds.top) * step + static_cast<ptrdiff_t>(kBytes) * (box.left - bounds.left);
        const int width = box.right - box.left;
        for (int row = box.top; row < box.bottom; ++row, line += step)
            for (int i = 0; i < width; ++i) storePixel<kBytes>(line + kBytes * static_cast<size_t>(i), value);
    }
}

void InkPainter::paintBox(int64_t x, int64_t y, const InkBox& box) {
    const int64_t left = std::max<int64_t>(x + box.left, area_.left);
    const int64_t right = std::min<int64_t>(x + box.right, area_.right);
    const int64_t top = std::max<int64_t>(y + box.top, area_.top);
    const int64_t bottom = std::min<int64_t>(y + box.bottom, area_.bottom);
    if (left >= right || top >= bottom) return;
    if (rectangular_)
        return fillRows(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom));
    fillPieces(gdi::DeviceRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                               static_cast<int>(bottom)});
}

void InkPainter::fillPieces(const gdi::DeviceRect& ink) {
    clip_.forEach(ink, [&](const gdi::DeviceRect& piece) { fillRows(piece.left, piece.top, piece.right, piece.bottom); });
}

void InkPainter::fillRows(int left, int top, int right, int bottom) {
    const auto width = static_cast<size_t>(right - left);
    switch (bitsPerPixel_) {
    case 32: {
        // A local copy: stores through the row's bytes could alias the member and reload it.
        const uint32_t value = value_;
        for (int y = top; y < bottom; ++y) {
            uint8_t* p = surface_.row(y) + 4 * static_cast<size_t>(left);
            for (size_t i = 0; i < width; ++i, p += 4) storePixel<4>(p, value);
        }
        return;
    }
    case 24: {
        const uint32_t value = value_;
        for (int y = top; y < bottom; ++y) {
            uint8_t* p = surface_.row(y) + 3 * static_cast<size_t>(left);
            for (size_t i = 0; i < width; ++i, p += 3) storePixel<3>(p, value);
        }
        return;
    }
    default:
        for (int y = top; y < bottom; ++y)
            gdi::writeValues(surface_.row(y), bitsPerPixel_, left, right - left, values_.data());
        return;
    }
}

}  // namespace winplat::text
