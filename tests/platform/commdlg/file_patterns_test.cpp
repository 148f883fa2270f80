// The file dialogs' filter blocks and wildcards.
#include <gtest/gtest.h>

#include <string>

#include "commdlg/file_patterns.h"

namespace {

using winplat::commdlg::matchesAny;
using winplat::commdlg::readFilters;

TEST(FilePatterns, WildcardsMatchAsWindowsMatchesNames) {
    const struct {
        const char* patterns;
        const char* name;
        bool matches;
    } cases[] = {
        {"*.lcn", "a.lcn", true},         {"*.lcn", "A.LCN", true},       {"*.lcn", "a.lcnx", false},
        {"*.lcn", "lcn", false},          {"*.*", "readme", true},        {"*.*", "a.b.c", true},
        {"*.txt;*.602", "b.602", true},   {"*.txt; *.602", "b.602", true}, {"*.txt;*.602", "b.60", false},
        {"a?c.bmp", "abc.bmp", true},     {"a?c.bmp", "ac.bmp", false},   {"*html", "index.html", true},
        {"*html", "index.htm", false},    {"\xE8*", "\xC8" "ESKY.TXT", true}, {"*a*b*c", "aXbXbXc", true},
        {"*a*b*c", "aXbXcX", false},      {"", "a", false},               {";;", "a", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(matchesAny(c.patterns, c.name), c.matches) << c.patterns << " / " << c.name;
    }
}

TEST(FilePatterns, FilterBlocksAreReadPairByPairToTheEmptyText) {
    const char block[] = "Dokument (*.LCN)\0*.lcn\0V\x9A" "e\0*.*\0\0Ignored\0*.x\0";
    const auto filters = readFilters(block, sizeof block);
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].description, "Dokument (*.LCN)");
    EXPECT_EQ(filters[0].patterns, "*.lcn");
    EXPECT_EQ(filters[1].description, "V\x9A" "e");
    EXPECT_EQ(filters[1].patterns, "*.*");
}

TEST(FilePatterns, AFilterBlockIsNeverReadPastItsBound) {
    // No terminating zeros within the bound: the pair cut off there is left out.
    const char cut[] = {'A', '\0', '*', '.', 'a', '\0', 'B', '\0', '*', '.', 'b'};
    const auto filters = readFilters(cut, sizeof cut);
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].patterns, "*.a");
    // A description without patterns ends the list.
    const char lone[] = "Alone\0\0";
    EXPECT_TRUE(readFilters(lone, sizeof lone).empty());
    EXPECT_TRUE(readFilters(nullptr).empty());
}

}  // namespace
