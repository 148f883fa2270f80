// Points to text positions and back, links under a position, and the selection of a document
// view. Lines are found by walking the row through the text bands as the layout placed them.
#include <algorithm>
#include <climits>

#include "page/document_geometry.h"
#include "page/document_view.h"
#include "text/control_codes.h"
#include "text/marker_label.h"
#include "winplat/gdi.h"
#include "winplat/user.h"

namespace lect32 {

uint16_t DocumentView::RowFromY(int32_t y, int32_t* top, uint32_t* height) const {
    int64_t rowTop = int64_t{style_.TopMargin()} - scrollY_;
    uint16_t row = 0;
    for (; row < rows_.size(); ++row) {
        const uint32_t h = rows_[row].record.Height();
        if (y < rowTop + h) break;
        rowTop += h;
    }
    if (rows_.empty()) row = 0;
    if (top) *top = static_cast<int32_t>(std::clamp<int64_t>(rowTop, INT32_MIN, INT32_MAX));
    if (height) *height = row < rows_.size() ? rows_[row].record.Height() : 0;
    return row;
}

// Walks the row's lines through the bands from the row's top, calling visit(line, top relative
// to the visible area, height, band) until it returns true.
template <class Visit>
void DocumentView::walkLines(uint16_t row, int32_t rowTop, Visit&& visit) {
    TextFormat format;
    GetRowFormat(row, format);
    const RowInsets in = RowInsetsOf(format);
    TextLine band;
    const int tm = style_.TopMargin();
    fetchBand(band, int64_t{rowTop} + scrollY_ - tm);
    int64_t used = 0;
    int pending = in.top;
    const auto nextBand = [&] {
        fetchBand(band, band.height >= TextLine::kUnlimited ? INT32_MAX : int64_t{band.top} + band.height);
        used = 0;
    };
    int64_t before = std::max<int16_t>(format.spacing.before, 0);
    if (before != 0) {
        for (int guard = 0; band.height < before && guard < 100000; ++guard) {
            before -= band.height;
            nextBand();
        }
        used += before;
        if (used >= band.height) nextBand();
    }
    bool narrowed = false;
    const std::vector<LineEntry>& lines = rows_[row].lines;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int lineHeight = lines[i].height;
        for (int guard = 0; band.height < pending + lineHeight + used && guard < 100000; ++guard) {
            const TextLine saved = band;
            const int64_t restTop = band.top + used, restHeight = band.height - used;
            nextBand();
            narrowed = MergeWithRest(saved, restTop, restHeight, band).narrowed;
        }
        const int64_t top = tm + band.top + used + pending - scrollY_;
        if (visit(static_cast<uint16_t>(i), static_cast<int32_t>(std::clamp<int64_t>(top, INT32_MIN, INT32_MAX)), lineHeight, band))
            return;
        used += pending + lineHeight;
        pending = 0;
        const bool last = i + 1 == lines.size();
        if (narrowed) {
            if (last && used < band.height) used = std::min<int64_t>(used + in.below, band.height);
            band.height = static_cast<int32_t>(used);
            if (!last) narrowed = false;
        }
        if (used >= band.height) nextBand();
    }
}

int DocumentView::LocateLine(uint16_t row, int32_t rowTop, uint16_t line, int32_t y, LineInfo& out) {
    if (row >= rows_.size()) return 1;
    TextFormat format;
    GetRowFormat(row, format);
    const RowInsets in = RowInsetsOf(format);
    int result = 1;
    walkLines(row, rowTop, [&](uint16_t i, int32_t top, int height, const TextLine& band) {
        const bool wanted = line == kNoLine ? y < top + height : i == line;
        if (!wanted) return false;
        out.line = i;
        out.top = top;
        out.left = static_cast<int16_t>(style_.LeftMargin() + format.indents.left + band.spanLeft - scrollX_);
        out.width = static_cast<int16_t>(band.spanWidth - in.left - in.right);
        result = line == kNoLine && y < top ? 1 : 0;
        if (line != kNoLine) result = 0;
        return true;
    });
    out.lineCount = static_cast<uint16_t>(rows_[row].lines.size());
    return result;
}

uint16_t DocumentView::LineFromY(int32_t y, uint16_t& rowOut, bool exact, bool noClamp) {
    int32_t rowTop = 0;
    uint16_t row = RowFromY(y, &rowTop);
    if (rows_.empty()) {
        rowOut = 0;
        return noClamp ? kNoLine : 0;
    }
    if (row >= rows_.size()) {
        rowOut = static_cast<uint16_t>(rows_.size() - 1);
        const size_t count = rows_[rowOut].lines.size();
        return noClamp ? kNoLine : static_cast<uint16_t>(count == 0 ? 0 : count - 1);
    }
    rowOut = row;
    if (y < rowTop) return 0;
    uint16_t answer = kNoLine;
    walkLines(row, rowTop, [&](uint16_t i, int32_t top, int height, const TextLine&) {
        if (top > y) {
            answer = i;
            return true;
        }
        if (y < top + height) {
            answer = i;
            if (!exact && top + height > visibleHeight_) {
                if (i > 0) answer = static_cast<uint16_t>(i - 1);
                else if (row > 0) {
                    rowOut = static_cast<uint16_t>(row - 1);
                    const size_t count = rows_[rowOut].lines.size();
                    answer = static_cast<uint16_t>(count == 0 ? 0 : count - 1);
                }
            }
            return true;
        }
        return false;
    });
    if (answer != kNoLine) return answer;
    const size_t count = rows_[row].lines.size();
    return noClamp ? kNoLine : static_cast<uint16_t>(count == 0 ? 0 : count - 1);
}

