// A table standing in a row of a document view: the view's row interface over a TableObject, and
// the reader that makes one from the table's stored form behind the row.
#ifndef LECT32_PAGE_TABLE_OBJECT_ROW_H
#define LECT32_PAGE_TABLE_OBJECT_ROW_H

#include <functional>
#include <memory>

#include "page/table_object.h"
#include "page/table_row.h"

namespace lect32 {

class TableObjectRow final : public TableRow {
public:
    explicit TableObjectRow(std::unique_ptr<TableObject> table) : table_(std::move(table)) {}

    void Layout(HDC device) override { table_->Layout(device); }
    SIZE TotalSize() const override;
    void SetOrigin(int16_t x, int32_t y) override { table_->SetOrigin(x, y); }
    void Paint(HDC device, const RECT& clip, HBRUSH /*brush*/) override { table_->Paint(device, clip); }
    uint16_t LineCount() const override { return static_cast<uint16_t>(table_->Rows()); }
    uint32_t SerializedSize() const override { return table_->GetSerializedSize(); }
    void SetScrollOffset(int16_t x, int32_t y) override { table_->SetScrollOffset(x, y); }
    void SetPageStyle(const PageStyle& style) override { table_->SetPageStyle(style); }
    // Tables keep the sizes they were stored with under the view's zoom: scaling them would
    // rewrite their cells for good, and a second zoom would scale the scaled sizes again.
    void SetZoom(uint16_t /*numerator*/, uint16_t /*denominator*/) override {}

    TableObject& Table() { return *table_; }

private:
    std::unique_ptr<TableObject> table_;
};

using CellEditorMaker = std::function<std::unique_ptr<TableCellEditor>()>;

// The view's table reader: each table gets its own editor from 'editors' (none: the table's
// default) and the owner window; a damaged table stream gives no table.
TableRowReader MakeTableRowReader(const ColourTable* colours, CellEditorMaker editors = {});

}  // namespace lect32

#endif
