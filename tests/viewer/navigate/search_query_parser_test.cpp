// The query text compiled into terms and postfix code: precedence, implicit AND, NOT, quotes in
// both modes, "*" flags, the error results and the limits of the lists, the code and the stack.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "navigate/search_folding.h"
#include "navigate/search_query.h"

namespace {

using lect32::SearchQuery;
using lect32::TermList;
using Bytes = std::vector<uint8_t>;
using Terms = std::vector<std::pair<std::string, uint8_t>>;

constexpr uint8_t OR = lect32::kCodeOr, AND = lect32::kCodeAnd, NOT = lect32::kCodeNot, NEAR = lect32::kCodeNear;

Terms terms(const TermList& list) {
    Terms out;
    for (uint16_t k = 0; k < list.GetCount(); ++k) {
        const auto text = list.GetTerm(k);
        out.emplace_back(std::string(text.begin(), text.end()), list.GetFlags(k));
    }
    return out;
}

struct ParseCase {
    std::string text;
    bool phraseMode;
    int result;
    Bytes code;
    Terms words;
    const char* why;
};

TEST(SearchQueryParse, TableOfQueries) {
    const ParseCase cases[] = {
        {"abc", false, 255, {0}, {{"abc", 0}}, "one word"},
        {"abc def", false, 0, {0, 1, AND}, {{"abc", 0}, {"def", 0}}, "implicit AND"},
        {"abc OR def AND ghi", false, 0, {0, 1, 2, AND, OR}, {{"abc", 0}, {"def", 0}, {"ghi", 0}}, "AND binds tighter"},
        {"abc AND def OR ghi", false, 0, {0, 1, AND, 2, OR}, {{"abc", 0}, {"def", 0}, {"ghi", 0}}, "left to right"},
        {"abc NEAR def", false, 0, {0, 1, NEAR}, {{"abc", 0}, {"def", 0}}, "NEAR"},
        {"NOT abc", false, 0, {0, NOT}, {{"abc", 0}}, "NOT at the start"},
        {"abc NOT def", false, 0, {0, 1, NOT, AND}, {{"abc", 0}, {"def", 0}}, "a NOT b is a AND NOT b"},
        {"abc AND NOT def", false, 0, {0, 1, NOT, AND}, {{"abc", 0}, {"def", 0}}, "no second AND after AND"},
        {"abc OR NOT def", false, 0, {0, 1, NOT, OR}, {{"abc", 0}, {"def", 0}}, "nor after OR"},
        {"abc and def", false, 0, {0, 1, AND}, {{"abc", 0}, {"def", 0}}, "keywords in any case"},
        {"abc android", false, 0, {0, 1, AND}, {{"abc", 0}, {"android", 0}}, "a keyword only at its length"},
        {"(abc OR def) AND ghi", false, 0, {0, 1, OR, 2, AND}, {{"abc", 0}, {"def", 0}, {"ghi", 0}}, "parentheses"},
        {"(\"abc\" OR \"def\") ghi", false, 0, {0, 1, OR, 2, AND}, {{"abc", 0}, {"def", 0}, {"ghi", 0}},
         "a parenthesis closes behind a quote"},
        {"abc) OR def", false, 0, {0, 1, OR}, {{"abc", 0}, {"def", 0}}, "a stray closing parenthesis"},
        {"abc AND (def", false, 0, {0, 1}, {{"abc", 0}, {"def", 0}}, "an unclosed group keeps its operators"},
        {"abc*", false, 255, {0}, {{"abc", 2}}, "a star after"},
        {"*abc", false, 255, {0}, {{"abc", 1}}, "a star before"},
        {"*abc* def", false, 0, {0, 1, AND}, {{"abc", 3}, {"def", 0}}, "both"},
        {"\"red apple\" tree", false, 0, {0, 1, 2, AND}, {{"red", 4}, {"red apple", 0}, {"tree", 0}},
         "a quote is one term when searching in sequence"},
        {"\"abc\" xyz", false, 0, {0, 1, AND}, {{"abc", 0}, {"xyz", 0}}, "a quoted word"},
        {"\"red apple\" tree", true, 0, {0, 1, 2, AND}, {{"red", 4}, {"apple", 6}, {"tree", 0}},
         "phrase mode: the phrase's words, the last without an AND"},
        {"\"a red apple\"", true, 0, {0, 1}, {{"red", 4}, {"apple", 6}}, "a short word in a phrase is no term"},
        {"ab", false, 2, {}, {}, "a short word"},
        {"abc ab", false, 2, {}, {}, "a short word later"},
        {"\"red an\"", true, 2, {}, {}, "a phrase's short last word"},
        {"", false, 1, {}, {}, "an empty query"},
        {"AND", false, 1, {}, {}, "an operator alone"},
        {"abc OR", false, 255, {0}, {{"abc", 0}}, "a keyword at the end is ignored"},
        {"OR abc", false, 1, {}, {}, "an operator without its first operand"},
        {"\"\" abc", false, 1, {}, {}, "an empty quote"},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.why);
        SearchQuery query;
        ASSERT_EQ(query.Parse(c.text.c_str(), static_cast<uint16_t>(c.text.size()), c.phraseMode), c.result);
        if (c.result != 0 && c.result != 255) continue;
        EXPECT_EQ(Bytes(query.code().begin(), query.code().end()), c.code);
        EXPECT_EQ(terms(query.words()), c.words);
    }
}

