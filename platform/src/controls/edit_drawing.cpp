// Painting an EDIT control: the background and colours its parent chooses (WM_CTLCOLOREDIT, or
// WM_CTLCOLORSTATIC while read-only or disabled), then each visible line, its selected part in the
// highlight colours while the control has the focus (or keeps its selection shown).
#include <algorithm>

#include "controls/edit_control.h"
#include "winplat/owners.h"
#include "winplat/text.h"

namespace winplat::controls {
namespace {

// The parent's brush for the background; with none, the default of the message's kind.
HBRUSH backgroundBrush(const EditControl& edit, HDC dc) {
    const bool enabled = IsWindowEnabled(edit.window()) != FALSE;
    const bool staticLook = edit.readOnly() || !enabled;
    const int backgroundColour = staticLook ? COLOR_BTNFACE : COLOR_WINDOW;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(backgroundColour));
    HBRUSH brush = nullptr;
    if (const HWND parent = GetParent(edit.window())) {
        brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, staticLook ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                      reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(edit.window())));
    }
    if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    return brush ? brush : GetSysColorBrush(backgroundColour);
}

// Draws text[from, to) of a line, whose text starts at x = left, tabs as gaps to their stops.
void drawPiece(HDC dc, const EditControl& edit, const EditLine& line, size_t from, size_t to, int left, int top) {
    const std::string_view text = edit.shownText();
    size_t p = from;
    while (p < to) {
        if (text[p] == '\t') {
            ++p;
            continue;
        }
        size_t end = p;
        while (end < to && text[end] != '\t') ++end;
        const int x = left + xOfPosition(text, line, p, edit.widths());
        TextOutA(dc, x, top, text.data() + p, static_cast<int>(end - p));
        p = end;
    }
}

void drawLine(HDC dc, const EditControl& edit, size_t index, bool showSelection, COLORREF normalText) {
    const EditLine& line = edit.lines()[index];
    const EditBuffer& buffer = edit.buffer();
    const int left = edit.lineLeft(index);
    const int top = edit.lineTop(index);
    const size_t end = line.start + line.length;
    const size_t selStart = showSelection ? std::clamp(buffer.selectionStart(), line.start, end) : end;
    const size_t selEnd = showSelection ? std::clamp(buffer.selectionEnd(), line.start, end) : end;
    const std::string_view text = edit.shownText();

    drawPiece(dc, edit, line, line.start, selStart, left, top);
    if (selStart < selEnd) {
        const RECT band{left + xOfPosition(text, line, selStart, edit.widths()), top,
                        left + xOfPosition(text, line, selEnd, edit.widths()), top + edit.lineHeight()};
        FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        drawPiece(dc, edit, line, selStart, selEnd, left, top);
        SetTextColor(dc, normalText);
    }
    drawPiece(dc, edit, line, selEnd, end, left, top);
}

}  // namespace

void paintEdit(EditControl& edit) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(edit.window(), &paint);
    if (!dc) return;
    {
        Selection font(dc, edit.font() ? static_cast<HGDIOBJ>(edit.font()) : GetStockObject(SYSTEM_FONT));
        RECT client{};
        GetClientRect(edit.window(), &client);
        FillRect(dc, &client, backgroundBrush(edit, dc));
        const COLORREF normalText = GetTextColor(dc);
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        const RECT format = edit.formatRect();
        IntersectClipRect(dc, format.left, format.top, format.right, format.bottom);
        const bool showSelection = edit.focused() || (edit.style() & ES_NOHIDESEL);
        const size_t first = static_cast<size_t>(edit.firstLine());
        const size_t last = std::min(edit.lines().size(), first + static_cast<size_t>(edit.visibleLines()) + 1);
        for (size_t line = first; line < last; ++line) drawLine(dc, edit, line, showSelection, normalText);
    }
    EndPaint(edit.window(), &paint);
}

}  // namespace winplat::controls
