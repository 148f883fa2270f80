#include "navigate/text_buffer_search.h"

#include <array>
#include <optional>

#include "navigate/search_folding.h"
#include "text/control_codes.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: text search");

// What stands before the first or after the last character of a text.
constexpr uint8_t kOutsideText = '.';
constexpr size_t kMaxTerm = 255;

// The text's characters one by one, control sequences passed over; a damaged sequence ends it.
class TextCharacters {
public:
    explicit TextCharacters(std::span<const uint8_t> text) : text_(text) {}

    // The first character at or after 'at', or the text's size when there is none.
    size_t Next(size_t at) const {
        const size_t next = SkipSequences(text_, at);
        return next == kNoSequence ? text_.size() : next;
    }
    bool AtEnd(size_t at) const { return at >= text_.size(); }
    // The first character at or after 'at', a full stop when there is none.
    uint8_t FirstFrom(size_t at) const {
        const size_t next = Next(at);
        return AtEnd(next) ? kOutsideText : text_[next];
    }
    uint8_t operator[](size_t at) const { return text_[at]; }

private:
    std::span<const uint8_t> text_;
};

// The position behind the last matched character when the folded term matches at 'at'.
std::optional<size_t> MatchAt(const TextCharacters& text, size_t at, std::span<const uint8_t> term,
                              const FoldingTable& fold) {
    for (const uint8_t wanted : term) {
        at = text.Next(at);
        if (text.AtEnd(at) || fold[text[at]] != wanted) return std::nullopt;
        ++at;
    }
    return at;
}

// Behind the last letter of the word that goes on at 'at'.
size_t WordEnd(const TextCharacters& text, size_t at) {
    for (size_t next = text.Next(at); !text.AtEnd(next) && !IsSearchSeparator(text[next]);
         next = text.Next(at))
        at = next + 1;
    return at;
}

}  // namespace

int SearchTextBuffer(std::span<const uint8_t> text, std::span<const uint8_t> term, uint8_t flags,
                     size_t start, TextHit* hit) {
    if (text.size() > UINT16_MAX) return refuse(0, "text longer than a buffer's 16-bit offsets");
    if (term.empty() || term.size() > kMaxTerm) return refuse(0, "term empty or longer than 255 bytes");
    if (start >= text.size()) return 0;
    const FoldingTable& fold = CurrentFolding();
    std::array<uint8_t, kMaxTerm> folded{};
    for (size_t i = 0; i < term.size(); ++i) folded[i] = fold[term[i]];
    const std::span<const uint8_t> wanted(folded.data(), term.size());

    const bool freeBefore = (flags & kTermMayBeginInsideWord) != 0;
    const bool freeAfter = (flags & kTermMayEndInsideWord) != 0;
    const TextCharacters characters(text);
    // The walk starts at the beginning even for a later start, so that a match there still sees
    // the character before it.
    uint8_t before = kOutsideText;
    for (size_t at = characters.Next(0); !characters.AtEnd(at); at = characters.Next(at + 1)) {
        const std::optional<size_t> end = at >= start ? MatchAt(characters, at, wanted, fold) : std::nullopt;
        const bool accepted = end && (freeBefore || IsSearchSeparator(before)) &&
                              (freeAfter || IsSearchSeparator(characters.FirstFrom(*end)));
        if (accepted) {
            const size_t hitEnd = freeAfter ? WordEnd(characters, *end) : *end;
            if (hit) *hit = {static_cast<uint16_t>(at), static_cast<uint16_t>(hitEnd)};
            return 1;
        }
        before = text[at];
    }
    return 0;
}

}  // namespace lect32
