// Window DCs: display DCs over the framebuffer whose origin is a window's client (or window)
// corner and whose system region is the window's visible region, worked out again whenever the
// window tree changed since.
#ifndef WINPLAT_SRC_USER_WINDOW_DC_H
#define WINPLAT_SRC_USER_WINDOW_DC_H

#include <memory>

#include "gdi/region.h"
#include "user/window.h"

namespace winplat::user {

// A DC for the window with the DCX_ flags; 'extra' (screen coordinates, may be null) cuts the
// visible region (DCX_INTERSECTRGN) or is taken out of it (DCX_EXCLUDERGN). Null when the
// framebuffer or the handle table gives out.
HDC makeWindowDc(WindowObject& window, UINT flags, std::shared_ptr<const gdi::Region> extra);

// Installs the hook by which the GDI brings window DCs up to date (gdi/objects.h).
void installWindowDcRefresher();

}  // namespace winplat::user

#endif
