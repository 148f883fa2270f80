// SDL keys as the Windows virtual keys programs expect, worked out without a display: SDL names a
// key by its place on the keyboard (the scancode, named for what a US keyboard has there) and by
// what the desktop's keyboard layout makes of it (the keycode, SDL_GetKeyFromScancode). Which
// layout's virtual keys a key gives, and why the desktop's: sdl_keys.cpp.
#ifndef WINPLAT_SRC_HOST_SDL_SDL_KEYS_H
#define WINPLAT_SRC_HOST_SDL_SDL_KEYS_H

#include <SDL_keycode.h>
#include <SDL_scancode.h>

#include "winplat/types.h"

namespace winplat::host {

enum class KeyLayout { Us, Czech };

// The layout the desktop's keyboard map stands for, told by the key it puts where a US keyboard
// has ';': Czech for ů (every Czech layout has it there, QWERTZ or QWERTY), US for anything else.
KeyLayout layoutOf(SDL_Keycode keyAtSemicolon);

// The virtual key of the key at 'scancode', which the desktop's layout makes 'layoutKey'; 0 for a
// key the layer has no virtual key for. 'numLock': whether the numeric pad types digits.
UINT virtualKeyOf(SDL_Scancode scancode, SDL_Keycode layoutKey, KeyLayout layout, bool numLock);

}  // namespace winplat::host

#endif
