// Visible regions: the part of the screen a window (its client area, or the whole window) may
// draw on. Its area cut by every ancestor's client area, less the windows above it that clip it:
// its own higher siblings when it clips siblings (top-level windows always do), each ancestor's
// higher siblings when that ancestor clips siblings, and its visible children when asked to clip
// children. A window that is not showing has none. Screen coordinates.
#ifndef WINPLAT_SRC_USER_VISIBLE_REGION_H
#define WINPLAT_SRC_USER_VISIBLE_REGION_H

#include <memory>

#include "gdi/region.h"
#include "user/window.h"

namespace winplat::user {

// DCX_WINDOW, DCX_CLIPCHILDREN and DCX_CLIPSIBLINGS count; other flags are ignored. Kept per
// window until the tree changes (tree.h, treeGeneration).
std::shared_ptr<const gdi::Region> visibleRegion(WindowObject& window, UINT dcxFlags);

// The flags a window's own DC clips with: DCX_CLIPCHILDREN and DCX_CLIPSIBLINGS as its styles say.
UINT styleClipFlags(const WindowObject& window);

// The window's rectangle and its client rectangle in screen coordinates.
gdi::DeviceRect screenWindowRect(const WindowObject& window);
gdi::DeviceRect screenClientRect(const WindowObject& window);

}  // namespace winplat::user

#endif
