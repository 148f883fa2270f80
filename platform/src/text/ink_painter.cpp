#include "text/ink_painter.h"

#include <algorithm>
#include <cstring>

#include "gdi/raster.h"

namespace winplat::text {

InkPainter::InkPainter(gdi::Surface& surface, const gdi::ClipArea& clip, uint32_t value)
    : surface_(surface),
      clip_(clip),
      area_(clip.box()),
      rectangular_(clip.rectangular()),
      value_(value),
      bitsPerPixel_(surface.bitsPerPixel()) {
    if (bitsPerPixel_ != 32 && bitsPerPixel_ != 24 && !area_.empty())
        values_.assign(static_cast<size_t>(area_.right - area_.left), value);
}

void InkPainter::paint(int64_t x, int64_t y, const InkBox& box) {
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
            for (size_t i = 0; i < width; ++i, p += 4) std::memcpy(p, &value, 4);
        }
        return;
    }
    case 24: {
        const uint8_t bytes[3] = {static_cast<uint8_t>(value_), static_cast<uint8_t>(value_ >> 8),
                                  static_cast<uint8_t>(value_ >> 16)};
        for (int y = top; y < bottom; ++y) {
            uint8_t* p = surface_.row(y) + 3 * static_cast<size_t>(left);
            for (size_t i = 0; i < width; ++i, p += 3) std::memcpy(p, bytes, 3);
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
