#include "core/colour_cell_table.h"

#include <cstring>

namespace pixmill {
namespace {

constexpr uint16_t kFirstCapacity = 4;  // keeps the values 4-byte aligned after the blues
constexpr size_t kBytesPerEntry = 1 + sizeof(uint32_t);

}  // namespace

ColourCellTable::~ColourCellTable() {
    for (Cell& cell : cells_)
        if (cell.data) memory_->deallocate(cell.data, cell.capacity * kBytesPerEntry, alignof(uint32_t));
}

void ColourCellTable::allocate() { cells_.resize(kCells); }

int ColourCellTable::find(int cell, int blue) const {
    const Cell& c = cells_[static_cast<size_t>(cell)];
    if (c.size == 0) return -1;
    const void* hit = std::memchr(c.data, blue, c.size);
    return hit ? static_cast<int>(static_cast<const uint8_t*>(hit) - c.data) : -1;
}

int ColourCellTable::append(int cell, int blue, uint32_t value) {
    Cell& c = cells_[static_cast<size_t>(cell)];
    if (c.size == c.capacity) grow(c);
    c.data[c.size] = static_cast<uint8_t>(blue);
    values(c)[c.size] = value;
    return c.size++;
}

void ColourCellTable::grow(Cell& cell) {
    // A cell holds at most 256 blues, so the capacity never passes 256.
    const uint16_t capacity = cell.capacity == 0 ? kFirstCapacity : static_cast<uint16_t>(cell.capacity * 2);
    auto* data = static_cast<uint8_t*>(memory_->allocate(capacity * kBytesPerEntry, alignof(uint32_t)));
    if (cell.data) {
        std::memcpy(data, cell.data, cell.size);
        std::memcpy(data + capacity, values(cell), cell.size * sizeof(uint32_t));
        memory_->deallocate(cell.data, cell.capacity * kBytesPerEntry, alignof(uint32_t));
    }
    cell.data = data;
    cell.capacity = capacity;
}

}  // namespace pixmill
