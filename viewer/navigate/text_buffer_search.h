// Looking for one search term in one text buffer, as the sequential search, the page search and
// the page-name search do: characters compared through the current folding table, control codes
// with their payloads passed over, and the term held to whole words unless its flags free it.
#ifndef LECT32_NAVIGATE_TEXT_BUFFER_SEARCH_H
#define LECT32_NAVIGATE_TEXT_BUFFER_SEARCH_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "navigate/search_folding.h"

namespace lect32 {

// Term flags: the term may begin inside a word ("*" before it), may end inside one ("*" after it).
inline constexpr uint8_t kTermMayBeginInsideWord = 1;
inline constexpr uint8_t kTermMayEndInsideWord = 2;

struct TextHit {
    uint16_t start = 0;  // the first matched byte
    uint16_t end = 0;    // behind the last matched byte (behind the whole word with kTermMayEndInsideWord)
};

// The first occurrence of the term in text (whose size is the buffer's end, at most 65535) that
// begins at or after 'start' and passes the whole-word tests its flags leave: 1, with the hit
// stored when one is asked for, else 0. The character before a match is the last text character
// ahead of it (a full stop at the start), the one after it the next text character (a full stop
// at the end); a test passes when that character is a space or a separator. A damaged control
// sequence ends the text.
//
// Where a start lies inside the text can only be told by walking its control sequences from the
// beginning, so each call pays a (quick) pass over the bytes ahead of 'start': to visit every hit
// of a buffer, walk them with TextBufferSearch instead.
int SearchTextBuffer(std::span<const uint8_t> text, std::span<const uint8_t> term, uint8_t flags,
                     size_t start, TextHit* hit);

// The hits of one term in one text buffer, one after another, with SearchTextBuffer's rules. The
// walk keeps its place, so visiting every hit reads the buffer once. The term is folded through
// the folding table current when the walk is made; text and term must outlive the walk.
class TextBufferSearch {
public:
    TextBufferSearch(std::span<const uint8_t> text, std::span<const uint8_t> term, uint8_t flags);

    // False when the text or the term is beyond SearchTextBuffer's limits (every search gives 0).
    bool usable() const { return usable_; }

    // What SearchTextBuffer gives for 'start'; the walk goes on from this hit.
    int First(size_t start, TextHit* hit);
    // The next hit beginning behind the first byte of the last one (hits may overlap), or the
    // first hit of the text when none was found yet; 0 for good once the text is used up.
    int Next(TextHit* hit);

private:
    static constexpr size_t kMaxTerm = 255;

    struct Match {
        size_t start, end;  // the first matched character, behind the last one
    };

    bool find(size_t from, TextHit* hit);
    std::optional<Match> searchRun(size_t from, uint8_t before) const;
    bool accepted(size_t end, uint8_t before) const;
    void stopAt(Match match, TextHit* hit);

    std::span<const uint8_t> text_;
    const FoldingTable& fold_;
    std::array<uint8_t, kMaxTerm> term_{};  // folded
    size_t length_ = 0;
    bool freeBefore_;
    bool freeAfter_;
    bool usable_ = false;
    // How far the wanted position may move on, by the folded byte under the term's last place.
    std::array<uint8_t, 256> shift_{};
    // The walk: the next place to look at, the character ahead of it, and the end of the run of
    // plain characters it lies in (at most at_ when that is not known yet).
    size_t at_ = 0;
    uint8_t before_;
    size_t runEnd_ = 0;
};

}  // namespace lect32

#endif
