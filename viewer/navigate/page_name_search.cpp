#include "navigate/page_name_search.h"

#include <array>

#include "navigate/search_hit_list.h"
#include "navigate/search_query.h"
#include "navigate/term_list.h"
#include "navigate/text_buffer_search.h"
#include "store/doc_string_table.h"
#include "store/id_list.h"
#include "store/vazazi_file.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: page name search");

// Whether one name matches the words.
class NameMatcher {
public:
    NameMatcher(bool multiWord, std::span<const uint8_t> words, uint8_t length, uint8_t flags,
                const SearchQuery& query)
        : multiWord_(multiWord),
          terms_(multiWord ? words : std::span<const uint8_t>{}, multiWord ? length : 0),
          word_(!multiWord && length <= words.size() ? words.first(length) : std::span<const uint8_t>{}),
          flags_(flags),
          query_(query) {}

    bool valid() const {
        return multiWord_ ? terms_.valid() && query_.FitsWords(terms_.count()) : !word_.empty();
    }

    bool Matches(std::span<const uint8_t> name) const {
        if (!multiWord_) return SearchTextBuffer(name, word_, flags_, 0, nullptr) != 0;
        std::array<uint8_t, TermList::kDataSize> found{};
        for (uint8_t k = 0; k < terms_.count(); ++k)
            found[k] =
                static_cast<uint8_t>(SearchTextBuffer(name, terms_.term(k), terms_.flags(k), 0, nullptr));
        return query_.EvaluateHits(std::span<const uint8_t>(found.data(), terms_.count())) != 0;
    }

private:
    bool multiWord_;
    TermView terms_;
    std::span<const uint8_t> word_;
    uint8_t flags_;
    const SearchQuery& query_;
};

}  // namespace

int SearchStrings(DocStringTable& table, uint8_t document, bool multiWord, std::span<const uint8_t> words,
                  uint8_t length, uint8_t flags, std::span<uint8_t> map, const SearchQuery& query,
                  SearchHitList& hits) {
    VazaziFile& container = table.container();
    if (!container.IsOpen()) return refuse(0, "document not open");
    if (!map.empty() && map.size() < IdList::kMapSize)
        return refuse(0, "map smaller than the string numbers");
    const NameMatcher matcher(multiWord, words, length, flags, query);
    if (!matcher.valid()) return refuse(0, "words outside their buffer, or a code that does not fit them");
    bool matched = false;
    bool full = false;
    const int walked = table.ForEachString([&](int n, const char* text, int length) {
        if (!matcher.Matches({reinterpret_cast<const uint8_t*>(text), static_cast<size_t>(length)})) return true;
        matched = true;
        if (!map.empty()) {
            map[static_cast<size_t>(n)] = 1;
            return true;
        }
        full = hits.Append({static_cast<uint16_t>(n), document, 0}) == SearchHitList::kFull;
        return !full;
    });
    if (!walked) return 0;
    if (full) return refuse(1, "hit list full: the search stops");
    return matched ? 1 : 0;
}

}  // namespace lect32
