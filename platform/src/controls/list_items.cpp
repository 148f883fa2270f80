#include "controls/list_items.h"

#include <cassert>
#include <utility>
#include <vector>

namespace winplat::controls {

// A treap keyed by position: heap-ordered by random priorities, which keeps it balanced with
// high probability, each node counting the items of its subtree.
struct ListItems::Node {
    ListItem item;
    uint64_t priority = 0;
    size_t count = 1;
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
};

namespace {

using NodePtr = std::unique_ptr<ListItems::Node>;

size_t countOf(const NodePtr& node) { return node ? node->count : 0; }

void recount(ListItems::Node& node) { node.count = 1 + countOf(node.left) + countOf(node.right); }

// The first 'leftCount' items go to the first tree, the rest to the second.
std::pair<NodePtr, NodePtr> split(NodePtr node, size_t leftCount) {
    if (!node) return {};
    if (countOf(node->left) >= leftCount) {
        auto [first, second] = split(std::move(node->left), leftCount);
        node->left = std::move(second);
        recount(*node);
        return {std::move(first), std::move(node)};
    }
    auto [first, second] = split(std::move(node->right), leftCount - countOf(node->left) - 1);
    node->right = std::move(first);
    recount(*node);
    return {std::move(node), std::move(second)};
}

NodePtr merge(NodePtr first, NodePtr second) {
    if (!first) return second;
    if (!second) return first;
    if (first->priority > second->priority) {
        first->right = merge(std::move(first->right), std::move(second));
        recount(*first);
        return first;
    }
    second->left = merge(std::move(first), std::move(second->left));
    recount(*second);
    return second;
}

uint64_t nextPriority(uint64_t& seed) {
    // xorshift64: cheap, deterministic and spread well enough for a treap's priorities.
    seed ^= seed << 13;
    seed ^= seed >> 7;
    seed ^= seed << 17;
    return seed;
}

// Frees a subtree without recursing as deep as it is tall.
void dismantle(NodePtr root) {
    std::vector<NodePtr> pending;
    if (root) pending.push_back(std::move(root));
    while (!pending.empty()) {
        NodePtr node = std::move(pending.back());
        pending.pop_back();
        if (node->left) pending.push_back(std::move(node->left));
        if (node->right) pending.push_back(std::move(node->right));
    }
}

}  // namespace

ListItems::ListItems() = default;
ListItems::~ListItems() { clear(); }
ListItems::ListItems(ListItems&&) noexcept = default;
ListItems& ListItems::operator=(ListItems&&) noexcept = default;

size_t ListItems::size() const { return countOf(root_); }

const ListItem& ListItems::at(size_t index) const {
    assert(index < size());
    const Node* node = root_.get();
    for (;;) {
        const size_t before = countOf(node->left);
        if (index == before) return node->item;
        if (index < before) {
            node = node->left.get();
        } else {
            index -= before + 1;
            node = node->right.get();
        }
    }
}

ListItem& ListItems::at(size_t index) { return const_cast<ListItem&>(std::as_const(*this).at(index)); }

void ListItems::insert(size_t index, ListItem item) {
    assert(index <= size());
    auto node = std::make_unique<Node>();  // the only step that may throw: the list is untouched
    node->item = std::move(item);
    node->priority = nextPriority(seed_);
    auto [first, second] = split(std::move(root_), index);
    root_ = merge(merge(std::move(first), std::move(node)), std::move(second));
}

void ListItems::erase(size_t index) {
    assert(index < size());
    auto [first, rest] = split(std::move(root_), index);
    auto [gone, second] = split(std::move(rest), 1);
    root_ = merge(std::move(first), std::move(second));
}

void ListItems::clear() { dismantle(std::move(root_)); }

size_t ListItems::sortedPosition(const Comparison& compare) const {
    size_t position = 0;
    const Node* node = root_.get();
    while (node) {
        if (compare(node->item) < 0) {
            node = node->left.get();
        } else {
            position += countOf(node->left) + 1;
            node = node->right.get();
        }
    }
    return position;
}

size_t ListItems::visitFrom(size_t first, const Visitor& visit) const {
    // An in-order walk that starts at 'first': the path down to it is the stack of nodes still
    // to be visited after their left subtrees.
    std::vector<const Node*> path;
    const Node* node = root_.get();
    size_t skip = first;
    while (node) {
        const size_t before = countOf(node->left);
        if (skip <= before) {
            path.push_back(node);
            node = node->left.get();
        } else {
            skip -= before + 1;
            node = node->right.get();
        }
    }
    size_t index = first;
    while (!path.empty()) {
        const Node* current = path.back();
        path.pop_back();
        if (!visit(index, current->item)) return index;
        ++index;
        for (const Node* down = current->right.get(); down; down = down->left.get()) path.push_back(down);
    }
    return size();
}

}  // namespace winplat::controls
