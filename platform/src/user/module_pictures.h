// Icons and cursors kept in a module's resources (RT_ICON, RT_CURSOR), and the layer's own module
// that holds the system icons and bitmaps. A resource picture is made once and shared: loading it
// again gives the same handle, and destroying it leaves it.
#ifndef WINPLAT_SRC_USER_MODULE_PICTURES_H
#define WINPLAT_SRC_USER_MODULE_PICTURES_H

#include <cstdint>
#include <optional>
#include <span>

#include "base/call_refusal.h"
#include "user/cursor_images.h"

namespace winplat::user {

enum class PictureKind { Icon, Cursor };

// The picture the stored bytes of a resource make, or why they make none: an icon is a bitmap of
// double height (colour rows, then mask rows); a cursor is its hot spot (two WORDs) before one.
CursorRead iconFromResource(std::span<const uint8_t> bytes);
CursorRead cursorFromResource(std::span<const uint8_t> bytes);

// The bytes of the module's resource of that type and name; nothing (the refusal said) when the
// module has none.
std::optional<std::span<const uint8_t>> resourceBytes(HINSTANCE module, LPCSTR name, WORD type,
                                                      const CallRefuser& refuse);

// The shared handle of a module's icon or cursor; null (the refusal said) when there is none or
// its bytes are damaged.
HCURSOR sharedModulePicture(HINSTANCE module, LPCSTR name, PictureKind kind, const CallRefuser& refuse);

// The layer's own module ("user32.dll"), holding the system icons and bitmaps.
HINSTANCE layerModule();

}  // namespace winplat::user

#endif
