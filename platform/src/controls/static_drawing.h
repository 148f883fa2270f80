// Painting a STATIC: text laid out by its alignment style, filled and framed rectangles, etched
// lines and frames, a bitmap or an icon, or the parent's drawing for SS_OWNERDRAW.
#ifndef WINPLAT_SRC_CONTROLS_STATIC_DRAWING_H
#define WINPLAT_SRC_CONTROLS_STATIC_DRAWING_H

#include "winplat/user.h"

namespace winplat::controls {

void paintStatic(HWND control, HDC dc);

}  // namespace winplat::controls

#endif
