// Painting a document view: the page background in the margins, the objects behind and in front
// of the text, and each row's lines with its paragraph frame, shadow and border, list marker,
// marked ranges and the selection. Rows are walked through the text bands exactly as the layout
// walked them, so every line is drawn where it was measured.
#include <algorithm>
#include <climits>

#include "page/clip_scope.h"
#include "page/document_geometry.h"
#include "page/document_view.h"
#include "page/print_sheets.h"
#include "pixmill/pixmill.h"
#include "text/colour_table.h"
#include "text/marker_label.h"
#include "text/style_sheet.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/region.h"
#include "winplat/text.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr int kFrameHeightCap = 10000;
constexpr int kMaxBandChanges = 100000;  // as the layout: no band ever fits on a damaged page
constexpr int kMarkerWidth = 7;
constexpr int kMarkerHeight = 13;

DocumentView::TreeIconPainter& treeIconPainter() {
    static DocumentView::TreeIconPainter painter;
    return painter;
}

void FillSolid(HDC device, int left, int top, int right, int bottom, HBRUSH brush) {
    if (right <= left || bottom <= top) return;
    RECT box{left, top, right, bottom};
    FillRect(device, &box, brush);
}

}  // namespace

FrameGeometry FrameGeometryOf(const TextFormat& format, const RowInsets& in) {
    FrameGeometry g;
    g.leftIndent = format.indents.left;
    g.rightIndent = format.indents.right;
    g.sides = format.border.bytes[0] & 0x0F;
    g.lineWidth = format.border.bytes[1];
    g.s = in.border;
    g.shadowColour = format.frame.colour;
    if (g.shadowColour != Shadow::kNone) {
        if (format.frame.dx < 0) g.dxL = -format.frame.dx;
        if (format.frame.dx > 0) g.dxR = format.frame.dx;
        if (format.frame.dy < 0) g.dyT = -format.frame.dy;
        if (format.frame.dy > 0) g.dyB = format.frame.dy;
    }
    return g;
}

