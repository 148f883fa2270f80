// Laying a table out: every cell's text reflowed at its width, then the row heights from the
// tallest content share of each row and the borders around it.
#include <algorithm>
#include <limits>

#include "page/table_math.h"
#include "page/table_object.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: table layout");

}  // namespace

void TableObject::reflowCell(int cell, HDC dc, const TableLines& lines) {
    SelectCell(cell, false);
    const TableCell c = Cell(cell);
    const auto [row, column] = place(cell);
    const TableSize size = spannedSize(c, row, column);
    const int width = size.width - table_math::CeilHalf(lines.vertical[size_t(column)]) -
                      table_math::FloorHalf(lines.vertical[size_t(column + c.columnSpan)]);
    editor_->SetSize(std::max(width, 0), size.height);
    TableCell measured = c;
    measured.contentHeight = std::max(editor_->Reflow(dc), 0);
    SetCell(cell, measured);
    if (!putText(cell, editor_->Serialize())) refuse.log("the cell's text does not fit the table's store");
}

int32_t TableObject::rowHeightFor(int row, const TableLines& lines) {
    int64_t tallest = 0;
    std::array<CellBorder, 4> borders;
    for (int column = 0; column < columns_; ++column) {
        const int cell = cellAt(row, column);
        const int o = GetOwnerCell(cell);
        const TableCell owner = Cell(o);
        const int index = row - place(o).first;
        const int64_t share = ContentShare(owner.contentHeight, owner.rowSpan, index);
        GetCellBorders(cell, borders, true);
        tallest = std::max(tallest, share + table_math::CeilHalf(borders[kSideTop].width) + table_math::FloorHalf(borders[kSideBottom].width));
    }
    return table_math::Saturate(table_math::CeilHalf(lines.horizontal[size_t(row)]) + table_math::FloorHalf(lines.horizontal[size_t(row) + 1]) + tallest);
}

int32_t TableObject::Layout(HDC dc, TablePrinting* printing) {
    const TableLines lines = ComputeLines();
    if (current_ != kNoCell && editor_->HasChanges(0)) StoreCell();
    for (int n = 0; n < CellCount(); ++n) {
        if (!Cell(n).Covered()) reflowCell(n, dc, lines);
    }
    int64_t total = 0;
    int64_t sheet = 0;
    for (int row = 0; row < rows_; ++row) {
        const int32_t height = rowHeightFor(row, lines);
        for (int column = 0; column < columns_; ++column) {
            TableCell c = Cell(cellAt(row, column));
            c.height = height;
            SetCell(cellAt(row, column), c);
        }
        if (printing) {
            if (int64_t{printing->PrintedOffset()} + sheet + height > printing->PrintableHeight()) {
                printing->SetPrintedOffset(0);
                sheet = 0;
            }
            sheet += height;
        }
        total += height;
    }
    const int top = lines.horizontal.front();
    const int bottom = lines.horizontal.back();
    const int left = lines.vertical.front();
    const int right = lines.vertical.back();
    outer_ = {static_cast<uint8_t>(table_math::FloorHalf(left)), static_cast<uint8_t>(table_math::CeilHalf(right)),
              static_cast<uint8_t>(table_math::FloorHalf(top)), static_cast<uint8_t>(table_math::CeilHalf(bottom))};
    current_ = kNoCell;
    return table_math::Saturate(total + outer_.top + outer_.bottom);
}

}  // namespace lect32
