#include <string>
#include <vector>

#include "window_fixture.h"
#include "winplat/owners.h"

namespace window_test {
namespace {

using winplat::OwnedMenu;
using MenuTemplateTest = WindowTest;

// A menu template as the resource loader hands it over: little-endian WORDs and UTF-16 texts.
struct TemplateBytes {
    std::vector<WORD> words;

    TemplateBytes& header(WORD version = 0, WORD offset = 0) { return add(version).add(offset); }
    TemplateBytes& add(WORD word) {
        words.push_back(word);
        return *this;
    }
    TemplateBytes& text(std::u16string_view text) {
        for (char16_t unit : text) words.push_back(static_cast<WORD>(unit));
        return add(0);
    }
    TemplateBytes& popup(WORD option, std::u16string_view label) { return add(option | MF_POPUP).text(label); }
    TemplateBytes& item(WORD option, WORD id, std::u16string_view label) { return add(option).add(id).text(label); }
};

std::string itemText(HMENU menu, UINT position) {
    char buffer[64] = {};
    const int length = GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
    return std::string(buffer, static_cast<size_t>(length));
}

TEST_F(MenuTemplateTest, LoadsItemsDropDownsAndStatesInCp1250) {
    TemplateBytes bytes;
    bytes.header()
        .popup(0, u"&Soubor")
        .item(MF_GRAYED, 1002, u"&Otev\u0159\u00EDt...\tCtrl+O")
        .item(0, 0, u"")                       // a separator
        .item(MF_END | MF_CHECKED, 1032, u"&P\u0159idat \u4E2D")  // the last of the drop-down
        .item(MF_END | MF_MENUBREAK, 1040, u"&Konec");           // the last of the bar
    OwnedMenu menu(LoadMenuIndirectA(bytes.words.data()));
    ASSERT_TRUE(menu);
    ASSERT_EQ(GetMenuItemCount(menu.get()), 2);
    const HMENU file = GetSubMenu(menu.get(), 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(itemText(menu.get(), 0), "&Soubor");
    EXPECT_EQ(GetMenuItemID(menu.get(), 1), 1040u);
    EXPECT_EQ(GetMenuState(menu.get(), 1, MF_BYPOSITION), static_cast<UINT>(MF_MENUBREAK));
    ASSERT_EQ(GetMenuItemCount(file), 3);
    const struct {
        UINT id;
        UINT state;
        std::string text;
    } expected[] = {
        {1002, MF_GRAYED, "&Otev\xF8\xEDt...\tCtrl+O"},
        {0, MF_SEPARATOR, ""},
        {1032, MF_CHECKED, "&P\xF8idat ?"},  // a character cp1250 has not becomes '?'
    };
    for (UINT i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(GetMenuItemID(file, static_cast<int>(i)), expected[i].id);
        EXPECT_EQ(GetMenuState(file, i, MF_BYPOSITION), expected[i].state);
        EXPECT_EQ(itemText(file, i), expected[i].text);
    }
}

TEST_F(MenuTemplateTest, TheHeaderOffsetSkipsToTheFirstItem) {
    TemplateBytes bytes;
    bytes.header(0, 4).add(0xFFFF).add(0xFFFF).item(MF_END, 7, u"&A");
    OwnedMenu menu(LoadMenuIndirectA(bytes.words.data()));
    ASSERT_TRUE(menu);
    ASSERT_EQ(GetMenuItemCount(menu.get()), 1);
    EXPECT_EQ(GetMenuItemID(menu.get(), 0), 7u);
}

TEST_F(MenuTemplateTest, ExtendedAndOverDeepTemplatesAreRefused) {
    winplat::testing::DebugCapture debug;
    winplat::testing::ScopedDebugAsserts asserts(false);
    TemplateBytes extended;
    extended.header(1, 4).add(0).add(0);
    EXPECT_EQ(LoadMenuIndirectA(extended.words.data()), nullptr);
    EXPECT_TRUE(debug.contains("only version 0"));

    // Seventeen drop-downs inside each other: one more than a menu may nest.
    TemplateBytes deep;
    deep.header();
    for (int i = 0; i < 17; ++i) deep.popup(MF_END, u"x");
    deep.item(MF_END, 1, u"y");
    EXPECT_EQ(LoadMenuIndirectA(deep.words.data()), nullptr);
    EXPECT_TRUE(debug.contains("nests too deep"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));

    TemplateBytes deepest;
    deepest.header();
    for (int i = 0; i < 16; ++i) deepest.popup(MF_END, u"x");
    deepest.item(MF_END, 1, u"y");
    OwnedMenu menu(LoadMenuIndirectA(deepest.words.data()));
    EXPECT_TRUE(menu) << "sixteen levels below the bar still load";
}

}  // namespace
}  // namespace window_test
