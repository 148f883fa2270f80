// One EDIT window's state and the work its messages share: the text (EditBuffer), its lines on
// the window (EditLayout), what is scrolled, the caret and the notifications to the parent. The
// window procedure (edit_window.cpp) hands each message to one of the files beside this one.
#ifndef WINPLAT_SRC_CONTROLS_EDIT_CONTROL_H
#define WINPLAT_SRC_CONTROLS_EDIT_CONTROL_H

#include <string>
#include <string_view>
#include <vector>

#include "controls/edit_buffer.h"
#include "controls/edit_layout.h"
#include "winplat/controls.h"

namespace winplat::controls {

class EditControl {
public:
    explicit EditControl(HWND window) : window_(window) {}

    HWND window() const { return window_; }
    EditBuffer& buffer() { return buffer_; }
    const EditBuffer& buffer() const { return buffer_; }
    DWORD style() const;
    bool multiLine() const { return (style() & ES_MULTILINE) != 0; }
    bool readOnly() const { return (style() & ES_READONLY) != 0; }
    // Multi-line text wraps at the window's width unless it scrolls sideways.
    bool wraps() const;
    // The scroll bars the window was made with: their styles come and go as they show and hide.
    void setScrollBars(DWORD createStyle);

    // --- the font and the layout
    HFONT font() const { return font_; }
    void setFont(HFONT font);
    int lineHeight() const { return lineHeight_; }
    int averageWidth() const { return averageWidth_; }
    char passwordChar() const { return passwordChar_; }
    void setPasswordChar(char c);
    // The text as drawn: the password character in place of every byte, when one is set.
    std::string_view shownText() const;
    const std::vector<EditLine>& lines() const { return lines_; }
    const CharWidths& widths() const { return widths_; }
    // Lines again after the text, the font, the width or the style changed.
    void relayOut();

    // --- geometry, in client coordinates
    RECT formatRect() const;
    int visibleLines() const;
    // Where a line's text starts (its alignment less the sideways scroll).
    int lineLeft(size_t line) const;
    int lineTop(size_t line) const;
    POINT pointOf(size_t position) const;
    size_t positionAt(POINT point) const;
    size_t caretLine() const { return lineOfPosition(lines_, buffer_.caret()); }

    // --- scrolling (multi-line: by lines; sideways: by pixels)
    int firstLine() const { return firstLine_; }
    int xOffset() const { return xOffset_; }
    // Moves the top line, kept within the text; returns how many lines it moved.
    int scrollLines(int delta);
    void scrollPixels(int delta);
    void scrollToCaret();
    void updateScrollBars() const;

    // --- focus and caret
    bool focused() const { return focused_; }
    void takeFocus();
    void loseFocus();
    void placeCaret() const;
    // A mouse drag is selecting.
    bool selecting() const { return selecting_; }
    void setSelecting(bool selecting) { selecting_ = selecting; }

    // --- changes
    // Replaces the selection (the user typing, pasting or deleting, or EM_REPLACESEL) after the
    // style's filters, with the notifications: EN_MAXTEXT when the limit or the window's size
    // refused text, then EN_UPDATE and EN_CHANGE when something changed. False when nothing did.
    bool replaceSelection(std::string_view text, bool typing = false);
    // The whole text from a program (WM_SETTEXT), or quietly the window's text at creation;
    // false beyond the maximum (EN_ERRSPACE).
    bool setText(std::string_view text, bool quietly = false);
    bool undo();
    // The selection moved: redraw, caret and scrolling follow.
    void selectionMoved(bool scroll);
    void notify(WORD code) const;
    void redraw() const;

private:
    // The style's filters: upper or lower case, and a single line's text ends at its first break.
    std::string filtered(std::string_view text) const;
    // Without automatic scrolling, text may not outgrow the window.
    bool fitsWindow() const;
    int textWidth(size_t line) const;
    void measureFont();
    void announceChange();

    HWND window_;
    EditBuffer buffer_;
    HFONT font_ = nullptr;  // null: the system font
    CharWidths fontWidths_;  // of the font's bytes
    CharWidths widths_;      // of the bytes as shown (all the password character's)
    int lineHeight_ = 16;
    int averageWidth_ = 8;
    char passwordChar_ = 0;
    std::string masked_;
    std::vector<EditLine> lines_{EditLine{}};
    int firstLine_ = 0;
    int xOffset_ = 0;
    bool focused_ = false;
    bool selecting_ = false;
    bool verticalBar_ = false;
    bool horizontalBar_ = false;
};

// Message handlers, each in the file of its concern; true when the message was theirs, with the
// result set.
bool handleEditKeys(EditControl& edit, UINT message, WPARAM wParam, LRESULT& result);
bool handleEditMouse(EditControl& edit, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
bool handleEditClipboard(EditControl& edit, UINT message, LRESULT& result);
bool handleEditLines(EditControl& edit, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
bool handleEditScrolling(EditControl& edit, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
void paintEdit(EditControl& edit);

}  // namespace winplat::controls

#endif