// One band piece of a paragraph's frame: the side fills of the margins, the shadow strips and
// the border lines, each in the order that lets later strips cover earlier ones.
void PaintFrameLine(HDC device, const FrameGeometry& g, const FramePiece& piece, const FrameBrushes& brushes,
                    PageBackdrop* backdrop) {
    int x = piece.x;
    int w = piece.width;
    int top = piece.top;
    int h = piece.height;
    int b = piece.bottomSpace;
    const bool first = piece.runningHeight == 0;
    const auto background = [&](int left, int t, int right, int bottom) {
        if (piece.overObject || right <= left || bottom <= t) return;
        RECT box{left, t, right, bottom};
        if (backdrop) backdrop->FillIfShown(device, box, brushes.page);
        else FillRect(device, &box, brushes.page);
    };
    const bool box = piece.boxForm;
    if (g.leftIndent != 0 || g.rightIndent != 0 || g.shadowColour != Shadow::kNone || piece.extraWidth != 0) {
        if (box) {
            background(x, top, x + g.leftIndent + piece.extraX, top + h);
            background(x + g.leftIndent + piece.extraWidth, top, x + w, top + h);
            x = x + g.leftIndent + piece.extraX - g.dxL - ((g.sides & 1) ? g.s : 0);
            w = piece.extraWidth - piece.extraX + g.dxL + g.dxR + ((g.sides & 1) ? g.s : 0) + ((g.sides & 2) ? g.s : 0);
        } else {
            background(x, top, x + g.leftIndent + g.dxL, top + h);
            background(x + w - g.rightIndent - g.dxR, top, x + w, top + h);
            x += g.leftIndent;
            w -= g.leftIndent + g.rightIndent;
        }
        if (first && g.dyT) background(x, top, x + w, top + g.dyT);
        if (b > 0 && g.dyB) background(x, top + h - std::min(b, g.dyB), x + w, top + h);
    }
    if (g.shadowColour != Shadow::kNone && brushes.shadow) {
        if (first && g.dyT) {
            FillSolid(device, x + g.dxR, top, x + w - g.dxL, top + g.dyT, brushes.shadow);
            top += g.dyT;
            h -= g.dyT;
        } else if (g.dyB) {
            const int t = (g.sides & 8) ? g.s : 0;
            if (t < b) {
                FillSolid(device, x + g.dxR, top + h - b + t, x + w - g.dxL, top + h, brushes.shadow);
                h -= b - t;
                b = t;
            }
        }
        int a = first ? g.dyB : std::max(g.dyB - piece.runningHeight, 0);
        int c = g.dyT;
        if (b > 0 && b < g.s) c = g.dyT - g.s + b;
        else if (b == 0 && (g.sides & 8)) c = g.dyT - g.s;
        if (g.dxL) {
            FillSolid(device, x, top + a, x + g.dxL, top + h - c, brushes.shadow);
            x += g.dxL;
            w -= g.dxL;
        }
        if (g.dxR) {
            FillSolid(device, x + w - g.dxR, top + a, x + w, top + h - c, brushes.shadow);
            w -= g.dxR;
        }
    }
    if (g.sides == 0) return;
    const auto paragraphFill = [&](int left, int t, int right, int bottom) {
        if (piece.overObject || right <= left || bottom <= t) return;
        RECT rect{left, t, right, bottom};
        if (backdrop) backdrop->FillIfShown(device, rect, brushes.paragraph);
        else FillRect(device, &rect, brushes.paragraph);
    };
    if ((g.sides & 4) && first) {
        paragraphFill(x, top, x + w, top + g.s);
        FillSolid(device, x, top, x + w, top + g.lineWidth, brushes.border);
        top += g.lineWidth;
        h -= g.lineWidth;
    }
    if ((g.sides & 8) && b > 0) {
        paragraphFill(x, top + h - b, x + w, top + h);
        const int line = std::min(g.lineWidth, b);
        FillSolid(device, x, top + h - line, x + w, top + h, brushes.border);
        h -= line;
    }
    if (g.sides & 1) {
        paragraphFill(x, top, x + g.s, top + h);
        FillSolid(device, x, top, x + g.lineWidth, top + h, brushes.border);
    }
    if (g.sides & 2) {
        paragraphFill(x + w - g.s, top, x + w, top + h);
        FillSolid(device, x + w - g.lineWidth, top, x + w, top + h, brushes.border);
    }
}

void DocumentView::SetTreeIconPainter(TreeIconPainter painter) { treeIconPainter() = std::move(painter); }

// An 8-bit device shows the document's colours through the image library's palette.
void DocumentView::selectPalette(HDC device) {
    if (GetDeviceCaps(device, BITSPIXEL) == 8) PXLSet256PaletteToDC(device, 0);
}

void DocumentView::prepareRowPainting(HDC device) {
    listCache_ = ListCache{};
    TextFormatter& formatter = GetTextFormatter();
    formatter.SetDC(device);
    formatter.SetColourTable(&colours());
    formatter.SetPageBackdrop(&background_);
}

// The formatter lets go of the fonts it made for this device and of the page background.
void DocumentView::endRowPainting() {
    TextFormatter& formatter = GetTextFormatter();
    formatter.ReleaseFonts();
    formatter.SetPageBackdrop(nullptr);
}

void DocumentView::fillMargins(HDC device, const RECT& clip, HBRUSH brush) {
    const int lm = style_.LeftMargin(), rm = style_.RightMargin(), tm = style_.TopMargin();
    const int pageRight = style_.width - scrollX_;
    if (lm != 0 || rm != 0 || scrollY_ < tm) {
        if (scrollY_ < tm) {
            RECT top{lm - scrollX_ + originX_, originY_, pageRight - rm + originX_, tm - scrollY_ + originY_};
            background_.FillIfShown(device, top, brush);
        }
        RECT left{originX_, clip.top, lm - scrollX_ + originX_, clip.bottom};
        background_.FillIfShown(device, left, brush);
        RECT right{pageRight - rm + originX_, clip.top, pageRight + originX_, clip.bottom};
        background_.FillIfShown(device, right, brush);
    }
    if (pageRight < visibleWidth_) {
        RECT beside{pageRight + originX_, clip.top, visibleWidth_ + originX_, clip.bottom};
        background_.FillIfShown(device, beside, brush);
    }
    const int32_t rowsEnd = GetRowTop(static_cast<uint16_t>(rows_.size() - 1)) + static_cast<int32_t>(rows_.back().record.Height());
    if (rowsEnd < clip.bottom) {
        RECT below{originX_, std::max<int>(rowsEnd + originY_, clip.top), visibleWidth_ + originX_, clip.bottom};
        background_.FillIfShown(device, below, brush);
    }
}

