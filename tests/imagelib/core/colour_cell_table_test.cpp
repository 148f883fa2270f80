#include <memory_resource>

#include <gtest/gtest.h>

#include "core/colour/colour_cell_table.h"

namespace {

using pixmill::ColourCellTable;

TEST(ColourCellTable, FindsEveryBlueAtItsSlotWhileTheCellGrows) {
    // 256 blues in a scrambled order into one cell: the slots are the order of adding, through
    // the small cells' scan and the large cells' slot table alike; other cells stay empty.
    ColourCellTable table(std::pmr::new_delete_resource());
    table.allocate();
    const int cell = ColourCellTable::cellOf(200, 17);
    for (int n = 0; n < 256; ++n) {
        const int blue = (n * 97 + 31) & 0xFF;
        ASSERT_EQ(table.find(cell, blue), -1) << "blue " << blue;
        ASSERT_EQ(table.append(cell, blue, static_cast<uint32_t>(1000 + n)), n);
        for (int m = 0; m <= n; ++m) {
            const int earlier = (m * 97 + 31) & 0xFF;
            ASSERT_EQ(table.find(cell, earlier), m) << "after " << n + 1 << " blues";
            ASSERT_EQ(table.blue(cell, m), earlier);
            ASSERT_EQ(table.value(cell, m), static_cast<uint32_t>(1000 + m));
        }
    }
    EXPECT_EQ(table.size(cell), 256);
    EXPECT_EQ(table.size(ColourCellTable::cellOf(200, 18)), 0);
    EXPECT_EQ(table.find(ColourCellTable::cellOf(17, 200), 31), -1);
    table.value(cell, 5) = 7;
    EXPECT_EQ(table.value(cell, 5), 7u);
}

TEST(ColourCellTable, FewBluesInALargeCellAreNotFoundThroughStaleSlots) {
    // The slot table of a large cell is filled only for the blues it holds; blue 0 maps to slot
    // 0 by default, which holds another blue.
    ColourCellTable table(std::pmr::new_delete_resource());
    table.allocate();
    for (int n = 0; n < 40; ++n) table.append(3, n + 100, 0);
    EXPECT_EQ(table.find(3, 0), -1);
    EXPECT_EQ(table.find(3, 99), -1);
    EXPECT_EQ(table.find(3, 100), 0);
    EXPECT_EQ(table.find(3, 139), 39);
}

}  // namespace
