// Registering the reader's window classes: each is registered once per process, and a second
// registration (a second page window, a test that made one before) finds the class in place.
#ifndef LECT32_PAGE_WINDOW_CLASS_H
#define LECT32_PAGE_WINDOW_CLASS_H

#include "winplat/user.h"

namespace lect32 {

// True when the class is registered now or already was.
inline bool RegisterClassOnce(const WNDCLASSA& wc) {
    WNDCLASSA existing{};
    if (GetClassInfoA(wc.hInstance, wc.lpszClassName, &existing)) return true;
    return RegisterClassA(&wc) != 0;
}

}  // namespace lect32

#endif
