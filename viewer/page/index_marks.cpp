// Index marks: the row an index entry leads to scrolled into view and a mark blinked beside it;
// and the scrolling of a range into view that link stepping and the search share.
#include <algorithm>
#include <cstdlib>

#include "page/rich_text_object.h"
#include "winplat/gdi.h"
#include "winplat/module.h"
#include "winplat/owners.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr int kIndexMarkWidth = 16;
constexpr int kIndexMarkHeight = 11;
constexpr int kMarkGap = 8;
constexpr int kMarkHalfHeight = 5;
// Ticks 1, 3 and 5 show the mark, 2 and 4 hide it; the timer stops once the counter reaches 3.
constexpr int kLastRunningTick = 3;

bool ShowsMarkAt(int tick) { return tick % 2 == 1; }

}  // namespace

int32_t RichTextObject::lineEdge(uint16_t row, uint16_t position, bool bottom) {
    if (row >= rows_.size()) return 0;
    const std::vector<LineEntry>& lines = rows_[row].lines;
    uint16_t line = 0;
    size_t start = 0;
    for (; size_t{line} + 1 < lines.size(); ++line) {
        if (position < start + lines[line].chars) break;
        start += lines[line].chars;
    }
    LineInfo info;
    const int32_t rowTop = GetRowTop(row);
    if (lines.empty() || LocateLine(row, rowTop, line, 0, info) != 0) info.top = rowTop;
    return info.top + (bottom && !lines.empty() ? lines[line].height : 0);
}

int RichTextObject::ScrollRangeIntoView(int32_t top, int32_t bottom, bool redraw) {
    int32_t move = 0;
    if (top < 0) {
        move = top;
    } else if (bottom <= visibleHeight_) {
        return 0;
    } else {
        move = std::min(bottom - visibleHeight_, top);
    }
    const bool whole = redraw && std::abs(move) > visibleHeight_ / 2;
    moveVertically(scrollY_ + move, whole);
    page_.MoveObjectWindows();
    return whole ? 1 : 0;
}

int RichTextObject::ScrollToMark(uint16_t mark) {
    HideCaretMarker(false);
    if (laidOutWidth_ == 0) Layout(nullptr);
    uint16_t row = 0;
    while (row < rows_.size() && GetAnchorNumber(row) != mark) ++row;
    if (row >= rows_.size()) return 0;
    if (contentHeight_ > visibleHeight_) {
        const int32_t t = GetRowTop(row);
        int32_t target = t;
        if (row > 0) {
            int kept = -1;
            for (int above = row - 1; above >= 0 && t - GetRowTop(static_cast<uint16_t>(above)) < visibleHeight_ / 3; --above) {
                kept = above;
            }
            if (kept >= 0 && t - GetRowTop(static_cast<uint16_t>(kept)) > visibleHeight_ / 2) ++kept;
            if (kept < 0 || kept == row) target = std::max(t - visibleHeight_ / 3, -scrollY_);
            else target = GetRowTop(static_cast<uint16_t>(kept));
        }
        int32_t position = scrollY_ + target;
        if (contentHeight_ - position < visibleHeight_) position = contentHeight_ - visibleHeight_;
        ScrollTo(std::max(position, 0));
    }
    LineInfo first;
    const int32_t rowTop = GetRowTop(row);
    if (LocateLine(row, rowTop, 0, 0, first) != 0) first.top = rowTop;
    const int lineHeight = rows_[row].lines.empty() ? 0 : rows_[row].lines[0].height;
    SetCaretMarker(first.top + lineHeight / 2 - kMarkHalfHeight);
    markCounter_ = 0;
    MarkStep();
    return 1;
}

void RichTextObject::drawIndexMark() {
    if (!window_) return;
    const HINSTANCE module = GetModuleHandleA("lect32.exe");
    const winplat::OwnedBitmap mark(LoadBitmapA(module, "INDEXMARK"));
    const winplat::OwnedBitmap mask(LoadBitmapA(module, "INDEXMARK_T"));
    const winplat::BorrowedDc window(window_);
    if (!mark || !mask || !window) return;
    const winplat::MemoryDc memory(CreateCompatibleDC(window.get()));
    if (!memory) return;
    const int x = style_.LeftMargin() - scrollX_ - kMarkGap;
    {
        const winplat::Selection picked(memory.get(), mask.get());
        BitBlt(window.get(), x, CaretMarkerY(), kIndexMarkWidth, kIndexMarkHeight, memory.get(), 0, 0, SRCAND);
    }
    const winplat::Selection picked(memory.get(), mark.get());
    BitBlt(window.get(), x, CaretMarkerY(), kIndexMarkWidth, kIndexMarkHeight, memory.get(), 0, 0, SRCPAINT);
}

int RichTextObject::MarkStep() {
    ++markCounter_;
    if (ShowsMarkAt(markCounter_)) drawIndexMark();
    else HideCaretMarker(true);
    return markCounter_ < kLastRunningTick ? 1 : 0;
}

int RichTextObject::MarkCounter() const { return markCounter_; }

}  // namespace lect32
