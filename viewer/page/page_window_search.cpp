// Search on the page shown: its name and its text share the found words, so a query whose words
// are split between the two is found; the hits are marked in the banner and the view.
#include "page/page_window.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr uint16_t kNoTemplateFlag = 0x0001;

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// The wait cursor for a scope.
class WaitCursor {
public:
    WaitCursor() : before_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(before_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR before_;
};

}  // namespace

bool PageWindow::FindText(const QueryWords& query, std::vector<bool>& found, size_t& foundCount,
                          const ViewWordFinder& find) {
    if (currentStyle_.group100Byte != 0 || (pageStyle_.flags & kNoTemplateFlag)) return false;
    const size_t count = query.flags.size();
    found.resize(count, false);
    for (size_t word = 0; word < count; ++word) {
        if (found[word] || !find(word, Bytes(name_), 0, false)) continue;
        found[word] = true;
        ++foundCount;
    }
    if (count > 0 && foundCount >= count) return true;
    return view_->FindText(query, found, foundCount, find);
}

void PageWindow::MarkFoundWords(const QueryWords& query, bool stem, const ViewWordFinder& find) {
    const WaitCursor wait;
    banner_.MarkFoundWords(query.flags.size(), [&](size_t word, std::span<const uint8_t> text, size_t from) {
        return find(word, text, from, false);
    });
    view_->MarkFoundWords(query, stem, find);
    if (bannerWindow_) InvalidateRect(bannerWindow_, nullptr, FALSE);
    if (viewWindow_) InvalidateRect(viewWindow_, nullptr, FALSE);
}

}  // namespace lect32