void DocumentView::OnPaint(HDC device, const RECT* area) {
    if (!device && !rows_.empty() && style_.width != laidOutWidth_) Layout(nullptr);
    PAINTSTRUCT ps{};
    RECT clip = area ? *area : RECT{0, 0, visibleWidth_, visibleHeight_};
    const bool begun = device == nullptr;
    if (begun) {
        device = BeginPaint(window_, &ps);
        clip = ps.rcPaint;
    }
    if (rows_.empty() || !device) {
        if (begun) EndPaint(window_, &ps);
        return;
    }
    selectPalette(device);
    page_.DrawSelectionFrame();
    const int modeBefore = SetBkMode(device, OPAQUE);
    const HGDIOBJ fontBefore = SelectObject(device, GetStockObject(SYSTEM_FONT));
    winplat::GdiObject<HBRUSH> pageBrush(CreateSolidBrush(colours().GetColour(style_.backgroundColour)));
    prepareRowPainting(device);
    fillMargins(device, clip, pageBrush.get());
    page_.PaintObjects(clip, device, pageBrush.get(), lect32::PaintPass::BehindText);

    int32_t top = 0;
    uint16_t row = RowFromY(0, &top);
    TextLine band;
    bool fetched = false;
    for (; row < rows_.size(); ++row) {
        const int32_t rowTop = GetRowTop(row);
        const int64_t rowBottom = int64_t{rowTop} + rows_[row].record.Height();
        if (!fetched) {
            fetchBand(band, int64_t{scrollY_} + rowTop - style_.TopMargin());
            fetched = true;
        }
        if (rowBottom + originY_ <= clip.top) {
            band.top = static_cast<int32_t>(std::min<int64_t>(int64_t{band.top} + rows_[row].record.Height(), INT32_MAX));
            fetchBand(band, band.top);
            continue;
        }
        Paint(device, row, band, clip);
        if (rowBottom + originY_ >= clip.bottom) break;
    }
    page_.PaintObjects(clip, device, pageBrush.get(), lect32::PaintPass::OverText);
    endRowPainting();
    SelectObject(device, fontBefore);
    SetBkMode(device, modeBefore);
    if (begun) EndPaint(window_, &ps);
    page_.DrawSelectionFrame();
    if (mode_ == kNormal && window_) {
        if (const HWND parent = GetParent(window_)) {
            SendMessageA(parent, kPaintedMessage, 0, 0);
            SendMessageA(parent, kViewChangedMessage, 0, 0);
        }
    }
}

void DocumentView::paintTableRow(HDC device, uint16_t row, TextLine& band, const RECT& clip) {
    // In page pixels: a sheet the table ends while printing moves the view's position.
    const int64_t rowPageTop = int64_t{GetRowTop(row)} + scrollY_ - style_.TopMargin();
    if (TableRow* table = rows_[row].table.get()) {
        fillBesideTable(device, row, *table, clip);
        const int tm = style_.TopMargin();
        const int64_t tableTop = int64_t{tm} + table->OriginY() - scrollY_;
        if (printing_ && mode_ == kNormal) {
            // The table breaks its own rows over the sheets; the rows after it go on where it ended.
            const int ended = printing_->SheetsEnded();
            printing_->SetPrintedOffset(static_cast<int32_t>(std::clamp<int64_t>(tableTop, 0, INT32_MAX)));
            table->Paint(device, clip, printing_, static_cast<int32_t>(tableTop));
            if (printing_->SheetsEnded() != ended)
                setPrintedSheetTop(int64_t{table->OriginY()} + table->TotalSize().cy - printing_->PrintedOffset());
        } else {
            table->Paint(device, clip, nullptr, 0);
        }
    }
    band.top = static_cast<int32_t>(std::min<int64_t>(rowPageTop + rows_[row].record.Height(), INT32_MAX));
    fetchBand(band, band.top);
}

