// Adding, removing, reading and finding the items of a list box.
#include <cstring>
#include <new>
#include <optional>

#include "base/call_refusal.h"
#include "controls/list_box.h"
#include "controls/list_order.h"

namespace winplat::controls {
namespace {

const CallRefuser refuse("winplat: LISTBOX");

std::string_view textOf(LPARAM value) {
    const auto* text = reinterpret_cast<const char*>(value);
    return text ? std::string_view(text) : std::string_view{};
}

}  // namespace

UINT ListBox::measure(int index, ULONG_PTR data) const {
    MEASUREITEMSTRUCT m{};
    m.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
    m.CtlID = static_cast<UINT>(GetWindowLongPtrA(combo_ ? combo_ : window_, GWLP_ID));
    m.itemID = static_cast<UINT>(index);
    m.itemWidth = static_cast<UINT>(client().right);
    m.itemHeight = static_cast<UINT>(font_.lineHeight());
    m.itemData = data;
    if (const HWND target = ownerDrawTarget()) SendMessageA(target, WM_MEASUREITEM, m.CtlID, reinterpret_cast<LPARAM>(&m));
    // A height of 0 would make the item unreachable; Windows lists hold at most 255.
    return std::clamp<UINT>(m.itemHeight, 1, 255);
}

int ListBox::compareOwnerItems(const ListItem& added, const ListItem& listed) const {
    COMPAREITEMSTRUCT c{};
    c.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
    c.CtlID = static_cast<UINT>(GetWindowLongPtrA(combo_ ? combo_ : window_, GWLP_ID));
    c.hwndItem = combo_ ? combo_ : window_;
    c.itemID1 = static_cast<UINT>(-1);
    c.itemData1 = added.data;
    c.itemID2 = 0;
    c.itemData2 = listed.data;
    const HWND target = ownerDrawTarget();
    return target ? static_cast<int>(SendMessageA(target, WM_COMPAREITEM, c.CtlID, reinterpret_cast<LPARAM>(&c))) : 1;
}

size_t ListBox::sortedPosition(LPARAM value) const {
    if (hasStrings()) {
        const std::string_view text = textOf(value);
        return items_.sortedPosition([text](const ListItem& listed) { return compareListTexts(text, listed.text); });
    }
    const ListItem added{{}, static_cast<ULONG_PTR>(value), 0, false};
    return items_.sortedPosition([&](const ListItem& listed) { return compareOwnerItems(added, listed); });
}

LRESULT ListBox::addString(LPARAM value) {
    if (hasStrings() && !value) return refuse(LRESULT{LB_ERR}, "no text to add");
    const size_t position = (style_ & LBS_SORT) ? sortedPosition(value) : items_.size();
    return insertAt(position, value);
}

LRESULT ListBox::insertString(WPARAM index, LPARAM value) {
    if (hasStrings() && !value) return refuse(LRESULT{LB_ERR}, "no text to insert");
    const auto at = static_cast<int>(index);
    if (at < -1 || at > count()) return refuse(LRESULT{LB_ERR}, "insertion index beyond the items");
    return insertAt(at == -1 ? items_.size() : static_cast<size_t>(at), value);
}

LRESULT ListBox::insertAt(size_t position, LPARAM value) {
    ListItem item;
    try {
        if (hasStrings()) {
            item.text = std::string(textOf(value));
        } else {
            item.data = static_cast<ULONG_PTR>(value);
        }
        items_.insert(position, std::move(item));
    } catch (const std::bad_alloc&) {
        notify(LBN_ERRSPACE);
        return refuse(LRESULT{LB_ERRSPACE}, "out of memory for the item");
    }
    const int index = static_cast<int>(position);
    if (selected_ >= index) ++selected_;
    if (caret_ >= index && count() > 1) ++caret_;
    if (anchor_ >= index && count() > 1) ++anchor_;
    if (variable()) items_.at(position).height = measure(index, items_.at(position).data);
    updateScrollBars();
    invalidate();
    return index;
}

LRESULT ListBox::deleteString(WPARAM index) {
    const auto at = static_cast<int>(index);
    if (at < 0 || at >= count()) return refuse(LRESULT{LB_ERR}, "no item at that index");
    items_.erase(static_cast<size_t>(at));
    if (selected_ == at) selected_ = -1;
    if (selected_ > at) --selected_;
    if (caret_ > at || caret_ >= count()) caret_ = std::max(0, caret_ - 1);
    if (anchor_ > at || anchor_ >= count()) anchor_ = std::max(0, anchor_ - 1);
    setTop(top_);
    updateScrollBars();
    invalidate();
    return count();
}

LRESULT ListBox::resetContent() {
    items_.clear();
    selected_ = -1;
    caret_ = anchor_ = top_ = 0;
    updateScrollBars();
    invalidate();
    return LB_OKAY;
}

LRESULT ListBox::getText(WPARAM index, LPARAM buffer) const {
    const auto at = static_cast<int>(index);
    auto* out = reinterpret_cast<char*>(buffer);
    if (at < 0 || at >= count() || !out) return refuse(LRESULT{LB_ERR}, "no item at that index, or no buffer");
    const ListItem& item = items_.at(static_cast<size_t>(at));
    if (!hasStrings()) {
        // Lists without strings hand back the item's value, as wide as it is kept.
        std::memcpy(out, &item.data, sizeof item.data);
        return sizeof item.data;
    }
    std::memcpy(out, item.text.data(), item.text.size());
    out[item.text.size()] = '\0';
    return static_cast<LRESULT>(item.text.size());
}

LRESULT ListBox::getTextLength(WPARAM index) const {
    const auto at = static_cast<int>(index);
    if (at < 0 || at >= count()) return LB_ERR;
    if (!hasStrings()) return sizeof(ULONG_PTR);
    return static_cast<LRESULT>(items_.at(static_cast<size_t>(at)).text.size());
}

LRESULT ListBox::find(WPARAM start, LPARAM value, bool exact) const {
    if (items_.empty()) return LB_ERR;
    if (hasStrings() && !value) return LB_ERR;
    const std::string_view text = textOf(hasStrings() ? value : 0);
    const auto matches = [&](const ListItem& item) {
        if (!hasStrings()) return item.data == static_cast<ULONG_PTR>(value);
        return exact ? equalsFolded(item.text, text) : startsWithFolded(item.text, text);
    };
    // Where a match can lie: anywhere, or in a sorted list only among the items whose first
    // letters are level with the text, found by two binary searches.
    size_t low = 0;
    size_t high = items_.size();
    if (hasStrings() && (style_ & LBS_SORT)) {
        low = items_.sortedPosition([&](const ListItem& listed) { return comparePrefixLetters(listed.text, text) >= 0 ? -1 : 1; });
        high = items_.sortedPosition([&](const ListItem& listed) { return comparePrefixLetters(listed.text, text) > 0 ? -1 : 1; });
    }
    const auto firstMatch = [&](size_t begin, size_t end) -> std::optional<size_t> {
        if (begin >= end) return std::nullopt;
        const size_t found = items_.visitFrom(begin, [&](size_t i, const ListItem& item) { return i < end && !matches(item); });
        return found < end ? std::optional<size_t>(found) : std::nullopt;
    };
    // From the item after 'start' on, then from the first up to 'start' itself.
    const int from = static_cast<int>(start);
    const size_t first = (from < 0 || from >= count()) ? 0 : static_cast<size_t>(from) + 1;
    if (const auto found = firstMatch(std::max(first, low), high)) return static_cast<LRESULT>(*found);
    if (const auto found = firstMatch(low, std::min(first, high))) return static_cast<LRESULT>(*found);
    return LB_ERR;
}

}  // namespace winplat::controls
