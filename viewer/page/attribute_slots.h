// An object's attribute store: one item of the page's object texts holding a run of numbered
// slots, each a byte slot number, a u16 length n and n bytes of data. Items read from a file may
// end inside a slot or hold a length that runs past the item; such a run is cut after its last
// whole slot, and no walk here ever reads past the item it is given.
#ifndef LECT32_PAGE_ATTRIBUTE_SLOTS_H
#define LECT32_PAGE_ATTRIBUTE_SLOTS_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lect32 {

enum class Slot : uint8_t {
    Link = 1,       // the object's link target, stored form
    Record = 2,     // placement, media, frame or button record by kind
    HotSpots = 3,   // the hot-spot list
    Animation = 4,  // frames of an animated picture
    Scroller = 6,
};

inline constexpr size_t kSlotHeader = 3;
// The longest slot an item can hold: the item's own 16-bit length limit less the header.
inline constexpr size_t kMaxSlotData = 0xFFFF - kSlotHeader;

struct SlotPlace {
    size_t header = 0;  // offset of the slot number in the item
    uint16_t length = 0;
    size_t data() const { return header + kSlotHeader; }
};

// The first slot of that number among the item's whole slots.
std::optional<SlotPlace> FindSlot(std::span<const uint8_t> item, Slot number);
// Bytes of the item's leading run of whole slots: the length a damaged item is cut to.
size_t WholeSlotsLength(std::span<const uint8_t> item);
// Appends a whole slot; false (item unchanged) when the data passes kMaxSlotData.
bool AppendSlot(std::vector<uint8_t>& item, Slot number, std::span<const uint8_t> data);

}  // namespace lect32

#endif
