// Opening and closing a combo box's list, and the keys and clicks that do it or move the
// selection.
#include <algorithm>
#include <string>

#include "controls/combo_box.h"
#include "controls/control_support.h"
#include "controls/list_box.h"

namespace winplat::controls {
namespace {

bool isMoveKey(UINT key) {
    return key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT || key == VK_HOME || key == VK_END;
}

}  // namespace

RECT ComboBox::droppedRect() const {
    RECT combo{};
    GetWindowRect(window_, &combo);
    const auto shown = list();
    const int items = shown ? std::max(1, shown->count()) : 1;
    // As tall as the room given at creation, or less when fewer items fill it; above the field
    // when the screen has no room below.
    const int needed = (shown ? shown->heightOf(items) : 0) + 2;
    const int height = std::min(droppedHeight_, std::max(needed, 2 + (shown ? shown->itemHeight(0) : 0)));
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int top = combo.top + fieldHeight_ + height <= screenHeight ? combo.top + fieldHeight_ : combo.top - height;
    return {combo.left, top, combo.right, top + height};
}

void ComboBox::selectItemOfEdit() {
    const int length = GetWindowTextLengthA(edit_);
    if (length <= 0) return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(edit_, text.data(), length + 1);
    const LRESULT found = toList(LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (found != LB_ERR) SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

void ComboBox::drop() {
    if (dropped_ || kind() == CBS_SIMPLE || !list_) return;
    // The parent may fill the list now, before it shows.
    notify(CBN_DROPDOWN);
    const auto shown = list();
    if (!shown || !IsWindow(window_)) return;
    // The list opens at the item the edit names, so the arrows go on from there.
    if (edit_) selectItemOfEdit();
    selectionAtDrop_ = shown->current();
    pickedByMouse_ = false;
    const RECT r = droppedRect();
    SetWindowPos(list_, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    if (selectionAtDrop_ >= 0) SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(selectionAtDrop_), 0);
    dropped_ = true;
    SetCapture(list_);
    InvalidateRect(window_, nullptr, TRUE);
}

// Closes the list: accepted, the list's selection stands (CBN_SELENDOK); refused, the list's
// selection goes back to what it was when the list opened (CBN_SELENDCANCEL).
void ComboBox::closeUp(bool accept) {
    if (!dropped_) return;
    dropped_ = false;
    if (GetCapture() == list_) ReleaseCapture();
    ShowWindow(list_, SW_HIDE);
    InvalidateRect(window_, nullptr, TRUE);
    const auto shown = list();
    const int now = shown ? shown->current() : -1;
    if (!accept && shown && now != selectionAtDrop_) shown->select(selectionAtDrop_);
    notify(accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    notify(CBN_CLOSEUP);
    if (accept && pickedByMouse_ && now != selectionAtDrop_) {
        showSelection();
        notify(CBN_SELCHANGE);
    } else if (!accept && !edit_) {
        // An edit keeps its text: what the user typed is never thrown away by closing the list.
        showSelection();
    }
}

// A key moves the selection, in the open list or in the closed field alike, and says so.
void ComboBox::moveSelection(int index) {
    const auto shown = list();
    if (!shown || shown->count() == 0) return;
    index = std::clamp(index, 0, shown->count() - 1);
    if (index == shown->current()) return;
    shown->select(index);
    showSelection();
    notify(CBN_SELCHANGE);
}

void ComboBox::keyDown(UINT key) {
    const bool alt = keyHeld(VK_MENU);
    const bool opens = key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP)) ||
                       (extendedUi_ && !dropped_ && key == VK_DOWN);
    if (opens && kind() != CBS_SIMPLE) {
        if (dropped_) {
            closeUp(true);
        } else {
            drop();
        }
        return;
    }
    if (dropped_ && key == VK_RETURN) {
        closeUp(true);
        return;
    }
    if (dropped_ && key == VK_ESCAPE) {
        closeUp(false);
        return;
    }
    if (!isMoveKey(key)) return;
    const auto shown = list();
    if (!shown) return;
    const int current = shown->current();
    const int page = std::max(1, (droppedHeight_ - 2) / std::max(1, shown->itemHeight(0)) - 1);
    switch (key) {
        case VK_UP: moveSelection(current < 0 ? 0 : current - 1); break;
        case VK_DOWN: moveSelection(current + 1); break;
        case VK_PRIOR: moveSelection(current - page); break;
        case VK_NEXT: moveSelection(current + page); break;
        case VK_HOME: moveSelection(0); break;
        case VK_END: moveSelection(shown->count() - 1); break;
        default: break;
    }
}

void ComboBox::character(char typed) {
    if (static_cast<unsigned char>(typed) < 0x20) return;
    const auto shown = list();
    if (!shown || edit_) return;
    const int found = shown->searchTyped(typed);
    if (found >= 0) moveSelection(found);
}

void ComboBox::buttonDown(POINT point) {
    if (edit_) {
        if (GetFocus() != edit_) SetFocus(edit_);
    } else if (GetFocus() != window_) {
        SetFocus(window_);
    }
    if (kind() == CBS_SIMPLE) return;
    const RECT button = buttonRect();
    const bool onButton = point.x >= button.left && point.x < button.right && point.y >= 0 && point.y < fieldHeight_;
    if (kind() == CBS_DROPDOWN && !onButton) return;
    if (dropped_) {
        closeUp(true);
    } else {
        drop();
    }
}

void ComboBox::listMouse(UINT message, POINT point) {
    const auto shown = list();
    if (!dropped_ || !shown) return;
    RECT client{};
    GetClientRect(list_, &client);
    const bool inside = point.x >= 0 && point.y >= 0 && point.x < client.right && point.y < client.bottom;
    if (message == WM_MOUSEMOVE) {
        if (inside) shown->select(shown->itemAtPoint(point));
        return;
    }
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        if (inside) {
            shown->select(shown->itemAtPoint(point));
            return;
        }
        // A press anywhere else closes the list: on the field's button it must not reopen it.
        RECT window{};
        GetWindowRect(list_, &window);
        POINT screen = point;
        ClientToScreen(list_, &screen);
        const bool onList = screen.x >= window.left && screen.x < window.right && screen.y >= window.top &&
                            screen.y < window.bottom;
        if (!onList) closeUp(false);
        return;
    }
    if (message == WM_LBUTTONUP && inside) {
        shown->select(shown->itemAtPoint(point));
        pickedByMouse_ = true;
        closeUp(true);
    }
}

bool ComboBox::editKey(UINT message, WPARAM key) {
    if (message == WM_CHAR) {
        // Enter and Esc close the open list; their characters must not reach the edit.
        return dropped_ && (key == '\r' || key == 0x1B);
    }
    const bool alt = message == WM_SYSKEYDOWN;
    const bool take = key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP)) ||
                      (dropped_ && (key == VK_RETURN || key == VK_ESCAPE)) || key == VK_UP || key == VK_DOWN ||
                      (dropped_ && (key == VK_PRIOR || key == VK_NEXT));
    if (!take || (alt && key != VK_DOWN && key != VK_UP)) return false;
    keyDown(static_cast<UINT>(key));
    return true;
}

}  // namespace winplat::controls
