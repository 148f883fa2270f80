#include "store/navigation_requests.h"

#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: navigation request");

HWND navigationWindow = nullptr;

// The id widened as the signed 16-bit number it is, so that -1 arrives as -1.
WPARAM SignExtended(int16_t id) { return static_cast<WPARAM>(static_cast<intptr_t>(id)); }

}  // namespace

void SetNavigationWindow(HWND window) { navigationWindow = window; }

HWND GetNavigationWindow() { return navigationWindow; }

LRESULT SendGoToPage(int16_t id, bool treeItem) {
    if (!navigationWindow) return refuse(LRESULT{0}, "there is no navigation window");
    return SendMessageA(navigationWindow, treeItem ? kGoToTreeItemMessage : kGoToPageMessage, SignExtended(id), 0);
}

LRESULT SendGoToPagePosition(int16_t page, uint16_t documentIndex, uint16_t position, bool popup) {
    if (!navigationWindow) return refuse(LRESULT{0}, "there is no navigation window");
    return SendMessageA(navigationWindow, popup ? kOpenPopupPageMessage : kGoToPagePositionMessage, SignExtended(page),
                        PackPagePosition(documentIndex, position));
}

LRESULT SendNavigationRequest(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!navigationWindow) return refuse(LRESULT{0}, "there is no navigation window");
    return SendMessageA(navigationWindow, message, wParam, lParam);
}

}  // namespace lect32
