#include "page/link_execution.h"

#include "store/navigation_requests.h"

namespace lect32 {
namespace {

constexpr int16_t kFirstObjectCommand = 101;
constexpr int16_t kLastObjectCommand = 200;
constexpr uint8_t kTreeItemKind = 1;

WPARAM Signed(int16_t value) { return static_cast<WPARAM>(static_cast<intptr_t>(value)); }

NavigationRequest PagePosition(int16_t page, uint8_t member, int16_t position, bool popup) {
    return {popup ? kOpenPopupPageMessage : kGoToPagePositionMessage, Signed(page),
            PackPagePosition(member, static_cast<uint16_t>(position))};
}

NavigationRequest RunRequest(const LinkRecord& link, const LinkContext& context, LPARAM value) {
    return {kRunLinkMessage, WPARAM{link.kind} + (context.toolBar ? kToolBarFlag : 0), value};
}

// Plain page and contents links: straight to the page while nothing stands in between; from a
// popup or the tool bar to the page in the popup's document (the tool bar's is the main one).
NavigationRequest PlainRequest(const LinkRecord& link, const LinkContext& context) {
    if (!context.popupOpen && !context.toolBar) {
        return {link.kind == kTreeItemKind ? kGoToTreeItemMessage : kGoToPageMessage, Signed(link.target), 0};
    }
    return PagePosition(link.target, context.toolBar ? 0 : context.popupMember, 0, false);
}

}  // namespace

LinkRecord LinkRecordOf(const LinkTarget& target) {
    LinkRecord link;
    link.kind = target.kind;
    link.target = static_cast<int16_t>(target.a);
    link.linkNumber = target.document;
    link.position = static_cast<int16_t>(target.b);
    link.program = static_cast<int32_t>(target.d);
    return link;
}

bool IsObjectCommand(const LinkRecord& link) {
    return link.kind == kPageButtonKind && link.target >= kFirstObjectCommand && link.target <= kLastObjectCommand;
}

std::optional<NavigationRequest> RequestForLink(const LinkRecord& link, const LinkContext& context) {
    if (IsObjectCommand(link)) return std::nullopt;
    switch (link.kind) {
        case 2: return PagePosition(link.target, link.linkNumber, link.position, false);
        case 3: return PagePosition(link.target, link.linkNumber, link.position, true);
        case kPageButtonKind:
            return NavigationRequest{kPageButtonMessage, Signed(link.target), static_cast<LPARAM>(link.second)};
        case 10: return RunRequest(link, context, static_cast<LPARAM>(link.program));
        case 11:
        case 12: return RunRequest(link, context, static_cast<LPARAM>(link.target));
        case 13: return NavigationRequest{kLinkKind13Message, Signed(link.target), 0};
        case 14: return NavigationRequest{kLinkKind14Message, Signed(link.target), 0};
        case 15:
            return NavigationRequest{kLinkKind15Message, Signed(link.target),
                                     static_cast<LPARAM>(static_cast<uint16_t>(link.position) |
                                                         (uint32_t{link.linkNumber} << 16))};
        case kAddressKind: return std::nullopt;
        default: return PlainRequest(link, context);
    }
}

NavigationRequest RequestForAddress(const char* text) {
    return {kOpenAddressMessage, 0, reinterpret_cast<LPARAM>(text)};
}

}  // namespace lect32
