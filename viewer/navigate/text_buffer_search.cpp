#include "navigate/text_buffer_search.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "text/control_codes.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: text search");

// What stands before the first or after the last character of a text.
constexpr uint8_t kOutsideText = '.';

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

// The first control code at or after 'at', or the text's size. Text holds few codes and many
// plain bytes, so eight bytes at a time are first asked whether any of them lies below 32 (tabs
// and line feeds do too, and are then passed over one by one).
size_t CodeFrom(std::span<const uint8_t> text, size_t at) {
    constexpr uint64_t kEachByte = 0x0101010101010101u;
    constexpr uint64_t kHighBits = 0x8080808080808080u;
    for (; at + 8 <= text.size(); at += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + at, sizeof word);
        if (((word - kEachByte * 32) & ~word & kHighBits) == 0) continue;
        for (size_t i = at; i < at + 8; ++i)
            if (IsControlCode(text[i])) return i;
    }
    for (; at < text.size(); ++at)
        if (IsControlCode(text[at])) return at;
    return text.size();
}

}  // namespace

TextBufferSearch::TextBufferSearch(std::span<const uint8_t> text, std::span<const uint8_t> term, uint8_t flags)
    : text_(text),
      fold_(CurrentFolding()),
      freeBefore_((flags & kTermMayBeginInsideWord) != 0),
      freeAfter_((flags & kTermMayEndInsideWord) != 0),
      before_(kOutsideText) {
    if (text.size() > UINT16_MAX) {
        refuse.log("text longer than a buffer's 16-bit offsets");
        return;
    }
    if (term.empty() || term.size() > kMaxTerm) {
        refuse.log("term empty or longer than 255 bytes");
        return;
    }
    length_ = term.size();
    for (size_t i = 0; i < length_; ++i) term_[i] = fold_[term[i]];
    // Horspool's rule over folded bytes: the wanted place moves on until the byte under the term's
    // last place meets the same byte in the term, or past it when the term has none.
    shift_.fill(static_cast<uint8_t>(length_));
    for (size_t i = 0; i + 1 < length_; ++i) shift_[term_[i]] = static_cast<uint8_t>(length_ - 1 - i);
    usable_ = true;
}

int TextBufferSearch::First(size_t start, TextHit* hit) {
    at_ = 0;
    before_ = kOutsideText;
    runEnd_ = 0;
    // An empty range finds nothing, and leaves nothing to walk.
    if (start >= text_.size()) at_ = text_.size();
    return usable_ && find(start, hit) ? 1 : 0;
}

int TextBufferSearch::Next(TextHit* hit) { return usable_ && find(at_, hit) ? 1 : 0; }

// Walks the text run by run from the walk's place: a run is the plain characters between two
// control sequences, where the term is looked for by skipping; only a match that reaches past its
// run's end is followed character by character over the codes.
bool TextBufferSearch::find(size_t from, TextHit* hit) {
    const size_t size = text_.size();
    while (at_ < size) {
        if (at_ >= runEnd_) {
            const size_t next = SkipSequences(text_, at_);
            if (next == kNoSequence || next >= size) break;
            at_ = next;
            runEnd_ = CodeFrom(text_, at_);
        }
        if (runEnd_ > from) {
            const size_t begin = std::max(at_, from);
            if (const auto match = searchRun(begin, begin > at_ ? text_[begin - 1] : before_)) {
                stopAt(*match, hit);
                return true;
            }
        }
        before_ = text_[runEnd_ - 1];
        at_ = runEnd_;
    }
    at_ = size;
    return false;
}

// The first accepted match beginning in [from, runEnd_); 'before' is the character ahead of 'from'.
std::optional<TextBufferSearch::Match> TextBufferSearch::searchRun(size_t from, uint8_t before) const {
    const uint8_t* text = text_.data();
    const size_t last = length_ - 1;
    size_t at = from;
    while (at + length_ <= runEnd_) {
        const uint8_t tail = fold_[text[at + last]];
        if (tail == term_[last]) {
            size_t i = 0;
            while (i < last && fold_[text[at + i]] == term_[i]) ++i;
            if (i == last && accepted(at + length_, at > from ? text[at - 1] : before)) return Match{at, at + length_};
        }
        at += shift_[tail];
    }
    // The term no longer fits before the run's end: what matches here goes on behind a code.
    const TextCharacters characters(text_);
    const std::span<const uint8_t> term(term_.data(), length_);
    for (; at < runEnd_; ++at) {
        if (fold_[text[at]] != term_[0]) continue;
        const std::optional<size_t> end = MatchAt(characters, at, term, fold_);
        if (end && accepted(*end, at > from ? text[at - 1] : before)) return Match{at, *end};
    }
    return std::nullopt;
}

// The whole-word tests the flags leave, given the character ahead of a match and where it ends.
bool TextBufferSearch::accepted(size_t end, uint8_t before) const {
    if (!freeBefore_ && !IsSearchSeparator(before)) return false;
    return freeAfter_ || IsSearchSeparator(TextCharacters(text_).FirstFrom(end));
}

// Reports the match and leaves the walk behind its first character.
void TextBufferSearch::stopAt(Match match, TextHit* hit) {
    if (hit) {
        const size_t end = freeAfter_ ? WordEnd(TextCharacters(text_), match.end) : match.end;
        *hit = {static_cast<uint16_t>(match.start), static_cast<uint16_t>(end)};
    }
    before_ = text_[match.start];
    at_ = match.start + 1;
}

int SearchTextBuffer(std::span<const uint8_t> text, std::span<const uint8_t> term, uint8_t flags,
                     size_t start, TextHit* hit) {
    TextBufferSearch search(text, term, flags);
    return search.First(start, hit);
}

}  // namespace lect32
