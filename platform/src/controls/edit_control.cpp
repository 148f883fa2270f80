#include "controls/edit_control.h"

#include <algorithm>

#include "winplat/cp1250.h"
#include "winplat/owners.h"
#include "winplat/text.h"

namespace winplat::controls {

namespace {

constexpr int kMargin = 1;       // pixels between the window's edge and the text, left and right
constexpr int kTabColumns = 8;   // tab stops every eight average characters (32 dialog units)

}  // namespace

DWORD EditControl::style() const { return static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)); }

bool EditControl::wraps() const {
    const DWORD s = style();
    return (s & ES_MULTILINE) && !(s & ES_AUTOHSCROLL) && !horizontalBar_;
}

void EditControl::setScrollBars(DWORD createStyle) {
    verticalBar_ = (createStyle & WS_VSCROLL) != 0;
    horizontalBar_ = (createStyle & WS_HSCROLL) != 0;
}

// --- the font and the layout

void EditControl::measureFont() {
    BorrowedDc dc(window_);
    if (!dc) return;
    Selection selected(dc.get(), font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics{};
    if (!GetTextMetricsA(dc.get(), &metrics)) return;
    lineHeight_ = std::max<int>(1, metrics.tmHeight);
    averageWidth_ = std::max<int>(1, metrics.tmAveCharWidth);
    GetCharWidthA(dc.get(), 0, 255, fontWidths_.advance.data());
    fontWidths_.tabStop = kTabColumns * averageWidth_;
}

void EditControl::setFont(HFONT font) {
    font_ = font;
    measureFont();
    relayOut();
    if (focused_) {
        // The caret's height follows the line's.
        DestroyCaret();
        CreateCaret(window_, nullptr, 1, lineHeight_);
        placeCaret();
        ShowCaret(window_);
    }
}

void EditControl::setPasswordChar(char c) {
    passwordChar_ = c;
    relayOut();
}

std::string_view EditControl::shownText() const {
    return passwordChar_ ? std::string_view(masked_) : std::string_view(buffer_.text());
}

void EditControl::relayOut() {
    widths_ = fontWidths_;
    if (passwordChar_) {
        widths_.advance.fill(fontWidths_.advance[static_cast<unsigned char>(passwordChar_)]);
        masked_.assign(buffer_.size(), passwordChar_);
    }
    if (multiLine()) {
        const RECT r = formatRect();
        lines_ = layOutLines(buffer_.text(), widths_, wraps() ? std::max<int>(1, r.right - r.left) : 0);
    } else {
        // A single line shows any breaks a program put in as characters.
        lines_ = {EditLine{0, buffer_.size(), buffer_.size()}};
    }
    const int lastTop = std::max<int>(0, static_cast<int>(lines_.size()) - visibleLines());
    firstLine_ = std::min(firstLine_, lastTop);
    updateScrollBars();
}

// --- geometry

RECT EditControl::formatRect() const {
    RECT r{};
    GetClientRect(window_, &r);
    r.left += kMargin;
    r.right = std::max(r.left, r.right - kMargin);
    return r;
}

int EditControl::visibleLines() const {
    const RECT r = formatRect();
    return std::max(1, static_cast<int>(r.bottom - r.top) / lineHeight_);
}

int EditControl::textWidth(size_t line) const {
    const EditLine& l = lines_[line];
    return widths_.run(shownText().substr(l.start, l.length));
}

int EditControl::lineLeft(size_t line) const {
    const RECT r = formatRect();
    const int room = r.right - r.left;
    const int width = textWidth(line);
    int aligned = 0;
    if (width < room) {
        if (style() & ES_RIGHT) {
            aligned = room - width;
        } else if (style() & ES_CENTER) {
            aligned = (room - width) / 2;
        }
    }
    return r.left + aligned - xOffset_;
}

int EditControl::lineTop(size_t line) const {
    return formatRect().top + (static_cast<int>(line) - firstLine_) * lineHeight_;
}

POINT EditControl::pointOf(size_t position) const {
    const size_t line = lineOfPosition(lines_, position);
    return {lineLeft(line) + xOfPosition(shownText(), lines_[line], position, widths_), lineTop(line)};
}

size_t EditControl::positionAt(POINT point) const {
    const RECT r = formatRect();
    int row = firstLine_ + (point.y >= r.top ? (point.y - r.top) / lineHeight_ : -1);
    row = std::clamp(row, 0, static_cast<int>(lines_.size()) - 1);
    const size_t line = static_cast<size_t>(row);
    return positionOfX(shownText(), lines_[line], point.x - lineLeft(line), widths_);
}

// --- scrolling

int EditControl::scrollLines(int delta) {
    const int lastTop = std::max<int>(0, static_cast<int>(lines_.size()) - visibleLines());
    const int target = std::clamp(firstLine_ + delta, 0, lastTop);
    const int moved = target - firstLine_;
    if (moved == 0) return 0;
    firstLine_ = target;
    updateScrollBars();
    redraw();
    placeCaret();
    return moved;
}

void EditControl::scrollPixels(int delta) {
    const int target = std::max(0, xOffset_ + delta);
    if (target == xOffset_) return;
    xOffset_ = target;
    updateScrollBars();
    redraw();
    placeCaret();
}

void EditControl::scrollToCaret() {
    const size_t line = caretLine();
    const int row = static_cast<int>(line);
    if (multiLine()) {
        if (row < firstLine_) {
            scrollLines(row - firstLine_);
        } else if (row >= firstLine_ + visibleLines()) {
            scrollLines(row - firstLine_ - visibleLines() + 1);
        }
    }
    if (wraps()) return;
    // Sideways by a quarter of the width beyond the caret, so typing on does not scroll at once.
    const RECT r = formatRect();
    const int room = std::max<int>(1, r.right - r.left);
    const int x = xOfPosition(shownText(), lines_[line], buffer_.caret(), widths_);
    if (x < xOffset_) {
        scrollPixels(std::max(0, x - room / 4) - xOffset_);
    } else if (x >= xOffset_ + room) {
        scrollPixels(x - room + room / 4 - xOffset_);
    }
}

// The bars stay shown, disabled while there is nothing to scroll, so the width the text wraps in
// stays put.
void EditControl::updateScrollBars() const {
    constexpr UINT kMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    if (verticalBar_) {
        SCROLLINFO info{sizeof info, kMask, 0,
                        std::max(0, static_cast<int>(lines_.size()) - 1), static_cast<UINT>(visibleLines()),
                        firstLine_, 0};
        SetScrollInfo(window_, SB_VERT, &info, TRUE);
    }
    if (horizontalBar_) {
        int widest = 0;
        for (size_t line = 0; line < lines_.size(); ++line) widest = std::max(widest, textWidth(line));
        const RECT r = formatRect();
        SCROLLINFO info{sizeof info, kMask, 0, widest,
                        static_cast<UINT>(std::max<int>(1, r.right - r.left)), xOffset_, 0};
        SetScrollInfo(window_, SB_HORZ, &info, TRUE);
    }
}

// --- focus and caret

void EditControl::takeFocus() {
    focused_ = true;
    CreateCaret(window_, nullptr, 1, lineHeight_);
    placeCaret();
    ShowCaret(window_);
    redraw();
    notify(EN_SETFOCUS);
}

void EditControl::loseFocus() {
    focused_ = false;
    selecting_ = false;
    DestroyCaret();
    redraw();
    notify(EN_KILLFOCUS);
}

void EditControl::placeCaret() const {
    if (!focused_) return;
    const POINT p = pointOf(buffer_.caret());
    SetCaretPos(p.x, p.y);
}

// --- changes

std::string EditControl::filtered(std::string_view text) const {
    std::string out(text);
    if (!multiLine()) out.resize(std::min(out.size(), out.find_first_of("\r\n")));
    const DWORD s = style();
    if (s & ES_UPPERCASE) {
        std::transform(out.begin(), out.end(), out.begin(),
                       [](char c) { return static_cast<char>(cp1250::toUpper(static_cast<uint8_t>(c))); });
    } else if (s & ES_LOWERCASE) {
        std::transform(out.begin(), out.end(), out.begin(),
                       [](char c) { return static_cast<char>(cp1250::toLower(static_cast<uint8_t>(c))); });
    }
    return out;
}

bool EditControl::fitsWindow() const {
    const DWORD s = style();
    if (multiLine()) return (s & ES_AUTOVSCROLL) || verticalBar_ || static_cast<int>(lines_.size()) <= visibleLines();
    if ((s & ES_AUTOHSCROLL) || horizontalBar_) return true;
    const RECT r = formatRect();
    return textWidth(0) <= r.right - r.left;
}

bool EditControl::replaceSelection(std::string_view text, bool typing) {
    const EditBuffer before = buffer_;
    const EditBuffer::Replaced replaced = buffer_.replaceSelection(filtered(text), typing);
    const bool changed = before.text() != buffer_.text();
    relayOut();
    if (changed && !fitsWindow()) {
        buffer_ = before;
        relayOut();
        notify(EN_MAXTEXT);
        return false;
    }
    if (replaced.truncated) notify(EN_MAXTEXT);
    if (!changed) {
        selectionMoved(true);
        return false;
    }
    announceChange();
    return true;
}

bool EditControl::setText(std::string_view text, bool quietly) {
    if (!buffer_.setText(filtered(text))) {
        if (!quietly) notify(EN_ERRSPACE);
        return false;
    }
    firstLine_ = 0;
    xOffset_ = 0;
    relayOut();
    if (quietly) return true;
    notify(EN_UPDATE);
    redraw();
    placeCaret();
    // A multi-line control tells of no change a program made with WM_SETTEXT.
    if (!multiLine()) notify(EN_CHANGE);
    return true;
}

bool EditControl::undo() {
    if (!buffer_.undo()) return false;
    relayOut();
    announceChange();
    return true;
}

// The parent hears of a change twice: before it shows (EN_UPDATE) and after (EN_CHANGE).
void EditControl::announceChange() {
    scrollToCaret();
    notify(EN_UPDATE);
    redraw();
    placeCaret();
    notify(EN_CHANGE);
}

void EditControl::selectionMoved(bool scroll) {
    if (scroll) scrollToCaret();
    redraw();
    placeCaret();
}

void EditControl::notify(WORD code) const {
    const HWND parent = GetParent(window_);
    if (!parent) return;
    const auto id = static_cast<WORD>(GetWindowLongA(window_, GWL_ID));
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(window_));
}

void EditControl::redraw() const { InvalidateRect(window_, nullptr, FALSE); }

}  // namespace winplat::controls
