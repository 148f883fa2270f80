// Links of a page followed by mouse and keyboard, their tooltips, and the pointer's shape.
#include <algorithm>

#include "page/attribute_slots.h"
#include "page/image_viewer_start.h"
#include "page/link_tooltips.h"
#include "page/rich_text_object.h"
#include "page/url_marking.h"
#include "store/file_name_table.h"
#include "store/language_file.h"
#include "store/navigation_requests.h"
#include "text/control_codes.h"
#include "winplat/module.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr uint8_t kNoTooltipsOption = 0x2;
constexpr int16_t kSilentButtons[] = {114, 115};
constexpr int kHorizontalKeyStep = 8;

// Link numbers of the view's text resolved through the reader's linked documents.
class HostResolver final : public LinkResolver {
public:
    explicit HostResolver(const RichTextHost* host) : host_(host) {}
    uint8_t CurrentDocumentIndex() const override { return host_ ? host_->CurrentDocument() : 0; }
    uint8_t ResolveLink(uint8_t source, uint8_t linkNumber) const override {
        return host_ ? host_->ResolveLink(source, linkNumber) : source;
    }

private:
    const RichTextHost* host_;
};

bool IsPageNameLink(uint8_t kind) { return kind == 0 || kind == 2 || kind == 3; }

std::string LoadedString(UINT id) {
    char text[kMaxTooltipText + 1] = {};
    LoadStringA(GetModuleHandleA("lect32.exe"), id, text, sizeof text);
    return text;
}

}  // namespace

LinkContext RichTextObject::linkContext() const {
    LinkContext context;
    context.toolBar = toolBar_;
    context.popupOpen = host_ && host_->PopupOpen();
    context.popupMember = host_ ? host_->TopPopupMember() : 0;
    return context;
}

bool RichTextObject::linkAt(uint16_t row, uint16_t position, LinkRecord& link, size_t* start) {
    std::vector<uint8_t> body;
    if (!GetLinkAt(row, position, nullptr, &body, nullptr)) return false;
    LinkTarget target;
    const HostResolver resolver(host_);
    if (target.Decode(body, false, static_cast<uint8_t>(DocumentSlot()), false, resolver) < 0) return false;
    link = LinkRecordOf(target);
    if (start) {
        uint16_t first = 0, end = 0;
        FindLink(row, position, first, end);
        *start = first;
    }
    return true;
}

void RichTextObject::FollowLink(const LinkRecord& link) {
    if (IsObjectCommand(link)) {
        page_.DoCommand(link.target, 0, nullptr);
        return;
    }
    if (const auto request = RequestForLink(link, linkContext())) {
        SendNavigationRequest(request->message, request->wParam, request->lParam);
    }
}

void RichTextObject::sendAddress(uint16_t row, size_t start) {
    const std::string address = LinkText(rows_[row].text, start);
    const NavigationRequest request = RequestForAddress(address.c_str());
    SendNavigationRequest(request.message, request.wParam, request.lParam);
}

bool RichTextObject::FollowLinkAt(uint16_t row, uint16_t position) {
    LinkRecord link;
    size_t start = 0;
    if (!linkAt(row, position, link, &start)) return false;
    if (link.kind == kAddressKind) {
        // The address goes once the mouse is free: the program opening it may take the focus.
        if (capture_ && mode_ == kNormal) ReleaseCapture();
        capture_ = false;
        sendAddress(row, start);
        return true;
    }
    FollowLink(link);
    return true;
}

bool RichTextObject::PositionAt(int x, int y, uint16_t& row, uint16_t& position) {
    if (rows_.empty()) return false;
    int32_t top = 0;
    row = RowFromY(y, &top);
    if (row >= rows_.size()) {
        row = static_cast<uint16_t>(rows_.size() - 1);
        position = static_cast<uint16_t>(rows_[row].text.size());
        return false;
    }
    LineInfo line;
    if (LocateLine(row, top, kNoLine, y, line) != 0) line.line = 0;
    const uint16_t at = DocumentView::HitTest(row, line.line, x, y);
    position = at == kNoLine ? 0 : at;
    return true;
}

int RichTextObject::objectAt(int x, int y) const {
    const POINT point{x, y};
    for (const uint16_t i : page_.BuildOrder(true)) {
        const RECT box = page_.WindowRect(page_.Object(i));
        if (PtInRect(&box, point)) return i;
    }
    return -1;
}

void RichTextObject::pressObject(uint16_t i) {
    page_.SetCurrentObject(static_cast<int16_t>(i));
    const std::vector<uint8_t> stored = page_.CopySlot(i, Slot::Link);
    LinkTarget target;
    const HostResolver resolver(host_);
    if (!stored.empty() && target.Decode(stored, false, static_cast<uint8_t>(DocumentSlot()), false, resolver) >= 0) {
        if (capture_ && mode_ == kNormal) ReleaseCapture();
        capture_ = false;
        FollowLink(LinkRecordOf(target));
        return;
    }
    const PageObject& object = page_.Object(i);
    const PlacementRecord placement = page_.GetPlacement(i);
    if (!object.IsPicture() || (placement.enlargeSource != 1 && placement.enlargeSource != 2)) return;
    const int16_t picture = placement.enlargeSource == 1 ? object.picture : placement.enlargePicture;
    const auto enlarged = EnlargedPictureOf(page_.Pictures(), picture, placement.enlargeSource);
    if (enlarged) StartImageViewer(viewerFolder_.empty() ? ProgramFolder() : viewerFolder_, *enlarged);
}

