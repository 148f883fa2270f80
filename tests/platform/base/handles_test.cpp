#include <memory>
#include <set>

#include <gtest/gtest.h>

#include "winplat/base.h"
#include "winplat/handles.h"

namespace winplat {
namespace {

struct Thing final : HandleObject {
    explicit Thing(int v, int* destroyed = nullptr) : value(v), destroyedCount(destroyed) {}
    ~Thing() override {
        if (destroyedCount) ++*destroyedCount;
    }
    int value;
    int* destroyedCount;
};

TEST(HandleTable, HandlesAreNonZero32BitAndNeverSmallIntegers) {
    HandleTable table;
    const uint32_t h = table.add(HandleType::GlobalMemory, std::make_shared<Thing>(1));
    ASSERT_NE(h, 0u);
    // "system colour + 1" style pseudo-handles are small integers; a real handle must not be one.
    EXPECT_GE(h, 1u << 27);
    auto back = makeHandle<HGLOBAL>(h);
    EXPECT_EQ(handleValue(back), h);
}

TEST(HandleTable, LookupChecksTypeAndLiveness) {
    HandleTable table;
    const uint32_t h = table.add(HandleType::GlobalMemory, std::make_shared<Thing>(7));
    auto thing = table.getAs<Thing>(h, HandleType::GlobalMemory);
    ASSERT_TRUE(thing);
    EXPECT_EQ(thing->value, 7);

    SetLastError(0);
    EXPECT_FALSE(table.get(h, HandleType::Module));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(table.get(0, HandleType::GlobalMemory));
    EXPECT_FALSE(table.get(h + 1, HandleType::GlobalMemory));  // a slot never used
}

TEST(HandleTable, StaleHandleIsRefusedAfterTheSlotIsReused) {
    HandleTable table;
    const uint32_t first = table.add(HandleType::GlobalMemory, std::make_shared<Thing>(1));
    ASSERT_TRUE(table.remove(first, HandleType::GlobalMemory));
    const uint32_t second = table.add(HandleType::GlobalMemory, std::make_shared<Thing>(2));
    ASSERT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_FALSE(table.get(first, HandleType::GlobalMemory));
    EXPECT_FALSE(table.remove(first, HandleType::GlobalMemory));
    EXPECT_EQ(table.getAs<Thing>(second, HandleType::GlobalMemory)->value, 2);
}

TEST(HandleTable, GenerationsStayDistinctOverManyReuses) {
    HandleTable table;
    std::set<uint32_t> seen;
    for (int i = 0; i < 126; ++i) {
        const uint32_t h = table.add(HandleType::GlobalMemory, std::make_shared<Thing>(i));
        EXPECT_TRUE(seen.insert(h).second) << "handle value repeated after " << i << " reuses";
        table.remove(h, HandleType::GlobalMemory);
    }
}

TEST(HandleTable, RemoveHandsBackTheLastOwnerAndCountsFollow) {
    int destroyed = 0;  // outlives the table, whose remaining objects count themselves at its end
    HandleTable table;
    const uint32_t a = table.add(HandleType::GlobalMemory, std::make_shared<Thing>(1, &destroyed));
    table.add(HandleType::GlobalMemory, std::make_shared<Thing>(2, &destroyed));
    table.add(HandleType::Module, std::make_shared<Thing>(3, &destroyed));
    EXPECT_EQ(table.count(HandleType::GlobalMemory), 2u);
    EXPECT_EQ(table.count(HandleType::Module), 1u);

    auto owner = table.remove(a, HandleType::GlobalMemory);
    EXPECT_EQ(destroyed, 0) << "the caller still holds the object";
    owner.reset();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(table.count(HandleType::GlobalMemory), 1u);

    int visited = 0;
    table.forEach(HandleType::GlobalMemory, [&](uint32_t, HandleObject& o) {
        EXPECT_EQ(static_cast<Thing&>(o).value, 2);
        ++visited;
    });
    EXPECT_EQ(visited, 1);
}

TEST(HandleTable, NullObjectOrNoTypeIsRefused) {
    HandleTable table;
    EXPECT_EQ(table.add(HandleType::GlobalMemory, nullptr), 0u);
    EXPECT_EQ(table.add(HandleType::None, std::make_shared<Thing>(1)), 0u);
}

}  // namespace
}  // namespace winplat
