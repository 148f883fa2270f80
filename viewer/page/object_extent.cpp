// How far a page's objects reach, which of them lie in a band, and scaling them all.
#include <algorithm>
#include <limits>

#include "page/page.h"

namespace lect32 {

namespace {

template <class T>
T scaled(T value, int percent) {
    const int64_t result = int64_t{value} * percent / 100;
    return static_cast<T>(std::clamp<int64_t>(result, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

}  // namespace

ObjectExtent Page::GetExtent() const {
    ObjectExtent extent;
    for (const PageObject& o : objects_.All()) {
        if (o.IsParked()) continue;
        extent.bottom = static_cast<int32_t>(std::max<int64_t>(extent.bottom, std::min<int64_t>(o.Bottom(), TextLine::kUnlimited)));
        // A placed object moves with the width of the page: only its own width counts.
        extent.right = std::max<int32_t>(extent.right, o.placement != 0 ? int32_t{o.width} : o.Right());
    }
    return extent;
}

std::pair<uint16_t, uint16_t> Page::FindObjectsInBand(int32_t top, int32_t bottom) const {
    const auto all = objects_.All();
    const auto first = std::partition_point(all.begin(), all.end(), [&](const PageObject& o) { return o.y < top; });
    const auto last = std::partition_point(first, all.end(), [&](const PageObject& o) { return o.y < bottom; });
    return {static_cast<uint16_t>(first - all.begin()), static_cast<uint16_t>(last - first)};
}

bool Page::HasObjectBelow(int32_t y) const {
    const auto all = objects_.All();
    return std::any_of(all.begin(), all.end(), [&](const PageObject& o) { return o.anchoring == 0 && o.Bottom() > y; });
}

bool Page::HasObjectBehindText() const {
    const auto all = objects_.All();
    return std::any_of(all.begin(), all.end(), [](const PageObject& o) { return o.behindText != 0; });
}

void Page::ScaleObjects(int percent) {
    for (PageObject& o : objects_.All()) {
        o.width = scaled(o.width, percent);
        o.height = scaled(o.height, percent);
        o.x = scaled(o.x, percent);
        if (!o.IsParked()) o.y = scaled(o.y, percent);
        for (int16_t* spacing : {&o.spacingLeft, &o.spacingRight, &o.spacingTop, &o.spacingBottom}) {
            *spacing = scaled(*spacing, percent);
        }
    }
}

void Page::ZoomObjects(int percent, uint16_t numerator, uint16_t denominator) {
    ScaleObjects(percent);
    eachTextFrame([&](ObjectTextFrame& frame) {
        frame.SetZoom(numerator, denominator);
        CommitTextObject();
        return false;
    });
}

}  // namespace lect32
