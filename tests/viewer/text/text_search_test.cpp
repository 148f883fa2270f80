#include <gtest/gtest.h>

#include <string>

#include "text/text_store.h"

namespace {

using lect32::TextMatch;
using lect32::TextStore;

struct SearchCase {
    std::string text;
    std::string needle;
    bool matchCase, wholeWords;
    bool found;
    uint16_t start, end;
    const char* why;
};

TEST(FindText, TableOfCases) {
    const SearchCase cases[] = {
        {"xx ab yy", "ab", false, false, true, 3, 5, "plain"},
        {std::string("a\x02\x05\xFF\x02") + "b", "ab", false, false, true, 0, 6, "a colour pair inside the word"},
        {"a\tb", "ab", false, false, true, 0, 3, "a tab inside"},
        {std::string("a\x14\x02\x07\x02\x14") + "b", "ab", false, false, true, 0, 7, "a link frame of kind 7"},
        {std::string("a\x14\x05\x00\x01\x00\x05\x14", 8) + "b", "ab", false, false, true, 0, 9, "a kind-0 link frame"},
        {"ABC", "abc", true, false, false, 0, 0, "case kept"},
        {"ABC", "abc", false, false, true, 0, 3, "ASCII folded"},
        {"\xC8\x45\xDA", "\xE8\x65\xFA", false, false, true, 0, 3, "Czech letters fold (ČEÚ)"},
        {"\xE8\x65\xFA", "\xC8\x45\xDA", false, false, true, 0, 3, "and so does the needle"},
        {"kocour", "kocour", false, true, true, 0, 6, "a whole item is a whole word"},
        {"kocourek", "kocour", false, true, false, 0, 0, "a longer word is not"},
        {"(kocour)", "kocour", false, true, true, 1, 7, "punctuation bounds a word"},
        {"ko\xE8ka kocour", "kocour", false, true, true, 6, 12, "a blank bounds a word"},
        {"\xE8kocour", "kocour", false, true, false, 0, 0, "a cp1250 letter is part of the word"},
    };
    for (const SearchCase& c : cases) {
        TextStore store;
        store.FindOrAddString(c.text);
        TextMatch match;
        ASSERT_EQ(store.FindText(c.needle, c.matchCase, c.wholeWords, 0, 0, match), c.found) << c.why;
        if (!c.found) continue;
        EXPECT_EQ(match.item, 0) << c.why;
        EXPECT_EQ(match.start, c.start) << c.why;
        EXPECT_EQ(match.end, c.end) << c.why;
    }
}

TEST(FindText, ScansFromTheGivenPlaceThroughLaterItems) {
    TextStore store;
    store.FindOrAddString("ab ab");
    store.FindOrAddString("cd");
    store.FindOrAddString("x ab");
    TextMatch match;
    ASSERT_TRUE(store.FindText("ab", false, false, 0, 1, match));
    EXPECT_EQ(match.start, 3);
    ASSERT_TRUE(store.FindText("ab", false, false, 1, 0, match));
    EXPECT_EQ(match.item, 2);
    EXPECT_EQ(match.start, 2);
    EXPECT_FALSE(store.FindText("zz", false, false, 0, 0, match));
}

TEST(FindText, ADamagedCodeEndsTheItemCleanly) {
    TextStore store;
    store.FindOrAddString(std::string("ab\x01\x00", 4));  // a character format cut short
    store.FindOrAddString("cd");
    TextMatch match;
    EXPECT_FALSE(store.FindText("ab\x01", true, false, 0, 0, match));
    ASSERT_TRUE(store.FindText("cd", false, false, 0, 0, match));
    EXPECT_EQ(match.item, 1);
}

}  // namespace
