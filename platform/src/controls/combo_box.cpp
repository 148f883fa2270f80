#include "controls/combo_box.h"

#include <algorithm>
#include <cstring>

#include "base/call_refusal.h"
#include "controls/control_support.h"
#include "controls/list_box.h"
#include "controls/list_box_window.h"

namespace winplat::controls {
namespace {

const CallRefuser refuse("winplat: COMBOBOX");

constexpr DWORD kUnsupportedStyles = CBS_OEMCONVERT | CBS_UPPERCASE | CBS_LOWERCASE;
constexpr int kFieldPadding = 8;  // the sunken edge and a pixel of air above and below the text
constexpr UINT kEditId = 1001;    // the id Windows gives a combo box's edit

// The CB_ messages that are the list's LB_ ones under another number.
struct Forwarded {
    UINT combo;
    UINT list;
};
constexpr Forwarded kForwarded[] = {
    {CB_ADDSTRING, LB_ADDSTRING},           {CB_INSERTSTRING, LB_INSERTSTRING},
    {CB_GETCOUNT, LB_GETCOUNT},             {CB_GETCURSEL, LB_GETCURSEL},
    {CB_GETLBTEXT, LB_GETTEXT},             {CB_GETLBTEXTLEN, LB_GETTEXTLEN},
    {CB_FINDSTRING, LB_FINDSTRING},         {CB_FINDSTRINGEXACT, LB_FINDSTRINGEXACT},
    {CB_GETITEMDATA, LB_GETITEMDATA},       {CB_SETITEMDATA, LB_SETITEMDATA},
    {CB_GETTOPINDEX, LB_GETTOPINDEX},       {CB_SETTOPINDEX, LB_SETTOPINDEX},
    {CB_GETHORIZONTALEXTENT, LB_GETHORIZONTALEXTENT}, {CB_SETHORIZONTALEXTENT, LB_SETHORIZONTALEXTENT},
    {CB_INITSTORAGE, LB_INITSTORAGE},
};

// The list box styles of a combo box's list.
DWORD listStyleOf(DWORD comboStyle) {
    DWORD style = LBS_COMBOBOX | LBS_NOTIFY | WS_VSCROLL | WS_BORDER;
    if (comboStyle & CBS_SORT) style |= LBS_SORT;
    if (comboStyle & CBS_OWNERDRAWFIXED) style |= LBS_OWNERDRAWFIXED;
    if (comboStyle & CBS_OWNERDRAWVARIABLE) style |= LBS_OWNERDRAWVARIABLE;
    if (comboStyle & CBS_HASSTRINGS) style |= LBS_HASSTRINGS;
    if (comboStyle & CBS_NOINTEGRALHEIGHT) style |= LBS_NOINTEGRALHEIGHT;
    if (comboStyle & CBS_DISABLENOSCROLL) style |= LBS_DISABLENOSCROLL;
    return style;
}

HWND topLevelOf(HWND window) {
    while (window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
    return window;
}

}  // namespace

ComboBox::ComboBox(HWND window, const CREATESTRUCTA& create) : window_(window), style_(static_cast<DWORD>(create.style)) {
    if (style_ & kUnsupportedStyles) refuse.unsupported(0, "combo box style not supported");
}

std::shared_ptr<ListBox> ComboBox::list() const { return listBoxOf(list_); }

LRESULT ComboBox::toList(UINT message, WPARAM wParam, LPARAM lParam) const {
    return list_ ? SendMessageA(list_, message, wParam, lParam) : CB_ERR;
}

void ComboBox::notify(WORD code) const { notifyParent(window_, code); }

bool ComboBox::create(const CREATESTRUCTA& create) {
    // The scroll bars a template gives the combo box are its list's: the box itself has none.
    const LONG own = GetWindowLongA(window_, GWL_STYLE);
    if (own & (WS_VSCROLL | WS_HSCROLL)) {
        SetWindowLongA(window_, GWL_STYLE, own & ~static_cast<LONG>(WS_VSCROLL | WS_HSCROLL));
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    fieldHeight_ = font_.lineHeight() + kFieldPadding;
    if (ownerDraw()) {
        // The parent says how tall the selection field is: WM_MEASUREITEM for item -1.
        MEASUREITEMSTRUCT m{ODT_COMBOBOX, static_cast<UINT>(GetWindowLongA(window_, GWL_ID)), static_cast<UINT>(-1), 0,
                            static_cast<UINT>(font_.lineHeight()), 0};
        if (const HWND parent = GetParent(window_)) SendMessageA(parent, WM_MEASUREITEM, m.CtlID, reinterpret_cast<LPARAM>(&m));
        fieldHeight_ = static_cast<int>(std::clamp<UINT>(m.itemHeight, 1, 255)) + kFieldPadding;
    }
    droppedHeight_ = std::max(create.cy - fieldHeight_, font_.lineHeight() + 2);
    const HINSTANCE instance = create.hInstance;
    const DWORD listStyle = listStyleOf(style_);
    const auto comboHandle = static_cast<LPVOID>(window_);
    if (kind() == CBS_SIMPLE) {
        list_ = CreateWindowExA(0, "ComboLBox", "", WS_CHILD | WS_VISIBLE | listStyle, 0, fieldHeight_, create.cx,
                                std::max(0, create.cy - fieldHeight_), window_, nullptr, instance, comboHandle);
    } else {
        list_ = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "ComboLBox", "", WS_POPUP | listStyle, 0, 0, create.cx,
                                droppedHeight_, topLevelOf(window_), nullptr, instance, comboHandle);
        if (list_) SetPropA(list_, "winplat.combo", window_);
    }
    if (!list_) return refuse(false, "the list could not be made");
    if (hasEdit()) {
        const DWORD editStyle = WS_CHILD | WS_VISIBLE | ((style_ & CBS_AUTOHSCROLL) ? ES_AUTOHSCROLL : 0);
        edit_ = CreateWindowExA(0, "EDIT", "", editStyle, 0, 0, 0, 0, window_,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEditId)), instance, nullptr);
        if (!edit_) return refuse(false, "the edit could not be made");
        SetPropA(edit_, "winplat.edit", reinterpret_cast<HANDLE>(GetWindowLongPtrA(edit_, GWLP_WNDPROC)));
        SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(comboEditProcedure));
    }
    // Closed, a drop-down combo box is as tall as its field.
    if (kind() != CBS_SIMPLE) {
        SetWindowPos(window_, nullptr, 0, 0, create.cx, fieldHeight_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    layOut();
    return true;
}

RECT ComboBox::buttonRect() const {
    RECT c{};
    GetClientRect(window_, &c);
    if (kind() == CBS_SIMPLE) return {c.right, 2, c.right, 2};
    const int width = GetSystemMetrics(SM_CXVSCROLL);
    return {c.right - 2 - width, 2, c.right - 2, fieldHeight_ - 2};
}

RECT ComboBox::fieldRect() const {
    RECT c{};
    GetClientRect(window_, &c);
    const RECT button = buttonRect();
    return {2, 2, button.left, fieldHeight_ - 2};
}

void ComboBox::layOut() {
    if (edit_) {
        const RECT field = fieldRect();
        MoveWindow(edit_, field.left + 1, field.top + 1, field.right - field.left - 2, field.bottom - field.top - 2, TRUE);
    }
    if (kind() == CBS_SIMPLE && list_) {
        RECT c{};
        GetClientRect(window_, &c);
        MoveWindow(list_, 0, fieldHeight_, c.right, std::max(0, static_cast<int>(c.bottom) - fieldHeight_), TRUE);
    }
}

std::string ComboBox::selectedText() const {
    const auto index = static_cast<int>(toList(LB_GETCURSEL));
    const auto length = static_cast<int>(toList(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
    if (index < 0 || length < 0 || !list() || !list()->hasStrings()) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    toList(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

// The field shows the list's selection: the edit's text, or the drawn field.
void ComboBox::showSelection() {
    if (edit_) {
        settingText_ = true;
        SetWindowTextA(edit_, selectedText().c_str());
        SendMessageA(edit_, EM_SETSEL, 0, -1);
        settingText_ = false;
    }
    InvalidateRect(window_, nullptr, TRUE);
}

LRESULT ComboBox::setCurrent(WPARAM index) {
    const LRESULT result = toList(LB_SETCURSEL, index);
    showSelection();
    return result;
}

// WM_SETTEXT: the edit's text; a drop-down list selects the item of exactly that text.
LRESULT ComboBox::setText(LPARAM text) {
    if (edit_) {
        settingText_ = true;
        const LRESULT done = SendMessageA(edit_, WM_SETTEXT, 0, text);
        settingText_ = false;
        return done;
    }
    const LRESULT found = toList(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text);
    if (found == LB_ERR) return CB_ERR;
    setCurrent(static_cast<WPARAM>(found));
    return TRUE;
}

LRESULT ComboBox::getText(WPARAM size, LPARAM buffer) const {
    if (edit_) return SendMessageA(edit_, WM_GETTEXT, size, buffer);
    auto* out = reinterpret_cast<char*>(buffer);
    if (!out || size == 0) return 0;
    const std::string text = selectedText();
    const size_t copied = std::min<size_t>(text.size(), size - 1);
    std::memcpy(out, text.data(), copied);
    out[copied] = '\0';
    return static_cast<LRESULT>(copied);
}

LRESULT ComboBox::comboMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    for (const Forwarded& f : kForwarded) {
        if (f.combo == message) return toList(f.list, wParam, lParam);
    }
    switch (message) {
        case CB_SETCURSEL: return setCurrent(wParam);
        case CB_SELECTSTRING: {
            const LRESULT found = toList(LB_SELECTSTRING, wParam, lParam);
            if (found != LB_ERR) showSelection();
            return found;
        }
        case CB_DELETESTRING: {
            const LRESULT left = toList(LB_DELETESTRING, wParam);
            if (!edit_) InvalidateRect(window_, nullptr, TRUE);
            return left;
        }
        case CB_RESETCONTENT:
            toList(LB_RESETCONTENT);
            showSelection();
            return CB_OKAY;
        case CB_SHOWDROPDOWN:
            if (kind() == CBS_SIMPLE) return TRUE;
            if (wParam && !dropped_) drop();
            if (!wParam && dropped_) closeUp(false);
            return TRUE;
        case CB_GETDROPPEDSTATE: return dropped_;
        case CB_GETDROPPEDCONTROLRECT: {
            auto* out = reinterpret_cast<RECT*>(lParam);
            if (!out) return CB_ERR;
            const RECT r = droppedRect();
            *out = {r.left, r.top - fieldHeight_, r.right, r.bottom};  // the field and the list
            return TRUE;
        }
        case CB_SETEXTENDEDUI: extendedUi_ = wParam != 0; return CB_OKAY;
        case CB_GETEXTENDEDUI: return extendedUi_;
        case CB_LIMITTEXT:
            if (!edit_) return CB_ERR;
            SendMessageA(edit_, EM_LIMITTEXT, wParam, 0);
            return TRUE;
        case CB_SETEDITSEL:
            if (!edit_) return CB_ERR;
            SendMessageA(edit_, EM_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(lParam))),
                         static_cast<SHORT>(HIWORD(lParam)));
            return TRUE;
        case CB_GETEDITSEL:
            if (!edit_) return CB_ERR;
            return SendMessageA(edit_, EM_GETSEL, wParam, lParam);
        case CB_GETITEMHEIGHT:
            if (static_cast<int>(wParam) == -1) return fieldHeight_ - kFieldPadding;
            return toList(LB_GETITEMHEIGHT, wParam);
        case CB_SETITEMHEIGHT:
            if (static_cast<int>(wParam) != -1) return toList(LB_SETITEMHEIGHT, wParam, lParam);
            if (LOWORD(lParam) == 0 || LOWORD(lParam) > 255) return refuse(LRESULT{CB_ERR}, "field height outside 1-255");
            fieldHeight_ = LOWORD(lParam) + kFieldPadding;
            layOut();
            InvalidateRect(window_, nullptr, TRUE);
            return CB_OKAY;
        default:
            return refuse.unsupported(LRESULT{CB_ERR}, "combo box message not supported");
    }
}

void ComboBox::listCommand(WORD code) {
    switch (code) {
        case LBN_SELCHANGE:
            // A click in a simple combo box's list.
            showSelection();
            notify(CBN_SELCHANGE);
            break;
        case LBN_DBLCLK: notify(CBN_DBLCLK); break;
        case static_cast<WORD>(LBN_ERRSPACE): notify(static_cast<WORD>(CBN_ERRSPACE)); break;
        default: break;
    }
}

void ComboBox::editCommand(WORD code) {
    switch (code) {
        case EN_SETFOCUS:
            focused_ = true;
            notify(CBN_SETFOCUS);
            break;
        case EN_KILLFOCUS:
            focused_ = false;
            if (dropped_) closeUp(false);
            notify(CBN_KILLFOCUS);
            break;
        case EN_UPDATE:
            if (!settingText_) notify(CBN_EDITUPDATE);
            break;
        case EN_CHANGE:
            if (settingText_) break;
            // While the list is open, it follows what is typed.
            if (dropped_ || kind() == CBS_SIMPLE) {
                const std::string typed = windowText(edit_);
                const LRESULT found = toList(LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(typed.c_str()));
                if (found != LB_ERR && list()) list()->select(static_cast<int>(found));
            }
            notify(CBN_EDITCHANGE);
            break;
        default: break;
    }
}

std::optional<LRESULT> ComboBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= CB_GETEDITSEL && message <= CB_INITSTORAGE) return comboMessage(message, wParam, lParam);
    switch (message) {
        case WM_CREATE: return create(*reinterpret_cast<const CREATESTRUCTA*>(lParam)) ? 0 : -1;
        case WM_DESTROY:
            if (list_ && kind() != CBS_SIMPLE) DestroyWindow(list_);
            list_ = nullptr;
            return 0;
        case WM_SIZE: layOut(); return std::nullopt;
        case WM_PAINT: paint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SETFONT:
            font_.set(reinterpret_cast<HFONT>(wParam));
            if (edit_) SendMessageA(edit_, WM_SETFONT, wParam, lParam);
            toList(WM_SETFONT, wParam, lParam);
            if (!ownerDraw()) fieldHeight_ = font_.lineHeight() + kFieldPadding;
            layOut();
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(font_.given());
        case WM_SETTEXT: return setText(lParam);
        case WM_GETTEXT: return getText(wParam, lParam);
        case WM_GETTEXTLENGTH:
            return edit_ ? SendMessageA(edit_, WM_GETTEXTLENGTH, 0, 0) : static_cast<LRESULT>(selectedText().size());
        case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | (dropped_ ? DLGC_WANTMESSAGE : 0);
        case WM_SETFOCUS:
            if (edit_) {
                SetFocus(edit_);
                SendMessageA(edit_, EM_SETSEL, 0, -1);
                return 0;
            }
            focused_ = true;
            InvalidateRect(window_, nullptr, TRUE);
            notify(CBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            if (edit_) return 0;
            focused_ = false;
            if (dropped_) closeUp(false);
            InvalidateRect(window_, nullptr, TRUE);
            notify(CBN_KILLFOCUS);
            return 0;
        case WM_ENABLE:
            if (edit_) EnableWindow(edit_, static_cast<BOOL>(wParam));
            InvalidateRect(window_, nullptr, TRUE);
            return 0;
        case WM_COMMAND:
            if (reinterpret_cast<HWND>(lParam) == list_ && list_) listCommand(HIWORD(wParam));
            if (reinterpret_cast<HWND>(lParam) == edit_ && edit_) editCommand(HIWORD(wParam));
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (message == WM_SYSKEYDOWN && wParam != VK_DOWN && wParam != VK_UP) return std::nullopt;
            keyDown(static_cast<UINT>(wParam));
            return 0;
        case WM_CHAR: character(static_cast<char>(wParam)); return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            buttonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        default: return std::nullopt;
    }
}

}  // namespace winplat::controls
