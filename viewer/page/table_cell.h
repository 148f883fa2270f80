// A table cell's fixed 36-byte record, little-endian, stored in documents exactly as the table
// keeps it: spans, owner, sizes, background, vertical alignment, text margins and four borders.
#ifndef LECT32_PAGE_TABLE_CELL_H
#define LECT32_PAGE_TABLE_CELL_H

#include <array>
#include <cstdint>
#include <span>

namespace lect32 {

struct CellBorder {
    uint8_t width = 0;   // pixels
    uint8_t colour = 0;  // colour-table index
    bool operator==(const CellBorder&) const = default;
};

// The sides in the order of the record's margins and borders.
enum CellSide : uint8_t { kSideLeft = 0, kSideRight = 1, kSideTop = 2, kSideBottom = 3 };

// Which sides of its owner's area a cell lies on (the borders that count for it).
enum CellEdge : uint8_t { kEdgeLeft = 1, kEdgeRight = 2, kEdgeTop = 4, kEdgeBottom = 8 };

struct TableCell {
    static constexpr size_t kSize = 36;
    static constexpr uint16_t kNoOwner = 0xFFFF;
    static constexpr uint8_t kTableBackground = 255;

    uint16_t columnSpan = 1;
    uint16_t rowSpan = 1;
    uint16_t owner = kNoOwner;  // the spanning cell that covers this one
    int16_t width = 100;        // row 0's widths are the column widths
    int32_t height = 20;        // column 0's heights are the row heights
    int32_t contentHeight = 0;  // of the laid-out text
    uint8_t background = kTableBackground;
    int16_t picture = -1;
    uint8_t alignment = 0;  // 0 top, 1 centred, any other value bottom
    std::array<int16_t, 4> margins{2, 2, 0, 0};
    std::array<CellBorder, 4> borders{};

    bool Covered() const { return owner != kNoOwner; }

    static TableCell Decode(std::span<const uint8_t, kSize> bytes);
    std::array<uint8_t, kSize> Encode() const;
};

}  // namespace lect32

#endif
