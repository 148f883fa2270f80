#include "text/font_cache.h"

#include <gtest/gtest.h>

#include <vector>

#include "text/font_faces.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/testing.h"

namespace {

using lect32::CharFormat;
using lect32::FontCache;
using lect32::FontRef;

class FontCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& fonts = lect32::GetDocumentFonts();
        fonts.main.Clear();
        fonts.main.Append("Arial CE", lect32::kCharsetEastEurope);
        fonts.main.Append("Times New Roman CE", lect32::kCharsetEastEurope);
        fonts.markers.Clear();
        fonts.markers.Append("Wingdings", lect32::kCharsetSymbol);
        lect32::SetTextResolution(96);
    }
    void TearDown() override {
        lect32::SetPrintJobDevice(nullptr);
        lect32::SetTextResolution(96);
        lect32::GetDocumentFonts().main.Clear();
        lect32::GetDocumentFonts().markers.Clear();
    }

    winplat::testing::ScopedFontSource face_{winplat::testing::FontSource::Test};
};

TEST_F(FontCacheTest, RequestHeightsForNormalRaisedAndLoweredText) {
    const struct {
        int16_t size;
        uint8_t flags;
        int dpi;
        LONG height;
    } cases[] = {
        {10, 0, 96, -13},  {10, CharFormat::kRaised, 96, 10},  {12, CharFormat::kLowered, 96, 11},
        {6, CharFormat::kRaised, 96, -6},                      // below 8 points: the size itself
        {10, 0, 300, -42}, {10, CharFormat::kRaised, 300, 34}, {14, CharFormat::kLowered, 300, 41},
        {11, CharFormat::kLowered, 300, 37},                   // 8..11 points: 8/10 of 46
    };
    for (const auto& c : cases) {
        const LOGFONTA request =
            lect32::BuildFontRequest(CharFormat{1, c.size, 3, c.flags}, c.dpi, lect32::GetDocumentFonts().main);
        EXPECT_EQ(request.lfHeight, c.height) << c.size << " pt flags " << int{c.flags} << " @" << c.dpi;
    }
}

TEST_F(FontCacheTest, RequestCarriesFaceWeightAndStyle) {
    const CharFormat format{1, 12, 6, CharFormat::kItalic | CharFormat::kUnderline | CharFormat::kStrikeOut};
    const LOGFONTA request = lect32::BuildFontRequest(format, 0, lect32::GetDocumentFonts().main);
    EXPECT_STREQ(request.lfFaceName, "Times New Roman CE");
    EXPECT_EQ(request.lfCharSet, 238);
    EXPECT_EQ(request.lfWeight, 700);
    EXPECT_EQ(request.lfItalic, 1);
    EXPECT_EQ(request.lfUnderline, 1);
    EXPECT_EQ(request.lfStrikeOut, 1);
    EXPECT_EQ(request.lfOutPrecision, OUT_TT_PRECIS);
    EXPECT_EQ(request.lfHeight, -16) << "resolution 0 counts as 96";
}

TEST_F(FontCacheTest, HitsShareTheFontAndCountUses) {
    FontCache cache(FontCache::Faces::Main);
    const FontRef first = cache.GetFont(nullptr, CharFormat{0, 10, 3, 0});
    ASSERT_TRUE(first);
    EXPECT_EQ(cache.GetFont(nullptr, CharFormat{0, 10, 3, 0}), first);
    EXPECT_EQ(cache.GetFont(nullptr, CharFormat{0, 10, 3, 0x05}), cache.GetFont(nullptr, CharFormat{0, 10, 3, 0x01}))
        << "flags with the unset bit count as exactly 0x01";
    EXPECT_EQ(cache.UseCount(0), 2);
    cache.ReleaseFont(first);
    cache.ReleaseFont(first);
    cache.ReleaseFont(first);
    EXPECT_EQ(cache.UseCount(0), 0) << "not below 0";
    lect32::SetTextResolution(300);
    EXPECT_NE(cache.GetFont(nullptr, CharFormat{0, 10, 3, 0}), first) << "the resolution is part of the key";
}

TEST_F(FontCacheTest, TheTwentyFirstFormatEmptiesTheCacheButHeldFontsStayValid) {
    FontCache cache(FontCache::Faces::Main);
    std::vector<FontRef> held;
    for (int16_t size = 10; size < 30; ++size) held.push_back(cache.GetFont(nullptr, CharFormat{0, size, 3, 0}));
    for (int slot = 0; slot < FontCache::kSlots; ++slot) ASSERT_TRUE(cache.SlotFont(slot)) << slot;
    const FontRef extra = cache.GetFont(nullptr, CharFormat{0, 40, 3, 0});
    EXPECT_EQ(cache.SlotFont(0), extra);
    for (int slot = 1; slot < FontCache::kSlots; ++slot) EXPECT_FALSE(cache.SlotFont(slot)) << slot;

    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    for (const FontRef& font : held) {
        LOGFONTA described{};
        ASSERT_EQ(GetObjectA(font->get(), sizeof described, &described), static_cast<int>(sizeof described))
            << "a font the formatter holds was deleted by the eviction";
        EXPECT_EQ(described.lfHeight, font->request().lfHeight);
        const winplat::Selection selected(dc.get(), font->get());
        TEXTMETRICA metrics{};
        EXPECT_TRUE(GetTextMetricsA(dc.get(), &metrics));
    }
}

TEST_F(FontCacheTest, DuringAPrintJobOtherDevicesGetTheSystemFont) {
    const winplat::MemoryDc printer(CreateCompatibleDC(nullptr));
    const winplat::MemoryDc screen(CreateCompatibleDC(nullptr));
    lect32::SetPrintJobDevice(printer.get());
    FontCache cache(FontCache::Faces::Markers);
    EXPECT_EQ(cache.GetFont(screen.get(), CharFormat{0, 10, 3, 0})->get(), GetStockObject(SYSTEM_FONT));
    const FontRef printed = cache.GetFont(printer.get(), CharFormat{0, 10, 3, 0});
    EXPECT_NE(printed->get(), GetStockObject(SYSTEM_FONT));
    EXPECT_STREQ(printed->request().lfFaceName, "Wingdings") << "the marker cache takes the marker list";
}

}  // namespace
