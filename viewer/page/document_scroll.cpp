// Moving the visible part of a document view. Small moves shift the window's pixels and paint
// only the uncovered strip; large ones repaint the view. At an end a request goes on to the
// page's first text frame, so that a frame scrolls inside a page that does not.
#include <algorithm>
#include <climits>

#include "page/document_view.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr int kScrollLimit = 32767;

RECT ViewRect(int16_t x, int16_t y, int width, int height) { return RECT{x, y, x + width, y + height}; }

}  // namespace

void SetScaledScrollRange(HWND window, int bar, int range, int page, bool redraw) {
    if (!window) return;
    int scale = 1;
    if (bar == SB_VERT) {
        scale = range > kScrollLimit ? range / kScrollLimit + 1 : 1;
        SetWindowLongA(window, DocumentView::kScaleWord, scale);
    }
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = std::max(range / scale - 1, 0);
    info.nPage = static_cast<UINT>(std::max(page / scale, 0));
    SetScrollInfo(window, bar, &info, redraw);
}

int GetScrollScale(HWND window) {
    const LONG scale = window ? GetWindowLongA(window, DocumentView::kScaleWord) : 0;
    return scale == 0 ? 1 : scale;
}

void SetScaledScrollPos(HWND window, int bar, int position, bool redraw) {
    if (!window) return;
    const int scale = bar == SB_VERT ? GetScrollScale(window) : 1;
    SetScrollPos(window, bar, position / scale, redraw);
}

void DocumentView::SetScrollRange(HWND window, int bar, int range, int page, bool redraw) {
    if (mode_ == kEmbedded && window)
        if (const HWND parent = GetParent(window)) SendMessageA(parent, kViewChangedMessage, 0, 0);
    SetScaledScrollRange(window, bar, range, page, redraw);
}

void DocumentView::SetScrollPos(HWND window, int bar, int position, bool redraw) {
    if (mode_ == kEmbedded && window)
        if (const HWND parent = GetParent(window)) SendMessageA(parent, kViewChangedMessage, 1, 0);
    SetScaledScrollPos(window, bar, position, redraw);
}

// What follows every move of the content.
void DocumentView::scrollTail(bool vertical) {
    background_.SetScrollOrigin(static_cast<int16_t>(scrollX_), scrollY_);
    SetTablesScrollOffset(static_cast<int16_t>(scrollX_), scrollY_);
    page_.SetOrigin(static_cast<int16_t>(scrollX_), scrollY_);
    if (window_) UpdateWindow(window_);
    if (vertical) SetScrollPos(window_, SB_VERT, scrollY_, true);
    else SetScrollPos(window_, SB_HORZ, scrollX_, true);
}

int DocumentView::moveVertically(int32_t to, bool invalidate) {
    const int32_t dy = to - scrollY_;
    if (dy == 0) return 0;
    HideCaretMarker(false);
    scrollY_ = to;
    if (window_) {
        const RECT view = ViewRect(originX_, originY_, visibleWidth_, visibleHeight_);
        if (invalidate) InvalidateRect(window_, &view, FALSE);
        else ScrollWindowEx(window_, 0, -dy, &view, &view, nullptr, nullptr, SW_INVALIDATE);
    }
    scrollTail(true);
    return dy;
}

int DocumentView::ScrollBy(int32_t dy) { return moveVertically(scrollY_ + dy, false); }

int DocumentView::handOnToFrame(int code) {
    page_.ScrollTextFrame(code);
    return 0;
}

bool DocumentView::atBottom() const { return int64_t{visibleHeight_} + scrollY_ >= contentHeight_; }

int DocumentView::LineDown() {
    if (atBottom()) return handOnToFrame(1);
    return ScrollBy(std::min<int32_t>(kLineStep, contentHeight_ - visibleHeight_ - scrollY_));
}

int DocumentView::LineUp() {
    if (scrollY_ == 0) return handOnToFrame(0);
    int32_t step = scrollY_ <= style_.TopMargin() ? scrollY_ : kLineStep;
    step = std::min<int32_t>({step, visibleHeight_, scrollY_});
    return ScrollBy(-step);
}

int DocumentView::PageDown() {
    if (atBottom()) return handOnToFrame(3);
    const int32_t maxPos = std::max<int32_t>(contentHeight_ - visibleHeight_, 0);
    uint16_t row = 0;
    const uint16_t line = LineFromY(visibleHeight_ - 1, row, true, true);
    int32_t to = scrollY_ + visibleHeight_;
    if (row >= rows_.size()) to = maxPos;
    else if (line != kNoLine) {
        LineInfo info;
        if (LocateLine(row, GetRowTop(row), line, 0, info) == 0 && info.top > 0) to = scrollY_ + info.top;
    }
    return moveVertically(std::min(to, maxPos), false);
}

int DocumentView::PageUp() {
    if (scrollY_ == 0) return handOnToFrame(2);
    if (scrollY_ <= style_.TopMargin()) return ScrollToTop();
    uint16_t row = 0;
    const uint16_t line = LineFromY(0, row, true, true);
    int32_t to = scrollY_ - visibleHeight_;
    if (row < rows_.size() && line != kNoLine) {
        LineInfo info;
        if (LocateLine(row, GetRowTop(row), line, 0, info) == 0) to = scrollY_ + info.top - visibleHeight_;
    }
    return moveVertically(std::max(to, 0), false);
}

int DocumentView::ScrollToTop() {
    if (scrollY_ == 0) return handOnToFrame(4);
    return moveVertically(0, true);
}

