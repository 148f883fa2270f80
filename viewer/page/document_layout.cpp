// Laying a document view out: each row line by line through the formatter into the text bands
// that the page's objects leave free, the row heights, the content size and the scroll bars.
#include <algorithm>
#include <array>
#include <climits>

#include "page/document_view.h"
#include "page/document_geometry.h"
#include "page/print_sheets.h"
#include "text/font_cache.h"
#include "text/marker_label.h"
#include "text/style_sheet.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/text.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

// Guards the band walks against objects laid out so that no band ever fits (a damaged page): a
// row gives up placing a line after this many band changes and takes the band it has.
constexpr int kMaxBandChanges = 100000;

int64_t BandBottom(const TextLine& band) {
    return band.height >= TextLine::kUnlimited ? INT64_MAX : int64_t{band.top} + band.height;
}

}  // namespace

std::vector<TabStop> StyleTabStops(const StyleSheet& sheet, uint8_t style) {
    std::array<uint8_t, 255 * TabStop::kStoredSize> raw{};
    // Reading the stops locks the table's block for the moment of the copy only.
    const uint8_t count = const_cast<StyleSheet&>(sheet).GetTabStops().GetStops(style, raw.data());
    std::vector<TabStop> stops;
    for (uint8_t i = 0; i < count; ++i) stops.push_back(TabStop::FromBytes(raw.data() + size_t{i} * TabStop::kStoredSize));
    return stops;
}

void DocumentView::fetchBand(TextLine& band, int64_t y) {
    page_.FitTextLine(static_cast<int32_t>(std::clamp<int64_t>(y, 0, INT32_MAX)), band, 0, 0);
}

void DocumentView::setRowTabStops(uint16_t row, int percent) {
    TabStopList& tabs = GetTextFormatter().Tabs();
    const std::vector<TabStop>& own = rows_[row].tabs;
    if (own.size() < 2) {
        tabs.SetStops(StyleTabStops(styles(), rows_[row].record.Style()));
    } else {
        tabs.SetStops(std::span<const TabStop>(own).first(own.size() - 1));
    }
    if (percent == 0) percent = GetTextZoom();
    if (percent != 0 && percent != 100) tabs.Scale(percent);
    rowTabsLoaded_ = true;
}

BandMerge MergeWithRest(const TextLine& rest, int64_t restTop, int64_t restHeight, TextLine& band) {
    const bool overlaps = rest.spanLeft < band.spanLeft + band.spanWidth && band.spanLeft < rest.spanLeft + rest.spanWidth;
    if (restHeight == 0 || band.top != restTop + restHeight || !overlaps) return {};
    const int left = std::max(rest.spanLeft, band.spanLeft);
    const int right = std::min(rest.spanLeft + rest.spanWidth, band.spanLeft + band.spanWidth);
    const bool narrowed = left != band.spanLeft || right != band.spanLeft + band.spanWidth;
    band.spanLeft = static_cast<int16_t>(left);
    band.spanWidth = static_cast<int16_t>(right - left);
    band.top = static_cast<int32_t>(restTop);
    if (band.kind != TextLine::Kind::NoObjects) band.height = static_cast<int32_t>(band.height + restHeight);
    return {true, narrowed};
}

RowInsets RowInsetsOf(const TextFormat& format) {
    RowInsets in;
    in.left = format.indents.left;
    in.right = format.indents.right;
    const uint8_t sides = format.border.bytes[0] & 0x0F;
    if (sides != 0) {
        const int s = format.border.bytes[1] + format.border.bytes[3];
        in.border = s;
        if (sides & 1) {
            in.left += s;
            in.shift += s;
            in.borderLeft = s;
        }
        if (sides & 2) in.right += s;
        if (sides & 4) in.top += s;
        if (sides & 8) in.below += s;
    }
    if (format.frame.colour != Shadow::kNone) {
        if (format.frame.dy < 0) in.top += -format.frame.dy;
        else in.below += format.frame.dy;
        if (format.frame.dx <= 0) {
            in.left += -format.frame.dx;
            in.frameLeft = -format.frame.dx;
        } else {
            in.left += format.frame.dx;
            in.shift += format.frame.dx;
        }
    }
    return in;
}

