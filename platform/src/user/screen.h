// The size of the screen the desktop window covers: the framebuffer's, 1024 x 768 unless a host
// chose another (gdi/screen_surface.h).
#ifndef WINPLAT_SRC_USER_SCREEN_H
#define WINPLAT_SRC_USER_SCREEN_H

#include "winplat/draw.h"

namespace winplat::user {

SIZE screenSize();

}  // namespace winplat::user

#endif
