// One term in one text buffer: folding, whole-word tests freed by the term flags, control codes
// passed over, the start offset and the hit's range.
#include <algorithm>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "navigate/search_folding.h"
#include "navigate/text_buffer_search.h"
#include "text/control_codes.h"
#include "winplat/cp1250.h"

namespace {

using lect32::TextHit;

std::span<const uint8_t> bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

struct BufferCase {
    std::string text;
    std::string term;
    uint8_t flags;
    size_t start;
    int found;
    uint16_t hitStart, hitEnd;
    const char* why;
};

// Codes inside text: a colour pair (2, two bytes, 2) and a character format (1, five bytes, 1).
const std::string kColour("\x02\x07\x09\x02", 4);
const std::string kFormat("\x01\x00\x0A\xFF\xFF\x00\x01", 7);

TEST(SearchTextBuffer, TableOfCases) {
    const BufferCase cases[] = {
        {"abc", "abc", 0, 0, 1, 0, 3, "the whole text"},
        {"xabcx", "abc", 0, 0, 0, 0, 0, "inside a word"},
        {"xabcx", "abc", 3, 0, 1, 1, 5, "inside a word, both tests dropped, the hit widened to the word's end"},
        {"xabc abcd", "abc", 2, 0, 1, 5, 9, "flag 2: only where it begins a word, the hit covering the word"},
        {"abcd xabc", "abc", 1, 0, 1, 6, 9, "flag 1: only where it ends a word"},
        {"abcdef gh", "abc", 2, 0, 1, 0, 6, "flag 2 hit ends behind the word"},
        {"abcdef", "abc", 1, 0, 0, 0, 0, "flag 1 alone holds the end to a word's end"},
        {"aaab", "aab", 3, 0, 1, 1, 4, "a failed partial match restarts one byte on"},
        {"aab", "ab", 3, 0, 1, 1, 3, "and again"},
        {"ab" + kColour + "c d", "abc", 0, 0, 1, 0, 7, "a control code inside the word"},
        {"x" + kFormat + "abc", "abc", 0, 0, 0, 0, 0, "a code between two letters does not part them"},
        {"abc" + kFormat + "d", "abc", 0, 0, 0, 0, 0, "nor after the match"},
        {kFormat + "abc" + kColour, "abc", 0, 0, 1, 7, 10, "codes at both ends"},
        {"abc" + kColour + "def gh", "abc", 2, 0, 1, 0, 10, "the widened hit passes codes"},
        {"one\tabc\ntwo", "abc", 0, 0, 1, 4, 7, "tab and line feed separate words"},
        {"(abc)", "abc", 0, 0, 1, 1, 4, "brackets separate"},
        {"re-abc-x", "abc", 0, 0, 1, 3, 6, "hyphens separate"},
        {"abc2", "abc", 0, 0, 0, 0, 0, "a digit is a letter"},
        {"abc\xA0x", "abc", 0, 0, 1, 0, 3, "a no-break space separates"},
        {"\xE8" "abc", "abc", 0, 0, 0, 0, 0, "č is a letter"},
        {"abc@x", "abc", 0, 0, 0, 0, 0, "@ is a letter class"},
        {"abc abc", "abc", 0, 1, 1, 4, 7, "from a start offset"},
        {"xabc abc", "abc", 0, 1, 1, 5, 8, "a match at the start still sees the letter before it"},
        {"abc", "abc", 0, 3, 0, 0, 0, "start at the end: an empty range"},
        {"abc", "abc", 0, 9, 0, 0, 0, "start beyond the end"},
        {"ab", "abc", 3, 0, 0, 0, 0, "the text ends inside the term"},
        {"abc\x02x", "abc", 0, 0, 1, 0, 3, "a damaged code ends the text"},
        {"x\x02yabc", "abc", 3, 0, 0, 0, 0, "nothing behind a damaged code is text"},
        {"", "abc", 3, 0, 0, 0, 0, "an empty text"},
        {"abc def", "abc", 0, 0, 1, 0, 3, "a hit at the very start"},
        {"def abc", "abc", 0, 0, 1, 4, 7, "a hit at the very end"},
        {" " + kColour + "abc", "abc", 0, 0, 1, 5, 8, "a hit at the very end, behind a code"},
        {"d" + kColour + "abc", "abc", 0, 0, 0, 0, 0, "the letter ahead of the code still joins the word"},
        {"abcd", "bcd", 1, 0, 1, 1, 4, "a hit ending the text, flag 1"},
        {"ab abc abd", "abd", 0, 0, 1, 7, 10, "near misses on the way"},
        {"xxab" + kColour + "c", "abc", 3, 0, 1, 2, 9, "a match running past its run's end, over a code"},
        {"xxab" + kColour + "d abc", "abc", 0, 0, 1, 10, 13, "one that fails there, then a plain one"},
        {std::string(40, 'a') + "b", std::string(30, 'a') + "b", 1, 0, 1, 10, 41, "a long term over a long run"},
        {"abcabcabd", "abcabd", 3, 0, 1, 3, 9, "a term repeating its own start"},
        {"ab", "abc", 3, 0, 0, 0, 0, "a term longer than the text"},
        {"abcabc", "abc", 3, 1, 1, 3, 6, "inside a word from a start offset, flags 3"},
        {"ab" + kColour + "cab", "abc", 3, 3, 0, 0, 0, "a start inside a code"},
        {"a" + kColour + "bc", "bc", 0, 2, 0, 0, 0, "a start inside a code still sees the letter ahead of the code"},
    };
    for (const BufferCase& c : cases) {
        SCOPED_TRACE(c.why);
        TextHit hit{0xEEEE, 0xEEEE};
        EXPECT_EQ(lect32::SearchTextBuffer(bytes(c.text), bytes(c.term), c.flags, c.start, &hit), c.found);
        if (c.found) {
            EXPECT_EQ(hit.start, c.hitStart);
            EXPECT_EQ(hit.end, c.hitEnd);
        }
        EXPECT_EQ(lect32::SearchTextBuffer(bytes(c.text), bytes(c.term), c.flags, c.start, nullptr), c.found)
            << "without a hit asked for";
    }
}

TEST(SearchTextBuffer, FoldsThroughTheCurrentTable) {
    struct CaseFoldingAfterwards {
        ~CaseFoldingAfterwards() { lect32::SetFolding(0); }
    } restore;
    const std::string text = winplat::cp1250::fromUtf8("Je Čas ŘEKY");
    const std::string lower = winplat::cp1250::fromUtf8("čas");
    const std::string upper = winplat::cp1250::fromUtf8("ČAS");
    const std::string river = winplat::cp1250::fromUtf8("řeky");
    EXPECT_EQ(lect32::SearchTextBuffer(bytes(text), bytes(lower), 0, 0, nullptr), 1);
    EXPECT_EQ(lect32::SearchTextBuffer(bytes(text), bytes(upper), 0, 0, nullptr), 1) << "the term is folded too";
    EXPECT_EQ(lect32::SearchTextBuffer(bytes(text), bytes(river), 0, 0, nullptr), 1);

    lect32::SetFolding(1);
    EXPECT_EQ(lect32::SearchTextBuffer(bytes(text), bytes(lower), 0, 0, nullptr), 0);
    EXPECT_EQ(lect32::SearchTextBuffer(bytes(text), bytes(upper), 0, 0, nullptr), 0);
    const std::string exact = winplat::cp1250::fromUtf8("Čas");
    EXPECT_EQ(lect32::SearchTextBuffer(bytes(text), bytes(exact), 0, 0, nullptr), 1);
}

TEST(SearchTextBuffer, RefusesTermsAndTextsBeyondItsLimits) {
    const std::string longest(255, 'a');
    EXPECT_EQ(lect32::SearchTextBuffer(bytes(longest), bytes(longest), 0, 0, nullptr), 1);
    const std::string tooLong(256, 'a');
    EXPECT_EQ(lect32::SearchTextBuffer(bytes(tooLong), bytes(tooLong), 0, 0, nullptr), 0);
    EXPECT_EQ(lect32::SearchTextBuffer(bytes("abc"), bytes(""), 3, 0, nullptr), 0);

    std::string text(65535, ' ');
    text.replace(65532, 3, "abc");
    TextHit hit;
    EXPECT_EQ(lect32::SearchTextBuffer(bytes(text), bytes("abc"), 0, 0, &hit), 1);
    EXPECT_EQ(hit.end, 65535);
    text += ' ';
    EXPECT_EQ(lect32::SearchTextBuffer(bytes(text), bytes("abc"), 0, 0, nullptr), 0) << "offsets past 16 bits";
}

// Every hit of a walk, as (start, end) pairs.
std::vector<std::pair<int, int>> WalkAll(const std::string& text, const std::string& term, uint8_t flags) {
    lect32::TextBufferSearch search(bytes(text), bytes(term), flags);
    std::vector<std::pair<int, int>> hits;
    TextHit hit;
    while (search.Next(&hit)) hits.emplace_back(hit.start, hit.end);
    EXPECT_EQ(search.Next(&hit), 0) << "a walk past its last hit stays at the end";
    return hits;
}

TEST(TextBufferSearch, WalksEveryHitInOrder) {
    using Hits = std::vector<std::pair<int, int>>;
    const std::string czech = winplat::cp1250::fromUtf8("Čas, čas a ČAS; časy");
    const std::string czechTerm = winplat::cp1250::fromUtf8("čAs");
    struct WalkCase {
        std::string text, term;
        uint8_t flags;
        Hits hits;
        const char* why;
    };
    const WalkCase cases[] = {
        {"abc x abc", "abc", 0, {{0, 3}, {6, 9}}, "hits at the very start and the very end"},
        {"aaaa", "aa", 3, {{0, 4}, {1, 4}, {2, 4}}, "overlapping hits, each widened to the word's end"},
        {"aaaa", "aa", 1, {{2, 4}}, "overlapping matches, only the last ending a word"},
        {"aaa aaa", "a", 0, {}, "no single letter stands alone"},
        {"a b a", "a", 0, {{0, 1}, {4, 5}}, "a one-letter term"},
        {czech, czechTerm, 0, {{0, 3}, {5, 8}, {11, 14}}, "cp1250 capitals folded, whole words only"},
        {czech, czechTerm, 2, {{0, 3}, {5, 8}, {11, 14}, {16, 20}}, "flag 2 widens the last to its word"},
        {"ab" + kColour + "c abc", "abc", 0, {{0, 7}, {8, 11}}, "a hit over a code, then a plain one"},
        {"abcab" + kFormat + "c", "abc", 3, {{0, 13}, {3, 13}}, "the second running over a code"},
        {"abc ab\x02" "c abc", "abc", 0, {{0, 3}}, "a damaged code ends the walk"},
        {"ab", "abc", 3, {}, "a term longer than the text"},
        {"", "abc", 3, {}, "an empty text"},
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(WalkAll(c.text, c.term, c.flags), c.hits);
    }
}

TEST(TextBufferSearch, FirstRestartsTheWalk) {
    const std::string text = "abc abc abc";
    lect32::TextBufferSearch search(bytes(text), bytes("abc"), 0);
    TextHit hit;
    ASSERT_EQ(search.First(5, &hit), 1);
    EXPECT_EQ(hit.start, 8);
    EXPECT_EQ(search.Next(&hit), 0) << "the last hit was found";
    ASSERT_EQ(search.First(0, &hit), 1);
    EXPECT_EQ(hit.start, 0);
    ASSERT_EQ(search.Next(&hit), 1);
    EXPECT_EQ(hit.start, 4);
    EXPECT_EQ(search.First(11, &hit), 0) << "a start at the end";
    EXPECT_EQ(search.Next(&hit), 0) << "leaves nothing to walk";
}

TEST(TextBufferSearch, RefusesWhatSearchTextBufferRefuses) {
    const std::string text = "abc";
    for (const std::string& term : {std::string(), std::string(256, 'a')}) {
        lect32::TextBufferSearch search(bytes(text), bytes(term), 3);
        EXPECT_FALSE(search.usable());
        TextHit hit;
        EXPECT_EQ(search.First(0, &hit), 0);
        EXPECT_EQ(search.Next(&hit), 0);
    }
    const std::string longest(255, 'a');
    EXPECT_TRUE(lect32::TextBufferSearch(bytes(text), bytes(longest), 3).usable());
    const std::string tooLong(65536, 'a');
    EXPECT_FALSE(lect32::TextBufferSearch(bytes(tooLong), bytes(text), 3).usable());
    EXPECT_TRUE(lect32::TextBufferSearch(bytes(tooLong).first(65535), bytes(text), 3).usable());
}

TEST(TextBufferSearch, KeepsTheFoldingItWasMadeWith) {
    struct CaseFoldingAfterwards {
        ~CaseFoldingAfterwards() { lect32::SetFolding(0); }
    } restore;
    const std::string text = "ABC x ABC";
    lect32::TextBufferSearch search(bytes(text), bytes("abc"), 0);
    TextHit hit;
    ASSERT_EQ(search.Next(&hit), 1);
    lect32::SetFolding(1);
    ASSERT_EQ(search.Next(&hit), 1) << "the walk still folds case";
    EXPECT_EQ(hit.start, 6);
}

// The rules over the text's characters listed first, every place compared in full: what the
// search must agree with on texts full of near misses, codes and damage.
struct Reference {
    std::vector<size_t> characters;

