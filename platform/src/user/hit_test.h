// DefWindowProc's answer to WM_NCHITTEST, from the frame geometry the metrics give: which part
// of the window a screen point lies on.
#ifndef WINPLAT_SRC_USER_HIT_TEST_H
#define WINPLAT_SRC_USER_HIT_TEST_H

#include "user/window.h"

namespace winplat::user {

int frameHitTest(const WindowObject& window, POINT screen);

}  // namespace winplat::user

#endif
