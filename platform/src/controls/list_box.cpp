#include "controls/list_box.h"

#include "base/call_refusal.h"

namespace winplat::controls {
namespace {

const CallRefuser refuse("winplat: LISTBOX");

// Styles the reader and the forms never ask of a list box.
constexpr DWORD kUnsupportedStyles = LBS_USETABSTOPS | LBS_MULTICOLUMN | LBS_NODATA | LBS_NOSEL;

POINT pointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

ListBox::ListBox(HWND window, const CREATESTRUCTA& create)
    : window_(window), style_(static_cast<DWORD>(create.style)) {
    if (style_ & kUnsupportedStyles) refuse.unsupported(0, "list box style not supported");
    if ((style_ & LBS_COMBOBOX) && create.lpCreateParams) combo_ = static_cast<HWND>(create.lpCreateParams);
    if ((style_ & LBS_MULTIPLESEL) && (style_ & LBS_EXTENDEDSEL)) style_ &= ~static_cast<DWORD>(LBS_MULTIPLESEL);
    redraw_ = (style_ & LBS_NOREDRAW) == 0;
    itemHeight_ = font_.lineHeight();
}

bool ListBox::hasStrings() const { return !ownerDraw() || (style_ & LBS_HASSTRINGS); }

void ListBox::notify(int code) const {
    // Selection and double-click news only for lists that asked for them (a combo's list always).
    if ((code == LBN_SELCHANGE || code == LBN_DBLCLK) && !(style_ & LBS_NOTIFY) && !combo_) {
        return;
    }
    const HWND target = combo_ ? combo_ : GetParent(window_);
    if (!target) return;
    const auto id = static_cast<WORD>(GetWindowLongPtrA(window_, GWLP_ID));
    SendMessageA(target, WM_COMMAND, MAKEWPARAM(id, static_cast<WORD>(code)), reinterpret_cast<LPARAM>(window_));
}

HWND ListBox::ownerDrawTarget() const { return combo_ ? GetParent(combo_) : GetParent(window_); }

std::optional<LRESULT> ListBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= LB_ADDSTRING && message <= LB_ITEMFROMPOINT) return listMessage(message, wParam, lParam);
    switch (message) {
        case WM_CREATE:
            if (ownerDraw() && !variable()) itemHeight_ = static_cast<int>(measure(0, 0));
            keepIntegralHeight();
            updateScrollBars();
            return 0;
        case WM_SIZE:
            keepIntegralHeight();
            updateScrollBars();
            return std::nullopt;
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painting fills the whole client area
        case WM_SETFONT:
            font_.set(reinterpret_cast<HFONT>(wParam));
            if (!ownerDraw()) itemHeight_ = font_.lineHeight();
            keepIntegralHeight();
            updateScrollBars();
            if (LOWORD(lParam)) invalidate();
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_.given());
        case WM_SETREDRAW:
            redraw_ = wParam != 0;
            if (redraw_) {
                updateScrollBars();
                invalidate();
            }
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
            focusChanged(true);
            return 0;
        case WM_KILLFOCUS:
            focusChanged(false);
            return 0;
        case WM_ENABLE:
            invalidate();
            return 0;
        case WM_KEYDOWN:
            if (ownerTakesKey(WM_VKEYTOITEM, static_cast<WORD>(wParam))) return 0;
            keyDown(static_cast<UINT>(wParam));
            return 0;
        case WM_CHAR:
            // Lists without strings cannot search: their owner may, through WM_CHARTOITEM.
            if (!hasStrings() && ownerTakesKey(WM_CHARTOITEM, static_cast<BYTE>(wParam))) return 0;
            character(static_cast<char>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            buttonDown(pointOf(lParam), wParam, message == WM_LBUTTONDBLCLK);
            return 0;
        case WM_MOUSEMOVE:
            mouseMove(pointOf(lParam));
            return 0;
        case WM_LBUTTONUP:
            buttonUp();
            return 0;
        case WM_CAPTURECHANGED:
            tracking_ = false;
            return 0;
        case WM_VSCROLL:
            scrollVertically(LOWORD(wParam));
            return 0;
        case WM_HSCROLL:
            scrollHorizontally(LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            setTop(top_ - 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
            return 0;
        default:
            return std::nullopt;
    }
}

LRESULT ListBox::listMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case LB_ADDSTRING: return addString(lParam);
        case LB_INSERTSTRING: return insertString(wParam, lParam);
        case LB_DELETESTRING: return deleteString(wParam);
        case LB_RESETCONTENT: return resetContent();
        case LB_GETCOUNT: return count();
        case LB_GETCURSEL: return current();
        case LB_SETCURSEL: return setCurrent(wParam);
        case LB_GETSEL: {
            const int index = static_cast<int>(wParam);
            if (index < 0 || index >= count()) return LB_ERR;
            return multiple() ? items_.at(static_cast<size_t>(index)).selected : index == selected_;
        }
        case LB_SETSEL: return setSelected(wParam, lParam);
        case LB_GETSELCOUNT: return selectedCount();
        case LB_GETSELITEMS: return selectedItems(wParam, lParam);
        case LB_GETTEXT: return getText(wParam, lParam);
        case LB_GETTEXTLEN: return getTextLength(wParam);
        case LB_GETITEMDATA: {
            const int index = static_cast<int>(wParam);
            if (index < 0 || index >= count()) return LB_ERR;
            return static_cast<LRESULT>(items_.at(static_cast<size_t>(index)).data);
        }
        case LB_SETITEMDATA: {
            const int index = static_cast<int>(wParam);
            if (index < 0 || index >= count()) return refuse(LRESULT{LB_ERR}, "no item at that index");
            items_.at(static_cast<size_t>(index)).data = static_cast<ULONG_PTR>(lParam);
            return LB_OKAY;
        }
        case LB_FINDSTRING: return find(wParam, lParam, false);
        case LB_FINDSTRINGEXACT: return find(wParam, lParam, true);
        case LB_SELECTSTRING: return selectString(wParam, lParam);
        case LB_GETTOPINDEX: return top_;
        case LB_SETTOPINDEX: {
            const int index = static_cast<int>(wParam);
            if (index < 0 || (index >= count() && index != 0)) return LB_ERR;
            setTop(index);
            return LB_OKAY;
        }
        case LB_GETITEMRECT: {
            const int index = static_cast<int>(wParam);
            auto* out = reinterpret_cast<RECT*>(lParam);
            if (!out || index < 0 || (index >= count() && !(index == 0 && count() == 0))) return LB_ERR;
            *out = itemRect(index);
            return 1;
        }
        case LB_GETITEMHEIGHT: {
            const int index = static_cast<int>(wParam);
            if (variable() && (index < 0 || index >= count())) return LB_ERR;
            return itemHeight(index);
        }
        case LB_SETITEMHEIGHT: return setItemHeight(wParam, lParam);
        case LB_ITEMFROMPOINT: return itemFromPoint(lParam);
        case LB_GETHORIZONTALEXTENT: return horizontalExtent_;
        case LB_SETHORIZONTALEXTENT:
            horizontalExtent_ = static_cast<int>(std::min<WPARAM>(wParam, 0x7FFF));
            updateScrollBars();
            invalidate();
            return 0;
        case LB_GETCARETINDEX: return caret_;
        case LB_SETCARETINDEX: {
            const int index = static_cast<int>(wParam);
            if (index < 0 || index >= count()) return LB_ERR;
            moveCaret(index, false);
            return LB_OKAY;
        }
        case LB_INITSTORAGE:
            // The tree grows an item at a time: there is nothing to reserve, and room for all.
            return count() + static_cast<LRESULT>(wParam);
        default:
            return refuse.unsupported(LRESULT{LB_ERR}, "list box message not supported");
    }
}

}  // namespace winplat::controls
