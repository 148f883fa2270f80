// The two orders of a page's objects: the array in (y, x) order, which text flow and band
// searches walk, and the paint order kept in each record's z, by which objects are painted
// (bottom first) and hit (top first).
#include <algorithm>
#include <numeric>

#include "page/page.h"

namespace lect32 {

std::vector<uint16_t> Page::BuildOrder(bool topFirst) const {
    std::vector<uint16_t> order(GetCount());
    std::iota(order.begin(), order.end(), uint16_t{0});
    const auto all = objects_.All();
    // Copied objects lie under the others: first when painting, last when hitting.
    const auto layer = [&](uint16_t i) { return (all[i].copied != 0) == topFirst; };
    std::stable_sort(order.begin(), order.end(), [&](uint16_t a, uint16_t b) {
        if (layer(a) != layer(b)) return layer(b);
        return topFirst ? all[a].z > all[b].z : all[a].z < all[b].z;
    });
    return order;
}

void Page::Renumber() {
    const std::vector<uint16_t> order = BuildOrder(false);
    for (size_t k = 0; k < order.size(); ++k) objects_[order[k]].z = static_cast<int16_t>(k);
}

uint16_t Page::CountCopied() const {
    const auto all = objects_.All();
    return static_cast<uint16_t>(std::count_if(all.begin(), all.end(), [](const PageObject& o) { return o.copied != 0; }));
}

uint16_t Page::ResortObject(uint16_t i) {
    if (!objects_.Contains(i)) return i;
    const PageObject& moved = objects_[i];
    uint16_t place = 0;
    for (uint16_t j = 0; j < GetCount(); ++j) {
        if (j != i && PlacedBefore(objects_[j], moved.y, moved.x)) ++place;
    }
    objects_.Move(i, place);
    return place;
}

int Page::InsertObject(const PageObject& record, std::span<const uint8_t> attributes, std::span<const uint8_t> content) {
    PageObject added = record;
    added.prepared = 0;
    added.copied = 0;
    return addObject(added, attributes.first(WholeSlotsLength(attributes)), content);
}

void Page::SetPaintPosition(uint16_t i, int16_t position) {
    if (!objects_.Contains(i)) return;
    PageObject& moved = objects_[i];
    const int lowest = moved.copied ? 0 : CountCopied();
    const int target = std::clamp<int>(position, lowest, GetCount() - 1);
    const int old = moved.z;
    for (PageObject& o : objects_.All()) {
        if (&o == &moved) continue;
        if (target < old && o.z >= target && o.z < old) ++o.z;
        if (target > old && o.z > old && o.z <= target) --o.z;
    }
    moved.z = static_cast<int16_t>(target);
    painter().InvalidateObject(i);
}

}  // namespace lect32
