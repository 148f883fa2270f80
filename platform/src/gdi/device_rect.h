// A rectangle of device pixels, [left, right) x [top, bottom): what every clip, region and drawing
// area of the GDI is made of.
#ifndef WINPLAT_SRC_GDI_DEVICE_RECT_H
#define WINPLAT_SRC_GDI_DEVICE_RECT_H

#include <algorithm>

namespace winplat::gdi {

struct DeviceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const DeviceRect&) const = default;
};

// The common part of two rectangles; the all-zero rectangle when they do not meet.
inline DeviceRect intersect(const DeviceRect& a, const DeviceRect& b) {
    const DeviceRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                       std::min(a.bottom, b.bottom)};
    if (r.empty()) return DeviceRect{};
    return r;
}

}  // namespace winplat::gdi

#endif
