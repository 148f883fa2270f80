// The content of one page of a document in a window: rows (paragraphs) of formatted text with
// their control codes, rows that hold a table, and the page's objects around which the text
// flows. The view lays the rows out line by line through the process-wide formatter, keeps per
// row the laid-out lines (bytes and height each), paints rows, objects, marked ranges and the
// selection, scrolls, and maps points to text positions and back.
//
// Four operations are virtual, in this order, so that embedded views (text frames, table cells)
// and the input layer take part: SetScrollRange, SetScrollPos, Layout, ScrollIntoView.
//
// Vertical positions are 32-bit (a page may be taller than 32,767 pixels), horizontal ones
// 16-bit; row, line and character indices are 16-bit.
#ifndef LECT32_PAGE_DOCUMENT_VIEW_H
#define LECT32_PAGE_DOCUMENT_VIEW_H

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "page/hotspot_geometry.h"
#include "page/page.h"
#include "page/page_background.h"
#include "page/page_style.h"
#include "page/table_row.h"
#include "page/text_line.h"
#include "page/text_link.h"
#include "text/text_format.h"
#include "text/text_formatter.h"
#include "winplat/byte_reader.h"
#include "winplat/types.h"

namespace lect32 {

class ColourTable;
class MarkerLabel;
class PrintSheets;
class StyleSheet;

// One laid-out line of a row: the bytes of the row text it takes and its height.
struct LineEntry {
    uint16_t chars = 0;
    uint16_t height = 0;
    bool operator==(const LineEntry&) const = default;
};

// Where a line of a row stands (filled by PositionToPoint and LocateLine).
struct LineInfo {
    uint16_t line = 0;
    uint16_t lineCount = 0;
    uint16_t firstChar = 0;
    uint16_t charCount = 0;
    int32_t top = 0;  // relative to the visible area
    int16_t left = 0;
    int16_t width = 0;
};

struct CaretBox {
    int16_t x = 0;
    int16_t top = 0;
    int16_t baseline = 13;
    int16_t ascent = 13;
    int16_t descent = 3;
    int16_t height = 16;
};

// The row record as the page stores it: u32 height, style byte, u16 presence flags of the packed
// paragraph format (bit 15: the row holds a table), then the packed parts.
struct RowRecord {
    static constexpr size_t kHeaderSize = 7;
    static constexpr uint16_t kAnchorBit = 0x0001;
    static constexpr uint16_t kTableBit = 0x8000;
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kHeaderSize, 0);

    uint32_t Height() const;
    void SetHeight(uint32_t height);
    uint8_t Style() const { return bytes[4]; }
    uint16_t Flags() const;
    void SetFlags(uint16_t flags);
    uint16_t AnchorNumber() const;
};

struct ViewRow {
    RowRecord record;
    std::vector<TabStop> tabs;  // as stored; the view uses the first C - 1 of C
    std::vector<uint8_t> text;
    std::vector<LineEntry> lines;
    std::vector<std::pair<uint16_t, uint16_t>> marked;  // search hits: (start, end)
    std::unique_ptr<TableRow> table;                     // with the record's table bit
};

// What the view needs from its window and the rest of the program.
struct ViewServices {
    const StyleSheet* styles = nullptr;   // null: the document's
    const ColourTable* colours = nullptr;  // null: the document's
    TableRowReader readTable;              // null: table rows are skipped and stay empty
};

class DocumentView {
public:
    enum Mode : uint8_t { kNormal = 0, kInactive = 1, kEmbedded = 2 };
    static constexpr uint16_t kNoLine = 0xFFFF;
    static constexpr int kLineStep = 30;
    static constexpr int kNoMarker = -100;
    // Window words of the LCNDOCUMENT class, by role.
    static constexpr int kViewWord = 0;
    static constexpr int kScaleWord = 4;
    // Messages to the parent window.
    static constexpr UINT kPaintedMessage = 9016;
    static constexpr UINT kViewChangedMessage = 9019;

    explicit DocumentView(PageServices pageServices = {}, ViewServices services = {});
    virtual ~DocumentView();
    DocumentView(const DocumentView&) = delete;
    DocumentView& operator=(const DocumentView&) = delete;

