// The keyboard and the mouse in a list box.
#include <algorithm>

#include "controls/control_support.h"
#include "controls/list_box.h"
#include "controls/list_order.h"
#include "winplat/time.h"

namespace winplat::controls {
namespace {

// Characters typed within this time of each other spell one prefix for the letter search.
constexpr uint64_t kTypingPauseMs = 1000;

}  // namespace

void ListBox::focusChanged(bool focused) {
    focused_ = focused;
    invalidateItem(caret_);
    notify(focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
}

// With LBS_WANTKEYBOARDINPUT the owner sees each key first (WM_VKEYTOITEM, WM_CHARTOITEM) and
// answers -2 when it handled the key, -1 for the list's own handling, or an item for the list to
// act on instead of the caret's. True when nothing more is to be done.
bool ListBox::ownerTakesKey(UINT message, WORD key) {
    const HWND target = ownerDrawTarget();
    if (!(style_ & LBS_WANTKEYBOARDINPUT) || !target) return false;
    const auto answer = static_cast<int>(SendMessageA(target, message, MAKEWPARAM(key, static_cast<WORD>(caret_)),
                                                      reinterpret_cast<LPARAM>(window_)));
    if (answer == -2) return true;
    if (answer >= 0 && answer < count()) caret_ = answer;
    return false;
}

void ListBox::keyDown(UINT key) {
    if (items_.empty()) return;
    const int page = std::max(1, pageCount() - 1);
    int target = caret_;
    switch (key) {
        case VK_UP:
        case VK_LEFT: target = caret_ - 1; break;
        case VK_DOWN:
        case VK_RIGHT: target = caret_ + 1; break;
        case VK_PRIOR: target = caret_ - page; break;
        case VK_NEXT: target = caret_ + page; break;
        case VK_HOME: target = 0; break;
        case VK_END: target = count() - 1; break;
        case VK_SPACE:
            if (multiple()) {
                toggle(caret_);
                anchor_ = caret_;
                notify(LBN_SELCHANGE);
            }
            return;
        default: return;
    }
    target = std::clamp(target, 0, count() - 1);
    // With nothing selected yet, the first arrow selects the item with the focus frame.
    if (!multiple() && selected_ < 0 && (key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT)) {
        target = caret_;
    }
    if (!multiple()) {
        if (target == selected_) {
            ensureVisible(target);
            return;
        }
        select(target);
        notify(LBN_SELCHANGE);
        return;
    }
    if ((style_ & LBS_MULTIPLESEL) || keyHeld(VK_CONTROL)) {
        moveCaret(target, false);  // the marks stay; Space toggles
        return;
    }
    if (!keyHeld(VK_SHIFT)) anchor_ = target;
    selectRange(anchor_, target, true);
    moveCaret(target, true);
}

int ListBox::searchTyped(char typed) {
    if (items_.empty() || !hasStrings()) return -1;
    const uint64_t now = GetTickCount();
    if (now - typedAt_ > kTypingPauseMs) typed_.clear();
    typedAt_ = now;
    typed_.push_back(typed);
    // A longer prefix may still match the current item; a first character moves on from it.
    const int from = typed_.size() > 1 ? current() - 1 : current();
    LRESULT found = find(static_cast<WPARAM>(from), reinterpret_cast<LPARAM>(typed_.c_str()), false);
    if (found == LB_ERR && typed_.size() > 1) {
        // Nothing starts with the whole prefix: start again from this character.
        typed_.assign(1, typed);
        found = find(static_cast<WPARAM>(current()), reinterpret_cast<LPARAM>(typed_.c_str()), false);
    }
    return found == LB_ERR ? -1 : static_cast<int>(found);
}

void ListBox::character(char typed) {
    const auto byte = static_cast<unsigned char>(typed);
    if (byte < 0x20 || (byte == ' ' && multiple())) return;
    const int found = searchTyped(typed);
    if (found < 0) return;
    if (!multiple()) {
        if (found != selected_) {
            select(found);
            notify(LBN_SELCHANGE);
        }
        return;
    }
    if (extended()) {
        anchor_ = found;
        selectRange(found, found, true);
        moveCaret(found, true);
        return;
    }
    moveCaret(found, false);
}

void ListBox::buttonDown(POINT point, WPARAM keys, bool doubleClick) {
    // A simple combo box's list hands the focus to its combo box (and on to the edit).
    const HWND focusTarget = combo_ ? combo_ : window_;
    if (GetFocus() != focusTarget && !(combo_ && IsChild(combo_, GetFocus()))) SetFocus(focusTarget);
    const int index = itemAtPoint(point);
    if (index < 0 || point.y >= itemRect(count() - 1).bottom) return;
    selectionAtPress_ = selection();
    if (!multiple()) {
        select(index);
    } else if (style_ & LBS_MULTIPLESEL) {
        toggle(index);
        anchor_ = index;
    } else if (keys & MK_SHIFT) {
        selectRange(anchor_, index, (keys & MK_CONTROL) == 0);
    } else if (keys & MK_CONTROL) {
        toggle(index);
        anchor_ = index;
    } else {
        anchor_ = index;
        selectRange(index, index, true);
    }
    moveCaret(index, false);
    tracking_ = true;
    SetCapture(window_);
    if (doubleClick) notify(LBN_DBLCLK);
}

void ListBox::mouseMove(POINT point) {
    if (!tracking_ || (style_ & LBS_MULTIPLESEL)) return;
    const RECT c = client();
    // Above or below the list, the next item out of sight comes in, one per move.
    const int index = point.y >= c.bottom ? std::min(count() - 1, top_ + pageCount()) : itemAtPoint(point);
    if (index < 0 || index == caret_) return;
    if (multiple()) {
        selectRange(anchor_, index, !keyHeld(VK_CONTROL));
    } else {
        select(index);
    }
    moveCaret(index, false);
}

void ListBox::buttonUp() {
    if (!tracking_) return;
    tracking_ = false;
    ReleaseCapture();
    if (selection() != selectionAtPress_) notify(LBN_SELCHANGE);
}

}  // namespace winplat::controls
