// Searching the page names of a document: every string of a string table's bound container is
// matched against one word or against the words of a query.
#ifndef LECT32_NAVIGATE_PAGE_NAME_SEARCH_H
#define LECT32_NAVIGATE_PAGE_NAME_SEARCH_H

#include <cstdint>
#include <span>

namespace lect32 {

class DocStringTable;
class SearchHitList;
class SearchQuery;

// Matches every page name of the table's bound container, block by block (the table's loaded
// block is replaced).
//   single word: words holds the word, length is its length and flags its term flags;
//   multiWord: words is a term data area (length offsets, length lengths, length flags, then the
//   texts) and length the number of words; every word is looked for in the name and the query's
//   code decides over the found flags, so that OR and NOT hold for names that lack a word.
// A matching name N sets map[N] = 1 when a map (32768 bytes) is given, else appends the hit
// (N, document, pass 0) to hits. 1 when any name matched; 0 when none did, when the container is
// not open, when the words do not lie inside their buffer, or when a block cannot be parsed.
int SearchStrings(DocStringTable& table, uint8_t document, bool multiWord, std::span<const uint8_t> words,
                  uint8_t length, uint8_t flags, std::span<uint8_t> map, const SearchQuery& query,
                  SearchHitList& hits);

}  // namespace lect32

#endif