TEST(SearchQueryParse, PhrasesGoToThePhraseList) {
    SearchQuery query;
    ASSERT_EQ(query.Parse("\"red apple\" \"green pear\"", 0, true), 0);
    EXPECT_EQ(terms(query.phrases()), (Terms{{"red apple", 10}, {"green pear", 10}}));
    ASSERT_EQ(query.Parse("\"red apple\"", 0, false), 0);
    EXPECT_TRUE(terms(query.phrases()).empty()) << "a new parse starts empty";
}

TEST(SearchQueryParse, ParsedCodeEvaluates) {
    SearchQuery query;
    ASSERT_EQ(query.Parse("abc OR def AND NOT ghi", 0, false), 0);
    EXPECT_EQ(query.EvaluateHits(Bytes{1, 0, 0}), 1);
    EXPECT_EQ(query.EvaluateHits(Bytes{0, 1, 0}), 1);
    EXPECT_EQ(query.EvaluateHits(Bytes{0, 1, 1}), 0);
}

// "www ... " as n distinct three-letter words.
std::string words(int n, const std::string& joint) {
    std::string text;
    for (int i = 0; i < n; ++i) {
        if (i) text += joint;
        text += {static_cast<char>('a' + i / 26), static_cast<char>('a' + i % 26), 'x'};
    }
    return text;
}

TEST(SearchQueryParse, ListCodeAndStackLimits) {
    SearchQuery query;
    // Each three-letter word takes 3 + 3 bytes of the 256.
    EXPECT_EQ(query.Parse(words(42, " ").c_str(), 0, false), 0);
    EXPECT_EQ(query.Parse(words(43, " ").c_str(), 0, false), 1);
    // Each word after the first adds itself, NOT and AND: 1 + 3 x 33 = 100 bytes.
    EXPECT_EQ(query.Parse(words(34, " AND NOT ").c_str(), 0, false), 0);
    EXPECT_EQ(query.code().size(), 100u);
    EXPECT_EQ(query.Parse(words(35, " AND NOT ").c_str(), 0, false), 1);
    // 128 open groups fill the operator stack.
    const std::string deep = std::string(128, '(') + "abc";
    EXPECT_EQ(query.Parse(deep.c_str(), 0, false), 255);
    const std::string tooDeep = std::string(129, '(') + "abc";
    EXPECT_EQ(query.Parse(tooDeep.c_str(), 0, false), 1);
}

TEST(EqualsKeyword, CaseFreeAndExactLength) {
    EXPECT_EQ(lect32::EqualsKeyword("and", "AND", 3), 0);
    EXPECT_EQ(lect32::EqualsKeyword("android", "AND", 3), 0) << "only the given length counts";
    EXPECT_EQ(lect32::EqualsKeyword("an", "AND", 2), 1);
    EXPECT_EQ(lect32::EqualsKeyword("andx", "AND", 4), 1);
    EXPECT_EQ(lect32::EqualsKeyword("\xE8\x61s", "\xC8\x41S", 3), 0) << "čas, ČAS";
}

}  // namespace
