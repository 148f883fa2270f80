#include "controls/control_support.h"

#include <algorithm>
#include <cstring>

#include "user/edge_drawing.h"
#include "winplat/base.h"
#include "winplat/cp1250.h"
#include "winplat/text.h"

namespace winplat::controls {

GdiObject<HFONT> makeDialogFont() {
    return GdiObject<HFONT>(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                        "MS Sans Serif"));
}

ControlFont::ControlFont(HDC dc, HFONT given)
    : made_(given ? GdiObject<HFONT>() : makeDialogFont()), selection_(dc, given ? given : made_.get()) {}

HBRUSH parentColours(HWND control, HDC dc, UINT message) {
    const HWND parent = GetParent(control);
    const auto target = parent ? parent : control;
    const LRESULT answer = SendMessageA(target, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    if (answer) return reinterpret_cast<HBRUSH>(answer);
    return reinterpret_cast<HBRUSH>(
        DefWindowProcA(target, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
}

void notifyParent(HWND control, WORD code) {
    const HWND parent = GetParent(control);
    if (!parent) return;
    const auto id = static_cast<WORD>(GetWindowLongA(control, GWL_ID));
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

char mnemonicOf(std::string_view text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return static_cast<char>(cp1250::toUpper(static_cast<uint8_t>(text[i + 1])));
        ++i;
    }
    return 0;
}

LRESULT paintControl(HWND control, void (*painter)(HWND, HDC)) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(control, &paint);
    if (dc) painter(control, dc);
    EndPaint(control, &paint);
    return 0;
}

LRESULT keepFont(HWND control, HFONT& kept, WPARAM font, LPARAM redraw) {
    kept = reinterpret_cast<HFONT>(font);
    if (LOWORD(redraw)) InvalidateRect(control, nullptr, TRUE);
    return 0;
}

LRESULT setTextAndRedraw(HWND control, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcA(control, WM_SETTEXT, wParam, lParam);
    InvalidateRect(control, nullptr, TRUE);
    return result;
}

bool isOfClass(HWND window, const char* className) {
    if (!IsWindow(window)) return false;  // quietly: the callers ask about windows that may have gone
    // One character more than the name asked about: a longer name does not fit and is another.
    const size_t length = std::strlen(className);
    std::string name(length + 2, '\0');
    const int copied = GetClassNameA(window, name.data(), static_cast<int>(name.size()));
    return static_cast<size_t>(copied) == length && lstrcmpiA(name.c_str(), className) == 0;
}

DWORD styleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

RECT shifted(RECT rect, int dx, int dy) { return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy}; }

RECT inset(RECT rect, int by) { return {rect.left + by, rect.top + by, rect.right - by, rect.bottom - by}; }

RECT intersection(const RECT& a, const RECT& b) {
    const RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    return (r.left < r.right && r.top < r.bottom) ? r : RECT{};
}

bool contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

void fillFrame(HDC dc, const RECT& rect, int colourIndex) {
    const RECT sides[] = {{rect.left, rect.top, rect.right, rect.top + 1},
                          {rect.left, rect.bottom - 1, rect.right, rect.bottom},
                          {rect.left, rect.top, rect.left + 1, rect.bottom},
                          {rect.right - 1, rect.top, rect.right, rect.bottom}};
    for (const RECT& side : sides) user::fillWithColour(dc, side, colourIndex);
}

void registerControlClass(const char* name, WNDPROC procedure, UINT style, int extraBytes) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_GLOBALCLASS | style;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = extraBytes;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
}

bool keyHeld(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace winplat::controls
