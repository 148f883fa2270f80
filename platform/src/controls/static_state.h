// What a STATIC keeps with its window (user/window_state.h): the font from WM_SETFONT, the image
// it shows, and the bitmap it loaded itself for a dialog template, which goes with it.
#ifndef WINPLAT_SRC_CONTROLS_STATIC_STATE_H
#define WINPLAT_SRC_CONTROLS_STATIC_STATE_H

#include "user/window_state.h"
#include "winplat/controls.h"
#include "winplat/owners.h"

namespace winplat::controls {

struct StaticData {
    HFONT font = nullptr;
    HANDLE image = nullptr;
    OwnedBitmap loaded;
};

inline DWORD staticType(DWORD style) { return style & SS_TYPEMASK; }

inline HFONT staticFont(HWND control) {
    const auto data = user::windowState<StaticData>(control);
    return data ? data->font : nullptr;
}

inline HANDLE staticImage(HWND control) {
    const auto data = user::windowState<StaticData>(control);
    return data ? data->image : nullptr;
}

}  // namespace winplat::controls

#endif