// The row's line laid out as the painter lays it out, on the window's device, with x where the
// painter puts it.
bool DocumentView::layLine(uint16_t row, uint16_t line, HDC device, LaidOutLine& out, int& x, LineInfo& info) {
    const ViewRow& r = rows_[row];
    if (line >= r.lines.size()) return false;
    TextFormat format;
    GetRowFormat(row, format);
    const RowInsets in = RowInsetsOf(format);
    TextFormatter& formatter = GetTextFormatter();
    formatter.SetDC(device);
    formatter.SetColourTable(&colours());
    listCache_ = ListCache{};
    markerSpace(row, format, device, nullptr);
    if (LocateLine(row, GetRowTop(row), line, 0, info) != 0) return false;
    size_t start = 0;
    for (uint16_t i = 0; i < line; ++i) start += r.lines[i].chars;
    start = std::min(start, r.text.size());
    const size_t bytes = std::min<size_t>(r.lines[line].chars, r.text.size() - start);
    const bool last = size_t{line} + 1 == r.lines.size();
    TextFormat atLine = format;
    TextFormatter::ScanControlCodes(std::span<const uint8_t>(r.text).first(start), atLine);
    formatter.BeginParagraph(atLine);
    rowTabsLoaded_ = false;
    const std::span<const uint8_t> text = std::span<const uint8_t>(r.text).subspan(start, bytes);
    if (std::find(text.begin(), text.end(), '\t') != text.end()) setRowTabStops(row, zoomNumerator_);
    const bool trim = !last && (start + bytes >= r.text.size() || r.text[start + bytes] != ' ');
    out = LayOutStoredLine(formatter, text, trim, line == 0 ? format.indents.firstLine : format.indents.furtherLines,
                           info.width, static_cast<TextFormatter::Alignment>(format.alignment & 3), last);
    x = info.left + in.borderLeft + in.frameLeft + originX_;
    info.firstChar = static_cast<uint16_t>(start);
    info.charCount = static_cast<uint16_t>(bytes);
    return true;
}

uint16_t DocumentView::HitTest(uint16_t row, uint16_t line, int x, int32_t y) {
    (void)y;
    if (row >= rows_.size() || rows_[row].text.empty()) return 0;
    const bool ownDevice = true;
    HDC device = GetDC(window_);
    const HGDIOBJ fontBefore = SelectObject(device, GetStockObject(SYSTEM_FONT));
    LaidOutLine laid;
    LineInfo info;
    int lineX = 0;
    uint16_t position = kNoLine;
    if (layLine(row, line, device, laid, lineX, info)) {
        const uint16_t at = laid.GetPositionAtX(x - lineX);
        if (at != LaidOutLine::kNoPosition) position = static_cast<uint16_t>(info.firstChar + at);
    }
    GetTextFormatter().ReleaseFonts();
    SelectObject(device, fontBefore);
    if (ownDevice) ReleaseDC(window_, device);
    return position;
}

bool DocumentView::PositionToPoint(uint16_t row, uint16_t position, LineInfo* lineOut, CaretBox* caret) {
    LineInfo info;
    CaretBox box;
    if (row >= rows_.size() || laidOutWidth_ == 0 || rows_[row].lines.empty()) {
        if (lineOut) *lineOut = info;
        if (caret) *caret = box;
        return false;
    }
    const ViewRow& r = rows_[row];
    uint16_t line = 0;
    size_t start = 0;
    for (; size_t{line} + 1 < r.lines.size(); ++line) {
        if (position < start + r.lines[line].chars) break;
        start += r.lines[line].chars;
    }
    HDC device = GetDC(window_);
    const HGDIOBJ fontBefore = SelectObject(device, GetStockObject(SYSTEM_FONT));
    LaidOutLine laid;
    int lineX = 0;
    const bool found = layLine(row, line, device, laid, lineX, info);
    if (found) {
        TextFormat format;
        GetRowFormat(row, format);
        const int leading = format.GetExtraLeading(GetTextResolution() ? GetTextResolution() : 96);
        const LaidOutLine::CharPlace place = laid.GetCharX(position >= info.firstChar ? position - info.firstChar : 0);
        box.x = static_cast<int16_t>(lineX + place.x);
        box.ascent = static_cast<int16_t>(place.ascent);
        box.descent = static_cast<int16_t>(place.descent);
        box.height = static_cast<int16_t>(place.ascent + place.descent);
        box.baseline = static_cast<int16_t>(leading + laid.Metrics().ascent + place.baseline + info.top + originY_);
        box.top = static_cast<int16_t>(box.baseline - place.ascent);
    }
    GetTextFormatter().ReleaseFonts();
    SelectObject(device, fontBefore);
    ReleaseDC(window_, device);
    info.lineCount = static_cast<uint16_t>(r.lines.size());
    if (lineOut) *lineOut = info;
    if (caret) *caret = box;
    return found;
}

