// Tables in a view's rows.
#include "page/table_object_row.h"

namespace lect32 {

SIZE TableObjectRow::TotalSize() const {
    const TableSize size = table_->GetTotalSize(true);
    return {size.width, size.height};
}

TableRowReader MakeTableRowReader(const ColourTable* colours, CellEditorMaker editors) {
    return [colours, editors](winplat::ByteReader& in, HWND owner) -> std::unique_ptr<TableRow> {
        auto table = std::make_unique<TableObject>(colours, editors ? editors() : nullptr);
        if (!table->Read(in)) return nullptr;
        table->SetOwnerWindow(owner);
        return std::make_unique<TableObjectRow>(std::move(table));
    };
}

}  // namespace lect32
