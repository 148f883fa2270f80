#include "window_classes.h"
#include "winforms/application.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"

namespace winforms {

namespace {
Cursor screenCursor = Cursor::Default;
}  // namespace

int Screen::Width() { return GetSystemMetrics(SM_CXSCREEN); }
int Screen::Height() { return GetSystemMetrics(SM_CYSCREEN); }

int Screen::PixelsPerInch() {
    const winplat::BorrowedDc screen(nullptr);
    return screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

Cursor Screen::GetCursor() { return screenCursor; }

void Screen::SetCursor(Cursor cursor) {
    screenCursor = cursor;
    // Shown at once where the pointer is; the windows keep it on their next WM_SETCURSOR.
    if (cursor != Cursor::Default) ::SetCursor(cursorHandle(cursor));
}

Form* Screen::ActiveForm() {
    HWND active = GetActiveWindow();
    return dynamic_cast<Form*>(WinControl::FromHandle(active));
}

POINT Mouse::CursorPos() {
    POINT at{};
    GetCursorPos(&at);
    return at;
}

void Mouse::SetCursorPos(POINT point) { ::SetCursorPos(point.x, point.y); }

}  // namespace winforms