    // ---- the four virtual operations, in slot order
    virtual void SetScrollRange(HWND window, int bar, int range, int page, bool redraw);
    virtual void SetScrollPos(HWND window, int bar, int position, bool redraw);
    virtual void Layout(HDC device);
    virtual int ScrollIntoView(int row, LineInfo* line, CaretBox* caret);

    // ---- life and content
    void Clear(bool freeAll);
    void Reset();
    void AppendRow();
    // Appends a row made of its parts (the record's height is left to the layout).
    bool AppendRow(std::span<const uint8_t> record, std::span<const uint8_t> text, std::span<const TabStop> tabs = {});
    void SetWindow(HWND window);
    HWND Window() const { return window_; }
    // Reads a page's content: 2 ignored bytes, u16 rows, per row u16 + record, u16 count + tab
    // stops, u16 + text (a table after a row with the table bit), 1 ignored byte, the objects.
    // A damaged record empties the view (one empty row) and says on the debug output which check
    // refused it; false then.
    bool LoadPage(winplat::ByteReader& in);
    void SetPageStyle(const PageStyle& style);
    const PageStyle& Style() const { return style_; }
    void SetZoom(uint16_t numerator, uint16_t denominator);
    void OnSize(int width, int height);
    void SetScrollOrigin(int16_t x, int16_t y);
    void SetMode(Mode mode) { mode_ = mode; }
    Mode GetMode() const { return mode_; }
    void SetDocumentSlot(int8_t slot) { documentSlot_ = slot; }
    int8_t DocumentSlot() const { return documentSlot_; }
    Page& GetPage() { return page_; }
    PageBackground& Background() { return background_; }

    // ---- rows
    uint16_t RowCount() const { return static_cast<uint16_t>(rows_.size()); }
    const ViewRow& Row(uint16_t row) const { return rows_[row]; }
    TableRow* GetRowObject(uint16_t row) const;
    void SetRowObject(uint16_t row, std::unique_ptr<TableRow> table);
    // The row's format (style, packed overrides, zoom); the row's height.
    uint32_t GetRowFormat(uint16_t row, TextFormat& format) const;
    uint32_t GetRowHeight(uint16_t row) const;
    void SetRowHeight(uint16_t row, uint32_t height);
    uint16_t GetAnchorNumber(uint16_t row) const;
    // The row's top relative to the visible area (a row past the end is the last), and height.
    int32_t GetRowTop(uint16_t row, uint32_t* height = nullptr) const;
    uint16_t GetLineCount(uint16_t row) const;
    void SetMarkedRanges(uint16_t row, std::vector<std::pair<uint16_t, uint16_t>> ranges);

    // ---- text positions
    uint16_t SkipControlCodes(uint16_t row, uint16_t position) const;
    uint16_t PrevTextPosition(uint16_t row, uint16_t position) const;
    // The start of the link block around the position and its end (0xFFFF: no end follows).
    void FindLink(uint16_t row, uint16_t position, uint16_t& first, uint16_t& end) const;

    uint32_t GetSerializedSize(bool withObjects);
    void ApplyPageStyleToTables(const PageStyle& style);
    void SetTablesScrollOffset(int16_t x, int32_t y);
    uint16_t GetListNumber(uint16_t row);

    // ---- layout state
    int32_t ContentHeight() const { return contentHeight_; }
    int16_t ContentWidth() const { return contentWidth_; }
    int VisibleWidth() const { return visibleWidth_; }
    int VisibleHeight() const { return visibleHeight_; }
    int32_t ScrollY() const { return scrollY_; }
    uint16_t ScrollX() const { return scrollX_; }
    int16_t WidestLine() const { return widestLine_; }
    uint16_t LaidOutWidth() const { return laidOutWidth_; }
    bool VerticalBarShown() const { return verticalBar_; }
    bool HorizontalBarShown() const { return horizontalBar_; }

