// The text of an edit control apart from its window: cp1250 bytes with line breaks as CR LF, the
// selection as an anchor and a caret, a limit on the length, one level of undo and the modified
// flag. Positions are byte offsets, 0 .. size().
#ifndef WINPLAT_SRC_CONTROLS_EDIT_BUFFER_H
#define WINPLAT_SRC_CONTROLS_EDIT_BUFFER_H

#include <cstddef>
#include <string>
#include <string_view>

namespace winplat::controls {

class EditBuffer {
public:
    // What a new control holds at most, and the most any limit allows (EM_LIMITTEXT 0).
    static constexpr size_t kDefaultLimit = 32767;
    static constexpr size_t kMaximumLimit = 65536;

    // What replaceSelection did: the bytes that went in, and whether the limit cut the text.
    struct Replaced {
        size_t inserted = 0;
        bool truncated = false;
    };

    const std::string& text() const { return text_; }
    size_t size() const { return text_.size(); }

    size_t anchor() const { return anchor_; }
    size_t caret() const { return caret_; }
    size_t selectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
    size_t selectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
    bool hasSelection() const { return anchor_ != caret_; }
    std::string_view selectedText() const;
    // Both ends are clamped to the text; a caret inside a CR LF pair moves before it.
    void select(size_t anchor, size_t caret);

    // Replaces the selection with as much of the text as the limit leaves room for (never half a
    // CR LF pair); the caret ends after it. Undoable; sets the modified flag. Typing merges into
    // the previous change when it goes on where that one ended.
    Replaced replaceSelection(std::string_view text, bool typing = false);
    // The whole text, as a program sets it: neither limited nor undoable, and not modified.
    // False (nothing changed) beyond kMaximumLimit.
    bool setText(std::string_view text);

    size_t limit() const { return limit_; }
    // 0 or anything above the maximum means the maximum. The text already there stays.
    void setLimit(size_t limit);

    bool canUndo() const { return hasUndo_; }
    // Puts back what the last change replaced, selecting it; the undo is undoable in its turn.
    bool undo();
    void emptyUndo() { hasUndo_ = false; }

    bool modified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // Word movement as Ctrl+arrows do it: the start of the word at or before the position, and
    // the start of the next word after it. Words are runs of bytes other than blanks and breaks.
    size_t previousWordStart(size_t position) const;
    size_t nextWordStart(size_t position) const;
    // The word around a position (double click): its start and end.
    size_t wordStart(size_t position) const;
    size_t wordEnd(size_t position) const;

    // One byte further or back, stepping over a CR LF pair as one.
    size_t nextPosition(size_t position) const;
    size_t previousPosition(size_t position) const;

private:
    // At 'at', 'inserted' replaced 'removed'.
    struct Change {
        size_t at = 0;
        std::string removed;
        std::string inserted;
    };

    size_t clamp(size_t position) const;
    bool insideBreak(size_t position) const;

    std::string text_;
    size_t anchor_ = 0;
    size_t caret_ = 0;
    size_t limit_ = kDefaultLimit;
    Change last_;
    bool hasUndo_ = false;
    bool modified_ = false;
};

// Blanks and line-break bytes, which end words.
bool isWordBreak(char c);

}  // namespace winplat::controls

#endif
