#include <vector>

#include <gtest/gtest.h>

#include "winplat/gdi.h"

namespace {

// A LOGPALETTE with room for its entries.
struct Palette {
    explicit Palette(std::vector<PALETTEENTRY> entries, WORD version = 0x300)
        : storage(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY)) {
        auto* log = reinterpret_cast<LOGPALETTE*>(storage.data());
        log->palVersion = version;
        log->palNumEntries = static_cast<WORD>(entries.size());
        for (size_t i = 0; i < entries.size(); ++i) log->palPalEntry[i] = entries[i];
    }
    const LOGPALETTE* get() const { return reinterpret_cast<const LOGPALETTE*>(storage.data()); }
    std::vector<uint8_t> storage;
};

PALETTEENTRY entry(BYTE r, BYTE g, BYTE b) {
    return PALETTEENTRY{r, g, b, 0};
}

TEST(Palette, CreationChecksVersionAndCount) {
    struct Case {
        const char* name;
        size_t entries;
        WORD version;
        bool created;
    };
    const Case cases[] = {
        {"one entry", 1, 0x300, true},      {"1024 entries", 1024, 0x300, true},
        {"no entries", 0, 0x300, false},    {"1025 entries", 1025, 0x300, false},
        {"wrong version", 4, 0x200, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Palette p(std::vector<PALETTEENTRY>(c.entries, entry(1, 2, 3)), c.version);
        HPALETTE palette = CreatePalette(p.get());
        EXPECT_EQ(palette != nullptr, c.created);
        if (palette) {
            EXPECT_TRUE(DeleteObject(palette));
        }
    }
    EXPECT_EQ(CreatePalette(nullptr), nullptr);
}

TEST(Palette, EntriesCountAndObjectSize) {
    Palette p({entry(10, 20, 30), entry(40, 50, 60), entry(70, 80, 90)});
    HPALETTE palette = CreatePalette(p.get());
    ASSERT_TRUE(palette);
    EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 3u) << "null entries ask for the count";

    PALETTEENTRY out[4]{};
    EXPECT_EQ(GetPaletteEntries(palette, 1, 10, out), 2u);
    EXPECT_EQ(out[0].peRed, 40);
    EXPECT_EQ(out[1].peBlue, 90);
    EXPECT_EQ(out[2].peRed, 0) << "nothing past the last entry";
    EXPECT_EQ(GetPaletteEntries(palette, 3, 1, out), 0u);

    WORD count = 0;
    EXPECT_EQ(GetObjectA(palette, 0, nullptr), static_cast<int>(sizeof(WORD)));
    EXPECT_EQ(GetObjectA(palette, sizeof count, &count), static_cast<int>(sizeof(WORD)));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(GetObjectA(palette, 1, &count), 0);

    EXPECT_TRUE(DeleteObject(palette));
    EXPECT_FALSE(DeleteObject(palette));
    EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 0u);
    EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(1, 2, 3)), CLR_INVALID);
}

TEST(Palette, NearestIndexPrefersExactThenNearestThenLowest) {
    Palette p({entry(0, 0, 0), entry(20, 0, 0), entry(10, 10, 10), entry(10, 0, 0), entry(10, 0, 0),
               entry(255, 255, 255), entry(100, 100, 100), entry(200, 200, 30), entry(212, 212, 12)});
    HPALETTE palette = CreatePalette(p.get());
    struct Case {
        const char* name;
        COLORREF color;
        UINT expected;
    };
    const Case cases[] = {
        {"exact, first of two equal entries", RGB(10, 0, 0), 3},
        {"exact beats a near lower index", RGB(10, 10, 10), 2},
        {"between 0 and 3: nearer 3", RGB(6, 0, 0), 3},
        {"tie between 0 and 3: lower index", RGB(5, 0, 0), 0},
        {"tie between 3 and 1: lower index", RGB(15, 0, 0), 1},
        // 7 is 30 away in one channel (900), 8 is 12 away in three (432).
        {"squared distance, not summed differences", RGB(200, 200, 0), 8},
        {"flags in the high byte are ignored", 0x02000000 | RGB(255, 255, 255), 5},
        {"far away", RGB(200, 90, 120), 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GetNearestPaletteIndex(palette, c.color), c.expected);
    }
    DeleteObject(palette);
}

}  // namespace
