#include "navigate/term_list.h"

#include <algorithm>
#include <cstring>

#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: search terms");

}  // namespace

uint16_t TermList::Add(const char* text, uint8_t length, uint8_t flags) {
    const size_t size = length != 0 ? length : std::strlen(text);
    if (size == 0) return refuse(kFull, "empty term");
    if (used_ + size + 3 > kDataSize) return refuse(kFull, "no room for the term");
    const uint16_t n = count_;
    uint8_t* const area = data_.data();
    // Each array and the texts move up by the bytes of the arrays ahead of them that grow.
    std::memmove(area + 3 * n + 3, area + 3 * n, used_ - 3u * n);
    std::memmove(area + 2 * n + 2, area + 2 * n, n);
    std::memmove(area + n + 1, area + n, n);
    for (uint16_t k = 0; k < n; ++k) area[k] = static_cast<uint8_t>(area[k] + 3);
    area[n] = static_cast<uint8_t>(used_ + 3);
    area[2 * n + 1] = static_cast<uint8_t>(size);
    area[3 * n + 2] = flags;
    std::memcpy(area + used_ + 3, text, size);
    used_ = static_cast<uint16_t>(used_ + size + 3);
    count_ = static_cast<uint16_t>(n + 1);
    return n;
}

void TermList::Clear() {
    count_ = 0;
    used_ = 0;
    data_.fill(0);
}

std::span<const uint8_t> TermList::GetTerm(uint16_t k) const {
    if (k >= count_) return {};
    return TermView(data(), static_cast<uint8_t>(count_)).term(static_cast<uint8_t>(k));
}

uint8_t TermList::GetFlags(uint16_t k) const {
    if (k >= count_) return 0;
    return TermView(data(), static_cast<uint8_t>(count_)).flags(static_cast<uint8_t>(k));
}

TermView::TermView(std::span<const uint8_t> area, uint8_t count) : area_(area) {
    if (3u * count > area.size()) {
        refuse.log("word arrays longer than the word buffer");
        return;
    }
    for (uint8_t k = 0; k < count; ++k) {
        if (area[count + k] == 0 || size_t{area[k]} + area[count + k] > area.size()) {
            refuse.log("a word is empty or reaches past the word buffer");
            return;
        }
    }
    count_ = count;
    valid_ = true;
}

std::span<const uint8_t> TermView::term(uint8_t k) const {
    if (k >= count_) return {};
    return area_.subspan(area_[k], area_[count_ + k]);
}

}  // namespace lect32
