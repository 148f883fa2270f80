// A cell editor that lays out and paints a cell's paragraphs with the process-wide formatter: each
// row's style and packed format, its text broken into lines at the cell's width less its side
// margins, the rows one below the other between the top and bottom margins. It reads the cell's
// record and writes it back unchanged: the reader does not edit tables.
//
// It lays rows out as plain paragraphs: tab stops of their own, space before and after, frames and
// objects inside a cell are the document view's, whose cell view takes this one's place.
#ifndef LECT32_PAGE_FORMATTED_CELL_TEXT_H
#define LECT32_PAGE_FORMATTED_CELL_TEXT_H

#include <cstdint>
#include <span>
#include <vector>

#include "page/table_cell_editor.h"
#include "text/text_format.h"

namespace lect32 {

class TextFormatter;

class FormattedCellText final : public TableCellEditor {
public:
    // 'formatter' null: the process-wide one.
    explicit FormattedCellText(const ColourTable* colours, TextFormatter* formatter = nullptr);

    void SetOwnerWindow(HWND window) override { owner_ = window; }
    void Load(std::span<const uint8_t> record) override;
    void ApplyCellStyle(const CellTextStyle& style) override { style_ = style; }
    bool HasChanges(int /*grade*/) const override { return false; }
    // The record as loaded, its view state carrying the height of the last layout.
    std::vector<uint8_t> Serialize() const override;
    uint32_t SerializedSize() const override { return static_cast<uint32_t>(record_.size()); }
    void Place(int x, int y) override;
    void SetSize(int width, int height) override;
    int Reflow(HDC dc) override;
    // The height of the last layout, or the one the record was stored with; a record that
    // carries none is measured at the cell's width on the owner window's display.
    int TextHeight() const override;
    void SetBackground(uint8_t colour, int16_t /*picture*/, uint8_t /*mode*/, int16_t /*scrollX*/,
                       int32_t /*scrollY*/) override {
        style_.background = colour;
    }
    void Paint(HDC dc, const RECT& clip) override;
    void SetZoom(int percent, int /*second*/) override;

    size_t RowCount() const { return rows_.size(); }

private:
    struct Row {
        TextFormat format;
        std::vector<uint8_t> text;
    };
    void parse();
    // Lays out (and, with a device to paint on, paints) every row from the top margin; the
    // height of the rows.
    int walkRows(HDC dc, bool paint, int left, int top, int width) const;

    const ColourTable* colours_;
    TextFormatter* formatter_;
    HWND owner_ = nullptr;
    std::vector<uint8_t> record_;
    std::vector<Row> rows_;
    CellTextStyle style_;
    RECT box_{};
    size_t heightAt_ = 0;  // where the record's view state keeps the content height (0: none)
    mutable int height_ = kUnknown;
    int zoom_ = 0;

    static constexpr int kUnknown = -1;
    int measure(HDC dc, int width) const;
};

}  // namespace lect32

#endif
