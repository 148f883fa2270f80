// Searching the text of a store's items: control codes are skipped, so a word interrupted by a
// colour change or a link frame is still found.
#include <array>
#include <string>

#include "text/control_codes.h"
#include "text/text_store.h"
#include "winplat/cp1250.h"

namespace lect32 {
namespace {

constexpr std::string_view kPunctuation = "!()/\\-.:;,\"'[]{}%";
constexpr uint8_t kOutsideText = '.';

using FoldTable = std::array<uint8_t, 256>;

FoldTable MakeFoldTable(bool fold) {
    FoldTable table{};
    for (int c = 0; c < 256; ++c) table[c] = fold ? winplat::cp1250::toLower(static_cast<uint8_t>(c)) : static_cast<uint8_t>(c);
    return table;
}

// Walks an item's text bytes, passing over tabs, line feeds and control sequences; a damaged
// sequence ends the text.
class TextWalk {
public:
    explicit TextWalk(std::span<const uint8_t> item) : item_(item) {}

    // The first text byte at or after 'at', or the item's size when there is none.
    size_t NextText(size_t at) const {
        while (at < item_.size() && item_[at] < 32) {
            if (item_[at] == '\t' || item_[at] == '\n') {
                ++at;
                continue;
            }
            const size_t length = SequenceLength(item_, at);
            if (length == 0) return item_.size();
            at += length;
        }
        return at;
    }

private:
    std::span<const uint8_t> item_;
};

bool StandsAlone(uint8_t c) { return c == ' ' || !IsWordCharacter(c); }

bool FindIn(std::span<const uint8_t> view, const TextWalk& walk, const FoldTable& fold,
            std::string_view wanted, bool wholeWords, size_t from, TextMatch& match) {
    const auto first = static_cast<uint8_t>(wanted[0]);
    uint8_t before = kOutsideText;
    for (size_t at = walk.NextText(from); at < view.size(); at = walk.NextText(at + 1)) {
        const uint8_t c = fold[view[at]];
        if (c == first) {
            size_t j = 1;
            size_t k = at + 1;
            for (; j < wanted.size(); ++j, ++k) {
                k = walk.NextText(k);
                if (k >= view.size() || fold[view[k]] != static_cast<uint8_t>(wanted[j])) break;
            }
            if (j == wanted.size()) {
                const size_t next = walk.NextText(k);
                const uint8_t after = next < view.size() ? fold[view[next]] : kOutsideText;
                if (!wholeWords || (StandsAlone(before) && StandsAlone(after))) {
                    match.start = static_cast<uint16_t>(at);
                    match.end = static_cast<uint16_t>(k);
                    return true;
                }
            }
        }
        before = c;
    }
    return false;
}

}  // namespace

bool IsWordCharacter(uint8_t c) { return kPunctuation.find(static_cast<char>(c)) == std::string_view::npos; }

bool TextStore::FindText(std::string_view needle, bool matchCase, bool wholeWords, uint16_t item, uint16_t offset,
                         TextMatch& match) {
    static const FoldTable kFolded = MakeFoldTable(true);
    static const FoldTable kKept = MakeFoldTable(false);
    const FoldTable& fold = matchCase ? kKept : kFolded;
    // The caller's string stays as it was: the folded copy is ours.
    std::string wanted(needle);
    for (char& c : wanted) c = static_cast<char>(fold[static_cast<uint8_t>(c)]);
    if (wanted.empty()) return false;
    for (uint16_t n = item; n < itemCount_; ++n) {
        const uint16_t length = GetItemLength(n);
        if (length == 0) continue;
        const uint8_t* bytes = LockItem(n);
        if (!bytes) continue;
        const std::span<const uint8_t> view(bytes, length);
        const TextWalk walk(view);
        const bool found = FindIn(view, walk, fold, wanted, wholeWords, n == item ? offset : 0, match);
        UnlockItem(n);
        if (found) {
            match.item = n;
            return true;
        }
    }
    return false;
}

}  // namespace lect32
