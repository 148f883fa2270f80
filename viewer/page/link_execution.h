// What a link of a page asks for when it is followed: a request to the navigation window, made of
// the link's stored target. Pure rules here; RichTextObject sends them.
#ifndef LECT32_PAGE_LINK_EXECUTION_H
#define LECT32_PAGE_LINK_EXECUTION_H

#include <cstdint>
#include <optional>

#include "store/link_target.h"
#include "winplat/types.h"

namespace lect32 {

// A decoded link as the input layer reads it: the page, item, program or button number, the
// member document its link number leads to, the position in the target page and a program link's
// 32-bit value. 'second' of a page button stays 0: stored targets keep no second word for it.
struct LinkRecord {
    uint8_t kind = 0;
    int16_t target = 0;
    uint8_t linkNumber = 0;
    int16_t second = 0;
    int16_t position = 0;
    int32_t program = 0;
};

LinkRecord LinkRecordOf(const LinkTarget& target);

// Where the link is followed from.
struct LinkContext {
    bool toolBar = false;      // the view of the user tool bar
    bool popupOpen = false;    // a popup page is open
    uint8_t popupMember = 0;   // the member document of the top popup
};

struct NavigationRequest {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool operator==(const NavigationRequest&) const = default;
};

inline constexpr uint8_t kPageButtonKind = 4;
inline constexpr uint8_t kAddressKind = 20;
inline constexpr WPARAM kToolBarFlag = 4096;

// Page buttons 101-200 are commands of the page's objects rather than requests.
bool IsObjectCommand(const LinkRecord& link);

// The request that following the link sends; none for an object command and for an address,
// whose text the caller sends itself (RequestForAddress).
std::optional<NavigationRequest> RequestForLink(const LinkRecord& link, const LinkContext& context);

// 7007 with the address text, which must outlive the request.
NavigationRequest RequestForAddress(const char* text);

}  // namespace lect32

#endif
