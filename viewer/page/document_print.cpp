// Printing a document view: the rows laid out on the printer and painted sheet after sheet of
// continuous paper. While printing, the view's vertical scroll position is where the current
// sheet's top edge lies in the content, so that rows, objects, tables and the background are
// placed on the sheet exactly as they are placed in a window scrolled there.
#include <algorithm>
#include <climits>

#include "page/document_view.h"
#include "page/print_sheets.h"
#include "text/colour_table.h"
#include "text/text_formatter.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace lect32 {
namespace {

// Objects on a sheet are painted whatever their horizontal place.
constexpr int kSheetReach = 30000;

}  // namespace

void DocumentView::LayoutForPrint(HDC printer, PrintSheets& sheets, int width) {
    printing_ = &sheets;
    printStart_ = sheets.PrintedOffset();
    visibleWidth_ = width;
    visibleHeight_ = sheets.PrintableHeight();
    scrollX_ = 0;
    scrollY_ = -printStart_;
    Layout(printer);
}

void DocumentView::EndPrint() {
    printing_ = nullptr;
    printStart_ = 0;
    scrollX_ = 0;
    scrollY_ = 0;
    laidOutWidth_ = 0;
    background_.SetScrollOrigin(0, 0);
    SetTablesScrollOffset(0, 0);
    page_.SetOrigin(0, 0);
}

void DocumentView::setPrintedSheetTop(int64_t top) {
    scrollY_ = static_cast<int32_t>(std::clamp<int64_t>(style_.TopMargin() + top, INT32_MIN, INT32_MAX));
    background_.SetScrollOrigin(static_cast<int16_t>(scrollX_), scrollY_);
    SetTablesScrollOffset(static_cast<int16_t>(scrollX_), scrollY_);
    page_.SetOrigin(static_cast<int16_t>(scrollX_), scrollY_);
}

void DocumentView::turnPrintedSheet(HDC device, int64_t top) {
    const RECT sheet{-kSheetReach, 0, kSheetReach, printing_->PrintableHeight()};
    winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(colours().GetColour(style_.backgroundColour)));
    page_.PaintObjects(sheet, device, brush.get(), PaintPass::OverText);
    printing_->BreakPage();
    setPrintedSheetTop(top);
    page_.PaintObjects(sheet, device, brush.get(), PaintPass::BehindText);
}

void DocumentView::PrintRows(HDC device) {
    if (!printing_ || rows_.empty() || !device) return;
    selectPalette(device);
    setPrintedSheetTop(-int64_t{style_.TopMargin()} - printStart_);
    const int modeBefore = SetBkMode(device, OPAQUE);
    const HGDIOBJ fontBefore = SelectObject(device, GetStockObject(SYSTEM_FONT));
    winplat::GdiObject<HBRUSH> pageBrush(CreateSolidBrush(colours().GetColour(style_.backgroundColour)));
    prepareRowPainting(device);
    const RECT clip{-kSheetReach, 0, kSheetReach, printing_->PrintableHeight()};
    page_.PaintObjects(clip, device, pageBrush.get(), PaintPass::BehindText);

    TextLine band;
    fetchBand(band, 0);
    int64_t rowsHeight = 0;
    for (uint16_t row = 0; row < rows_.size(); ++row) {
        Paint(device, row, band, clip);
        rowsHeight += rows_[row].record.Height();
    }
    page_.PaintObjects(clip, device, pageBrush.get(), PaintPass::OverText);
    // Objects that reach below the text take their room on the sheet too; what passes the sheet
    // is cut at its end and the next content starts on a new sheet.
    const int64_t rest = std::max<int64_t>(int64_t{contentHeight_} - style_.TopMargin() - style_.BottomMargin() - rowsHeight, 0);
    int64_t end = int64_t{style_.TopMargin()} + rowsHeight - scrollY_ + rest;
    if (end > printing_->PrintableHeight()) {
        printing_->BreakPage();
        end = 0;
    }
    printing_->SetPrintedOffset(static_cast<int32_t>(std::max<int64_t>(end, 0)));

    endRowPainting();
    SelectObject(device, fontBefore);
    SetBkMode(device, modeBefore);
}

}  // namespace lect32