    explicit Reference(const std::string& text) {
        for (size_t at = 0;; ++at) {
            at = lect32::SkipSequences(bytes(text), at);
            if (at == lect32::kNoSequence || at >= text.size()) break;
            characters.push_back(at);
        }
    }

    std::vector<std::pair<int, int>> Hits(const std::string& text, const std::string& term, uint8_t flags) const {
        const auto& fold = lect32::CurrentFolding();
        const auto character = [&](size_t i) {
            return i < characters.size() ? static_cast<uint8_t>(text[characters[i]]) : uint8_t{'.'};
        };
        std::vector<std::pair<int, int>> hits;
        for (size_t i = 0; i + term.size() <= characters.size(); ++i) {
            size_t j = 0;
            while (j < term.size() && fold[character(i + j)] == fold[static_cast<uint8_t>(term[j])]) ++j;
            if (j < term.size()) continue;
            const uint8_t before = i > 0 ? character(i - 1) : uint8_t{'.'};
            if (!(flags & 1) && !lect32::IsSearchSeparator(before)) continue;
            size_t last = i + term.size() - 1;
            if (!(flags & 2) && !lect32::IsSearchSeparator(character(last + 1))) continue;
            if (flags & 2)
                while (last + 1 < characters.size() && !lect32::IsSearchSeparator(character(last + 1))) ++last;
            hits.emplace_back(static_cast<int>(characters[i]), static_cast<int>(characters[last] + 1));
        }
        return hits;
    }
};

TEST(TextBufferSearch, AgreesWithTheRulesOnRandomTexts) {
    std::mt19937 random(37);
    const std::string pieces[] = {"a", "A", "b", " ", "ab", "\xE8", "\xC8", "-", "\t", kColour, kFormat, "\x02"};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const size_t pieceCount = random() % 40;
        for (size_t i = 0; i < pieceCount; ++i) text += pieces[random() % (std::size(pieces) - (round % 3 ? 1 : 0))];
        std::string term;
        const size_t termLength = 1 + random() % 5;
        for (size_t i = 0; i < termLength; ++i) term += "aAb\xE8"[random() % 4];
        const auto flags = static_cast<uint8_t>(random() % 4);
        SCOPED_TRACE(testing::Message() << "round " << round);
        const auto expected = Reference(text).Hits(text, term, flags);
        ASSERT_EQ(WalkAll(text, term, flags), expected);
        const size_t start = text.empty() ? 0 : random() % text.size();
        TextHit hit;
        const auto first = std::find_if(expected.begin(), expected.end(),
                                        [&](const auto& h) { return h.first >= static_cast<int>(start); });
        ASSERT_EQ(lect32::SearchTextBuffer(bytes(text), bytes(term), flags, start, &hit), first != expected.end() ? 1 : 0);
        if (first != expected.end()) {
            ASSERT_EQ(std::make_pair(int{hit.start}, int{hit.end}), *first);
        }
    }
}

}  // namespace
