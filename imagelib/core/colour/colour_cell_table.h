// Colours grouped by their (red, green) pair: each of the 65536 cells lists the blues met in it,
// in the order they were added, with a 32-bit value beside each. The blues of a cell lie side by
// side so that looking a colour up in a small cell scans a few bytes; a large cell also keeps the
// slot of each blue, so that dithered pictures, whose cells fill up, need no long scans.
#ifndef PIXMILL_CORE_COLOUR_CELL_TABLE_H
#define PIXMILL_CORE_COLOUR_CELL_TABLE_H

#include <cstdint>
#include <memory_resource>
#include <vector>

namespace pixmill {

class ColourCellTable {
public:
    static constexpr int kCells = 65536;

    explicit ColourCellTable(std::pmr::memory_resource* memory) : memory_(memory), cells_(memory) {}
    ~ColourCellTable();
    ColourCellTable(const ColourCellTable&) = delete;
    ColourCellTable& operator=(const ColourCellTable&) = delete;

    static int cellOf(int r, int g) { return (r << 8) | g; }

    // Makes the cells, all empty. Throws std::bad_alloc.
    void allocate();
    int size(int cell) const { return cells_[static_cast<size_t>(cell)].size; }
    // The blue's slot in the cell, or -1.
    int find(int cell, int blue) const {
        const Cell& c = cells_[static_cast<size_t>(cell)];
        const uint8_t* blues = bluesOf(c);
        if (c.capacity >= kIndexedCapacity) {
            const int slot = c.data[blue];
            return slot < c.size && blues[slot] == blue ? slot : -1;
        }
        for (int slot = 0; slot < c.size; ++slot)
            if (blues[slot] == blue) return slot;
        return -1;
    }
    uint8_t blue(int cell, int slot) const { return bluesOf(cells_[static_cast<size_t>(cell)])[slot]; }
    uint32_t& value(int cell, int slot) { return valuesOf(cells_[static_cast<size_t>(cell)])[slot]; }
    uint32_t value(int cell, int slot) const { return valuesOf(cells_[static_cast<size_t>(cell)])[slot]; }
    // Asks the processor to fetch what find(cell, blue) will read: the cell itself, or its block
    // when the cell is at hand already.
    void prefetchCell(int cell) const { __builtin_prefetch(&cells_[static_cast<size_t>(cell)]); }
    void prefetchBlock(int cell, int blue) const {
        const Cell& c = cells_[static_cast<size_t>(cell)];
        if (c.data) __builtin_prefetch(c.capacity >= kIndexedCapacity ? c.data + blue : c.data);
    }
    // Adds a blue that the cell does not hold yet; returns its slot. Throws std::bad_alloc.
    int append(int cell, int blue, uint32_t value);

private:
    // From this capacity on a cell's block starts with 256 bytes giving the slot of each blue
    // (checked against the blues, so stale bytes do no harm).
    static constexpr uint16_t kIndexedCapacity = 32;

    // One block per cell: [slot by blue,] `capacity` blues, then `capacity` values.
    struct Cell {
        uint8_t* data = nullptr;
        uint16_t size = 0;
        uint16_t capacity = 0;
    };
    static size_t indexBytes(uint16_t capacity) { return capacity >= kIndexedCapacity ? 256 : 0; }
    static size_t blockBytes(uint16_t capacity) {
        return indexBytes(capacity) + capacity * (1 + sizeof(uint32_t));
    }
    static uint8_t* bluesOf(const Cell& cell) { return cell.data + indexBytes(cell.capacity); }
    static uint32_t* valuesOf(const Cell& cell) {
        return reinterpret_cast<uint32_t*>(bluesOf(cell) + cell.capacity);
    }
    void grow(Cell& cell);

    std::pmr::memory_resource* memory_;
    std::pmr::vector<Cell> cells_;
};

}  // namespace pixmill

#endif