// The table paints only its own box: the rest of its row (the space before and after it and the
// room beside it) is page.
void DocumentView::fillBesideTable(HDC device, uint16_t row, const TableRow& table, const RECT& clip) {
    uint32_t height = 0;
    const int64_t top = int64_t{GetRowTop(row, &height)} + originY_;
    const int64_t bottom = top + height;
    const SIZE size = table.TotalSize();
    const int64_t tableTop = int64_t{style_.TopMargin()} + table.OriginY() - scrollY_ + originY_;
    const int64_t tableLeft = int64_t{style_.LeftMargin()} + table.OriginX() - scrollX_ + originX_;
    const int left = std::max<int>(clip.left, originX_);
    const int right = std::min<int>(clip.right, visibleWidth_ + originX_);
    const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(colours().GetColour(style_.backgroundColour)));
    const auto fill = [&](int64_t l, int64_t t, int64_t r, int64_t b) {
        RECT box{static_cast<LONG>(std::clamp<int64_t>(l, left, right)), static_cast<LONG>(std::clamp<int64_t>(t, clip.top, clip.bottom)),
                 static_cast<LONG>(std::clamp<int64_t>(r, left, right)), static_cast<LONG>(std::clamp<int64_t>(b, clip.top, clip.bottom))};
        if (box.right > box.left && box.bottom > box.top) background_.FillIfShown(device, box, brush.get());
    };
    const int64_t tableBottom = std::min(tableTop + size.cy, bottom);
    fill(left, top, right, std::min(tableTop, bottom));
    fill(left, std::max(tableTop, top), tableLeft, tableBottom);
    fill(tableLeft + size.cx, std::max(tableTop, top), right, tableBottom);
    fill(left, std::max(tableBottom, top), right, bottom);
}

