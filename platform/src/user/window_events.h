// What the window manager tells the areas built on it (painting first): a window moved, was
// shown or hidden, or is going away. One observer, the painting (user/painting.cpp) once the
// desktop exists.
#ifndef WINPLAT_SRC_USER_WINDOW_EVENTS_H
#define WINPLAT_SRC_USER_WINDOW_EVENTS_H

#include "user/window.h"

namespace winplat::user {

class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    // Just before a placement takes effect (the window still where and as it was): 'pos' is what
    // is about to happen.
    virtual void placing(WindowObject& window, const WINDOWPOS& pos) = 0;
    // After a placement took effect: 'before' is the window's old rectangle in screen
    // coordinates, 'flags' the SWP_ flags of the change (SWP_SHOWWINDOW, SWP_HIDEWINDOW...).
    virtual void placed(WindowObject& window, const RECT& before, UINT flags) = 0;
    // Just before the window leaves the tree and its handle dies.
    virtual void destroyed(WindowObject& window) = 0;
};

// Installs the observer (null: none); returns the previous one.
WindowEvents* setWindowEvents(WindowEvents* events);
WindowEvents* windowEvents();

}  // namespace winplat::user

#endif
