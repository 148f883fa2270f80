// What a table asks of the one text view it shows all its cells with: the cell's text-frame
// record loaded in and written back out, the cell's look, a place and size, a reflow that gives
// the text's height, and painting. The table owns one editor and moves it from cell to cell.
//
// StoredCellText measures nothing: it keeps a cell's record as it was stored, answers the content
// height the record was saved with (the height the writer's own layout found), and paints the
// cell's background only; the table's layout and painting are tried with it where text does not
// matter. FormattedCellText (formatted_cell_text.h) lays the text out.
#ifndef LECT32_PAGE_TABLE_CELL_EDITOR_H
#define LECT32_PAGE_TABLE_CELL_EDITOR_H

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "winplat/draw.h"
#include "winplat/types.h"

namespace lect32 {

class ColourTable;
class MemWriter;
struct FrameSearch;

// What a cell record gives the editor's page style (after the style's defaults).
struct CellTextStyle {
    uint8_t background = 255;
    int16_t picture = -1;
    uint8_t pictureMode = 1;
    std::array<int16_t, 4> margins{};  // left, right, top, bottom
    int width = 0;
};

class TableCellEditor {
public:
    virtual ~TableCellEditor() = default;

    virtual void SetOwnerWindow(HWND window) = 0;
    // Replaces the editor's whole content by a cell's text-frame record.
    virtual void Load(std::span<const uint8_t> record) = 0;
    virtual void ApplyCellStyle(const CellTextStyle& style) = 0;
    // Grade 1: the content changed in a way that needs a new layout; grade 0: any change.
    virtual bool HasChanges(int grade) const = 0;
    // The record written with every section (view state, highlights, objects).
    virtual std::vector<uint8_t> Serialize() const = 0;
    virtual uint32_t SerializedSize() const = 0;

    virtual void Place(int x, int y) = 0;
    virtual void SetSize(int width, int height) = 0;
    // Lays the text out on the device (none: the owner window's) and returns its height.
    virtual int Reflow(HDC dc) = 0;
    virtual int TextHeight() const = 0;
    virtual void SetBackground(uint8_t colour, int16_t picture, uint8_t mode, int16_t scrollX, int32_t scrollY) = 0;
    // Paints the placed editor within the clip rectangle.
    virtual void Paint(HDC dc, const RECT& clip) = 0;
    virtual void SetZoom(int percent, int second) = 0;

    // ---- input, search and text, at points relative to the editor's place. The reader's
    // editors show text and take no input: they have no caret, selection or commands, so these
    // answer "nothing here" unless an editor says otherwise.
    virtual void Click(HWND /*owner*/, WPARAM /*keys*/, POINT /*at*/) {}
    // Non-zero when the editor set the cursor.
    virtual int UpdateCursor(POINT /*at*/) { return 0; }
    virtual void MouseMove(POINT /*at*/, WPARAM /*keys*/) {}
    // A page command; non-zero when the editor handled it.
    virtual int DoCommand(int /*code*/, int /*argument*/, void* /*data*/) { return 0; }
    virtual bool HasSelection() const { return false; }
    virtual void CollapseSelection(bool /*toEnd*/) {}
    // Where the caret stands (its top) and how tall it is.
    virtual POINT CaretPoint(int& height) const {
        height = 0;
        return {0, 0};
    }
    virtual void SetCaretX(int /*x*/) {}
    virtual bool FindText(const FrameSearch& /*search*/) { return false; }
    virtual void MarkFoundWords(const FrameSearch& /*search*/) {}
    virtual int ShowTooltip(HWND /*target*/, POINT /*at*/) { return 0; }
    // Writes the cell's text as plain text: control codes dropped, tabs kept, CR LF between rows.
    // False when the cell's record is damaged or the writer failed.
    virtual bool WriteText(MemWriter& out);
};

// Where the parts of a text-frame record lie: its rows, view state, highlights and object block.
struct FrameRecordOutline {
    uint8_t version = 0;
    uint16_t rows = 0;
    uint8_t sections = 0;     // bit 0 view state, bit 1 highlights
    uint32_t contentHeight = 0;
    size_t contentHeightAt = 0;  // where the view state's content height lies (0: no view state)
    size_t objectsAt = 0;        // where the object block starts
};

// Walks a text-frame record (versions 1-3) up to its object block; false when a length or count
// runs past the record or the version is unknown.
bool OutlineFrameRecord(std::span<const uint8_t> record, FrameRecordOutline& outline);

// ORs into flags the kinds of the page objects a cell's record holds (the page's saved-block
// bits); an empty record holds none. False when the record is damaged.
bool ScanCellObjectKinds(std::span<const uint8_t> record, uint32_t& flags);

class StoredCellText final : public TableCellEditor {
public:
    // The stored height is believed up to this: a cell taller than a few thousand screens is damage.
    static constexpr int kMaxStoredHeight = 1 << 20;

    explicit StoredCellText(const ColourTable* colours = nullptr) : colours_(colours) {}

    void SetOwnerWindow(HWND window) override { owner_ = window; }
    void Load(std::span<const uint8_t> record) override;
    void ApplyCellStyle(const CellTextStyle& style) override { style_ = style; }
    bool HasChanges(int /*grade*/) const override { return false; }
    std::vector<uint8_t> Serialize() const override { return record_; }
    uint32_t SerializedSize() const override { return static_cast<uint32_t>(record_.size()); }
    void Place(int x, int y) override;
    void SetSize(int width, int height) override;
    int Reflow(HDC /*dc*/) override { return height_; }
    int TextHeight() const override { return height_; }
    void SetBackground(uint8_t colour, int16_t /*picture*/, uint8_t /*mode*/, int16_t /*scrollX*/,
                       int32_t /*scrollY*/) override {
        style_.background = colour;
    }
    void Paint(HDC dc, const RECT& clip) override;
    void SetZoom(int /*percent*/, int /*second*/) override {}

private:
    const ColourTable* colours_;
    HWND owner_ = nullptr;
    std::vector<uint8_t> record_;
    CellTextStyle style_;
    RECT box_{};
    int height_ = 0;
};

}  // namespace lect32

#endif