void RichTextObject::OnLButtonDown(int x, int y) {
    if (host_) host_->MakeCurrentPane(window_);
    if (window_) SendMessageA(GetParent(window_), kClickedMessage, 0, 0);
    if (mode_ == kNormal) {
        if (capture_) return;
        capture_ = true;
        if (window_) SetCapture(window_);
    } else {
        capture_ = true;
    }
    CollapseSelection(false);
    if (const int object = objectAt(x, y); object >= 0) {
        pressObject(static_cast<uint16_t>(object));
        return;
    }
    uint16_t row = 0, position = 0;
    const bool onText = PositionAt(x, y, row, position);
    SetCaret(row, position);
    anchorRow_ = row;
    anchorPos_ = position;
    if (onText && !rows_[row].table) FollowLinkAt(row, position);
}

void RichTextObject::OnLButtonUp(int /*x*/, int /*y*/) {
    if (mode_ == kNormal && !capture_) return;
    if (capture_ && mode_ == kNormal) ReleaseCapture();
    capture_ = false;
}

void RichTextObject::OnRButtonDown() {
    if (host_) host_->HistoryBack();
}

void RichTextObject::OnMouseMove(int x, int y, WPARAM keys) {
    if (main_ && window_) PostMessageA(main_, kPointerMovedMessage, reinterpret_cast<WPARAM>(window_), 0);
    if (!(keys & MK_LBUTTON) || !capture_) return;
    uint16_t row = 0, position = 0;
    PositionAt(x, y, row, position);
    // The pointer outside the window still reaches the view while it holds the capture, so the
    // selection follows it there without a loop that would stop painting and timers.
    SetSelection(anchorRow_, anchorPos_, row, position, true);
    SetCaret(row, position);
    ScrollIntoView(row, nullptr, nullptr);
}

void RichTextObject::OnKeyDown(WPARAM key) {
    switch (key) {
        case VK_RETURN: FollowLinkAt(caretRow_, caretPos_); break;
        case VK_PRIOR: PageUp(); break;
        case VK_NEXT: PageDown(); break;
        case VK_END: ScrollToBottom(); break;
        case VK_HOME: ScrollToTop(); break;
        case VK_LEFT: ScrollLeft(kHorizontalKeyStep, 0); break;
        case VK_RIGHT: ScrollRight(kHorizontalKeyStep, 0); break;
        case VK_UP: LineUp(); break;
        case VK_DOWN: LineDown(); break;
        default: break;
    }
}

bool RichTextObject::OnSetCursor(UINT hitCode) {
    if (hitCode != HTCLIENT || (host_ && host_->Closing()) || !window_) return false;
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(window_, &point);
    UpdateCursor(point.x, point.y);
    return true;
}

void RichTextObject::UpdateCursor(int x, int y) {
    const int left = style_.LeftMargin() - scrollX_;
    const int right = style_.width - style_.RightMargin() - scrollX_;
    const int32_t top = style_.TopMargin() - scrollY_;
    const bool inText = mode_ != kNormal || (x >= left && x < right && y >= top && y < top + contentHeight_);
    bool overLink = false;
    uint16_t row = 0, position = 0;
    if (inText && PositionAt(x, y, row, position)) {
        LinkRecord link;
        overLink = linkAt(row, position, link, nullptr);
    }
    const HCURSOR cursor = overLink ? LoadCursorA(GetModuleHandleA("lect32.exe"), "hand") : LoadCursorA(nullptr, IDC_ARROW);
    if (cursor == shownCursor_) return;
    shownCursor_ = cursor;
    SetCursor(cursor);
}

std::optional<std::pair<uint16_t, std::string>> RichTextObject::TooltipOf(const LinkRecord& link) const {
    const bool noTips = host_ && (host_->ViewOptions() & kNoTooltipsOption);
    if (noTips) return std::nullopt;
    if (link.kind == kPageButtonKind) {
        if (std::ranges::find(kSilentButtons, link.target) != std::end(kSilentButtons)) return std::nullopt;
        const UINT id = PageButtonStringId(link.target);
        std::string text = LoadedString(id);
        if (text.empty()) return std::nullopt;
        return std::pair{static_cast<uint16_t>(id), std::move(text)};
    }
    if (!IsPageNameLink(link.kind) || !host_ || host_->MemberCount() != 1) return std::nullopt;
    const uint8_t document = link.kind == 0 ? host_->CurrentDocument() : link.linkNumber;
    const auto text = TooltipOfPageName(host_->PageName(document, link.target));
    if (!text || text->empty()) return std::nullopt;
    return std::pair{static_cast<uint16_t>(link.target + 1), *text};
}

uintptr_t RichTextObject::ShowTooltip(uint16_t shownId, int x, int y) {
    uint16_t row = 0, position = 0;
    if (!PositionAt(x, y, row, position)) return 0;
    LinkRecord link;
    if (!linkAt(row, position, link, nullptr)) return 0;
    const auto tip = TooltipOf(link);
    if (!tip) return 0;
    if (tip->first == shownId) return kTooltipShown;
    return reinterpret_cast<uintptr_t>(MakeTooltipBlock(tip->first, tip->second));
}

}  // namespace lect32
