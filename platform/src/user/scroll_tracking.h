// Tracking a press on a scroll bar, a modal loop holding the mouse, for window scroll bars
// (DefWindowProc) and scroll bar controls alike.
// An arrow sends SB_LINEUP/SB_LINEDOWN at once, again after the first repeat delay and then at
// the repeat rate while it stays held with the pointer on it; a page area sends SB_PAGEUP/
// SB_PAGEDOWN likewise until the thumb reaches the pointer; dragging the thumb sends
// SB_THUMBTRACK whenever the position it stands for changes (GetScrollInfo's SIF_TRACKPOS gives
// it) and SB_THUMBPOSITION on release. Every press ends with SB_ENDSCROLL. The bar never moves
// its own position: the program does.
#ifndef WINPLAT_SRC_USER_SCROLL_TRACKING_H
#define WINPLAT_SRC_USER_SCROLL_TRACKING_H

#include <memory>

#include "user/scroll_bar_drawing.h"
#include "user/scroll_bar_geometry.h"

namespace winplat::user {

// The repeat timing on the host clock, in milliseconds.
constexpr UINT kScrollFirstDelay = 200;
constexpr UINT kScrollRepeatRate = 50;

// One bar as the tracking loop sees it: where it lies, its numbers, how it is drawn and whom it
// tells. Points are in the bar's own coordinates (window coordinates for a window's bar, client
// coordinates for a control).
class TrackedScrollBar {
  public:
    virtual ~TrackedScrollBar() = default;
    // The window that holds the mouse and the repeat timer while the press lasts.
    virtual HWND window() const = 0;
    virtual POINT fromScreen(POINT screen) const = 0;
    virtual ScrollBarLayout layout() = 0;
    virtual ScrollBarState& state() = 0;
    // Draws the bar with the part held down (ScrollPart::None once released).
    virtual void showPressed(ScrollPart part) = 0;
    virtual void redraw() = 0;
    // WM_HSCROLL or WM_VSCROLL with the code and the position.
    virtual void notify(WORD code, int pos) = 0;
};

// A press at a screen point on the bar.
void trackScrollPress(TrackedScrollBar& bar, POINT screen);

// A press on the window's bar of SB_HORZ or SB_VERT at a screen point.
void trackScrollBar(const std::shared_ptr<WindowObject>& window, int bar, POINT screen);

}  // namespace winplat::user

#endif
