// What a media object's child window passes on to the page's owner window: the mouse (so the page
// sees clicks and moves over the object as over itself), or only a click's end, as message 9012
// (the media is about to play). The hook takes the window's procedure over, calls the one it
// replaced for every message, and puts that one back when the window is destroyed.
#ifndef LECT32_PAGE_OBJECT_WINDOW_HOOKS_H
#define LECT32_PAGE_OBJECT_WINDOW_HOOKS_H

#include "winplat/types.h"

namespace lect32 {

enum class ObjectWindowHook {
    ForwardMouse,  // moves and left and right button presses, in the parent's client coordinates
    ReportClick,   // 9012 to the parent when the left button comes up
};

inline constexpr UINT kMediaClickMessage = 9012;

// false when the window already carries a hook or cannot take one.
bool HookObjectWindow(HWND window, ObjectWindowHook hook);

}  // namespace lect32

#endif