bool DocumentView::GetLinkAt(uint16_t row, uint16_t position, uint8_t* firstByte, std::vector<uint8_t>* link,
                             RECT* rect) {
    if (row >= rows_.size()) return false;
    const std::vector<uint8_t>& text = rows_[row].text;
    size_t open = SIZE_MAX, at = 0;
    bool printableBefore = false;
    while (at < text.size() && at < position) {
        if (!IsControlCode(text[at])) {
            printableBefore = true;
            ++at;
            continue;
        }
        const size_t length = SequenceLength(text, at);
        if (length == 0) return false;
        if (text[at] == kCodeLinkStart) {
            open = at;
            printableBefore = false;
        } else if (text[at] == kCodeLinkEnd) {
            open = SIZE_MAX;
        }
        at += length;
    }
    if (open == SIZE_MAX) return false;
    size_t end = at;
    bool printableAfter = false;
    while (end < text.size() && text[end] != kCodeLinkEnd) {
        if (!IsControlCode(text[end])) {
            printableAfter = true;
            ++end;
            continue;
        }
        const size_t length = SequenceLength(text, end);
        if (length == 0) break;
        end += length;
    }
    if (!printableBefore && !printableAfter) return false;
    const size_t frame = SequenceLength(text, open);
    if (firstByte) *firstByte = text[open + 2];
    if (link) link->assign(text.begin() + static_cast<std::ptrdiff_t>(open + 2), text.begin() + static_cast<std::ptrdiff_t>(open + frame - 2));
    if (rect) {
        LineInfo firstLine, lastLine;
        CaretBox first, last;
        PositionToPoint(row, static_cast<uint16_t>(open + frame), &firstLine, &first);
        PositionToPoint(row, static_cast<uint16_t>(end), &lastLine, &last);
        *rect = RECT{first.x, first.top, last.x, static_cast<LONG>(last.top + last.height)};
        if (firstLine.line != lastLine.line) {
            rect->left = firstLine.left;
            rect->right = firstLine.left + firstLine.width;
        }
        RECT window{};
        if (window_) GetWindowRect(window_, &window);
        OffsetRect(rect, window.left, window.top);
    }
    return true;
}

bool DocumentView::GetLinkAt(uint16_t row, uint16_t position, const LinkDecoding& how, TextLink& out, bool withRect) {
    TextLink link;
    if (!GetLinkAt(row, position, &link.firstByte, &link.stored, withRect ? &link.rect : nullptr)) return false;
    if (link.target.Decode(link.stored, false, how.sourceDocument, how.ownerIsMainPageWindow, how.resolver) < 0) return false;
    out = std::move(link);
    return true;
}

// ---- selection ------------------------------------------------------------------------------

void DocumentView::SetSelection(uint16_t anchorRow, uint16_t anchorPos, uint16_t row, uint16_t pos, bool shown) {
    if (laidOutWidth_ == 0 || style_.group80Byte != 0) return;
    if (!shown && !selection_.active) shown = true;
    const bool swap = row < anchorRow || (row == anchorRow && pos < anchorPos);
    const uint16_t startRow = swap ? row : anchorRow, startPos = swap ? pos : anchorPos;
    const uint16_t endRow = swap ? anchorRow : row, endPos = swap ? anchorPos : pos;
    if (startRow == endRow && startPos == endPos) {
        CollapseSelection(false);
        return;
    }
    const Selection old = selection_;
    selection_ = Selection{true, shown, startRow, startPos, endRow, endPos};
    if (old.active && old.shown) {
        // Only the rows between the two selections' differing ends are painted again.
        if (old.startRow != startRow || old.startPos != startPos)
            InvertRange(std::min(old.startRow, startRow), 0, std::max(old.startRow, startRow), 1, shown);
        if (old.endRow != endRow || old.endPos != endPos)
            InvertRange(std::min(old.endRow, endRow), 0, std::max(old.endRow, endRow), 1, shown);
    } else if (shown) {
        InvertRange(startRow, startPos, endRow, endPos, true);
    }
}

void DocumentView::CollapseSelection(bool toEnd) {
    if (!selection_.active) return;
    caretRow_ = toEnd ? selection_.endRow : selection_.startRow;
    caretPos_ = SkipControlCodes(caretRow_, toEnd ? selection_.endPos : selection_.startPos);
    const Selection old = selection_;
    selection_.active = false;
    selection_.shown = false;
    if (old.shown) InvertRange(old.startRow, old.startPos, old.endRow, old.endPos, false);
    refresh_ = true;
}

void DocumentView::EndSelection() {
    if (selection_.active) CollapseSelection(false);
}

}  // namespace lect32
