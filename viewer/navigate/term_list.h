// A list of short search terms in one fixed 260-byte block: the term count, the bytes used, and a
// 256-byte data area holding n offset bytes, n length bytes, n flag bytes, then the texts one after
// another. The data area is also the form in which several words are handed to a search.
#ifndef LECT32_NAVIGATE_TERM_LIST_H
#define LECT32_NAVIGATE_TERM_LIST_H

#include <array>
#include <cstdint>
#include <span>

namespace lect32 {

// Term flags beyond the whole-word pair of the text search: a word inside a quoted phrase, a
// whole phrase.
inline constexpr uint8_t kTermInPhrase = 4;
inline constexpr uint8_t kTermIsPhrase = 8;

class TermList {
public:
    static constexpr uint16_t kDataSize = 256;
    static constexpr uint16_t kFull = 0xFFFF;

    // Appends a term (length 0: up to the text's terminator): its index, or kFull when its text
    // and its three array bytes no longer fit, or for an empty term.
    uint16_t Add(const char* text, uint8_t length, uint8_t flags);
    void Clear();

    uint16_t GetCount() const { return count_; }
    // The text of term k, a view into the list, and its flags; empty for k past the count.
    std::span<const uint8_t> GetTerm(uint16_t k) const;
    uint8_t GetFlags(uint16_t k) const;
    // The used part of the data area.
    std::span<const uint8_t> data() const { return {data_.data(), used_}; }

private:
    uint16_t count_ = 0;
    uint16_t used_ = 0;
    std::array<uint8_t, kDataSize> data_{};
};

// The words of a data area as a search takes them (n offsets, n lengths, n flags, then texts),
// each checked to lie inside the area.
class TermView {
public:
    // Empty (count 0) when the arrays or a text reach past the area or a text is empty; 'valid'
    // says which.
    TermView(std::span<const uint8_t> area, uint8_t count);
    bool valid() const { return valid_; }
    uint8_t count() const { return count_; }
    std::span<const uint8_t> term(uint8_t k) const;
    uint8_t flags(uint8_t k) const { return k < count_ ? area_[2u * count_ + k] : 0; }

private:
    std::span<const uint8_t> area_;
    uint8_t count_ = 0;
    bool valid_ = false;
};

}  // namespace lect32

#endif
