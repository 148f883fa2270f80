// SetWindowPos and the calls made of it, and the rectangles programs read.
#include <string>

#include "user/placement.h"
#include "user/tree.h"

namespace winplat::user {
namespace {

constexpr UINT kKnownFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE |
                             SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_NOCOPYBITS |
                             SWP_NOOWNERZORDER | SWP_NOSENDCHANGING | SWP_DEFERERASE;

bool isZOrderValue(HWND insertAfter) {
    return insertAfter == HWND_TOP || insertAfter == HWND_BOTTOM || insertAfter == HWND_TOPMOST ||
           insertAfter == HWND_NOTOPMOST;
}

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    constexpr CallRefuser refuse("winplat: SetWindowPos", ERROR_INVALID_WINDOW_HANDLE);
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return FALSE;
    if (flags & ~kKnownFlags) return refuse.unsupported(FALSE, "SetWindowPos flags " + std::to_string(flags));
    if (isDesktop(*target)) return refuse(FALSE, "the desktop stays where it is");
    if (!(flags & SWP_NOZORDER) && !isZOrderValue(insertAfter)) {
        const WindowRef after = findWindow(insertAfter);
        if (!after || after->parent != target->parent) return refuse(FALSE, "insert-after is not a sibling");
        if (after == target) flags |= SWP_NOZORDER;
    }
    WINDOWPOS pos{window, insertAfter, x, y, width, height, flags};
    return placeWindow(target, pos) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : static_cast<UINT>(SWP_NOREDRAW));
    return SetWindowPos(window, nullptr, x, y, width, height, flags);
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
    constexpr CallRefuser refuse("winplat: GetWindowRect", ERROR_INVALID_WINDOW_HANDLE);
    if (!rect) return refuse(FALSE, "no rectangle");
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return FALSE;
    const POINT origin = windowOrigin(*target);
    *rect = {origin.x, origin.y, origin.x + target->width(), origin.y + target->height()};
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    constexpr CallRefuser refuse("winplat: GetClientRect", ERROR_INVALID_WINDOW_HANDLE);
    if (!rect) return refuse(FALSE, "no rectangle");
    const WindowRef target = windowForCall(window, refuse);
    if (!target) return FALSE;
    *rect = {0, 0, target->client.right - target->client.left, target->client.bottom - target->client.top};
    return TRUE;
}