// The format's list marker measured on the device: its space before the first line, which also
// raises the first-line indent.
int DocumentView::markerSpace(uint16_t row, TextFormat& format, HDC device, MarkerLabel* keep) {
    if (format.marker.kind == 0) return 0;
    uint16_t number = 0;
    if (format.marker.kind == 2) number = GetListNumber(row);
    else format.marker.extra = 0;
    MarkerLabel marker;
    marker.Build(device, format, number);
    int m = format.marker.extra != 0 ? format.marker.size + marker.Width() : std::max<int>(format.marker.size, marker.Width());
    m = std::max(m, format.indents.furtherLines - format.indents.firstLine);
    if (format.indents.firstLine < m) format.indents.firstLine = static_cast<int16_t>(m);
    if (keep) *keep = marker;
    return m;
}

void DocumentView::Layout(HDC device) {
    if (rows_.empty()) return;
    if (!printing_) {
        visibleWidth_ = sizeWidth_;
        visibleHeight_ = sizeHeight_;
    }
    if (window_ && !printing_) {
        RECT box{};
        GetWindowRect(window_, &box);
        visibleWidth_ = box.right - box.left;
        visibleHeight_ = box.bottom - box.top;
    }
    layingOut_ = true;
    if (style_.widthMode == 0 || style_.widthMode == 2) style_.width = static_cast<int16_t>(visibleWidth_);
    page_.SetLayoutArea(style_);

    const bool ownDevice = device == nullptr;
    if (ownDevice) device = GetDC(window_);
    const HGDIOBJ fontBefore = SelectObject(device, GetStockObject(SYSTEM_FONT));
    TextFormatter& formatter = GetTextFormatter();
    formatter.SetDC(device);
    formatter.SetColourTable(&colours());
    const HCURSOR cursorBefore = SetCursor(LoadCursorA(nullptr, IDC_WAIT));

    verticalBar_ = horizontalBar_ = false;
    for (int pass = 0; pass < 2; ++pass) {
        waitingAnchors_ = page_.DetachAnchoredObjects();
        widestLine_ = 0;
        listCache_ = ListCache{};
        TextLine band;
        fetchBand(band, 0);
        int64_t height = 0;
        bool restart = false;
        // The top margin is the first thing on the printed sheet.
        if (printing_) printing_->SetPrintedOffset(printStart_ + style_.TopMargin());
        for (uint16_t row = 0; row < rows_.size(); ++row) {
            height += layoutRow(row, band, device);
            if (pass == 0 && !printing_ && style_.widthMode == 0 &&
                visibleHeight_ < style_.TopMargin() + style_.BottomMargin() + height) {
                verticalBar_ = true;
                const int thickness = GetSystemMetrics(SM_CXVSCROLL);
                visibleWidth_ -= thickness;
                style_.width = static_cast<int16_t>(style_.width - thickness);
                page_.SetLayoutArea(style_);
                page_.PlaceAnchoredObjects();
                restart = true;
                break;
            }
        }
        if (restart) continue;
        contentHeight_ = static_cast<int32_t>(
            std::min<int64_t>(height + style_.TopMargin() + style_.BottomMargin(), INT32_MAX));
        break;
    }
    const int widest = widestLine_ + style_.LeftMargin() + style_.RightMargin();
    int contentWidth = std::max<int>(style_.width, widest);
    const ObjectExtent extent = page_.GetExtent();
    contentHeight_ = std::max<int32_t>(contentHeight_, style_.TopMargin() + style_.BottomMargin() + extent.bottom);
    const int objectsRight = 2 * style_.LeftMargin() + extent.right;
    contentWidth = std::max(contentWidth, objectsRight);
    if (style_.widthMode == 0 && objectsRight > widest && objectsRight < contentWidth) contentWidth = objectsRight;
    contentWidth_ = static_cast<int16_t>(std::min(contentWidth, 0x7FFF));

    // A page of fixed width (mode 1) is not laid out again for the bar, but a page taller than the
    // window still needs one to be read to its end.
    if (style_.widthMode == 1 && !verticalBar_ && visibleHeight_ < contentHeight_) {
        verticalBar_ = true;
        visibleWidth_ -= GetSystemMetrics(SM_CXVSCROLL);
    }
    if (printing_) {
        // The sheets take the whole content: no bars, and the painting starts where the layout did.
        verticalBar_ = false;
        printing_->SetPrintedOffset(printStart_);
    }
    if (style_.widthMode == 2) verticalBar_ = false;
    horizontalBar_ = visibleWidth_ < contentWidth_ && style_.widthMode != 2 && !printing_;
    if (horizontalBar_) visibleHeight_ -= GetSystemMetrics(SM_CYHSCROLL);
    if (verticalBar_) {
        if (window_) ShowScrollBar(window_, SB_VERT, TRUE);
        SetScrollRange(window_, SB_VERT, contentHeight_, visibleHeight_, true);
        scrollY_ = std::max<int32_t>(0, std::min<int32_t>(scrollY_, contentHeight_ - visibleHeight_));
        SetScrollPos(window_, SB_VERT, scrollY_, true);
    } else if (!printing_) {
        if (window_) ShowScrollBar(window_, SB_VERT, FALSE);
        scrollY_ = 0;
    }
    if (horizontalBar_) {
        if (window_) ShowScrollBar(window_, SB_HORZ, TRUE);
        SetScrollRange(window_, SB_HORZ, contentWidth_, visibleWidth_, true);
        SetScrollPos(window_, SB_HORZ, 0, true);
    } else {
        if (window_ && !printing_) ShowScrollBar(window_, SB_HORZ, FALSE);
        scrollX_ = 0;
    }

    layingOut_ = false;
    SetCursor(cursorBefore);
    page_.PlaceAnchoredObjects();
    formatter.ReleaseFonts();
    SelectObject(device, fontBefore);
    if (ownDevice) ReleaseDC(window_, device);
    laidOutWidth_ = static_cast<uint16_t>(style_.width);
    background_.SetScrollOrigin(static_cast<int16_t>(scrollX_), scrollY_);
    SetTablesScrollOffset(static_cast<int16_t>(scrollX_), scrollY_);
    page_.SetOrigin(static_cast<int16_t>(scrollX_), scrollY_);
    page_.MoveObjectWindows();
}

