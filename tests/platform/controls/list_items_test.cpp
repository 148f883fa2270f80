// The item tree of list boxes: positions, sorted insertion and walks, checked against a plain
// vector doing the same operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/list_items.h"
#include "controls/list_order.h"

namespace {

using winplat::controls::compareListTexts;
using winplat::controls::ListItem;
using winplat::controls::ListItems;

std::vector<std::string> textsOf(const ListItems& items) {
    std::vector<std::string> texts;
    items.visitFrom(0, [&](size_t, const ListItem& item) {
        texts.push_back(item.text);
        return true;
    });
    return texts;
}

TEST(ListItems, InsertsAndErasesAtPositionsAsAVectorDoes) {
    ListItems items;
    std::vector<std::string> expected;
    uint32_t state = 12345;
    for (int step = 0; step < 2000; ++step) {
        state = state * 1103515245u + 12345u;
        const size_t size = expected.size();
        if (size > 0 && (state >> 16) % 3 == 0) {
            const size_t at = (state >> 4) % size;
            items.erase(at);
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at));
        } else {
            const size_t at = (state >> 4) % (size + 1);
            const std::string text = std::to_string(step);
            items.insert(at, ListItem{text, static_cast<ULONG_PTR>(step), 0, false});
            expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), text);
        }
        ASSERT_EQ(items.size(), expected.size());
    }
    EXPECT_EQ(textsOf(items), expected);
    for (size_t i = 0; i < expected.size(); i += 37) EXPECT_EQ(items.at(i).text, expected[i]);
    items.clear();
    EXPECT_TRUE(items.empty());
}

TEST(ListItems, SortedPositionPutsEqualTextsAfterTheOnesListed) {
    ListItems items;
    for (const char* word : {"\x8E\xE1" "ba", "cibule", "\xE8\xE1p", "cibule", "Ab", "ab"}) {
        const std::string text = word;
        const size_t at = items.sortedPosition([&](const ListItem& listed) { return compareListTexts(text, listed.text); });
        items.insert(at, ListItem{text, items.size(), 0, false});
    }
    const std::vector<std::string> expected{"ab", "Ab", "cibule", "cibule", "\xE8\xE1p", "\x8E\xE1" "ba"};
    EXPECT_EQ(textsOf(items), expected);
    // The second "cibule" (data 3) went after the first (data 1).
    EXPECT_EQ(items.at(2).data, 1u);
    EXPECT_EQ(items.at(3).data, 3u);
}

TEST(ListItems, VisitStartsAtTheIndexAndStopsWhereAsked) {
    ListItems items;
    for (int i = 0; i < 100; ++i) items.insert(items.size(), ListItem{std::to_string(i), 0, 0, false});
    std::vector<size_t> seen;
    const size_t stopped = items.visitFrom(95, [&](size_t index, const ListItem& item) {
        EXPECT_EQ(item.text, std::to_string(index));
        seen.push_back(index);
        return true;
    });
    EXPECT_EQ(stopped, 100u);
    EXPECT_EQ(seen, (std::vector<size_t>{95, 96, 97, 98, 99}));
    EXPECT_EQ(items.visitFrom(10, [](size_t index, const ListItem&) { return index < 42; }), 42u);
    EXPECT_EQ(items.visitFrom(100, [](size_t, const ListItem&) { return true; }), 100u);
}

}  // namespace
