#include "user/control_colours.h"

#include "winplat/controls.h"

namespace winplat::user {

bool isControlColourMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

LRESULT defaultControlColours(UINT message, HDC dc) {
    int background = COLOR_3DFACE;
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) background = COLOR_WINDOW;
    if (message == WM_CTLCOLORSCROLLBAR) background = COLOR_SCROLLBAR;
    if (dc) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(background));
    }
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

}  // namespace winplat::user