// Places the objects anchored to the paragraph at y; the band is fetched again there.
void DocumentView::placeAnchors(uint16_t anchor, uint8_t anchoring, TextLine& band, int64_t& used) {
    if (waitingAnchors_ == 0 || anchor == 0) return;
    uint16_t moved = 0;
    for (const PageObject& o : page_.Objects())
        if (o.anchorId == anchor && o.anchoring == anchoring && o.IsParked()) ++moved;
    if (moved == 0) return;
    const int64_t y = band.top + used;
    page_.MoveAnchoredObjects(anchor, static_cast<int32_t>(std::min<int64_t>(y, INT32_MAX)), 0, anchoring);
    waitingAnchors_ = static_cast<uint16_t>(waitingAnchors_ - std::min(moved, waitingAnchors_));
    fetchBand(band, y);
    used = 0;
}

uint32_t DocumentView::layoutRow(uint16_t row, TextLine& band, HDC device) {
    TextFormat format;
    GetRowFormat(row, format);
    if (rows_[row].record.Flags() & RowRecord::kTableBit) return layoutTableRow(row, band, device);
    const int leading = format.GetExtraLeading(GetTextResolution() ? GetTextResolution() : 96);
    const RowInsets in = RowInsetsOf(format);
    TextFormatter& formatter = GetTextFormatter();
    const int64_t rowStart = band.top;
    int64_t used = 0;
    int pending = in.top;
    bool narrowed = false;
    const auto nextBand = [&] {
        fetchBand(band, BandBottom(band));
        used = 0;
    };
    const auto available = [&] { return band.spanWidth - in.left - in.right; };
    // While printing, where the row's part on the current sheet begins (its start, or its last
    // break). Kept in 64 bits: a row may be far taller than 32,767 pixels.
    int64_t sheetPartTop = rowStart;
    const bool breaksSheets = printing_ && mode_ == kNormal;
    const auto passesSheet = [&](int lineHeight) {
        if (!breaksSheets) return false;
        const int64_t onSheet = printing_->PrintedOffset() + (band.top + used - sheetPartTop);
        // A line taller than a whole sheet stays where it is: an empty sheet would not take it either.
        return onSheet > 0 && onSheet + pending + lineHeight > printing_->PrintableHeight();
    };
    const auto breakSheet = [&] {
        const int64_t sheetEnd = sheetPartTop + printing_->PrintableHeight() - printing_->PrintedOffset();
        sheetPartTop = std::max<int64_t>(sheetEnd, band.top + used);
        fetchBand(band, sheetPartTop);
        used = 0;
        printing_->SetPrintedOffset(0);
    };

    // Space before, through whole bands.
    int64_t before = std::max<int16_t>(format.spacing.before, 0);
    if (before != 0) {
        for (int guard = 0; band.height < before && guard < kMaxBandChanges; ++guard) {
            before -= band.height;
            nextBand();
        }
        used += before;
        if (used >= band.height) nextBand();
    }
    placeAnchors(rows_[row].record.AnchorNumber(), 2, band, used);
    markerSpace(row, format, formatter.GetDC(), nullptr);

    std::vector<LineEntry>& lines = rows_[row].lines;
    lines.clear();
    lines.reserve(20);
    rowTabsLoaded_ = false;
    formatter.BeginParagraph(format);
    const std::vector<uint8_t>& text = rows_[row].text;
    size_t position = 0;
    bool lfLine = false;
    const auto tabWidth = [&](int width) {
        if (rowTabsLoaded_) return width;
        setRowTabStops(row, zoomNumerator_);
        const TabStopList& tabs = formatter.Tabs();
        if (tabs.GetCount() <= 0) return width;
        const TabStop& last = tabs.GetStop(tabs.GetCount() - 1);
        const int w = last.position + (last.kind == TabStop::kRight ? 0 : 1) - (band.spanLeft + in.shift);
        return static_cast<uint16_t>(w) > static_cast<uint16_t>(width) ? w : width;
    };
    for (;;) {
        const bool firstLine = lines.empty();
        const std::span<const uint8_t> rest = lfLine ? std::span<const uint8_t>() : std::span<const uint8_t>(text).subspan(position);
        LineOptions options{firstLine ? format.indents.firstLine : format.indents.furtherLines, -1, tabWidth, false};
        LaidOutLine line = LayOutLine(formatter, rest, available(), TextFormatter::kLeft, options);
        int lineHeight = line.Height() + leading;
        for (int guard = 0; band.height < pending + lineHeight + used && guard < kMaxBandChanges; ++guard) {
            const TextLine saved = band;
            const int64_t restTop = band.top + used;
            const int64_t restHeight = band.height - used;
            nextBand();
            narrowed = MergeWithRest(saved, restTop, restHeight, band).narrowed;
            options.again = true;
            line = LayOutLine(formatter, rest, available(), TextFormatter::kLeft, options);
            lineHeight = line.Height() + leading;
        }
        if (passesSheet(lineHeight)) {
            breakSheet();
            options.again = true;
            line = LayOutLine(formatter, rest, available(), TextFormatter::kLeft, options);
            lineHeight = line.Height() + leading;
        }
        const size_t n = line.Bytes();
        const auto [lineLeft, lineRight] = line.GetLineExtent();
        (void)lineLeft;
        widestLine_ = static_cast<int16_t>(std::max<int>(widestLine_, format.indents.left + band.spanLeft + lineRight - in.shift));
        used += pending + lineHeight;
        pending = 0;
        const bool last = lfLine || n == 0 || position + n >= text.size();
        if (narrowed) {
            if (last && used < band.height) used = std::min<int64_t>(used + in.below, band.height);
            band.height = static_cast<int32_t>(used);
            if (!last) narrowed = false;
        }
        lines.push_back(LineEntry{static_cast<uint16_t>(n), static_cast<uint16_t>(std::clamp(lineHeight, 0, 0xFFFF))});
        position += n;
        if (used >= band.height) nextBand();
        if (n == 0 || text.empty() || lfLine) break;
        if (position >= text.size()) {
            if (text.back() != '\n') break;
            lfLine = true;
        }
    }
    formatter.EndParagraph();

    if (!narrowed && in.below != 0 && used < band.height) {
        used = std::min<int64_t>(used + in.below, band.height);
        if (used >= band.height) nextBand();
    }
    placeAnchors(rows_[row].record.AnchorNumber(), 3, band, used);
    int64_t after = std::max<int16_t>(format.spacing.after, 0);
    if (after != 0 && size_t{row} + 1 < rows_.size()) {
        for (int guard = 0; after > band.height - used && guard < kMaxBandChanges; ++guard) {
            after -= band.height - used;
            nextBand();
        }
        used += after;
        if (used >= band.height) nextBand();
    }
    band.top = static_cast<int32_t>(std::min<int64_t>(band.top + used, INT32_MAX));
    if (band.height < TextLine::kUnlimited) band.height = static_cast<int32_t>(band.height - used);
    const uint32_t height = static_cast<uint32_t>(std::clamp<int64_t>(band.top - rowStart, 0, UINT32_MAX));
    SetRowHeight(row, height);
    if (breaksSheets)
        printing_->SetPrintedOffset(static_cast<int32_t>(
            std::min<int64_t>(printing_->PrintedOffset() + (band.top - sheetPartTop), INT32_MAX)));
    return height;
}

