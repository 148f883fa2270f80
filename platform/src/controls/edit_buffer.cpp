#include "controls/edit_buffer.h"

#include <algorithm>

namespace winplat::controls {

bool isWordBreak(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

size_t EditBuffer::clamp(size_t position) const { return std::min(position, text_.size()); }

bool EditBuffer::insideBreak(size_t position) const {
    return position > 0 && position < text_.size() && text_[position - 1] == '\r' && text_[position] == '\n';
}

std::string_view EditBuffer::selectedText() const {
    return std::string_view(text_).substr(selectionStart(), selectionEnd() - selectionStart());
}

void EditBuffer::select(size_t anchor, size_t caret) {
    anchor_ = clamp(anchor);
    caret_ = clamp(caret);
    if (insideBreak(anchor_)) --anchor_;
    if (insideBreak(caret_)) --caret_;
}

EditBuffer::Replaced EditBuffer::replaceSelection(std::string_view text, bool typing) {
    const size_t start = selectionStart();
    const size_t removed = selectionEnd() - start;
    const size_t room = limit_ > text_.size() - removed ? limit_ - (text_.size() - removed) : 0;
    Replaced result;
    size_t take = std::min(text.size(), room);
    // A cut between CR and LF would leave a lone CR that is no line break.
    if (take < text.size() && take > 0 && text[take - 1] == '\r' && text[take] == '\n') --take;
    result.truncated = take < text.size();
    result.inserted = take;
    if (take == 0 && removed == 0) return result;

    const std::string_view inserted = text.substr(0, take);
    const bool merge = typing && hasUndo_ && removed == 0 && last_.at + last_.inserted.size() == start &&
                       !last_.inserted.empty();
    if (merge) {
        last_.inserted.append(inserted);
    } else {
        last_ = Change{start, text_.substr(start, removed), std::string(inserted)};
        hasUndo_ = true;
    }
    text_.replace(start, removed, inserted);
    anchor_ = caret_ = start + take;
    modified_ = true;
    return result;
}

bool EditBuffer::setText(std::string_view text) {
    if (text.size() > kMaximumLimit) return false;
    text_.assign(text);
    anchor_ = caret_ = 0;
    hasUndo_ = false;
    modified_ = false;
    return true;
}

void EditBuffer::setLimit(size_t limit) {
    limit_ = (limit == 0 || limit > kMaximumLimit) ? kMaximumLimit : limit;
}

bool EditBuffer::undo() {
    if (!hasUndo_) return false;
    Change change = std::move(last_);
    const size_t at = std::min(change.at, text_.size());
    const size_t length = std::min(change.inserted.size(), text_.size() - at);
    last_ = Change{at, text_.substr(at, length), change.removed};
    text_.replace(at, length, change.removed);
    anchor_ = at;
    caret_ = at + change.removed.size();
    modified_ = true;
    return true;
}

size_t EditBuffer::previousWordStart(size_t position) const {
    size_t p = clamp(position);
    while (p > 0 && isWordBreak(text_[p - 1])) --p;
    while (p > 0 && !isWordBreak(text_[p - 1])) --p;
    return p;
}

size_t EditBuffer::nextWordStart(size_t position) const {
    size_t p = clamp(position);
    // A line break is a stop of its own, as the caret cannot jump over the end of a line unseen.
    if (p < text_.size() && text_[p] == '\r') return nextPosition(p);
    while (p < text_.size() && !isWordBreak(text_[p])) ++p;
    while (p < text_.size() && (text_[p] == ' ' || text_[p] == '\t')) ++p;
    return p;
}

size_t EditBuffer::wordStart(size_t position) const {
    size_t p = clamp(position);
    while (p > 0 && !isWordBreak(text_[p - 1])) --p;
    return p;
}

size_t EditBuffer::wordEnd(size_t position) const {
    size_t p = clamp(position);
    while (p < text_.size() && !isWordBreak(text_[p])) ++p;
    return p;
}

size_t EditBuffer::nextPosition(size_t position) const {
    const size_t p = clamp(position);
    if (p >= text_.size()) return p;
    return insideBreak(p + 1) ? p + 2 : p + 1;
}

size_t EditBuffer::previousPosition(size_t position) const {
    const size_t p = clamp(position);
    if (p == 0) return 0;
    return insideBreak(p - 1) ? p - 2 : p - 1;
}

}  // namespace winplat::controls
