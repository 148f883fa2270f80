// The line messages of an EDIT control: counting lines, mapping between character positions and
// lines or points, copying one line out. A single-line control is one line holding all its text.
#include <algorithm>
#include <cstring>

#include "controls/edit_control.h"

namespace winplat::controls {
namespace {

// -1 (any negative) for the line of the selection's start.
size_t lineOfIndex(const EditControl& edit, WPARAM index) {
    const auto i = static_cast<int>(index);
    const size_t position = i < 0 ? edit.buffer().selectionStart() : static_cast<size_t>(i);
    return lineOfPosition(edit.lines(), position);
}

LRESULT lineIndex(const EditControl& edit, WPARAM lineIn) {
    const auto line = static_cast<int>(lineIn);
    if (line < 0) return static_cast<LRESULT>(edit.lines()[edit.caretLine()].start);
    if (static_cast<size_t>(line) >= edit.lines().size()) return -1;
    return static_cast<LRESULT>(edit.lines()[static_cast<size_t>(line)].start);
}

// For -1: the bytes on the selection's lines that the selection leaves out.
LRESULT lineLength(const EditControl& edit, WPARAM index) {
    const auto& lines = edit.lines();
    if (static_cast<int>(index) >= 0) return static_cast<LRESULT>(lines[lineOfIndex(edit, index)].length);
    const EditBuffer& buffer = edit.buffer();
    const EditLine& first = lines[lineOfPosition(lines, buffer.selectionStart())];
    const EditLine& last = lines[lineOfPosition(lines, buffer.selectionEnd())];
    const size_t before = buffer.selectionStart() - first.start;
    const size_t lastEnd = last.start + last.length;
    const size_t after = lastEnd > buffer.selectionEnd() ? lastEnd - buffer.selectionEnd() : 0;
    return static_cast<LRESULT>(before + after);
}

// EM_GETLINE: the buffer's first word holds its size; the line is copied without a zero.
LRESULT getLine(const EditControl& edit, WPARAM lineIn, LPARAM out) {
    auto* buffer = reinterpret_cast<char*>(out);
    if (!buffer) return 0;
    WORD room = 0;
    std::memcpy(&room, buffer, sizeof room);
    const size_t line = edit.multiLine() ? static_cast<size_t>(lineIn) : 0;
    if (line >= edit.lines().size()) return 0;
    const EditLine& l = edit.lines()[line];
    const size_t count = std::min<size_t>(l.length, room);
    std::memcpy(buffer, edit.buffer().text().data() + l.start, count);
    return static_cast<LRESULT>(count);
}

LRESULT firstVisible(const EditControl& edit) {
    if (edit.multiLine()) return edit.firstLine();
    // A single line tells the first character it shows.
    return static_cast<LRESULT>(positionOfX(edit.shownText(), edit.lines()[0], edit.xOffset(), edit.widths()));
}

LRESULT positionFromChar(const EditControl& edit, WPARAM index) {
    if (index > edit.buffer().size()) return -1;
    const POINT p = edit.pointOf(static_cast<size_t>(index));
    return MAKELRESULT(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

LRESULT charFromPosition(const EditControl& edit, LPARAM lParam) {
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const size_t position = edit.positionAt(p);
    return MAKELRESULT(static_cast<WORD>(position), static_cast<WORD>(lineOfPosition(edit.lines(), position)));
}

}  // namespace

bool handleEditLines(EditControl& edit, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case EM_GETLINECOUNT: result = static_cast<LRESULT>(edit.lines().size()); return true;
        case EM_LINEFROMCHAR: result = static_cast<LRESULT>(lineOfIndex(edit, wParam)); return true;
        case EM_LINEINDEX: result = lineIndex(edit, wParam); return true;
        case EM_LINELENGTH: result = lineLength(edit, wParam); return true;
        case EM_GETLINE: result = getLine(edit, wParam, lParam); return true;
        case EM_GETFIRSTVISIBLELINE: result = firstVisible(edit); return true;
        case EM_POSFROMCHAR: result = positionFromChar(edit, wParam); return true;
        case EM_CHARFROMPOS: result = charFromPosition(edit, lParam); return true;
        case EM_GETRECT:
            if (auto* rect = reinterpret_cast<RECT*>(lParam)) *rect = edit.formatRect();
            result = 0;
            return true;
        default: return false;
    }
}

}  // namespace winplat::controls