// A table row: the table laid out, placed by the paragraph's alignment and consumed through the
// bands. Without a table (none was read) the row is empty and takes no height.
uint32_t DocumentView::layoutTableRow(uint16_t row, TextLine& band, HDC device) {
    rows_[row].lines.clear();
    TableRow* table = rows_[row].table.get();
    if (!table) {
        SetRowHeight(row, 0);
        return 0;
    }
    TextFormat format;
    GetRowFormat(row, format);
    const int64_t rowStart = band.top;
    int64_t used = std::max<int16_t>(format.spacing.before, 0);
    TablePrinting* sheets = printing_ && mode_ == kNormal ? printing_ : nullptr;
    const auto addToSheet = [&](int64_t height) {
        if (sheets) sheets->SetPrintedOffset(static_cast<int32_t>(std::min<int64_t>(sheets->PrintedOffset() + height, INT32_MAX)));
    };
    addToSheet(used);
    table->Layout(device, sheets);
    const SIZE size = table->TotalSize();
    int x = format.indents.left;
    if (format.alignment == 1) x = band.spanLeft + band.spanWidth - format.indents.right - size.cx;
    else if (format.alignment == 3) x = std::max<int>(0, format.indents.left + (band.spanWidth - size.cx) / 2);
    table->SetOrigin(static_cast<int16_t>(x), static_cast<int32_t>(band.top + used));
    widestLine_ = static_cast<int16_t>(std::max<int>(widestLine_, x + size.cx));
    used += size.cy;
    if (size_t{row} + 1 < rows_.size()) {
        used += std::max<int16_t>(format.spacing.after, 0);
        addToSheet(std::max<int16_t>(format.spacing.after, 0));
    }
    fetchBand(band, band.top + used);
    const uint32_t height = static_cast<uint32_t>(std::clamp<int64_t>(band.top - rowStart, 0, UINT32_MAX));
    SetRowHeight(row, height);
    return height;
}

}  // namespace lect32
