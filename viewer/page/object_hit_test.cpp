// Which page object lies under the mouse: the top one first, the current object's handles before
// its inside.
#include <array>

#include "page/page.h"

namespace lect32 {
namespace {

struct Handle {
    int part;
    int column;  // 0 left, 1 middle, 2 right
    int row;     // 0 top, 1 middle, 2 bottom
};

// In the order they are tried: the corners before the middles.
constexpr std::array<Handle, 8> kHandles = {{
    {2, 0, 0}, {8, 2, 0}, {6, 2, 2}, {4, 0, 2}, {9, 1, 0}, {7, 2, 1}, {5, 1, 2}, {3, 0, 1},
}};

int64_t along(int64_t start, int64_t size, int place) {
    if (place == 0) return start;
    return start + (place == 1 ? (size - 1) / 2 : size - 1);
}

// A handle is a point with a few pixels of tolerance each way.
int handleAt(const PageObject& o, int64_t x, int64_t y) {
    for (const Handle& h : kHandles) {
        const int64_t hx = along(o.x, o.width, h.column);
        const int64_t hy = along(o.y, o.height, h.row);
        if (x >= hx - 3 && x < hx + 4 && y >= hy - 3 && y < hy + 4) return h.part;
    }
    return 0;
}

// Near enough to look closer: the handles stand out of the object.
bool near(const PageObject& o, int64_t x, int64_t y) {
    return x >= int64_t{o.x} - 5 && x < int64_t{o.x} + o.width + 3 && y >= int64_t{o.y} - 5 && y < o.Bottom() + 4;
}

bool inside(const PageObject& o, int64_t x, int64_t y) {
    return x >= o.x && x < int64_t{o.x} + o.width && y >= o.y && y < o.Bottom();
}

}  // namespace

int16_t Page::HitTestObject(int32_t x, int32_t y, int& part) const {
    part = 0;
    for (const uint16_t i : BuildOrder(true)) {
        const PageObject& o = objects_[i];
        if (!near(o, x, y)) continue;
        if (static_cast<int16_t>(i) == current_) {
            part = handleAt(o, x, y);
            if (part) return static_cast<int16_t>(i);
        }
        if (inside(o, x, y)) {
            part = 1;
            return static_cast<int16_t>(i);
        }
    }
    return kNone;
}

}  // namespace lect32
