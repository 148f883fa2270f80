// Colours grouped by their (red, green) pair: each of the 65536 cells lists the blues met in it,
// in the order they were added, with a 32-bit value beside each. The blues of a cell lie side by
// side so that looking a colour up scans a few bytes.
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
    int find(int cell, int blue) const;
    uint8_t blue(int cell, int slot) const { return cells_[static_cast<size_t>(cell)].data[slot]; }
    uint32_t& value(int cell, int slot) { return values(cells_[static_cast<size_t>(cell)])[slot]; }
    uint32_t value(int cell, int slot) const { return values(cells_[static_cast<size_t>(cell)])[slot]; }
    // Adds a blue that the cell does not hold yet; returns its slot. Throws std::bad_alloc.
    int append(int cell, int blue, uint32_t value);

private:
    // One block per cell: `capacity` blues, then `capacity` values.
    struct Cell {
        uint8_t* data = nullptr;
        uint16_t size = 0;
        uint16_t capacity = 0;
    };
    static uint32_t* values(const Cell& cell) {
        return reinterpret_cast<uint32_t*>(cell.data + cell.capacity);
    }
    void grow(Cell& cell);

    std::pmr::memory_resource* memory_;
    std::pmr::vector<Cell> cells_;
};

}  // namespace pixmill

#endif
