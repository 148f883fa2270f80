#include "core/colour/colour_cell_table.h"

#include <cstring>

namespace pixmill {
namespace {

constexpr uint16_t kFirstCapacity = 4;  // keeps the values 4-byte aligned after the blues

}  // namespace

ColourCellTable::~ColourCellTable() {
    for (Cell& cell : cells_)
        if (cell.data) memory_->deallocate(cell.data, blockBytes(cell.capacity), alignof(uint32_t));
}

void ColourCellTable::allocate() { cells_.resize(kCells); }

int ColourCellTable::append(int cell, int blue, uint32_t value) {
    Cell& c = cells_[static_cast<size_t>(cell)];
    if (c.size == c.capacity) grow(c);
    const uint16_t slot = c.size++;
    bluesOf(c)[slot] = static_cast<uint8_t>(blue);
    valuesOf(c)[slot] = value;
    if (indexBytes(c.capacity)) c.data[blue] = static_cast<uint8_t>(slot);
    return slot;
}

void ColourCellTable::grow(Cell& cell) {
    // A cell holds at most 256 blues, so the capacity never passes 256.
    Cell grown;
    grown.capacity = cell.capacity == 0 ? kFirstCapacity : static_cast<uint16_t>(cell.capacity * 2);
    grown.size = cell.size;
    grown.data = static_cast<uint8_t*>(memory_->allocate(blockBytes(grown.capacity), alignof(uint32_t)));
    if (indexBytes(grown.capacity)) std::memset(grown.data, 0, indexBytes(grown.capacity));
    if (cell.data) {
        const uint8_t* blues = bluesOf(cell);
        std::memcpy(bluesOf(grown), blues, cell.size);
        std::memcpy(valuesOf(grown), valuesOf(cell), cell.size * sizeof(uint32_t));
        if (indexBytes(grown.capacity)) {
            for (uint16_t slot = 0; slot < cell.size; ++slot)
                grown.data[blues[slot]] = static_cast<uint8_t>(slot);
        }
        memory_->deallocate(cell.data, blockBytes(cell.capacity), alignof(uint32_t));
    }
    cell = grown;
}

}  // namespace pixmill
