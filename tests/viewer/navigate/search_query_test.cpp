// The query's terms in their fixed block, the word buffer a search reads them from, and the
// postfix code evaluated over found flags.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "navigate/search_query.h"
#include "navigate/term_list.h"

namespace {

using lect32::SearchQuery;
using lect32::TermList;
using lect32::TermView;
using Bytes = std::vector<uint8_t>;

Bytes toBytes(std::span<const uint8_t> span) { return {span.begin(), span.end()}; }
std::string toText(std::span<const uint8_t> span) { return {span.begin(), span.end()}; }

TEST(TermList, DataAreaHoldsOffsetsLengthsFlagsThenTexts) {
    TermList list;
    EXPECT_EQ(list.Add("abc", 0, 0), 0);
    EXPECT_EQ(list.Add("dexx", 2, 2), 1);
    EXPECT_EQ(list.Add("fghi", 0, 1), 2);
    const Bytes expected{
        9, 12, 14,  // offsets of the texts in the area
        3, 2,  4,   // lengths
        0, 2,  1,   // flags
        'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i',
    };
    EXPECT_EQ(toBytes(list.data()), expected);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(toText(list.GetTerm(1)), "de");
    EXPECT_EQ(list.GetFlags(1), 2);
    EXPECT_EQ(toText(list.GetTerm(2)), "fghi");
    EXPECT_TRUE(list.GetTerm(3).empty());

    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_TRUE(list.data().empty());
}

TEST(TermList, TermAndArrayBytesMustFitTheArea) {
    TermList list;
    const std::string filling(253, 'x');
    EXPECT_EQ(list.Add(filling.c_str(), 253, 0), 0) << "253 + 3 bytes fill the area exactly";
    EXPECT_EQ(list.Add("y", 1, 0), TermList::kFull);
    list.Clear();
    const std::string tooLong(254, 'x');
    EXPECT_EQ(list.Add(tooLong.c_str(), 254, 0), TermList::kFull);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.Add("", 0, 0), TermList::kFull) << "an empty term";
}

TEST(TermView, WordsMustLieInsideTheBuffer) {
    // One word: offset, length, flags, then its text.
    const Bytes inside{3, 4, 0, 'w', 'o', 'r', 'd'};
    const TermView good(inside, 1);
    ASSERT_TRUE(good.valid());
    EXPECT_EQ(toText(good.term(0)), "word");

    const Bytes pastEnd{4, 4, 0, 'w', 'o', 'r', 'd'};
    EXPECT_FALSE(TermView(pastEnd, 1).valid());
    const Bytes emptyWord{3, 0, 0, 'w', 'o', 'r', 'd'};
    EXPECT_FALSE(TermView(emptyWord, 1).valid());
    const Bytes tooShortForArrays{3, 3, 0, 3, 3};
    EXPECT_FALSE(TermView(tooShortForArrays, 2).valid());
    const TermView bad(pastEnd, 1);
    EXPECT_EQ(bad.count(), 0);
    EXPECT_TRUE(bad.term(0).empty());
}

struct EvaluateCase {
    Bytes code;
    Bytes found;
    int result;
    const char* why;
};

constexpr uint8_t OR = lect32::kCodeOr, AND = lect32::kCodeAnd, NOT = lect32::kCodeNot, NEAR = lect32::kCodeNear;

TEST(SearchQuery, EvaluateHitsRunsThePostfixCode) {
    const EvaluateCase cases[] = {
        {{0}, {1}, 1, "one word found"},
        {{0}, {0}, 0, "one word missing"},
        {{0, 1, AND}, {1, 0}, 0, "AND with one missing"},
        {{0, 1, AND}, {1, 1}, 1, "AND with both"},
        {{0, 1, NEAR}, {0, 1}, 0, "NEAR is AND"},
        {{0, 1, NEAR}, {1, 1}, 1, "NEAR with both"},
        {{0, 1, OR}, {0, 1}, 1, "OR with one"},
        {{0, 1, OR}, {0, 0}, 0, "OR with none"},
        {{0, NOT}, {1}, 0, "NOT found"},
        {{0, NOT}, {0}, 1, "NOT missing"},
        {{0, 1, NOT, AND}, {1, 0}, 1, "a NOT b, b missing"},
        {{0, 1, NOT, AND}, {1, 1}, 0, "a NOT b, both there"},
        {{0, 1, 2, AND, OR}, {0, 1, 1}, 1, "a OR b AND c"},
        {{0, 1, 2, AND}, {0, 1, 1}, 1, "values below the top do not count"},
        {{0, 1, 2, AND}, {1, 1, 0}, 0, "nor for a found word below"},
        {{0, 1, AND}, {1, 2}, 0, "AND is bitwise on the flag bytes"},
    };
    for (const EvaluateCase& c : cases) {
        SearchQuery query;
        ASSERT_TRUE(query.SetCode(c.code));
        EXPECT_EQ(query.EvaluateHits(c.found), c.result) << c.why;
        EXPECT_TRUE(query.FitsWords(static_cast<uint8_t>(c.found.size()))) << c.why;
    }
}

TEST(SearchQuery, CodeThatCannotRunIsRefused) {
    const EvaluateCase cases[] = {
        {{2}, {1, 1}, 0, "operand past the found flags"},
        {{0, AND}, {1}, 0, "AND with one operand"},
        {{NOT}, {1}, 0, "NOT with none"},
        {{0, 250}, {1}, 0, "250 is no operator"},
        {{0, 255}, {1}, 0, "nor is 255"},
        {{}, {1}, 0, "an empty code"},
    };
    for (const EvaluateCase& c : cases) {
        SearchQuery query;
        ASSERT_TRUE(query.SetCode(c.code));
        EXPECT_EQ(query.EvaluateHits(c.found), 0) << c.why;
        EXPECT_FALSE(query.FitsWords(static_cast<uint8_t>(c.found.size()))) << c.why;
    }
}

TEST(SearchQuery, CodeHoldsAtMostHundredBytes) {
    SearchQuery query;
    Bytes code(100, 0);
    EXPECT_TRUE(query.SetCode(code));
    EXPECT_EQ(query.EvaluateHits(Bytes{1}), 1);
    code.push_back(0);
    EXPECT_FALSE(query.SetCode(code));
    EXPECT_EQ(query.code().size(), 100u);
}

}  // namespace
