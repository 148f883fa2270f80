// Tooltip strings of page buttons, tooltips named in page names, and the block they travel in.
#include "page/link_tooltips.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "winplat/memory.h"

namespace {

TEST(LinkTooltipsTest, PageButtonStrings) {
    const std::pair<int16_t, UINT> cases[] = {{1, 3901},   {22, 3922},  {100, 4000}, {101, 3923},
                                              {110, 3932}, {116, 3938}, {199, 4021}, {200, 4100}};
    for (const auto& [target, id] : cases) EXPECT_EQ(lect32::PageButtonStringId(target), id) << target;
    const std::pair<int16_t, int16_t> reverse[] = {{22, 22}, {23, 101}, {32, 110}, {38, 116}, {39, 39}};
    for (const auto& [number, button] : reverse) EXPECT_EQ(lect32::PageButtonOfString(number), button) << number;
}

TEST(LinkTooltipsTest, OnlyPrefixedPageNamesGiveATooltip) {
    EXPECT_EQ(lect32::TooltipOfPageName("#TOOLTIP#Mapa"), "Mapa");
    EXPECT_EQ(lect32::TooltipOfPageName("#TOOLTIP#"), "");
    EXPECT_FALSE(lect32::TooltipOfPageName("Mapa").has_value());
    EXPECT_FALSE(lect32::TooltipOfPageName("#tooltip#Mapa").has_value());
    EXPECT_FALSE(lect32::TooltipOfPageName("#TOOLTIP").has_value());
}

std::string BlockText(HGLOBAL block, uint16_t& id) {
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block));
    id = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    std::string text(reinterpret_cast<const char*>(bytes + 2));
    GlobalUnlock(block);
    return text;
}

TEST(LinkTooltipsTest, BlockHoldsTheIdAndTheTextCutTo250) {
    uint16_t id = 0;
    HGLOBAL block = lect32::MakeTooltipBlock(3932, "O str\xE1nku nahoru");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 255u);
    EXPECT_EQ(BlockText(block, id), "O str\xE1nku nahoru");
    EXPECT_EQ(id, 3932);
    GlobalFree(block);
    for (const size_t length : {249u, 250u, 251u, 400u}) {
        SCOPED_TRACE(length);
        block = lect32::MakeTooltipBlock(7, std::string(length, 'a'));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(BlockText(block, id).size(), std::min<size_t>(length, 250));
        GlobalFree(block);
    }
    EXPECT_EQ(lect32::MakeTooltipBlock(7, ""), nullptr);
}

}  // namespace
