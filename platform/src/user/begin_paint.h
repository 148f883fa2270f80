// What DefWindowProcA does for painting.
#ifndef WINPLAT_SRC_USER_BEGIN_PAINT_H
#define WINPLAT_SRC_USER_BEGIN_PAINT_H

#include "user/window.h"

namespace winplat::user {

// WM_PAINT: BeginPaint and EndPaint, which validate the window.
LRESULT defaultPaint(HWND window);
// WM_ERASEBKGND: the client area filled with the class brush (a system colour + 1 is that
// colour's brush); 1 when erased, 0 for a class without a brush.
LRESULT defaultEraseBackground(const WindowObject& window, HDC dc);

}  // namespace winplat::user

#endif
