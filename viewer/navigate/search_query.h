// The reader's search query: its terms and the postfix code that combines them. A code byte below
// 250 is an operand, the index of a word-list term; 251-254 are OR, AND, NOT and NEAR.
#ifndef LECT32_NAVIGATE_SEARCH_QUERY_H
#define LECT32_NAVIGATE_SEARCH_QUERY_H

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "navigate/term_list.h"

namespace lect32 {

inline constexpr uint8_t kCodeOr = 251;
inline constexpr uint8_t kCodeAnd = 252;
inline constexpr uint8_t kCodeNot = 253;
inline constexpr uint8_t kCodeNear = 254;

// Results of Parse.
inline constexpr int kQueryTerms = 0;        // several terms, or operators
inline constexpr int kQuerySyntaxError = 1;  // also an empty code or a list or code too long
inline constexpr int kQueryShortWord = 2;    // a word of fewer than 3 characters
inline constexpr int kQuerySingleWord = 255;

class SearchQuery {
public:
    static constexpr size_t kMaxCode = 100;

    // Splits the query text (length 0: up to its terminator) into words and operators and
    // compiles the postfix code; the word and phrase lists are filled anew. In phrase mode (the
    // full-text index answers) quoted phrases go to the phrase list and their words to the word
    // list; otherwise a quoted text is one term.
    int Parse(const char* text, uint16_t length, bool phraseMode);

    TermList& words() { return words_; }
    const TermList& words() const { return words_; }
    TermList& stems() { return stems_; }
    const TermList& phrases() const { return phrases_; }

    // Replaces the postfix code (a compiled one, or one made by hand); false, with the code
    // unchanged, when it is longer than kMaxCode.
    bool SetCode(std::span<const uint8_t> code);
    std::span<const uint8_t> code() const { return code_; }
    // Empties the word, stem and phrase lists.
    void Clear();

    // Runs the code over one found flag per word-list term (non-zero = found on this page): an
    // operand pushes its flag, OR and AND (NEAR alike: no distance is measured) combine the two
    // top values bitwise, NOT negates the top one. The top of the stack; values left below it do
    // not count. 0, refused, for an operand without a flag, an operator short of operands, a byte
    // that is neither, or an empty code.
    int EvaluateHits(std::span<const uint8_t> found) const;
    // Whether the code runs without refusal over flags for that many words.
    bool FitsWords(uint8_t wordCount) const;

private:
    // The code's value; none when the code cannot run over these flags.
    std::optional<uint8_t> run(std::span<const uint8_t> found) const;

    friend class QueryParser;

    TermList words_;
    TermList stems_;
    TermList phrases_;
    std::vector<uint8_t> code_;
};

// The reader's one query.
SearchQuery& GetSearchQuery();

}  // namespace lect32

#endif
