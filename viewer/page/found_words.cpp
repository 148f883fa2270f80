// Search in a page's text: whether the query's words are there, the hits marked for painting,
// and the marked hits brought into view one after another.
#include <algorithm>

#include "page/rich_text_object.h"

namespace lect32 {

bool RichTextObject::FindText(const QueryWords& query, std::vector<bool>& found, size_t& foundCount,
                              const ViewWordFinder& find) {
    const size_t count = query.flags.size();
    found.resize(count, false);
    for (const ViewRow& row : rows_) {
        if (row.table) continue;
        for (size_t word = 0; word < count; ++word) {
            if (found[word] || !find(word, row.text, 0, false)) continue;
            found[word] = true;
            ++foundCount;
            if (count == 1 || foundCount >= count) return true;
        }
    }
    return count > 0 && foundCount >= count;
}

void RichTextObject::MarkFoundWords(const QueryWords& query, bool stem, const ViewWordFinder& find) {
    const size_t count = query.flags.size();
    for (uint16_t r = 0; r < rows_.size(); ++r) {
        std::vector<std::pair<uint16_t, uint16_t>> ranges;
        const std::vector<uint8_t>& text = rows_[r].text;
        for (size_t word = 0; word < count && !rows_[r].table; ++word) {
            const uint8_t flags = query.flags[word];
            if (count > 1 && (flags & QueryWords::kNotMarked)) continue;
            const bool stemmed = stem && !(flags & QueryWords::kNotStemmed);
            for (size_t from = 0; from <= text.size();) {
                const auto hit = find(word, text, from, stemmed);
                // A hit must lie ahead, inside the row: anything else would mark nothing or
                // search the same place for ever.
                if (!hit || hit->end <= hit->start || hit->start < from || hit->end > text.size()) break;
                ranges.emplace_back(hit->start, hit->end);
                from = size_t{hit->end} + 1;
            }
        }
        if (!ranges.empty()) marked_ = 1;
        std::ranges::sort(ranges);
        SetMarkedRanges(r, std::move(ranges));
    }
    foundWord_ = marked_ != 0;
}

// Brings [top, bottom) into view, cut to one visible height from its top or, with 'endAtBottom',
// ending at its bottom.
bool RichTextObject::scrollSpan(int32_t top, int32_t bottom, bool endAtBottom) {
    if (bottom - top > visibleHeight_) {
        if (endAtBottom) top = bottom - visibleHeight_;
        else bottom = top + visibleHeight_;
    }
    return ScrollRangeIntoView(top, bottom, true) != 0;
}

int RichTextObject::ShowFirstFoundWord() {
    for (uint16_t r = 0; r < rows_.size(); ++r) {
        if (rows_[r].marked.empty()) continue;
        uint32_t height = 0;
        const int32_t rowTop = GetRowTop(r, &height);
        return scrollSpan(lineEdge(r, rows_[r].marked.front().first, false), rowTop + static_cast<int32_t>(height), false)
                   ? 1
                   : 0;
    }
    return page_.ShowFirstFoundWordInFrames() ? 1 : 0;
}

int RichTextObject::ShowNextFoundWord() {
    for (uint16_t r = RowFromY(visibleHeight_); r < rows_.size(); ++r) {
        for (const auto& [start, end] : rows_[r].marked) {
            if (lineEdge(r, end, true) <= visibleHeight_) continue;
            uint32_t height = 0;
            const int32_t rowTop = GetRowTop(r, &height);
            scrollSpan(lineEdge(r, start, false), rowTop + static_cast<int32_t>(height), false);
            return 1;
        }
    }
    return 0;
}

int RichTextObject::ShowPreviousFoundWord() {
    if (rows_.empty()) return 0;
    const int first = std::min<int>(RowFromY(-1), static_cast<int>(rows_.size()) - 1);
    for (int r = first; r >= 0; --r) {
        const auto row = static_cast<uint16_t>(r);
        const auto& marked = rows_[row].marked;
        for (auto range = marked.rbegin(); range != marked.rend(); ++range) {
            if (lineEdge(row, range->first, false) >= 0) continue;
            scrollSpan(GetRowTop(row), lineEdge(row, range->second, true), true);
            return 1;
        }
    }
    return 0;
}

}  // namespace lect32
