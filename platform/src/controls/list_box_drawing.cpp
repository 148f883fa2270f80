// Painting a list box: the background from the parent's WM_CTLCOLORLISTBOX brush, then each item
// shown, drawn here or by the owner (WM_DRAWITEM), and the focus frame.
#include "controls/list_box.h"
#include "controls/control_support.h"
#include "winplat/owners.h"
#include "winplat/text.h"

namespace winplat::controls {
namespace {

constexpr int kTextIndent = 2;  // between an item's left edge and its text

}  // namespace

void ListBox::invalidate() {
    if (redraw_) InvalidateRect(window_, nullptr, TRUE);
}

void ListBox::invalidateItem(int index) {
    if (!redraw_ || index < 0 || index >= count()) return;
    const RECT r = itemRect(index);
    const RECT c = client();
    if (r.bottom <= 0 || r.top >= c.bottom) return;
    const RECT whole{0, r.top, c.right, r.bottom};
    InvalidateRect(window_, &whole, TRUE);
}

// The brush the parent gives (it may set the text and back colours in the DC too); DefWindowProcA's
// window colours when it gives none.
HBRUSH ListBox::colours(HDC dc) const {
    HBRUSH brush = parentColours(combo_ ? combo_ : window_, dc, WM_CTLCOLORLISTBOX);
    if (!IsWindowEnabled(window_)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    return brush ? brush : GetSysColorBrush(COLOR_WINDOW);
}

void ListBox::drawOwnerItem(HDC dc, int index, const RECT& r, UINT action) {
    DRAWITEMSTRUCT d{};
    const HWND control = combo_ ? combo_ : window_;
    d.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
    d.CtlID = static_cast<UINT>(GetWindowLongPtrA(control, GWLP_ID));
    d.itemID = static_cast<UINT>(index);
    d.itemAction = action;
    const bool selected = index >= 0 && (multiple() ? items_.at(static_cast<size_t>(index)).selected : index == selected_);
    d.itemState = (selected ? ODS_SELECTED : 0u) | (focused_ && index == caret_ ? ODS_FOCUS : 0u) |
                  (IsWindowEnabled(window_) ? 0u : ODS_DISABLED);
    d.hwndItem = control;
    d.hDC = dc;
    d.rcItem = r;
    d.itemData = index >= 0 ? items_.at(static_cast<size_t>(index)).data : 0;
    if (const HWND target = ownerDrawTarget()) SendMessageA(target, WM_DRAWITEM, d.CtlID, reinterpret_cast<LPARAM>(&d));
}

void ListBox::drawItem(HDC dc, int index, const RECT& r, HBRUSH background) {
    if (ownerDraw()) {
        drawOwnerItem(dc, index, r, ODA_DRAWENTIRE);
        return;
    }
    const ListItem& item = items_.at(static_cast<size_t>(index));
    const bool selected = multiple() ? item.selected : index == selected_;
    const COLORREF text = GetTextColor(dc);
    const COLORREF back = GetBkColor(dc);
    if (selected) {
        FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    } else {
        FillRect(dc, &r, background);
    }
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutA(dc, r.left + kTextIndent, r.top, ETO_CLIPPED, &r, item.text.data(), static_cast<UINT>(item.text.size()),
                nullptr);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}

void ListBox::paint() {
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(window_, &ps);
    if (!dc) return;
    {
        const Selection font(dc, font_.get());
        const HBRUSH background = colours(dc);
        const RECT c = client();
        FillRect(dc, &c, background);
        for (int index = top_; index < count(); ++index) {
            const RECT r = itemRect(index);
            if (r.top >= c.bottom) break;
            if (r.bottom > ps.rcPaint.top && r.top < ps.rcPaint.bottom) drawItem(dc, index, r, background);
        }
        // Owner-drawn items draw their own frame from ODS_FOCUS.
        if (focused_ && !ownerDraw() && caret_ < count()) {
            const RECT r = itemRect(caret_);
            const RECT frame{0, r.top, c.right, r.bottom};
            DrawFocusRect(dc, &frame);
        }
    }
    EndPaint(window_, &ps);
}

}  // namespace winplat::controls