    // ---- painting
    // WM_PAINT without a device; else paints on the device within the clip (null: the whole
    // visible area).
    void OnPaint(HDC device, const RECT* clip = nullptr);
    // Paints one row whose top is at the band's current place.
    void Paint(HDC device, uint16_t row, TextLine& band, const RECT& clip);
    void InvertRange(uint16_t startRow, uint16_t startPos, uint16_t endRow, uint16_t endPos, bool show);
    // Rows of style 250 (the contents tree's) show a tree icon where a list marker would stand,
    // drawn by whoever keeps the tree's look; without one they show their marker.
    using TreeIconPainter = std::function<void(HDC device, int x, int y, const TextFormat& format)>;
    static void SetTreeIconPainter(TreeIconPainter painter);
    void HideCaretMarker(bool keep);
    void SetCaretMarker(int y) { markerY_ = y; }
    int CaretMarkerY() const { return markerY_; }

    // ---- printing (document_print.cpp)
    // Lays the rows out on the printer, 'width' device pixels wide, from where the current sheet
    // is used on; rows that pass a sheet's printable height go on at the next sheet's top. Until
    // EndPrint the view belongs to the print run.
    void LayoutForPrint(HDC printer, PrintSheets& sheets, int width);
    // Paints every row on the sheets, breaking them where the layout did.
    void PrintRows(HDC device);
    // Back to the screen: laid out again before the next paint.
    void EndPrint();
    bool Printing() const { return printing_ != nullptr; }

    // ---- scrolling
    int ScrollBy(int32_t dy);
    int LineUp();
    int LineDown();
    int PageUp();
    int PageDown();
    int ScrollToTop();
    int ScrollToBottom();
    int ScrollByCode(int code);
    int ScrollTo(int32_t position);
    int ScrollLeft(int divisor, int amount);
    int ScrollRight(int divisor, int amount);
    int SetHorizontalPos(int position);
    int OnMouseWheel(bool down);
    int GetScrollState();
    void GetContentSize(int& width, int32_t& height) const {
        width = contentWidth_;
        height = contentHeight_;
    }

    // ---- hit testing
    uint16_t RowFromY(int32_t y, int32_t* top = nullptr, uint32_t* height = nullptr) const;
    // With a line index: that line's place; with kNoLine: the line at y (0 found, 1 above the
    // first line). Fills 'out' and returns 0 when found.
    int LocateLine(uint16_t row, int32_t rowTop, uint16_t line, int32_t y, LineInfo& out);
    uint16_t LineFromY(int32_t y, uint16_t& rowOut, bool exact, bool noClamp);
    uint16_t HitTest(uint16_t row, uint16_t line, int x, int32_t y);
    bool PositionToPoint(uint16_t row, uint16_t position, LineInfo* line, CaretBox* caret);
    // The link around the position: its first payload byte, target bytes and rectangle in
    // screen coordinates. False outside a link or for a link with no text.
    bool GetLinkAt(uint16_t row, uint16_t position, uint8_t* firstByte, std::vector<uint8_t>* link, RECT* rect);
    // The same link with its target decoded; false also when the stored target does not decode.
    bool GetLinkAt(uint16_t row, uint16_t position, const LinkDecoding& how, TextLink& out, bool withRect);

    // ---- selection
    struct Selection {
        bool active = false;
        bool shown = false;
        uint16_t startRow = 0, startPos = 0, endRow = 0, endPos = 0;
    };
    void SetSelection(uint16_t anchorRow, uint16_t anchorPos, uint16_t row, uint16_t pos, bool shown);
    void CollapseSelection(bool toEnd);
    void EndSelection();
    const Selection& GetSelection() const { return selection_; }
    uint16_t CaretRow() const { return caretRow_; }
    uint16_t CaretPos() const { return caretPos_; }
    void SetCaret(uint16_t row, uint16_t pos) {
        caretRow_ = row;
        caretPos_ = pos;
    }
    bool RefreshFlag() const { return refresh_; }

protected:

