// A page's text objects shown through a text frame.
#include "page/text_object_frame.h"

#include "winplat/draw.h"
#include "winplat/owners.h"
#include "winplat/user.h"

namespace lect32 {

TextObjectFrame::TextObjectFrame(HWND owner, PageServices pageServices, ViewServices services)
    : frame_(std::move(pageServices), std::move(services)) {
    frame_.GetPage().SetOwner(owner, 0);
}

void TextObjectFrame::Load(std::span<const uint8_t> content) {
    content_.assign(content.begin(), content.end());
    if (content.empty() || !frame_.Deserialize(content)) frame_.ClearFrame();
}

std::vector<uint8_t> TextObjectFrame::Content() const {
    return frame_.HitTest(0) ? frame_.Serialize(RichTextObject::kAllSections) : content_;
}

ObjectTextFrame::Change TextObjectFrame::Changed() const {
    if (frame_.HitTest(1)) return Change::First;
    return frame_.HitTest(0) ? Change::Second : Change::None;
}

uint32_t TextObjectFrame::SerializedSize() const {
    return frame_.HitTest(0) ? frame_.GetSerializedSize(RichTextObject::kAllSections)
                             : static_cast<uint32_t>(content_.size());
}

void TextObjectFrame::Place(const RECT& box) {
    box_ = box;
    frame_.SetScrollOrigin(static_cast<int16_t>(box.left), static_cast<int16_t>(box.top));
    frame_.OnSize(box.right - box.left, box.bottom - box.top);
}

void TextObjectFrame::Paint(HDC dc, const RECT& rect) {
    if (!dc) return;
    RECT area{box_.left + rect.left, box_.top + rect.top, box_.left + rect.right, box_.top + rect.bottom};
    if (!IntersectRect(&area, &area, &box_)) return;
    // A frame is laid out before its first paint and again when its width changed.
    if (frame_.LaidOutWidth() == 0 || frame_.LaidOutWidth() != frame_.VisibleWidth()) frame_.Layout(dc);
    const winplat::SavedDc saved(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    frame_.OnPaint(dc, &area);
}

int TextObjectFrame::Layout() {
    frame_.Layout(nullptr);
    return frame_.GetContentHeight();
}

TextFrameMaker MakeTextObjectFrames(PageServices pageServices, ViewServices services) {
    return [pageServices, services](HWND owner) -> std::unique_ptr<ObjectTextFrame> {
        return std::make_unique<TextObjectFrame>(owner, pageServices, services);
    };
}

}  // namespace lect32
