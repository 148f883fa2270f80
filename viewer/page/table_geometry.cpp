// Where a table's lines and cells lie: border lines, their widths and how they split between
// cells, cell boxes and sizes, the text offset of an alignment, and spanning cells' shares.
#include <algorithm>
#include <limits>

#include "page/table_math.h"
#include "page/table_object.h"
#include "text/colour_table.h"

namespace lect32 {

using table_math::CeilHalf;
using table_math::FloorHalf;
using table_math::Saturate;

namespace {

CellSide opposite(CellSide side) {
    switch (side) {
    case kSideLeft: return kSideRight;
    case kSideRight: return kSideLeft;
    case kSideTop: return kSideBottom;
    case kSideBottom: break;
    }
    return kSideTop;
}

}  // namespace

int TableObject::brightness(uint8_t colour) const { return colours_ ? colours_->Brightness(colour) : 0; }

COLORREF TableObject::colourOf(uint8_t colour) const { return colours_ ? colours_->GetColour(colour) : RGB(0, 0, 0); }

// The challenger takes the line when it is wider, or as wide and darker.
bool TableObject::darkerWins(const CellBorder& challenger, const CellBorder& holder) const {
    if (challenger.width != holder.width) return challenger.width > holder.width;
    return brightness(challenger.colour) < brightness(holder.colour);
}

uint8_t TableObject::ownBorders(int cell, std::array<CellBorder, 4>& borders) {
    borders = {};
    const int o = GetOwnerCell(cell);
    if (o == kNoCell) return 0;
    const TableCell owner = Cell(o);
    const auto [row, column] = place(cell);
    const auto [ownerRow, ownerColumn] = place(o);
    uint8_t edges = 0;
    if (column == ownerColumn) edges |= kEdgeLeft;
    if (column == ownerColumn + owner.columnSpan - 1) edges |= kEdgeRight;
    if (row == ownerRow) edges |= kEdgeTop;
    if (row == ownerRow + owner.rowSpan - 1) edges |= kEdgeBottom;
    const uint8_t bits[4] = {kEdgeLeft, kEdgeRight, kEdgeTop, kEdgeBottom};
    for (int side = 0; side < 4; ++side) {
        if (edges & bits[side]) borders[size_t(side)] = owner.borders[size_t(side)];
    }
    return edges;
}

uint8_t TableObject::GetCellBorders(int cell, std::array<CellBorder, 4>& borders, bool resolve) {
    const uint8_t edges = ownBorders(cell, borders);
    if (!resolve || edges == 0) return edges;
    const auto [row, column] = place(cell);
    struct Across {
        CellSide side;
        uint8_t edge;
        bool exists;
        int neighbour;
    };
    const Across lines[4] = {
        {kSideLeft, kEdgeLeft, column >= 1, cellAt(row, column - 1)},
        {kSideRight, kEdgeRight, column <= columns_ - 2, cellAt(row, column + 1)},
        {kSideTop, kEdgeTop, row >= 1, cellAt(row - 1, column)},
        {kSideBottom, kEdgeBottom, row <= rows_ - 2, cellAt(row + 1, column)},
    };
    for (const Across& line : lines) {
        if (!(edges & line.edge) || !line.exists) continue;
        std::array<CellBorder, 4> theirs;
        ownBorders(line.neighbour, theirs);
        const CellBorder& challenger = theirs[opposite(line.side)];
        if (darkerWins(challenger, borders[line.side])) borders[line.side] = challenger;
    }
    return edges;
}

TableLines TableObject::ComputeLines() {
    TableLines lines;
    lines.horizontal.assign(size_t(rows_) + 1, 0);
    lines.vertical.assign(size_t(columns_) + 1, 0);
    std::array<CellBorder, 4> b;
    for (int n = 0; n < CellCount(); ++n) {
        ownBorders(n, b);
        const auto [row, column] = place(n);
        int& top = lines.horizontal[size_t(row)];
        int& bottom = lines.horizontal[size_t(row) + 1];
        int& left = lines.vertical[size_t(column)];
        int& right = lines.vertical[size_t(column) + 1];
        top = std::max<int>(top, b[kSideTop].width);
        bottom = std::max<int>(bottom, b[kSideBottom].width);
        left = std::max<int>(left, b[kSideLeft].width);
        right = std::max<int>(right, b[kSideRight].width);
    }
    return lines;
}

int TableObject::ColumnWidth(int column) { return Cell(column).width; }

int32_t TableObject::RowHeight(int row) { return Cell(cellAt(row, 0)).height; }

TableSize TableObject::GetTotalSize(bool withOuterMargins) {
    int64_t width = 0;
    int64_t height = 0;
    for (int c = 0; c < columns_; ++c) width += ColumnWidth(c);
    for (int r = 0; r < rows_; ++r) height += RowHeight(r);
    if (withOuterMargins) {
        width += outer_.left + outer_.right;
        height += outer_.top + outer_.bottom;
    }
    return {Saturate(width), Saturate(height)};
}

POINT TableObject::GetCellBox(int cell, bool inner) {
    if (!inner) return cellBox(cell, nullptr);
    const TableLines lines = ComputeLines();
    return cellBox(cell, &lines);
}

POINT TableObject::cellBox(int cell, const TableLines* inner) {
    cell = GetOwnerCell(cell);
    if (cell == kNoCell) return {0, 0};
    const auto [row, column] = place(cell);
    int64_t x = 0;
    int64_t y = 0;
    for (int c = 0; c < column; ++c) x += ColumnWidth(c);
    for (int r = 0; r < row; ++r) y += RowHeight(r);
    if (inner) {
        x += CeilHalf(inner->vertical[size_t(column)]);
        y += CeilHalf(inner->horizontal[size_t(row)]);
    }
    return {static_cast<LONG>(Saturate(x)), static_cast<LONG>(Saturate(y))};
}

TableSize TableObject::spannedSize(const TableCell& owner, int row, int column) {
    if (owner.columnSpan <= 1 && owner.rowSpan <= 1) return {owner.width, owner.height};
    int64_t width = 0;
    int64_t height = 0;
    for (int c = column; c < column + owner.columnSpan; ++c) width += ColumnWidth(c);
    for (int r = row; r < row + owner.rowSpan; ++r) height += RowHeight(r);
    return {Saturate(width), Saturate(height)};
}

TableSize TableObject::GetCellSize(int cell, bool inner) {
    if (!inner) return cellSize(cell, nullptr);
    const TableLines lines = ComputeLines();
    return cellSize(cell, &lines);
}

TableSize TableObject::cellSize(int cell, const TableLines* inner) {
    cell = GetOwnerCell(cell);
    if (cell == kNoCell) return {};
    const TableCell c = Cell(cell);
    const auto [row, column] = place(cell);
    TableSize size = spannedSize(c, row, column);
    if (inner) {
        size.width -= CeilHalf(inner->vertical[size_t(column)]) + FloorHalf(inner->vertical[size_t(column + c.columnSpan)]);
        size.height -= CeilHalf(inner->horizontal[size_t(row)]) + FloorHalf(inner->horizontal[size_t(row + c.rowSpan)]);
    }
    return size;
}

int TableObject::GetTextOffset(int cell, std::optional<int> innerHeight) {
    cell = GetOwnerCell(cell);
    if (cell == kNoCell) return 0;
    const TableCell c = Cell(cell);
    if (c.alignment == 0) return 0;
    const int64_t height = innerHeight ? *innerHeight : GetCellSize(cell, true).height;
    const int64_t spare = height - c.contentHeight;
    return table_math::Coordinate(c.alignment == 1 ? spare >> 1 : spare);
}

// The rows of a span share its height evenly; the remainder goes one pixel at a time to rows
// spread by a midpoint walk, and the last row takes what is left.
int32_t TableObject::ContentShare(int32_t height, int span, int index) {
    if (span <= 1) return height;
    const int32_t q = height / span;
    const int32_t r = height % span;
    if (r == 0) return q;
    int64_t term = 2 * int64_t{r} - span;
    int64_t before = 0;
    for (int i = 0; i < index; ++i) {
        const bool extra = term >= 0;
        before += q + (extra ? 1 : 0);
        term += 2 * int64_t{r} - (extra ? 2 * int64_t{span} : 0);
    }
    if (index == span - 1) return static_cast<int32_t>(height - before);
    return q + (term >= 0 ? 1 : 0);
}

}  // namespace lect32
