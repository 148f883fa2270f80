// The items of a list box (and of a combo box's list), apart from any window: each a cp1250 text,
// a value the program keeps with it (item data), a height (variable owner-drawn lists) and a
// selected mark (lists of several selections).
//
// Kept in a balanced tree ordered by position and counting its subtrees, so reaching the item at
// an index, inserting and deleting anywhere, and finding where a text sorts all take O(log n):
// filling a sorted list of n items costs O(n log n) whatever order they come in.
#ifndef WINPLAT_SRC_CONTROLS_LIST_ITEMS_H
#define WINPLAT_SRC_CONTROLS_LIST_ITEMS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "winplat/types.h"

namespace winplat::controls {

struct ListItem {
    std::string text;  // cp1250; empty for owner-drawn lists without strings
    ULONG_PTR data = 0;
    UINT height = 0;   // variable owner-drawn lists only
    bool selected = false;
};

class ListItems {
public:
    ListItems();
    ~ListItems();
    ListItems(ListItems&&) noexcept;
    ListItems& operator=(ListItems&&) noexcept;
    ListItems(const ListItems&) = delete;
    ListItems& operator=(const ListItems&) = delete;

    size_t size() const;
    bool empty() const { return size() == 0; }

    // The item at an index below size().
    const ListItem& at(size_t index) const;
    ListItem& at(size_t index);

    // Puts the item at the index (at most size()); may throw std::bad_alloc, leaving the list as
    // it was.
    void insert(size_t index, ListItem item);
    void erase(size_t index);
    void clear();

    // Where an item goes so that it follows every item that does not sort after it: the
    // comparison answers negative, zero or positive as the new item sorts before, with or after
    // the listed one. O(log n) comparisons.
    using Comparison = std::function<int(const ListItem& listed)>;
    size_t sortedPosition(const Comparison& compare) const;

    // Calls visit(index, item) for the items from 'first' on, in order, until it returns false;
    // the index of that item, or size() when every item was visited.
    using Visitor = std::function<bool(size_t index, const ListItem& item)>;
    size_t visitFrom(size_t first, const Visitor& visit) const;

    struct Node;

private:
    std::unique_ptr<Node> root_;
    uint64_t seed_ = 0x9E3779B97F4A7C15ull;  // priorities: the same tree shape on every run
};

}  // namespace winplat::controls

#endif
