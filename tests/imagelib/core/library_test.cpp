#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../pixmill_fixture.h"
#include "core/registry/image_registry.h"
#include "core/registry/library_state.h"
#include "core/palette/palettes.h"
#include "resources/pixmill_ids.h"
#include "winplat/testing.h"

namespace {

using pixmill::descriptionText;
using pixmill::libraryState;
namespace res = pixmill::res;

struct CubeEntry {
    int index;
    int red, green, blue;
};

TEST(LibraryStart, ConversionPaletteIsBlackThenAColourCube) {
    const auto& palette = libraryState().conversionPalette;
    for (int i = 0; i < 192; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(palette[i].peRed | palette[i].peGreen | palette[i].peBlue | palette[i].peFlags, 0);
    }
    const CubeEntry cases[] = {
        {192, 0, 0, 0},    {193, 0, 0, 85},      {196, 0, 85, 0},      {208, 85, 0, 0},
        {213, 85, 85, 85}, {239, 170, 255, 255}, {254, 255, 255, 170}, {255, 255, 255, 255},
    };
    for (const CubeEntry& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(palette[c.index].peRed, c.red);
        EXPECT_EQ(palette[c.index].peGreen, c.green);
        EXPECT_EQ(palette[c.index].peBlue, c.blue);
        EXPECT_EQ(palette[c.index].peFlags, 0);
    }
}

TEST(LibraryStart, LibraryPaletteHoldsTheHardPalette) {
    HPALETTE palette = PXLGetHPalette();
    ASSERT_NE(palette, nullptr);
    WORD count = 0;
    ASSERT_EQ(GetObjectA(palette, sizeof count, &count), static_cast<int>(sizeof count));
    EXPECT_EQ(count, 256);
    std::vector<PALETTEENTRY> entries(256);
    ASSERT_EQ(GetPaletteEntries(palette, 0, 256, entries.data()), 256u);
    EXPECT_EQ(std::memcmp(entries.data(), PXLGetHardPalette(), 256 * sizeof(PALETTEENTRY)), 0);
}

TEST(LibraryStart, TheVideoDrawingProbeSucceedsUnlessDrawingFaults) {
    EXPECT_EQ(PXLUseVFW(), 1);
    const size_t before = pixmill::liveImageCount();
    {
        winplat::testing::DrawDibFailure faulting;
        InitImageLibrary();
        EXPECT_EQ(PXLUseVFW(), 0) << "a fault inside the drawing service switches the route off";
    }
    EXPECT_EQ(pixmill::liveImageCount(), before) << "the probe's images are gone on the fault path too";
    InitImageLibrary();
    EXPECT_EQ(PXLUseVFW(), 1);
    EXPECT_EQ(pixmill::liveImageCount(), before);
}

struct Description {
    int id;
    const char* text;
};

TEST(LibraryStart, DescriptionSlotsHoldTheirTexts) {
    const Description cases[] = {
        {res::kDetailLzwCompression, "LZW compression"},
        {res::kDetailCcittHuffmanRle, "CCITT modified Huffman RLE"},
        {res::kDetailRleCompression, "RLE compression"},
        {res::kDetailThunderScanRle, "ThunderScan RLE"},
        {res::kDetailMaskSuffix, " (MASK)"},
        {res::kDetailCieLabSuffix, " (CIELAB)"},
        {res::kDetailLzwInterlacedSuffix, " - LZW interlaced"},
        {res::kDetailTransparentSuffix, ", transparent"},
        {res::kDetailUnknownCompression, "unknown compression"},
        {8130, ""},  // just outside the detail ids, 8131..8167
        {8168, ""},
        {0, ""},
    };
    for (const Description& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_STREQ(descriptionText(c.id), c.text);
    }
}

TEST(LibraryStart, EveryDescriptionFitsItsSlotWithRoomToSpare) {
    for (int id = pixmill::kDescriptionFirstId;
         id < pixmill::kDescriptionFirstId + pixmill::kDescriptionCount; ++id) {
        SCOPED_TRACE(id);
        const char* text = descriptionText(id);
        const auto& slot = libraryState().descriptions[id - pixmill::kDescriptionFirstId];
        EXPECT_EQ(text, slot.data());
        // At most 49 characters and the terminator; the rest of the slot stays zero.
        EXPECT_NE(std::memchr(slot.data(), '\0', 50), nullptr);
        EXPECT_GT(std::strlen(text), 0u);
        for (size_t i = 50; i < slot.size(); ++i) EXPECT_EQ(slot[i], '\0');
    }
}

using LibraryShutdown = PixmillTest;

TEST_F(LibraryShutdown, FreesTheImagesLeftAndStartsAgainCleanly) {
    const PxlImageId first = PXLCreateImage(8, 8, 8);
    const PxlImageId second = PXLCreateImage(8, 8, 24);
    ASSERT_EQ(first, 1);
    ASSERT_EQ(second, 2);
    {
        winplat::testing::DebugCapture capture;
        ShutdownImageLibrary();
        EXPECT_TRUE(capture.contains("PXL32: Free 2 images ! [1]\n")) << capture.text();
    }
    EXPECT_EQ(pixmill::liveImageCount(), 0u);
    EXPECT_EQ(PXLGetHPalette(), nullptr);
    EXPECT_EQ(PXLWidth(first), 0);

    InitImageLibrary();
    EXPECT_NE(PXLGetHPalette(), nullptr);
    EXPECT_EQ(PXLUseVFW(), 1) << "the software video drawing works";
    EXPECT_STREQ(descriptionText(res::kDetailThunderScanRle), "ThunderScan RLE");
    EXPECT_EQ(libraryState().conversionPalette[193].peBlue, 85);
    const PxlImageId again = PXLCreateImage(4, 4, 1);
    EXPECT_EQ(again, 1);
    PXLDeleteImage(again);
}

TEST_F(LibraryShutdown, StartingTwiceKeepsOnePalette) {
    InitImageLibrary();
    HPALETTE first = PXLGetHPalette();
    InitImageLibrary();
    // The earlier palette was given back: its handle no longer answers.
    EXPECT_EQ(GetObjectA(first, 0, nullptr), 0);
    EXPECT_NE(PXLGetHPalette(), nullptr);
}

}  // namespace