void DocumentView::Paint(HDC device, uint16_t row, TextLine& band, const RECT& clip) {
    TextFormat format;
    GetRowFormat(row, format);
    if (rows_[row].record.Flags() & RowRecord::kTableBit) {
        paintTableRow(device, row, band, clip);
        return;
    }
    const ViewRow& r = rows_[row];
    const RowInsets in = RowInsetsOf(format);
    const int leading = format.GetExtraLeading(GetTextResolution() ? GetTextResolution() : 96);
    if (format.colours.background == ColourPair::kNone) format.colours.background = style_.backgroundColour;
    else background_.SetShown(false);
    MarkerLabel marker;
    if (format.marker.kind != 0 && format.marker.colour == 255) format.marker.colour = format.colours.text;
    const int m = markerSpace(row, format, device, &marker);
    const FrameGeometry frame = FrameGeometryOf(format, in);
    const bool frameGeometry = frame.shadowColour != Shadow::kNone || frame.sides != 0 || frame.leftIndent != 0 || frame.rightIndent != 0;
    const bool boxForm = (format.border.bytes[0] & 0x80) && r.lines.size() == 1;

    winplat::GdiObject<HBRUSH> pageBrush(CreateSolidBrush(colours().GetColour(style_.backgroundColour)));
    winplat::GdiObject<HBRUSH> shadowBrush(frame.shadowColour != Shadow::kNone ? CreateSolidBrush(colours().GetColour(frame.shadowColour)) : nullptr);
    winplat::GdiObject<HBRUSH> paragraphBrush(CreateSolidBrush(colours().GetColour(format.colours.background)));
    winplat::GdiObject<HBRUSH> borderBrush(CreateSolidBrush(colours().GetColour(format.border.bytes[2])));
    const FrameBrushes brushes{pageBrush.get(), shadowBrush.get(), paragraphBrush.get(), borderBrush.get()};

    const int lm = style_.LeftMargin(), rm = style_.RightMargin(), tm = style_.TopMargin();
    const auto screenTop = [&](int64_t pageY) { return static_cast<int>(tm + pageY - scrollY_); };
    const auto pieceX = [&] { return lm + band.spanLeft - scrollX_ + originX_; };
    const auto pieceWidth = [&] { return std::max<int>(band.spanWidth, contentWidth_ - lm - rm - band.spanLeft); };
    int64_t used = 0;
    int pending = in.top;
    int running = 0;
    int64_t pieceStart = 0;  // used height where the current frame piece began
    bool narrowed = false;
    const auto nextBand = [&] {
        fetchBand(band, band.height >= TextLine::kUnlimited ? INT32_MAX : int64_t{band.top} + band.height);
        used = 0;
        pieceStart = 0;
    };
    const auto paintPiece = [&](int64_t height, int bottomSpace, int extraX, int extraWidth) {
        if (!frameGeometry || height <= 0) return;
        FramePiece piece;
        piece.x = pieceX();
        piece.width = pieceWidth();
        piece.top = screenTop(band.top + pieceStart) + originY_;
        piece.height = static_cast<int>(std::min<int64_t>(height, kFrameHeightCap));
        piece.bottomSpace = bottomSpace;
        piece.runningHeight = running;
        piece.overObject = band.behindText != 0;
        piece.boxForm = boxForm;
        piece.extraX = extraX;
        piece.extraWidth = extraWidth;
        PaintFrameLine(device, frame, piece, brushes, &background_);
        running = piece.height >= kFrameHeightCap ? kFrameHeightCap : std::min(running + piece.height, kFrameHeightCap);
    };

    int64_t before = std::max<int16_t>(format.spacing.before, 0);
    if (before != 0) {
        while (band.height < before) {
            if (!band.behindText) FillSolid(device, pieceX(), screenTop(band.top) + originY_, pieceX() + pieceWidth(), screenTop(band.top + band.height) + originY_, pageBrush.get());
            before -= band.height;
            nextBand();
        }
        if (!band.behindText) FillSolid(device, pieceX(), screenTop(band.top) + originY_, pieceX() + pieceWidth(), screenTop(band.top + before) + originY_, pageBrush.get());
        used += before;
        pieceStart = used;
        if (used >= band.height) nextBand();
    }

    TextFormatter& formatter = GetTextFormatter();
    rowTabsLoaded_ = false;
    bool begun = false;
    size_t lineStart = 0;
    int markerX = 0, markerY = 0;
    const int selectionFrom = selectionPart(row).first;
    const int selectionTo = selectionPart(row).second;
    struct Seam {
        bool pending = false;
        RECT rest{};            // the old band's rest, where the line starts
        bool overObject = false;  // of the old band
    } seam;
    for (size_t i = 0; i < r.lines.size(); ++i) {
        const LineEntry entry = r.lines[i];
        const int lineHeight = entry.height;
        if (band.height < pending + lineHeight + used) paintPiece(used - pieceStart, 0, 0, 0);
        // The line goes to the next band, merged with the rest of this one as the layout did.
        for (int guard = 0; band.height < pending + lineHeight + used && guard < kMaxBandChanges; ++guard) {
            seam.pending = false;
            const TextLine saved = band;
            const int64_t restTop = band.top + used, restHeight = band.height - used;
            nextBand();
            const BandMerge merge = MergeWithRest(saved, restTop, restHeight, band);
            narrowed = merge.narrowed;
            // A line across the seam of bands that lie over and off objects is drawn in each
            // band's mode within that band's part.
            if (merge.merged && (saved.behindText != 0) != (band.behindText != 0)) {
                const int left = lm + saved.spanLeft - scrollX_ + originX_;
                const int top = screenTop(restTop) + originY_;
                seam = Seam{true, RECT{left, top, left + saved.spanWidth, static_cast<LONG>(std::min<int64_t>(int64_t{top} + restHeight, INT32_MAX))},
                            saved.behindText != 0};
            }
            // The rest of a band that does not go on is filled as the page.
            if (!merge.merged && restHeight > 0 && !saved.behindText) {
                const int left = lm + saved.spanLeft - scrollX_ + originX_;
                FillSolid(device, left, screenTop(restTop) + originY_,
                          left + std::max<int>(saved.spanWidth, contentWidth_ - lm - rm - saved.spanLeft),
                          screenTop(std::min<int64_t>(restTop + restHeight, INT32_MAX)) + originY_, pageBrush.get());
            }
        }
        if (breaksPrintedSheets()) {
            const int64_t lineTop = int64_t{screenTop(band.top + used)} + originY_;
            if (lineTop > 0 && lineTop + pending + lineHeight > printing_->PrintableHeight()) {
                paintPiece(used - pieceStart, 0, 0, 0);
                const int64_t sheetEnd = std::max<int64_t>(int64_t{scrollY_} - tm + printing_->PrintableHeight(), band.top + used);
                turnPrintedSheet(device, sheetEnd);
                fetchBand(band, sheetEnd);
                used = 0;
                pieceStart = 0;
            }
        }
        const int y = screenTop(band.top + used) + pending + originY_;
        const int bottom = y + lineHeight;
        const bool last = i + 1 == r.lines.size();
        if (printing_ || bottom > clip.top || (boxForm && last)) {
            if (!begun) {
                TextFormat atLine = format;
                TextFormatter::ScanControlCodes(std::span<const uint8_t>(r.text).first(std::min(lineStart, r.text.size())), atLine);
                formatter.BeginParagraph(atLine);
                begun = true;
            }
            const std::span<const uint8_t> bytes = std::span<const uint8_t>(r.text).subspan(std::min(lineStart, r.text.size()),
                                                                                          std::min<size_t>(entry.chars, r.text.size() - std::min(lineStart, r.text.size())));
            const bool trim = !last && (lineStart + entry.chars >= r.text.size() || r.text[lineStart + entry.chars] != ' ');
            const int avail = band.spanWidth - in.left - in.right;
            const int indent = i == 0 ? format.indents.firstLine : format.indents.furtherLines;
            if (!rowTabsLoaded_ && std::find(bytes.begin(), bytes.end(), '\t') != bytes.end()) setRowTabStops(row, zoomNumerator_);
            LaidOutLine line = LayOutStoredLine(formatter, bytes, trim, indent, avail,
                                                static_cast<TextFormatter::Alignment>(format.alignment & 3), last);
            int x = lm + format.indents.left + band.spanLeft - scrollX_ + in.borderLeft + in.frameLeft + originX_;
            int lineWidth = std::max<int>(avail, contentWidth_ - lm - rm - band.spanLeft - in.borderLeft - in.frameLeft - format.indents.left);
            int extraX = 0, extraWidth = 0;
            if (boxForm) {
                const auto [left, right] = line.GetLineExtent();
                line.OffsetSegments(-left);
                x += left;
                lineWidth = right - left;
                extraX = left + in.borderLeft + in.frameLeft;
                extraWidth = right + in.borderLeft + in.frameLeft;
            }
            const auto paintLine = [&](bool overObject) {
                SetBkMode(device, overObject ? TRANSPARENT : OPAQUE);
                line.PaintLine(static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(leading), static_cast<int16_t>(lineWidth));
            };
            if (seam.pending) {
                {
                    ClipScope inRest(device);
                    inRest.Intersect(seam.rest);
                    paintLine(seam.overObject);
                }
                ClipScope outside(device);
                outside.Exclude(seam.rest);
                paintLine(band.behindText != 0);
                seam.pending = false;
            } else {
                paintLine(band.behindText != 0);
            }
            if (i == 0) {
                const auto [left, right] = line.GetLineExtent();
                (void)right;
                markerX = lm - scrollX_ + format.indents.left + band.spanLeft + in.borderLeft + in.frameLeft - m +
                          ((format.alignment & 3) == TextFormatter::kCentred ? left : format.indents.firstLine) + originX_;
                markerY = y + line.Metrics().ascent + leading - marker.Ascent();
            }
            for (const auto& [start, end] : r.marked) invertPart(line, start, end, lineStart, entry.chars, x, y, leading);
            if (selectionFrom >= 0) invertPart(line, static_cast<uint16_t>(selectionFrom), static_cast<uint16_t>(selectionTo), lineStart, entry.chars, x, y, leading);
            if (boxForm) {
                used += pending + lineHeight;
                pending = 0;
                const int bottomSpace = static_cast<int>(std::min<int64_t>(in.below, band.height - used));
                paintPiece(used - pieceStart + bottomSpace, bottomSpace, extraX, extraWidth);
                used += bottomSpace;
                lineStart += entry.chars;
                continue;
            }
        }
        seam.pending = false;  // only the line at the seam straddles it
        used += pending + lineHeight;
        pending = 0;
        if (narrowed) {
            if (last && used < band.height) used = std::min<int64_t>(used + in.below, band.height);
            paintPiece(used - pieceStart, 0, 0, 0);
            band.height = static_cast<int32_t>(used);
            if (!last) narrowed = false;
            pieceStart = used;
        }
        lineStart += entry.chars;
        if (used >= band.height) {
            paintPiece(used - pieceStart, 0, 0, 0);
            nextBand();
        }
        if (!printing_ && bottom >= clip.bottom) break;
    }
    if (!boxForm && !narrowed) {
        const int bottomSpace = static_cast<int>(std::min<int64_t>(in.below, std::max<int64_t>(band.height - used, 0)));
        if (frameGeometry || bottomSpace > 0) paintPiece(used - pieceStart + bottomSpace, bottomSpace, 0, 0);
        used += bottomSpace;
    }
    if (format.marker.kind != 0) {
        if (r.record.Style() == StyleSheet::kGlobalDefault && treeIconPainter()) treeIconPainter()(device, markerX, markerY, format);
        else marker.Draw(device, markerX, markerY, colours());
    }
    background_.SetShown(true);
    // The walk goes on from where the layout put the next row.
    band.top = static_cast<int32_t>(std::min<int64_t>(int64_t{GetRowTop(row)} + scrollY_ - tm + r.record.Height(), INT32_MAX));
    fetchBand(band, band.top);
}

