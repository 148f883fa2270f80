#include "store/navigation_requests.h"

namespace lect32 {
namespace {

HWND navigationWindow = nullptr;

// The id widened as the signed 16-bit number it is, so that -1 arrives as -1.
WPARAM SignExtended(int16_t id) { return static_cast<WPARAM>(static_cast<intptr_t>(id)); }

}  // namespace

void SetNavigationWindow(HWND window) { navigationWindow = window; }

HWND GetNavigationWindow() { return navigationWindow; }

LRESULT SendGoToPage(int16_t id, bool treeItem) {
    if (!navigationWindow) return 0;
    return SendMessageA(navigationWindow, treeItem ? kGoToTreeItemMessage : kGoToPageMessage, SignExtended(id), 0);
}

LRESULT SendGoToPagePosition(int16_t page, uint16_t documentIndex, uint16_t position, bool popup) {
    if (!navigationWindow) return 0;
    return SendMessageA(navigationWindow, popup ? kOpenPopupPageMessage : kGoToPagePositionMessage, SignExtended(page),
                        PackPagePosition(documentIndex, position));
}

}  // namespace lect32
