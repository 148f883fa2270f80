#include "page/url_marking.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "store/link_target.h"
#include "text/control_codes.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: address marking");

constexpr uint8_t kNoBreakSpace = 160;
constexpr std::array<uint8_t, 5> kStopMark = {160, 32, 160, 32, 160};
constexpr std::array<std::string_view, 4> kPrefixes = {"www.", "http:", "gopher:", "ftp:"};
constexpr std::string_view kTrailingPunctuation = ".,;:!?)]}>\"'";
constexpr std::array<uint8_t, 2> kLinkEnd = {kCodeLinkEnd, kCodeLinkEnd};

bool AtStopMark(std::span<const uint8_t> text, size_t at) {
    return at + kStopMark.size() <= text.size() && std::equal(kStopMark.begin(), kStopMark.end(), text.begin() + static_cast<std::ptrdiff_t>(at));
}

bool EndsWord(std::span<const uint8_t> text, size_t at) {
    const uint8_t b = text[at];
    if (b == ' ' || b == '\t' || b == '\n' || b == '(') return true;
    return b == kNoBreakSpace && !(at + 1 < text.size() && text[at + 1] == ' ');
}

bool StartsWithFolded(std::span<const uint8_t> word, std::string_view prefix) {
    if (word.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(word[i]) != prefix[i]) return false;
    }
    return true;
}

bool IsAddress(std::span<const uint8_t> word) {
    for (std::string_view prefix : kPrefixes) {
        if (StartsWithFolded(word, prefix)) return true;
    }
    return word.size() > 2 && std::find(word.begin() + 1, word.end() - 1, '@') != word.end() - 1;
}

// Past the closing code 21 of the link opening at 'at'; the text's end when it has none, or
// kNoSequence for a damaged sequence.
size_t PastLink(std::span<const uint8_t> text, size_t at) {
    while (at < text.size()) {
        if (!IsControlCode(text[at])) {
            ++at;
            continue;
        }
        const size_t length = SequenceLength(text, at);
        if (length == 0) return kNoSequence;
        const bool closing = text[at] == kCodeLinkEnd;
        at += length;
        if (closing) return at;
    }
    return at;
}

size_t WordEnd(std::span<const uint8_t> text, size_t at) {
    while (at < text.size() && !IsControlCode(text[at]) && !EndsWord(text, at) && !AtStopMark(text, at)) ++at;
    return at;
}

size_t TrimPunctuation(std::span<const uint8_t> text, size_t start, size_t end) {
    while (end > start && kTrailingPunctuation.find(static_cast<char>(text[end - 1])) != std::string_view::npos) --end;
    return end;
}

// Frames [start, end) as an address link; false when the row cannot hold it.
bool Wrap(std::vector<uint8_t>& text, size_t start, size_t end) {
    std::array<uint8_t, LinkTarget::kMaxEncoded> frame{};
    LinkTarget address;
    address.kind = 20;
    const size_t frameLength = address.Encode(frame, true);
    if (text.size() + frameLength + kLinkEnd.size() > kMaxRowText) {
        return refuse(false, "the row has no room for another link");
    }
    text.insert(text.begin() + static_cast<std::ptrdiff_t>(end), kLinkEnd.begin(), kLinkEnd.end());
    text.insert(text.begin() + static_cast<std::ptrdiff_t>(start), frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(frameLength));
    return true;
}

}  // namespace

size_t MarkUrlsInRow(std::vector<uint8_t>& text) {
    size_t marked = 0, at = 0;
    while (at < text.size() && !AtStopMark(text, at)) {
        const uint8_t b = text[at];
        if (IsControlCode(b)) {
            const size_t next = b == kCodeLinkStart ? PastLink(text, at) : at + SequenceLength(text, at);
            if (next == kNoSequence || next == at) break;
            at = next;
            continue;
        }
        if (EndsWord(text, at)) {
            ++at;
            continue;
        }
        const size_t end = WordEnd(text, at);
        const size_t kept = TrimPunctuation(text, at, end);
        const std::span<const uint8_t> word(text.data() + at, kept - at);
        if (kept > at && IsAddress(word)) {
            const size_t before = text.size();
            if (!Wrap(text, at, kept)) break;
            ++marked;
            at = end + (text.size() - before);
            continue;
        }
        at = end;
    }
    return marked;
}

std::string LinkText(std::span<const uint8_t> text, size_t start) {
    std::string out;
    size_t at = start;
    while (at < text.size() && text[at] != kCodeLinkEnd) {
        if (IsControlCode(text[at])) {
            const size_t length = SequenceLength(text, at);
            if (length == 0) break;
            at += length;
            continue;
        }
        out.push_back(static_cast<char>(text[at++]));
    }
    const size_t first = out.find_first_not_of(" \t\n");
    if (first == std::string::npos) return {};
    out = out.substr(first, out.find_last_not_of(" \t\n") - first + 1);
    if (out.size() > kMaxAddress) out.resize(kMaxAddress);
    return out;
}

}  // namespace lect32
