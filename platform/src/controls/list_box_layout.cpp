// Where the items of a list box lie, which are shown, and its scroll bars.
#include <algorithm>

#include "base/call_refusal.h"
#include "controls/list_box.h"

namespace winplat::controls {
namespace {

const CallRefuser refuse("winplat: LISTBOX");

constexpr int kLineStep = 1;        // items an arrow click moves
constexpr int kHorizontalLine = 8;  // pixels a horizontal arrow click moves

}  // namespace

RECT ListBox::client() const {
    RECT r{};
    GetClientRect(window_, &r);
    return r;
}

int ListBox::itemHeight(int index) const {
    if (variable() && index >= 0 && index < count()) return static_cast<int>(items_.at(static_cast<size_t>(index)).height);
    return itemHeight_;
}

RECT ListBox::itemRect(int index) const {
    const RECT c = client();
    int y = 0;
    if (!variable()) {
        y = (index - top_) * itemHeight_;
    } else if (index >= top_) {
        for (int i = top_; i < index; ++i) y += itemHeight(i);
    } else {
        for (int i = index; i < top_; ++i) y -= itemHeight(i);
    }
    const int width = std::max<int>(c.right, horizontalExtent_);
    return {-horizontalOffset_, y, width - horizontalOffset_, y + itemHeight(index)};
}

int ListBox::heightOf(int visible) const {
    int height = 0;
    for (int i = 0; i < visible && i < count(); ++i) height += itemHeight(i);
    return height;
}

int ListBox::pageCount() const {
    const int height = client().bottom;
    if (!variable()) return std::max(1, height / std::max(1, itemHeight_));
    int shown = 0;
    for (int i = top_, used = 0; i < count(); ++i, ++shown) {
        used += itemHeight(i);
        if (used > height) break;
    }
    return std::max(1, shown);
}

int ListBox::lastTop() const {
    const int height = client().bottom;
    if (!variable()) return std::max(0, count() - std::max(1, height / std::max(1, itemHeight_)));
    int top = count();
    for (int used = 0; top > 0; --top) {
        used += itemHeight(top - 1);
        if (used > height) break;
    }
    return std::min(top, std::max(0, count() - 1));
}

void ListBox::setTop(int index) {
    const int clamped = std::clamp(index, 0, lastTop());
    if (clamped == top_) return;
    top_ = clamped;
    updateScrollBars();
    invalidate();
}

void ListBox::ensureVisible(int index) {
    if (index < 0 || index >= count()) return;
    if (index < top_) {
        setTop(index);
        return;
    }
    // The item shown last on the page: the top walks up from it while the page still holds the
    // items, but never above the top it has (an item already in view stays put).
    const int height = client().bottom;
    int top = index;
    for (int used = itemHeight(index); top > top_ && used + itemHeight(top - 1) <= height; --top) {
        used += itemHeight(top - 1);
    }
    setTop(top);
}

void ListBox::scrollVertically(WORD code) {
    switch (code) {
        case SB_LINEUP: setTop(top_ - kLineStep); break;
        case SB_LINEDOWN: setTop(top_ + kLineStep); break;
        case SB_PAGEUP: setTop(top_ - std::max(1, pageCount() - 1)); break;
        case SB_PAGEDOWN: setTop(top_ + std::max(1, pageCount() - 1)); break;
        case SB_TOP: setTop(0); break;
        case SB_BOTTOM: setTop(lastTop()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            if (GetScrollInfo(window_, SB_VERT, &info)) setTop(info.nTrackPos);
            break;
        }
        default: break;
    }
}

void ListBox::scrollHorizontally(WORD code) {
    const int width = client().right;
    const int last = std::max(0, horizontalExtent_ - width);
    int offset = horizontalOffset_;
    switch (code) {
        case SB_LINELEFT: offset -= kHorizontalLine; break;
        case SB_LINERIGHT: offset += kHorizontalLine; break;
        case SB_PAGELEFT: offset -= width; break;
        case SB_PAGERIGHT: offset += width; break;
        case SB_LEFT: offset = 0; break;
        case SB_RIGHT: offset = last; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            if (GetScrollInfo(window_, SB_HORZ, &info)) offset = info.nTrackPos;
            break;
        }
        default: break;
    }
    offset = std::clamp(offset, 0, last);
    if (offset == horizontalOffset_) return;
    horizontalOffset_ = offset;
    updateScrollBars();
    invalidate();
}

void ListBox::updateScrollBars() {
    if (resizing_ || !redraw_) return;
    resizing_ = true;  // showing or hiding a bar resizes the client area, which comes back here
    const UINT keep = (style_ & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0;
    // The bars asked for at creation: a hidden bar no longer shows in the window's style.
    if (style_ & WS_VSCROLL) {
        const SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS | keep, 0, std::max(0, count() - 1),
                              static_cast<UINT>(pageCount()), top_, 0};
        SetScrollInfo(window_, SB_VERT, &info, TRUE);
    }
    if (style_ & WS_HSCROLL) {
        const SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS | keep, 0,
                              std::max(0, horizontalExtent_ - 1), static_cast<UINT>(client().right), horizontalOffset_, 0};
        SetScrollInfo(window_, SB_HORZ, &info, TRUE);
    }
    resizing_ = false;
    // A bar that came or went changed the page: the top may now be past the last full page.
    const int clamped = std::clamp(top_, 0, lastTop());
    if (clamped != top_) setTop(clamped);
}

// Without LBS_NOINTEGRALHEIGHT the window shrinks to show whole items only, as a fixed-height
// list box does on Windows.
void ListBox::keepIntegralHeight() {
    if ((style_ & LBS_NOINTEGRALHEIGHT) || variable() || resizing_ || itemHeight_ <= 0) return;
    const int height = client().bottom;
    const int extra = height % itemHeight_;
    if (extra == 0 || height <= itemHeight_) return;
    RECT outer{};
    GetWindowRect(window_, &outer);
    resizing_ = true;
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top - extra,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    resizing_ = false;
}

LRESULT ListBox::itemFromPoint(LPARAM point) const {
    const POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    const RECT c = client();
    const int index = itemAtPoint(p);
    if (index < 0) return MAKELONG(0, 1);
    const RECT r = itemRect(index);
    const bool outside = p.x < 0 || p.x >= c.right || p.y < r.top || p.y >= r.bottom;
    return MAKELONG(static_cast<WORD>(index), outside ? 1 : 0);
}

int ListBox::itemAtPoint(POINT point) const {
    if (items_.empty()) return -1;
    if (point.y < 0) return std::max(0, top_ - 1);
    int y = 0;
    int index = top_;
    for (; index < count(); ++index) {
        y += itemHeight(index);
        if (point.y < y) return index;
    }
    return count() - 1;
}

LRESULT ListBox::setItemHeight(WPARAM index, LPARAM height) {
    const int h = LOWORD(height);
    if (h <= 0 || h > 255) return refuse(LRESULT{LB_ERR}, "item height outside 1-255");
    if (variable()) {
        const auto at = static_cast<int>(index);
        if (at < 0 || at >= count()) return refuse(LRESULT{LB_ERR}, "no item at that index");
        items_.at(static_cast<size_t>(at)).height = static_cast<UINT>(h);
    } else {
        itemHeight_ = h;
        keepIntegralHeight();
    }
    updateScrollBars();
    invalidate();
    return LB_OKAY;
}

}  // namespace winplat::controls
