// The search's inputs under fuzzing. The first byte chooses what the rest is: a query text parsed
// in both modes and its code run over found flags, a term and a text of coded bytes searched
// with every flag pair from several starts and walked hit by hit, or a word buffer with its count as a page-name search
// takes it. Seeds are typed queries and rows with every kind of control code.
#include <array>
#include <span>
#include <string>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "navigate/search_query.h"
#include "navigate/term_list.h"
#include "navigate/text_buffer_search.h"

namespace {

enum Kind : uint8_t { kQuery, kText, kWords, kKinds };

void check(bool holds) {
    if (!holds) __builtin_trap();
}

void fuzzQuery(const uint8_t* data, size_t size) {
    if (size > 255) return;  // the query field holds 255 characters
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::array<uint8_t, 64> found{};
    for (size_t i = 0; i < found.size() && i < size; ++i) found[i] = data[i] & 1;
    for (const bool phraseMode : {false, true}) {
        lect32::SearchQuery query;
        const int result = query.Parse(text.c_str(), static_cast<uint16_t>(size), phraseMode);
        check(result == 0 || result == 1 || result == 2 || result == 255);
        check(query.code().size() <= lect32::SearchQuery::kMaxCode);
        if (result == 0 || result == 255) check(query.FitsWords(static_cast<uint8_t>(query.words().GetCount())));
        query.EvaluateHits(std::span<const uint8_t>(found.data(), query.words().GetCount()));
    }
}

// A walk over every hit finds, hit after hit, what a search from behind the last hit's start finds.
void walkText(std::span<const uint8_t> text, std::span<const uint8_t> term, uint8_t flags) {
    lect32::TextBufferSearch search(text, term, flags);
    lect32::TextHit hit;
    lect32::TextHit again;
    size_t start = 0;
    for (int hits = 0; search.Next(&hit); ++hits) {
        check(hits < 65536);
        check(lect32::SearchTextBuffer(text, term, flags, start, &again) == 1);
        check(again.start == hit.start && again.end == hit.end);
        start = hit.start + 1u;
    }
    check(lect32::SearchTextBuffer(text, term, flags, start, nullptr) == 0);
}

// The first byte is the term's length, then the term, then the text.
void fuzzText(const uint8_t* data, size_t size) {
    if (size == 0) return;
    const size_t termLength = std::min<size_t>(data[0], size - 1);
    const std::span<const uint8_t> term(data + 1, termLength);
    const std::span<const uint8_t> text(data + 1 + termLength, size - 1 - termLength);
    for (uint8_t flags = 0; flags < 4; ++flags) {
        for (const size_t start : {size_t{0}, size_t{1}, text.size() / 2}) {
            lect32::TextHit hit;
            if (lect32::SearchTextBuffer(text, term, flags, start, &hit))
                check(hit.start >= start && hit.start < hit.end && hit.end <= text.size());
        }
        walkText(text, term, flags);
    }
}

// The first byte is the word count, the rest the buffer.
void fuzzWords(const uint8_t* data, size_t size) {
    if (size == 0) return;
    const lect32::TermView words(std::span<const uint8_t>(data + 1, size - 1), data[0]);
    for (uint8_t k = 0; k < words.count(); ++k) {
        const auto term = words.term(k);
        check(term.empty() || (term.data() >= data + 1 && term.data() + term.size() <= data + size));
    }
}

FuzzBytes tagged(Kind kind, std::string_view text) {
    FuzzBytes bytes{kind};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QuietInput quiet;  // refusals of malformed queries and buffers
    if (size == 0) return 0;
    const auto kind = static_cast<Kind>(data[0] % kKinds);
    if (kind == kQuery) fuzzQuery(data + 1, size - 1);
    else if (kind == kText) fuzzText(data + 1, size - 1);
    else fuzzWords(data + 1, size - 1);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds;
    seeds.push_back(tagged(kQuery, "(abc OR \"red apple\") AND NOT *xyz* NEAR def"));
    seeds.push_back(tagged(kQuery, "((abc) OR (def AND ghi)) \"quoted words\" tail*"));
    seeds.push_back(tagged(kText, std::string_view("\x03" "abcxx ab\x02\x07\x09\x02" "c abcdef\t(abc)\x14\x03\x07\x03\x14 abc",
                                                   36)));
    seeds.push_back(tagged(kText, std::string_view("\x02" "ab" "a\x01\x00\x0A\xFF\xFF\x00\x01" "b aab", 16)));
    seeds.push_back(tagged(kWords, std::string_view("\x02\x06\x09\x03\x03\x00\x02" "abcdef", 13)));
    return seeds;
}
