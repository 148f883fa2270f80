// The hidden navigation window "VOZADERAZ": every request of the reader to show a page, a
// contents-tree item or a popup page ends as a message to it (see store/navigation_requests.h),
// and the window hands the request to the navigation sink. Navigation implements the sink; until
// one is set, the requests are answered and dropped.
#ifndef LECT32_SHELL_NAVIGATION_WINDOW_H
#define LECT32_SHELL_NAVIGATION_WINDOW_H

#include <cstdint>

#include "winplat/user.h"

namespace lect32 {

inline constexpr const char* kNavigationWindowClass = "VOZADERAZ";
inline constexpr uint8_t kCurrentMember = 255;  // the member shown in the current page window
inline constexpr uint16_t kNoMark = 0;

class NavigationSink {
public:
    virtual ~NavigationSink() = default;
    // 7001: page 'page' of the current member, with a history entry.
    virtual void GoToPage(int16_t page) = 0;
    // 7002: contents-tree item 'item' (-1: the contents page), with a history entry.
    virtual void GoToTreeItem(int16_t item) = 0;
    // 7008: page 'page' of member 'member' at mark 'mark', with a history entry.
    virtual void GoToPagePosition(int16_t page, uint8_t member, uint16_t mark) = 0;
    // 7009: page 'page' of member 'member' in a hypertext popup, at mark 'mark'.
    virtual void OpenPopupPage(int16_t page, uint8_t member, uint16_t mark) = 0;
};

// The sink the window hands its requests to (null: none). The caller keeps it alive while set.
void SetNavigationSink(NavigationSink* sink);

// Registers the class when it is not yet registered and creates the window: no parent, size 0,
// never shown. It becomes the target of the page requests until it is destroyed. Null when the
// class or the window cannot be made.
HWND CreateNavigationWindow(HINSTANCE instance);

}  // namespace lect32

#endif
