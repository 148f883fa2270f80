// Icons: cursor objects made as icons, loaded from modules or the layer's system set, drawn
// through the same mask-and-colour drawing as the pointer.
#include <memory>
#include <string>

#include "base/call_refusal.h"
#include "user/cursor_drawing.h"
#include "user/cursors.h"
#include "user/module_pictures.h"
#include "winplat/draw.h"

namespace winplat::user {
namespace {

constexpr WORD kFirstSystemIcon = 32512;  // IDI_APPLICATION
constexpr WORD kLastSystemIcon = 32517;   // IDI_WINLOGO

bool isIntegerName(LPCSTR name) { return reinterpret_cast<ULONG_PTR>(name) < 0x10000; }

// The rectangle DrawIconEx fills: the size given, else the picture's own or the system's.
RECT iconTarget(const CursorObject& icon, int x, int y, int width, int height, UINT flags) {
    const bool systemSize = (flags & DI_DEFAULTSIZE) != 0;
    if (width == 0) width = systemSize ? GetSystemMetrics(SM_CXICON) : icon.width;
    if (height == 0) height = systemSize ? GetSystemMetrics(SM_CYICON) : icon.height;
    return RECT{x, y, x + width, y + height};
}

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    constexpr CallRefuser refuse("winplat: LoadIconA", ERROR_RESOURCE_NAME_NOT_FOUND);
    if (!name) return refuse(HICON{}, "no icon name");
    if (instance) return sharedModulePicture(instance, name, PictureKind::Icon, refuse);
    const auto id = reinterpret_cast<ULONG_PTR>(name);
    if (!isIntegerName(name) || id < kFirstSystemIcon || id > kLastSystemIcon)
        return refuse(HICON{}, "a system icon is named by its IDI_ number, 32512 to 32517");
    const HINSTANCE layer = layerModule();
    if (!layer) return refuse(HICON{}, "the layer's own resources are not registered");
    return sharedModulePicture(layer, name, PictureKind::Icon, refuse);
}

BOOL DestroyIcon(HICON icon) {
    constexpr CallRefuser refuse("winplat: DestroyIcon", ERROR_INVALID_HANDLE);
    return destroyCursorObject(icon, refuse) ? TRUE : FALSE;
}

HICON CopyIcon(HICON icon) {
    constexpr CallRefuser refuse("winplat: CopyIcon", ERROR_INVALID_HANDLE);
    const auto object = findCursor(icon);
    if (!object) return refuse(HICON{}, "not a cursor or icon handle");
    auto copy = std::make_shared<CursorObject>(*object);
    copy->shared = false;
    const HICON made = addCursor(std::move(copy));
    if (!made) return CallRefuser("winplat: CopyIcon", ERROR_NOT_ENOUGH_MEMORY)(HICON{}, "the handle table is full");
    return made;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH background, UINT flags) {
    constexpr CallRefuser refuse("winplat: DrawIconEx");
    const auto object = findCursor(icon);
    if (!object) return CallRefuser("winplat: DrawIconEx", ERROR_INVALID_HANDLE)(FALSE, "not a cursor or icon handle");
    if (step != 0) return refuse.unsupported(FALSE, "frame " + std::to_string(step) + " of an animated cursor");
    if (flags & ~static_cast<UINT>(DI_NORMAL | DI_DEFAULTSIZE))
        return refuse.unsupported(FALSE, "drawing flags " + std::to_string(flags));
    if ((flags & DI_NORMAL) == 0) return refuse(FALSE, "neither DI_MASK nor DI_IMAGE: nothing to draw");
    if (width < 0 || height < 0) return refuse(FALSE, "a negative size");
    const RECT target = iconTarget(*object, x, y, width, height, flags);
    if (background && !FillRect(dc, &target, background)) return refuse(FALSE, "the background brush could not fill");
    drawPicture(dc, *object, target, flags & DI_NORMAL);
    return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}
