// What a STATIC keeps in its window words: the font from WM_SETFONT and the image it shows.
#ifndef WINPLAT_SRC_CONTROLS_STATIC_STATE_H
#define WINPLAT_SRC_CONTROLS_STATIC_STATE_H

#include "winplat/controls.h"

namespace winplat::controls {

constexpr int kStaticFontWord = 0;
constexpr int kStaticImageWord = 4;
constexpr int kStaticExtraBytes = 8;

inline DWORD staticType(DWORD style) { return style & SS_TYPEMASK; }
inline HFONT staticFont(HWND control) { return reinterpret_cast<HFONT>(GetWindowLongPtrA(control, kStaticFontWord)); }
inline HANDLE staticImage(HWND control) { return reinterpret_cast<HANDLE>(GetWindowLongPtrA(control, kStaticImageWord)); }

}  // namespace winplat::controls

#endif
