// The text frame a table shows every one of its cells with: a cell's record is loaded into it,
// laid out at the cell's inner width (no scroll bars: the cell grows instead), painted at the
// cell's place, and written back when it changed. Scrolling inside a cell only tells the window
// around the table that something moved (message 9019).
#ifndef LECT32_PAGE_TABLE_CELL_TEXT_H
#define LECT32_PAGE_TABLE_CELL_TEXT_H

#include "page/rich_text_object.h"
#include "page/table_cell_editor.h"

namespace lect32 {

class TableCellText final : public RichTextObject, public TableCellEditor {
public:
    explicit TableCellText(PageServices pageServices = {}, ViewServices services = {});

    // ---- the view's scroll slots: a cell has no bars of its own
    void SetScrollRange(HWND window, int bar, int range, int page, bool redraw) override;
    void SetScrollPos(HWND window, int bar, int position, bool redraw) override;

    // ---- the table's cell editor
    void SetOwnerWindow(HWND window) override { owner_ = window; }
    void Load(std::span<const uint8_t> record) override;
    void ApplyCellStyle(const CellTextStyle& style) override;
    bool HasChanges(int grade) const override;
    // The record as loaded while the cell is unchanged, so that a cell only shown is stored back
    // byte for byte.
    std::vector<uint8_t> Serialize() const override;
    uint32_t SerializedSize() const override;
    void Place(int x, int y) override;
    void SetSize(int width, int height) override;
    // Lays every row out at the cell's width; the content's height with the top and bottom margins.
    int Reflow(HDC dc) override;
    int TextHeight() const override { return contentHeight_; }
    void SetBackground(uint8_t colour, int16_t picture, uint8_t mode, int16_t scrollX, int32_t scrollY) override {
        RichTextObject::SetBackground(colour, picture, mode, scrollX, scrollY);
    }
    void Paint(HDC dc, const RECT& clip) override;
    void SetZoom(int percent, int second) override;
    bool HasSelection() const override { return selection_.active; }
    void CollapseSelection(bool toEnd) override { DocumentView::CollapseSelection(toEnd); }
    bool WriteText(MemWriter& out) override { return RichTextObject::WriteText(out); }
    bool FindText(const FrameSearch& search) override { return RichTextObject::FindText(search); }
    void MarkFoundWords(const FrameSearch& search) override { RichTextObject::MarkFoundWords(search); }

private:
    HWND owner_ = nullptr;
    std::vector<uint8_t> loaded_;
};

}  // namespace lect32

#endif
