// Showing a drop-down menu in a top-most window of the layer's menu class and tracking it in a
// modal loop until an item is chosen or the menu is cancelled. The pointer resting on an item
// with a sub-menu opens it after the show delay; moving on to another item of a menu it hangs
// from closes it; moving onto another item of the menu bar switches the open drop-down to it.
#ifndef WINPLAT_SRC_USER_MENU_TRACKING_H
#define WINPLAT_SRC_USER_MENU_TRACKING_H

#include <functional>
#include <string>

#include "user/window.h"

namespace winplat::user {

// How long the pointer rests on an item before its sub-menu opens (SPI_GETMENUSHOWDELAY), in
// milliseconds on the host clock (a layer timer on the menu window measures it).
constexpr DWORD kMenuShowDelay = 400;

struct TrackRequest {
    HMENU menu = nullptr;
    HWND owner = nullptr;
    POINT at{};
    UINT flags = 0;        // TPM_ alignment, TPM_RIGHTBUTTON, TPM_NONOTIFY
    std::string name;      // what a host answerer sees the loop as
    bool systemMenu = false;
    // For a drop-down of a menu bar: the bar item under a screen point (-1 for none), so that a
    // press on another bar item and the Left and Right keys move along the bar.
    std::function<int(POINT)> barItemAt;
    bool nested = false;  // a sub-menu opened from another drop-down: Esc and Left close it alone
    int barIndex = -1;    // the bar item this drop-down hangs from
};

struct PopupOutcome {
    UINT chosen = 0;     // the command, 0 for none
    int moveBy = 0;      // -1 or +1: Left or Right asked for the bar's neighbouring drop-down
    int switchTo = -1;   // a press on that bar item
    bool closeAll = false;  // a press outside or an answer ended every open level
    // The pointer moved onto another item of a menu this one hangs from: it closed, and that
    // menu follows the pointer from 'pointer' (a screen point).
    bool pointerLeft = false;
    POINT pointer{};
};

PopupOutcome trackPopupOutcome(const TrackRequest& request);

// The command chosen, 0 when the menu was cancelled.
UINT trackPopup(const TrackRequest& request);

// Whether a menu is being tracked now (one at a time).
bool trackingMenu();

// The label of the menu's first item without its '&', naming the loop for answerers.
std::string menuLoopName(HMENU menu);

}  // namespace winplat::user

#endif
