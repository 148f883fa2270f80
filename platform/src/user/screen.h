// The size of the screen the desktop window covers: 1024 x 768 unless a host says otherwise.
#ifndef WINPLAT_SRC_USER_SCREEN_H
#define WINPLAT_SRC_USER_SCREEN_H

#include "winplat/draw.h"

namespace winplat::user {

SIZE screenSize();
// For the hosts, before the first window exists: the desktop takes its size once.
void setScreenSize(SIZE size);

}  // namespace winplat::user

#endif
