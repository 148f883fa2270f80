// SDL keys as Windows virtual keys: letters by what the layout prints on them (a Czech layout's Y
// and Z), every other key by its place on the keyboard (the number row stays VK '1'-'0' even where
// it types ě š č).
#ifndef WINPLAT_SRC_HOST_SDL_SDL_KEYS_H
#define WINPLAT_SRC_HOST_SDL_SDL_KEYS_H

#include <SDL.h>

#include "winplat/types.h"

namespace winplat::host {

// 0 for a key the layer has no virtual key for.
UINT virtualKeyOf(const SDL_Keysym& key);

}  // namespace winplat::host

#endif
