// The reader's string table as the program loads it: the texts of each id range in cp1250, and
// nothing for the ids the table leaves out.
#include <gtest/gtest.h>

#include <string>

#include "resources/lect32_ids.h"
#include "winplat/cp1250.h"
#include "winplat/module.h"

namespace {

std::string LoadString(UINT id) {
    char text[300] = {};
    const int length = LoadStringA(GetModuleHandleA("lect32.exe"), id, text, sizeof text);
    EXPECT_EQ(length, static_cast<int>(std::string(text).size())) << id;
    return text;
}

TEST(ReaderStringsTest, EachRangeHoldsItsTexts) {
    struct Case {
        UINT id;
        const char8_t* text;
    };
    const Case cases[] = {
        {1, u8"Tarvo Lectern"},
        {3301, u8"Obsah"},
        {3303, u8"Chyba"},
        {3306, u8"Upozornění"},
        {3334, u8"\nDokument vyžaduje rozlišení alespoň %s a minimálně %s barev."},
        {3337, u8"Dokument byl vytvořen ve vyšší verzi Tarvo Lecternu a není proto možné jej načíst do verze 4.0"},
        {3353, u8"Ve frázi není žádné slovo delší než 3 znaky, proto nelze použít fulltextové vyhledávání. "
               u8"Chcete použít sekvenční vyhledávání?"},
        {3355, u8"Poznámky Lecternu"},
        {3901, u8"Předchozí stránka"},
        {3938, u8"Tisk"},
        {8001, u8"O stránku zpět"},
        {8015, u8"Odebrat dokument"},
        {20002, u8"Kritická chyba registrace tříd oken Tarvo Lecternu."},
        {20003, u8"Kritická chyba vytváření hlavního okna Tarvo Lecternu."},
    };
    for (const Case& c : cases) {
        const std::string utf8(reinterpret_cast<const char*>(c.text));
        bool exact = false;
        const std::string expected = winplat::cp1250::fromUtf8(utf8, &exact);
        ASSERT_TRUE(exact) << c.id;
        EXPECT_EQ(LoadString(c.id), expected) << c.id;
    }
}

// Ids inside the table's ranges whose texts are not known, and ids outside them.
TEST(ReaderStringsTest, IdsWithoutATextLoadNothing) {
    for (UINT id : {0u, 2u, 15u, 3296u, 3300u, 3307u, 3356u, 3600u, 3750u, 3900u, 3939u, 8000u, 8013u, 20000u, 20004u}) {
        EXPECT_EQ(LoadString(id), "") << id;
    }
}

TEST(ReaderStringsTest, NamesStandForTheirIds) {
    EXPECT_EQ(lect32::res::kProgramName, 1u);
    EXPECT_EQ(lect32::res::kErrorCaption, 3303u);
    EXPECT_EQ(lect32::res::kTipPreviousPage, 3901u);
    EXPECT_EQ(lect32::res::kToolBack, 8001u);
    EXPECT_EQ(lect32::res::kMainWindowFailed, 20003u);
}

}  // namespace
