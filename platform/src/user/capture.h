// The mouse capture: one window that gets every mouse message, wherever the pointer is, until it
// lets go (ReleaseCapture), another window takes it, or it is hidden or destroyed. The window
// losing it hears WM_CAPTURECHANGED with the new holder (or none) in lParam.
#ifndef WINPLAT_SRC_USER_CAPTURE_H
#define WINPLAT_SRC_USER_CAPTURE_H

#include "user/window.h"

namespace winplat::user {

// Releases the capture when the window or one of its descendants holds it.
void releaseCaptureWithin(const WindowObject& window);

}  // namespace winplat::user

#endif
