#include "page/attribute_slots.h"

#include "winplat/byte_reader.h"

namespace lect32 {

namespace {

// Steps over whole slots from the start, handing each to 'visit' until it returns true; returns
// the offset where the walk stopped (the end of the last whole slot when none matched).
template <class Visit>
size_t WalkSlots(std::span<const uint8_t> item, Visit&& visit) {
    winplat::ByteReader in(item);
    size_t end = 0;
    while (in.has(kSlotHeader)) {
        SlotPlace place{in.position(), 0};
        const uint8_t number = in.u8();
        place.length = in.u16();
        if (!in.skip(place.length)) break;  // the length runs past the item: cut here
        if (visit(number, place)) return place.header;
        end = in.position();
    }
    return end;
}

}  // namespace

std::optional<SlotPlace> FindSlot(std::span<const uint8_t> item, Slot number) {
    std::optional<SlotPlace> found;
    WalkSlots(item, [&](uint8_t n, const SlotPlace& place) {
        if (n == static_cast<uint8_t>(number)) found = place;
        return found.has_value();
    });
    return found;
}

size_t WholeSlotsLength(std::span<const uint8_t> item) {
    return WalkSlots(item, [](uint8_t, const SlotPlace&) { return false; });
}

bool AppendSlot(std::vector<uint8_t>& item, Slot number, std::span<const uint8_t> data) {
    if (data.size() > kMaxSlotData) return false;
    const auto length = static_cast<uint16_t>(data.size());
    item.push_back(static_cast<uint8_t>(number));
    item.push_back(static_cast<uint8_t>(length));
    item.push_back(static_cast<uint8_t>(length >> 8));
    item.insert(item.end(), data.begin(), data.end());
    return true;
}

}  // namespace lect32
