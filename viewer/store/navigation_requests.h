// Requests to show a page, sent to the hidden navigation window that the shell creates: every
// sender of the reader asks through these messages, and navigation is finished when the call
// returns. The shell names the window once it exists; before that, and after it is gone, a
// request goes nowhere and answers 0.
#ifndef LECT32_STORE_NAVIGATION_REQUESTS_H
#define LECT32_STORE_NAVIGATION_REQUESTS_H

#include <cstdint>

#include "winplat/user.h"

namespace lect32 {

// The messages of the navigation window that carry a page request. wParam is the page (or
// contents-tree item) as a signed 16-bit number widened to the full word; for the page-position
// pair, lParam packs the member document into its low byte (255 = the current one) and the mark
// (0 = none) into its high word.
inline constexpr UINT kGoToPageMessage = 7001;
inline constexpr UINT kGoToTreeItemMessage = 7002;
inline constexpr UINT kGoToPagePositionMessage = 7008;
inline constexpr UINT kOpenPopupPageMessage = 7009;
// The other requests a link of a page makes: a program or a media file (7005), an address
// (7007, lParam the zero-terminated text, valid for the call), a page button (7010), and the
// requests of kinds 13, 14 and 15 (7011-7013).
inline constexpr UINT kRunLinkMessage = 7005;
inline constexpr UINT kOpenAddressMessage = 7007;
inline constexpr UINT kPageButtonMessage = 7010;
inline constexpr UINT kLinkKind13Message = 7011;
inline constexpr UINT kLinkKind14Message = 7012;
inline constexpr UINT kLinkKind15Message = 7013;

void SetNavigationWindow(HWND window);
HWND GetNavigationWindow();

// Page 'id' (7001), or contents-tree item 'id' when 'treeItem' is set (7002).
LRESULT SendGoToPage(int16_t id, bool treeItem);

// Page 'page' of member 'documentIndex' (only its low byte is sent) at 'position': 7008, or as a
// popup (7009) when 'popup' is set.
LRESULT SendGoToPagePosition(int16_t page, uint16_t documentIndex, uint16_t position, bool popup);

// Any request as it stands; 0 when there is no navigation window.
LRESULT SendNavigationRequest(UINT message, WPARAM wParam, LPARAM lParam);

// The lParam of 7008 and 7009.
constexpr LPARAM PackPagePosition(uint16_t documentIndex, uint16_t position) {
    return static_cast<LPARAM>((uint32_t{position} << 16) | (documentIndex & 0xFFu));
}

}  // namespace lect32

#endif
