// Searching the text of a store's items: control codes are skipped, so a word interrupted by a
// colour change or a link frame is still found.
#include <string>
#include <vector>

#include "text/control_codes.h"
#include "text/text_store.h"
#include "winplat/cp1250.h"

namespace lect32 {
namespace {

constexpr std::string_view kPunctuation = "!()/\\-.:;,\"'[]{}%";
constexpr uint8_t kOutsideText = '.';

// The text bytes of an item from 'from' on, with their offsets; a damaged sequence ends the text.
struct TextBytes {
    std::vector<uint8_t> bytes;
    std::vector<uint16_t> offsets;
};

TextBytes CollectText(std::span<const uint8_t> item, size_t from, bool fold) {
    TextBytes text;
    size_t at = from;
    while (at < item.size()) {
        const uint8_t c = item[at];
        if (c == '\t' || c == '\n') {
            ++at;
            continue;
        }
        if (c < 32) {
            const size_t length = SequenceLength(item, at);
            if (length == 0) break;
            at += length;
            continue;
        }
        text.bytes.push_back(fold ? winplat::cp1250::toLower(c) : c);
        text.offsets.push_back(static_cast<uint16_t>(at));
        ++at;
    }
    return text;
}

bool StandsAlone(uint8_t c) { return c == ' ' || !IsWordCharacter(c); }

}  // namespace

bool IsWordCharacter(uint8_t c) { return kPunctuation.find(static_cast<char>(c)) == std::string_view::npos; }

bool TextStore::FindText(std::string_view needle, bool matchCase, bool wholeWords, uint16_t item, uint16_t offset,
                         TextMatch& match) {
    // The caller's string stays as it was: the folded copy is ours.
    std::string wanted(needle);
    if (!matchCase) wanted = winplat::cp1250::lower(wanted);
    if (wanted.empty()) return false;
    for (uint16_t n = item; n < itemCount_; ++n) {
        const std::string bytes = CopyItem(n);
        const std::span<const uint8_t> view(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        const TextBytes text = CollectText(view, n == item ? offset : 0, !matchCase);
        const auto& t = text.bytes;
        for (size_t i = 0; i + wanted.size() <= t.size(); ++i) {
            if (!std::equal(wanted.begin(), wanted.end(), t.begin() + static_cast<std::ptrdiff_t>(i),
                            [](char w, uint8_t b) { return static_cast<uint8_t>(w) == b; })) {
                continue;
            }
            const size_t last = i + wanted.size() - 1;
            const uint8_t before = i > 0 ? t[i - 1] : kOutsideText;
            const uint8_t after = last + 1 < t.size() ? t[last + 1] : kOutsideText;
            if (wholeWords && !(StandsAlone(before) && StandsAlone(after))) continue;
            match = TextMatch{n, text.offsets[i], static_cast<uint16_t>(text.offsets[last] + 1)};
            return true;
        }
    }
    return false;
}

}  // namespace lect32