int DocumentView::ScrollToBottom() {
    if (atBottom()) return handOnToFrame(5);
    return moveVertically(std::max<int32_t>(contentHeight_ - visibleHeight_, 0), true);
}

int DocumentView::ScrollByCode(int code) {
    switch (code) {
        case 0: return LineUp();
        case 1: return LineDown();
        case 2: return PageUp();
        case 3: return PageDown();
        case 4: return ScrollToTop();
        case 5: return ScrollToBottom();
        default: return 0;
    }
}

int DocumentView::ScrollTo(int32_t position) {
    if (visibleHeight_ >= contentHeight_ || position == scrollY_) return 0;
    position = std::clamp<int32_t>(position, 0, contentHeight_ - visibleHeight_);
    const int32_t distance = position > scrollY_ ? position - scrollY_ : scrollY_ - position;
    return moveVertically(position, distance > visibleHeight_ / 4);
}

int DocumentView::ScrollRight(int divisor, int amount) {
    const int room = contentWidth_ - visibleWidth_;
    if (room < 1 || scrollX_ == room) return 0;
    int step = std::max(visibleWidth_ / std::max(divisor, 1), 1);
    if (amount > 0) step = (amount + step - 1) / step * step;
    step = std::min(step, room - scrollX_);
    if (step <= 0) return 0;
    return moveHorizontally(scrollX_ + step);
}

int DocumentView::ScrollLeft(int divisor, int amount) {
    const int room = contentWidth_ - visibleWidth_;
    if (room < 1 || scrollX_ == 0) return 0;
    int step = std::max(visibleWidth_ / std::max(divisor, 1), 1);
    if (amount > 0) step = (amount + step - 1) / step * step;
    step = std::min<int>(step, scrollX_);
    return -moveHorizontally(scrollX_ - step);
}

int DocumentView::SetHorizontalPos(int position) {
    const int room = contentWidth_ - visibleWidth_;
    if (room < 1 || position == scrollX_) return 0;
    return moveHorizontally(std::clamp(position, 0, room));
}

int DocumentView::moveHorizontally(int to) {
    const int dx = to - scrollX_;
    if (dx == 0) return 0;
    HideCaretMarker(false);
    scrollX_ = static_cast<uint16_t>(to);
    if (window_) {
        const RECT view = ViewRect(originX_, originY_, visibleWidth_, visibleHeight_);
        ScrollWindowEx(window_, -dx, 0, &view, &view, nullptr, nullptr, SW_INVALIDATE);
    }
    scrollTail(false);
    return dx;
}

int DocumentView::OnMouseWheel(bool down) {
    if (visibleHeight_ >= contentHeight_) {
        page_.WheelTextFrame(down ? 1 : -1);
        return 0;
    }
    return down ? LineDown() : LineUp();
}

int DocumentView::GetScrollState() {
    if (style_.width != laidOutWidth_) Layout(nullptr);
    int state = 0;
    if (scrollY_ == 0) state |= 2;
    if (atBottom()) state |= 4;
    return state;
}

int DocumentView::ScrollIntoView(int row, LineInfo* line, CaretBox* caret) {
    if (mode_ == kInactive) return 1;
    if (row == -1) row = caretRow_;
    if (mode_ == kNormal) HideCaretMarker(false);
    if (!line || !caret) return 0;
    int32_t dy = 0;
    if (line->top < 0) {
        dy = -((-line->top + kLineStep - 1) / kLineStep * kLineStep);
        dy = std::max<int32_t>(dy, -scrollY_);
    } else if (line->top + caret->height > visibleHeight_) {
        const int32_t need = line->top + caret->height - visibleHeight_;
        dy = (need + kLineStep - 1) / kLineStep * kLineStep;
        dy = std::min<int32_t>(dy, std::max<int32_t>(contentHeight_ - visibleHeight_ - scrollY_, 0));
    }
    int dx = 0;
    const int eighth = std::max(visibleWidth_ / 8, 1);
    if (caret->x < 0) {
        dx = -((-caret->x + eighth - 1) / eighth * eighth);
        dx = std::max<int>(dx, -scrollX_);
    } else if (caret->x + 2 > visibleWidth_) {
        const int need = caret->x - visibleWidth_ + 2;
        dx = (need + eighth - 1) / eighth * eighth;
        dx = std::min(dx, std::max(contentWidth_ - visibleWidth_ - scrollX_, 0));
    }
    if (dy == 0 && dx == 0) return 0;
    const bool repaint = std::abs(dy) > visibleHeight_ / 2 || std::abs(dx) > visibleWidth_ / 2;
    scrollY_ += dy;
    scrollX_ = static_cast<uint16_t>(scrollX_ + dx);
    if (window_) {
        const RECT view = ViewRect(originX_, originY_, visibleWidth_, visibleHeight_);
        if (repaint) InvalidateRect(window_, &view, FALSE);
        else ScrollWindowEx(window_, -dx, -dy, &view, &view, nullptr, nullptr, SW_INVALIDATE);
    }
    scrollTail(true);
    if (mode_ == kNormal) SetScrollPos(window_, SB_HORZ, scrollX_, true);
    line->top -= dy;
    line->left = static_cast<int16_t>(line->left - dx);
    caret->x = static_cast<int16_t>(caret->x - dx);
    caret->top = static_cast<int16_t>(caret->top - dy);
    caret->baseline = static_cast<int16_t>(caret->baseline - dy);
    page_.MoveObjectWindows();
    return dy;
}

}  // namespace lect32
