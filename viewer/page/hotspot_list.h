// The hot spots of a page object (its attribute slot 3): the clickable rectangles, ellipses and
// polygons inside the object, each with an optional link. Stored little-endian:
//   byte list format (not used), u16 shape count, then per shape 22 bytes and its extra data:
//   s16 left, top, right, bottom (relative to the object), byte shape (0 rectangle, 1 ellipse,
//   2 polygon), byte reserved, byte link flag, 7 bytes of link target, s16 polygon marker (-1 no
//   polygon), u16 extra length n, n bytes (a polygon's: u16 point count, byte reserved, then
//   s16 x, s16 y per point, relative to the object).
// A list is read only as far as its bytes go: a shape whose record or extra data would pass the
// end ends the list there, and a polygon has no more points than its extra data holds.
#ifndef LECT32_PAGE_HOTSPOT_LIST_H
#define LECT32_PAGE_HOTSPOT_LIST_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "winplat/draw.h"

namespace lect32 {

struct HotspotShape {
    static constexpr size_t kRecordSize = 22;
    static constexpr size_t kOldRecordSize = 18;  // lists of object-list versions 2 and 3
    static constexpr size_t kLinkBytes = 7;
    enum : uint8_t { kRectangle = 0, kEllipse = 1, kPolygon = 2 };

    int16_t left = 0;
    int16_t top = 0;
    int16_t right = 0;
    int16_t bottom = 0;
    uint8_t shape = kRectangle;
    uint8_t linkFlag = 0;
    std::array<uint8_t, kLinkBytes> link{};
    int16_t marker = -1;
    std::span<const uint8_t> extra;  // inside the list's bytes

    // A polygon needs extra data and a marker other than -1; a shape 2 without them is an ellipse.
    bool IsPolygon() const { return shape == kPolygon && marker != -1 && !extra.empty(); }
    bool HasLink() const { return linkFlag != 0; }
    // The polygon's points, as many as the extra data holds.
    std::vector<POINT> Points() const;
};

class HotspotList {
public:
    explicit HotspotList(std::span<const uint8_t> stored);

    uint16_t Count() const { return static_cast<uint16_t>(shapes_.size()); }
    const HotspotShape& operator[](uint16_t i) const { return shapes_[i]; }
    std::span<const HotspotShape> Shapes() const { return shapes_; }

private:
    std::vector<HotspotShape> shapes_;
};

// The list of object-list versions 2 and 3 (u16 count of 18-byte shapes, no polygons) in the
// current form: byte 0, u16 count, each shape's 18 bytes followed by marker -1 and no extra
// data. Shapes past the old list's bytes are dropped; a list of no shapes gives no bytes.
std::vector<uint8_t> ConvertOldHotspotList(std::span<const uint8_t> old);

}  // namespace lect32

#endif
