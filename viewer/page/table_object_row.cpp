#include "page/table_object_row.h"

#include <algorithm>

namespace lect32 {

// While printing, the sheet's used height goes on past the table's rows as the table breaks
// them, so that the rows after the table break where they will be painted.
void TableObjectRow::Layout(HDC device, TablePrinting* printing) {
    int64_t used = printing ? printing->PrintedOffset() : 0;
    table_->Layout(device, printing);
    const TableSize size = table_->GetTotalSize(true);
    size_ = SIZE{size.width, size.height};
    if (!printing) return;
    for (int row = 0; row < table_->Rows(); ++row) {
        const int32_t height = table_->RowHeight(row);
        if (used + height > printing->PrintableHeight()) used = 0;
        used += height;
    }
    printing->SetPrintedOffset(static_cast<int32_t>(std::min<int64_t>(used, INT32_MAX)));
}

void TableObjectRow::SetOrigin(int16_t x, int32_t y) {
    originX_ = x;
    originY_ = y;
    table_->SetOrigin(x, y);
}

void TableObjectRow::Paint(HDC device, const RECT& clip, TablePrinting* printing, int32_t printTop) {
    table_->Paint(device, clip, printing, printTop);
}

// The table's rows are the lines the view's caret moves over.
uint16_t TableObjectRow::LineCount() const { return static_cast<uint16_t>(std::max<int16_t>(table_->Rows(), 0)); }

void TableObjectRow::SetZoom(uint16_t numerator, uint16_t denominator) {
    // No zoom (numerator 0) leaves the cells as they are: scaling by 0 would empty them.
    if (numerator != 0) table_->ScaleBy(numerator, denominator);
}

TableRowReader TableObjectReader(const ColourTable* colours, CellEditorMaker editors) {
    return [colours, editors](winplat::ByteReader& in, HWND owner) -> std::unique_ptr<TableRow> {
        auto table = std::make_unique<TableObject>(colours, editors ? editors() : nullptr);
        table->SetOwnerWindow(owner);
        if (!table->Read(in)) return nullptr;
        return std::make_unique<TableObjectRow>(std::move(table));
    };
}

}  // namespace lect32
