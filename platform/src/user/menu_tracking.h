// Showing a drop-down menu in a top-most window of the layer's menu class and tracking it in a
// modal loop until an item is chosen or the menu is cancelled.
#ifndef WINPLAT_SRC_USER_MENU_TRACKING_H
#define WINPLAT_SRC_USER_MENU_TRACKING_H

#include <string>

#include "user/window.h"

namespace winplat::user {

struct TrackRequest {
    HMENU menu = nullptr;
    HWND owner = nullptr;
    POINT at{};
    UINT flags = 0;        // TPM_ alignment, TPM_RIGHTBUTTON, TPM_NONOTIFY
    std::string name;      // what a host answerer sees the loop as
    bool systemMenu = false;
};

// The command chosen, 0 when the menu was cancelled.
UINT trackPopup(const TrackRequest& request);

// Whether a menu is being tracked now (one at a time).
bool trackingMenu();

// The label of the menu's first item without its '&', naming the loop for answerers.
std::string menuLoopName(HMENU menu);

}  // namespace winplat::user

#endif
