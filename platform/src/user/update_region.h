// Update regions: what a window has to repaint, in client coordinates, with whether its
// background is to be erased first. Invalidating reaches the window's children too (their
// overlapped parts) unless RDW_NOCHILDREN, or the window clips its children and RDW_ALLCHILDREN
// is not given; windows that are not showing take nothing.
#ifndef WINPLAT_SRC_USER_UPDATE_REGION_H
#define WINPLAT_SRC_USER_UPDATE_REGION_H

#include "gdi/region.h"
#include "user/window.h"

namespace winplat::user {

// The client area in client coordinates.
gdi::DeviceRect clientArea(const WindowObject& window);

// RDW_INVALIDATE with RDW_ERASE, RDW_ALLCHILDREN and RDW_NOCHILDREN as given.
void invalidateWindow(WindowObject& window, const gdi::Region& region, UINT flags);
// RDW_VALIDATE: the region leaves the update region (the window's alone unless RDW_ALLCHILDREN).
void validateWindow(WindowObject& window, const gdi::Region& region, UINT flags);
// The frame is to be drawn again (WM_NCPAINT with the next paint); nothing for a window that is
// not showing or has no frame.
void invalidateFrame(WindowObject& window);
// WM_NCPAINT sent now when the frame waits for it.
void drawFrameNow(const WindowRef& window);

// Everything: the update region, a pending erase and an internal paint request.
void validateAll(WindowObject& window);

// Invalidates (with erasing) what of a screen region each showing window under 'root' shows of
// its own client area (children and higher siblings cut away), leaving out the subtree of
// 'skip' (may be null).
void invalidateScreenArea(WindowObject& root, const gdi::Region& screen, const WindowObject* skip);

// WM_PAINT sent now when the window waits for one; a handler that leaves the window invalid has
// it validated, so that nothing asks for the same paint for ever.
void paintNow(const WindowRef& window);
// The same after a WM_PAINT dispatched from the queue.
void afterPaintMessage(const WindowRef& window);

// WM_ERASEBKGND sent now through a DC clipped to the update region, when an erase is pending;
// whether the window erased (the message's result).
bool eraseNow(const WindowRef& window);

}  // namespace winplat::user

#endif
