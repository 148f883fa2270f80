// The fast inverse table must give exactly what the display layer's nearest-index rule gives for
// each cell's lowest corner, duplicates and ties included.
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "core/colour/inverse_colour_table.h"
#include "winplat/gdi.h"

namespace {

struct LogicalPalette {
    explicit LogicalPalette(const std::vector<RGBQUAD>& colours)
        : block(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY)) {
        auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
        logical->palVersion = 0x300;
        logical->palNumEntries = static_cast<WORD>(colours.size());
        for (size_t i = 0; i < colours.size(); ++i)
            logical->palPalEntry[i] = PALETTEENTRY{colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
        handle = CreatePalette(logical);
    }
    ~LogicalPalette() { DeleteObject(handle); }
    std::vector<unsigned char> block;
    HPALETTE handle;
};

std::vector<RGBQUAD> randomPalette(std::mt19937& random, int size) {
    std::uniform_int_distribution<int> level(0, 255);
    std::vector<RGBQUAD> colours;
    for (int i = 0; i < size; ++i) {
        // Every fifth entry repeats an earlier one, and some sit on cell corners, so ties happen.
        if (i > 0 && i % 5 == 0) colours.push_back(colours[static_cast<size_t>(level(random)) % colours.size()]);
        else if (i % 7 == 3) colours.push_back(RGBQUAD{BYTE(level(random) & 0xF0), BYTE(level(random) & 0xF8), BYTE(level(random) & 0xF8), 0});
        else colours.push_back(RGBQUAD{BYTE(level(random)), BYTE(level(random)), BYTE(level(random)), 0});
    }
    return colours;
}

TEST(InverseColourTable, EveryCellHoldsTheDisplayLayersNearestIndex) {
    std::mt19937 random(20261210);
    for (int size : {1, 2, 15, 16, 255, 256}) {
        SCOPED_TRACE(size);
        const std::vector<RGBQUAD> colours = randomPalette(random, size);
        const LogicalPalette logical(colours);
        const auto table = pixmill::inverseColourTableFor(colours);
        int mismatches = 0;
        for (int cell = 0; cell < pixmill::kInverseCells && mismatches < 5; ++cell) {
            const int r = 8 * (cell & 31), g = 8 * ((cell >> 5) & 31), b = 16 * (cell >> 10);
            ASSERT_EQ(pixmill::inverseCell(r, g, b), cell);
            const UINT expected = GetNearestPaletteIndex(logical.handle, RGB(r, g, b));
            if ((*table)[cell] != expected) {
                ++mismatches;
                ADD_FAILURE() << "cell " << cell << ": " << int((*table)[cell]) << " instead of " << expected;
            }
            EXPECT_EQ(pixmill::nearestPaletteIndex(colours, r, g, b), expected);
        }
    }
}

TEST(InverseColourTable, EqualEntriesGiveTheLowerIndex) {
    const std::vector<RGBQUAD> colours = {{0, 0, 200, 0}, {10, 10, 10, 0}, {10, 10, 10, 0}};
    EXPECT_EQ((*pixmill::inverseColourTableFor(colours))[0], 1);
    EXPECT_EQ(pixmill::nearestPaletteIndex(colours, 10, 10, 10), 1);
}

TEST(InverseColourTable, APaletteAskedForAgainGetsTheSameTableAndAChangedOneANewTable) {
    std::vector<RGBQUAD> colours = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    const auto first = pixmill::inverseColourTableFor(colours);
    EXPECT_EQ(pixmill::inverseColourTableFor(colours), first);
    colours[1] = RGBQUAD{0, 0, 255, 0};  // pure red: the white corner no longer maps to 1
    const auto changed = pixmill::inverseColourTableFor(colours);
    EXPECT_NE(changed, first);
    EXPECT_EQ((*first)[pixmill::inverseCell(248, 248, 240)], 1);
    EXPECT_EQ((*changed)[pixmill::inverseCell(0, 248, 240)], 0);
    EXPECT_EQ((*changed)[pixmill::inverseCell(248, 0, 0)], 1);
}

}  // namespace
