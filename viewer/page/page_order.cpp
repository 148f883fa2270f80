// The two orders of a page's objects: the array in (y, x) order, which text flow and band
// searches walk, and the paint order kept in each record's z, by which objects are painted
// (bottom first) and hit (top first).
#include <algorithm>
#include <array>
#include <numeric>

#include "page/page.h"

namespace lect32 {

// A stable sort by a 17-bit key (the layer, then z), least significant byte first: linear in the
// number of objects, where comparison sorts of large pages cost more per object.
std::vector<uint16_t> Page::BuildOrder(bool topFirst) const {
    const auto all = objects_.All();
    std::vector<uint32_t> keys(all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        // Copied objects lie under the others: first when painting, last when hitting.
        const uint32_t layer = (all[i].copied != 0) == topFirst ? 1 : 0;
        const uint32_t z = topFirst ? static_cast<uint32_t>(32767 - all[i].z) : static_cast<uint32_t>(all[i].z + 32768);
        keys[i] = layer << 16 | z;
    }
    std::vector<uint16_t> order(all.size());
    std::iota(order.begin(), order.end(), uint16_t{0});
    std::vector<uint16_t> sorted(all.size());
    for (int shift : {0, 8, 16}) {
        std::array<uint32_t, 257> starts{};
        for (uint16_t i : order) ++starts[((keys[i] >> shift) & 0xFF) + 1];
        std::partial_sum(starts.begin(), starts.end(), starts.begin());
        for (uint16_t i : order) sorted[starts[(keys[i] >> shift) & 0xFF]++] = i;
        order.swap(sorted);
    }
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
