// One term in one text buffer: folding, whole-word tests freed by the term flags, control codes
// passed over, the start offset and the hit's range.
#include <cstdint>
#include <span>
#include <string>

#include <gtest/gtest.h>

#include "navigate/search_folding.h"
#include "navigate/text_buffer_search.h"
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

}  // namespace
