// DefWindowProc's tracking of a press on a window scroll bar, a modal loop holding the mouse.
// An arrow sends SB_LINEUP/SB_LINEDOWN at once, again after the first repeat delay and then at
// the repeat rate while it stays held with the pointer on it; a page area sends SB_PAGEUP/
// SB_PAGEDOWN likewise until the thumb reaches the pointer; dragging the thumb sends
// SB_THUMBTRACK whenever the position it stands for changes (GetScrollInfo's SIF_TRACKPOS gives
// it) and SB_THUMBPOSITION on release. Every press ends with SB_ENDSCROLL. The bar never moves
// its own position: the program does.
#ifndef WINPLAT_SRC_USER_SCROLL_TRACKING_H
#define WINPLAT_SRC_USER_SCROLL_TRACKING_H

#include "user/window.h"

namespace winplat::user {

// The repeat timing on the host clock, in milliseconds.
constexpr UINT kScrollFirstDelay = 200;
constexpr UINT kScrollRepeatRate = 50;
// The id of the tracking loop's own timer on the window; its WM_TIMER never reaches the program.
constexpr UINT_PTR kScrollTimerId = 0xFFFA;

// A press on the bar of SB_HORZ or SB_VERT at a screen point.
void trackScrollBar(const WindowRef& window, int bar, POINT screen);

}  // namespace winplat::user

#endif