    const StyleSheet& styles() const;
    const ColourTable& colours() const;
    void takeWindowToPage();
    bool loadRows(winplat::ByteReader& in);
    void fetchBand(TextLine& band, int64_t y);
    uint32_t layoutRow(uint16_t row, TextLine& band, HDC device);
    uint32_t layoutTableRow(uint16_t row, TextLine& band, HDC device);
    void setRowTabStops(uint16_t row, int percent);
    int markerSpace(uint16_t row, TextFormat& format, HDC device, MarkerLabel* keep);
    void placeAnchors(uint16_t anchor, uint8_t anchoring, TextLine& band, int64_t& used);
    void scrollTail(bool vertical);
    int moveVertically(int32_t to, bool invalidate);
    int handOnToFrame(int code);
    bool atBottom() const;
    int moveHorizontally(int to);
    template <class Visit>
    void walkLines(uint16_t row, int32_t rowTop, Visit&& visit);
    bool layLine(uint16_t row, uint16_t line, HDC device, LaidOutLine& out, int& x, LineInfo& info);
    void paintTableRow(HDC device, uint16_t row, TextLine& band, const RECT& clip);
    void fillBesideTable(HDC device, uint16_t row, const TableRow& table, const RECT& clip);
    void selectPalette(HDC device);
    // Before rows are painted on a device (screen or sheet): list numbers counted afresh and the
    // formatter drawing there with this view's colours and page background.
    void prepareRowPainting(HDC device);
    void endRowPainting();
    // While printing: the sheet shows the content from page y 'top' at its top edge.
    void setPrintedSheetTop(int64_t top);
    // The objects in front of the text end the sheet; the next starts at 'top' with those behind.
    void turnPrintedSheet(HDC device, int64_t top);
    bool breaksPrintedSheets() const { return printing_ && mode_ == kNormal; }
    void fillMargins(HDC device, const RECT& clip, HBRUSH brush);
    // The part of the row inside a shown selection: (from, to), or (-1, -1).
    std::pair<int, int> selectionPart(uint16_t row) const;
    void invertPart(LaidOutLine& line, uint16_t start, uint16_t end, size_t lineStart, size_t lineBytes, int x, int y,
                    int leading);

    ViewServices services_;
    Mode mode_ = kNormal;
    bool refresh_ = false;
    HWND window_ = nullptr;
    uint16_t zoomNumerator_ = 0;
    uint16_t zoomDenominator_ = 0;
    int visibleHeight_ = 0;
    int visibleWidth_ = 0;
    int sizeWidth_ = 0;  // the window's size as WM_SIZE gave it, before the layout's scroll bars
    int sizeHeight_ = 0;
    bool layingOut_ = false;
    int32_t contentHeight_ = 0;
    int16_t contentWidth_ = 0;
    int32_t scrollY_ = 0;
    uint16_t scrollX_ = 0;
    int16_t originX_ = 0;
    int16_t originY_ = 0;
    int16_t widestLine_ = 0;
    uint16_t waitingAnchors_ = 0;
    bool verticalBar_ = false;
    bool horizontalBar_ = false;
    PageBackground background_;
    uint16_t laidOutWidth_ = 0;
    uint16_t caretRow_ = 0;
    uint16_t caretPos_ = 0;
    uint16_t anchorMaximum_ = 0;
    int markerY_ = kNoMarker;
    struct ListCache {
        int32_t row = -1;
        uint16_t number = 0;
        uint8_t style = 0;
        uint8_t level = 0;
    } listCache_;
    Selection selection_;
    Page page_;
    PageStyle style_;
    std::vector<ViewRow> rows_;
    int8_t documentSlot_ = 0;
    bool rowTabsLoaded_ = false;
    PrintSheets* printing_ = nullptr;  // while a print run owns the view
    int32_t printStart_ = 0;           // where on its sheet the printed content starts
};

// The member of the linked documents that is active, and the switch to another. A view showing a
// page of another member paints with that member active, the previous one active again after.
// The navigation layer fills it in; without it every view paints as things stand.
struct DocumentActivation {
    std::function<int8_t()> active;
    std::function<void(int8_t member)> activate;
};
void SetDocumentActivation(DocumentActivation activation);

// What every reader of stored rows checks before the layout sees a row: each control sequence of
// the text whole, and the record's packed format read whole within it.
bool RowTextWhole(std::span<const uint8_t> text);
bool RowFormatWhole(std::span<const uint8_t> record);

// Registers the LCNDOCUMENT window class (once per process); false when it cannot.
bool RegisterDocumentWindowClass();
LRESULT CALLBACK DocumentWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The vertical bar's range and position scaled into the 16-bit range a scroll bar keeps: the
// factor goes into the window's scale word.
void SetScaledScrollRange(HWND window, int bar, int range, int page, bool redraw);
void SetScaledScrollPos(HWND window, int bar, int position, bool redraw);
int GetScrollScale(HWND window);

}  // namespace lect32

#endif
