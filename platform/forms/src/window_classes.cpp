#include "window_classes.h"

#include "winforms/application.h"
#include "winforms/win_control.h"

namespace winforms {

namespace {

LRESULT CALLBACK utilityProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void registerOne(const char* name, WNDPROC procedure, UINT style) {
    WNDCLASSA wc{};
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassA(&wc);  // a second application registers again harmlessly
}

}  // namespace

void registerWindowClasses() {
    registerOne(kFormClass, WinControl::Procedure, CS_DBLCLKS);
    registerOne(kContainerClass, WinControl::Procedure, CS_DBLCLKS);
    registerOne(kUtilityClass, utilityProcedure, 0);
}

void unregisterWindowClasses() {
    UnregisterClassA(kFormClass, nullptr);
    UnregisterClassA(kContainerClass, nullptr);
    UnregisterClassA(kUtilityClass, nullptr);
}

HCURSOR cursorHandle(Cursor cursor) {
    const char* id = nullptr;
    switch (cursor) {
        case Cursor::Default:
        case Cursor::None: return nullptr;
        case Cursor::Arrow: id = IDC_ARROW; break;
        case Cursor::Cross: id = IDC_CROSS; break;
        case Cursor::IBeam: id = IDC_IBEAM; break;
        case Cursor::HourGlass: id = IDC_WAIT; break;
        case Cursor::SizeAll: id = IDC_SIZEALL; break;
        case Cursor::SizeNS: id = IDC_SIZENS; break;
        case Cursor::SizeWE: id = IDC_SIZEWE; break;
        case Cursor::Hand: id = IDC_HAND; break;
        case Cursor::No: id = IDC_NO; break;
        case Cursor::UpArrow: id = IDC_UPARROW; break;
    }
    return LoadCursorA(nullptr, id);
}

namespace {
LRESULT CALLBACK utilityProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Application::UtilityMessage(window, message, wParam, lParam);
}
}  // namespace

}  // namespace winforms
