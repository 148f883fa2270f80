// The selection: one item (single selection) or marks on any number (LBS_MULTIPLESEL,
// LBS_EXTENDEDSEL), and the caret, the item with the focus frame.
#include <algorithm>

#include "base/call_refusal.h"
#include "controls/list_box.h"

namespace winplat::controls {
namespace {

const CallRefuser refuse("winplat: LISTBOX");

}  // namespace

void ListBox::select(int index) {
    if (multiple()) return;
    if (index < -1 || index >= count()) index = -1;
    if (selected_ != index) {
        invalidateItem(selected_);
        invalidateItem(index);
        selected_ = index;
    }
    if (index >= 0) moveCaret(index, false);
}

LRESULT ListBox::setCurrent(WPARAM index) {
    if (multiple()) return refuse(LRESULT{LB_ERR}, "LB_SETCURSEL on a list of several selections");
    const auto at = static_cast<int>(index);
    if (at < -1 || at >= count()) return refuse(LRESULT{LB_ERR}, "no item at that index");
    select(at);
    // Clearing the selection answers LB_ERR as well, though nothing failed.
    return at;
}

LRESULT ListBox::setSelected(WPARAM select, LPARAM index) {
    if (!multiple()) return refuse(LRESULT{LB_ERR}, "LB_SETSEL on a list of one selection");
    const auto at = static_cast<int>(index);
    if (at < -1 || at >= count()) return refuse(LRESULT{LB_ERR}, "no item at that index");
    if (at == -1) {
        items_.visitFrom(0, [&](size_t i, const ListItem&) {
            items_.at(i).selected = select != 0;
            return true;
        });
        invalidate();
        return LB_OKAY;
    }
    items_.at(static_cast<size_t>(at)).selected = select != 0;
    invalidateItem(at);
    return LB_OKAY;
}

std::vector<int> ListBox::selection() const {
    if (!multiple()) return selected_ >= 0 ? std::vector<int>{selected_} : std::vector<int>{};
    std::vector<int> marked;
    items_.visitFrom(0, [&](size_t i, const ListItem& item) {
        if (item.selected) marked.push_back(static_cast<int>(i));
        return true;
    });
    return marked;
}

LRESULT ListBox::selectedCount() const {
    if (!multiple()) return LB_ERR;
    return static_cast<LRESULT>(selection().size());
}

LRESULT ListBox::selectedItems(WPARAM room, LPARAM out) const {
    auto* indices = reinterpret_cast<int*>(out);
    if (!multiple() || !indices) return refuse(LRESULT{LB_ERR}, "LB_GETSELITEMS needs a list of several selections and a buffer");
    const std::vector<int> marked = selection();
    const size_t copied = std::min<size_t>(marked.size(), room);
    std::copy_n(marked.begin(), copied, indices);
    return static_cast<LRESULT>(copied);
}

LRESULT ListBox::selectString(WPARAM start, LPARAM value) {
    if (multiple()) return refuse(LRESULT{LB_ERR}, "LB_SELECTSTRING on a list of several selections");
    const LRESULT found = find(start, value, false);
    if (found == LB_ERR) return LB_ERR;
    select(static_cast<int>(found));
    return found;
}

// Marks from..to (either order) selected; 'only' clears every other mark first.
void ListBox::selectRange(int from, int to, bool only) {
    const int low = std::min(from, to);
    const int high = std::max(from, to);
    items_.visitFrom(0, [&](size_t i, const ListItem& item) {
        const bool inside = static_cast<int>(i) >= low && static_cast<int>(i) <= high;
        const bool marked = inside || (!only && item.selected);
        if (marked != item.selected) {
            items_.at(i).selected = marked;
            invalidateItem(static_cast<int>(i));
        }
        return true;
    });
}

void ListBox::toggle(int index) {
    if (index < 0 || index >= count()) return;
    ListItem& item = items_.at(static_cast<size_t>(index));
    item.selected = !item.selected;
    invalidateItem(index);
}

void ListBox::moveCaret(int index, bool notifyChange) {
    if (index < 0 || index >= count()) return;
    if (caret_ != index) {
        invalidateItem(caret_);
        invalidateItem(index);
        caret_ = index;
    }
    ensureVisible(index);
    if (notifyChange) notify(LBN_SELCHANGE);
}

}  // namespace winplat::controls
