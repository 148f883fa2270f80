// PathMatchSpecA: the programs' way to the file dialogs' wildcard matching.
#include <gtest/gtest.h>

#include "winplat/shell.h"

namespace {

TEST(PathMatchSpec, MatchesTheWholeNameAgainstEachWildcardOfTheSpec) {
    const struct {
        const char* file;
        const char* spec;
        BOOL matches;
    } cases[] = {
        {"0409.CLF", "*.clf", TRUE},  {"0409.clf.bak", "*.clf", FALSE}, {"b.602", "*.txt; *.602", TRUE},
        {"noext", "*.*", TRUE},       {"ab.txt", "?.txt", FALSE},        {"\xC8" "esky", "\xE8*", TRUE},
        {"a", "", FALSE},             {nullptr, "*", FALSE},             {"a", nullptr, FALSE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathMatchSpecA(c.file, c.spec), c.matches)
            << (c.file ? c.file : "(null)") << " / " << (c.spec ? c.spec : "(null)");
    }
}

}  // namespace
