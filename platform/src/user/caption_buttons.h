// A press on a caption button (close, maximise/restore, minimise): drawn pushed while the
// pointer stays on it, the command sent only when the button is let go on it.
#ifndef WINPLAT_SRC_USER_CAPTION_BUTTONS_H
#define WINPLAT_SRC_USER_CAPTION_BUTTONS_H

#include "user/window.h"

namespace winplat::user {

void trackCaptionButton(const WindowRef& window, int hit);

}  // namespace winplat::user

#endif
