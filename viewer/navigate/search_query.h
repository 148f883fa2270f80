// The reader's search query: its terms and the postfix code that combines them. A code byte below
// 250 is an operand, the index of a word-list term; 251-254 are OR, AND, NOT and NEAR.
//
// The query text's parser comes with the search dialogs; until then the code is set as it stands.
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

class SearchQuery {
public:
    static constexpr size_t kMaxCode = 100;

    TermList& words() { return words_; }
    const TermList& words() const { return words_; }

    // Replaces the postfix code; false, with the code unchanged, when it is longer than kMaxCode.
    bool SetCode(std::span<const uint8_t> code);
    std::span<const uint8_t> code() const { return code_; }
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

    TermList words_;
    std::vector<uint8_t> code_;
};

// The reader's one query.
SearchQuery& GetSearchQuery();

}  // namespace lect32

#endif