std::pair<int, int> DocumentView::selectionPart(uint16_t row) const {
    if (!selection_.active || !selection_.shown) return {-1, -1};
    if (row < selection_.startRow || row > selection_.endRow) return {-1, -1};
    const int from = row == selection_.startRow ? selection_.startPos : 0;
    const int to = row == selection_.endRow ? selection_.endPos : static_cast<int>(rows_[row].text.size());
    return {from, to};
}

// Inverts the characters of [start, end) that lie on the line beginning at lineStart.
void DocumentView::invertPart(LaidOutLine& line, uint16_t start, uint16_t end, size_t lineStart, size_t lineBytes,
                              int x, int y, int leading) {
    if (!(start < lineStart + lineBytes && lineStart < end)) return;
    const size_t from = start > lineStart ? start - lineStart : 0;
    const size_t to = std::min<size_t>(lineBytes, end - lineStart);
    line.InvertRange(static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(leading),
                     static_cast<uint16_t>(from), static_cast<uint16_t>(to));
}

void DocumentView::InvertRange(uint16_t startRow, uint16_t startPos, uint16_t endRow, uint16_t endPos, bool show) {
    (void)show;
    if (!window_ || (startRow == endRow && startPos == endPos)) return;
    // The window is painted again over the rows concerned: inversion is part of every paint.
    for (uint16_t row = startRow; row <= endRow && row < rows_.size(); ++row) {
        uint32_t height = 0;
        const int32_t top = GetRowTop(row, &height);
        if (top >= visibleHeight_) break;
        if (top + static_cast<int64_t>(height) < 0) continue;
        RECT box{originX_, top + originY_, visibleWidth_ + originX_, static_cast<LONG>(top + height + originY_)};
        InvalidateRect(window_, &box, FALSE);
    }
}

void DocumentView::HideCaretMarker(bool keep) {
    if (window_ && markerY_ != kNoMarker) {
        const int x = style_.LeftMargin() - scrollX_ - 8;
        RECT box{x, markerY_, x + kMarkerWidth, markerY_ + kMarkerHeight};
        InvalidateRect(window_, &box, TRUE);
        UpdateWindow(window_);
    }
    if (!keep) markerY_ = kNoMarker;
}

}  // namespace lect32
