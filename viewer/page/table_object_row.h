// A table read from a page record, standing in a row of a document view: the view's questions
// answered by the table object itself.
#ifndef LECT32_PAGE_TABLE_OBJECT_ROW_H
#define LECT32_PAGE_TABLE_OBJECT_ROW_H

#include <functional>
#include <memory>

#include "page/table_object.h"
#include "page/table_row.h"

namespace lect32 {

class ColourTable;

class TableObjectRow final : public TableRow {
public:
    explicit TableObjectRow(std::unique_ptr<TableObject> table) : table_(std::move(table)) {}

    void Layout(HDC device, TablePrinting* printing) override;
    SIZE TotalSize() const override { return size_; }
    void SetOrigin(int16_t x, int32_t y) override;
    int16_t OriginX() const override { return originX_; }
    int32_t OriginY() const override { return originY_; }
    void Paint(HDC device, const RECT& clip, TablePrinting* printing, int32_t printTop) override;
    uint16_t LineCount() const override;
    uint32_t SerializedSize() const override { return table_->GetSerializedSize(); }
    void SetScrollOffset(int16_t x, int32_t y) override { table_->SetScrollOffset(x, y); }
    void SetPageStyle(const PageStyle& style) override { table_->SetPageStyle(style); }
    void SetZoom(uint16_t numerator, uint16_t denominator) override;
    bool HitTest(int grade) override { return table_->HitTest(grade); }

    TableObject& Table() { return *table_; }

private:
    std::unique_ptr<TableObject> table_;
    SIZE size_{0, 0};
    int16_t originX_ = 0;
    int32_t originY_ = 0;
};

using CellEditorMaker = std::function<std::unique_ptr<TableCellEditor>()>;

// The reader a view is given for its table rows: each table read with the document's colours
// (null: the open document's) for the view's window, with its own cell editor from 'editors' (none:
// the table's default). A damaged table gives null.
TableRowReader TableObjectReader(const ColourTable* colours, CellEditorMaker editors = {});

}  // namespace lect32

#endif
