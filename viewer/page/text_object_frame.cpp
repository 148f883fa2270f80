// A page's text objects shown through a text frame.
#include "page/text_object_frame.h"

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
    return frame_.Changed(0) ? frame_.Serialize(RichTextObject::kAllSections) : content_;
}

ObjectTextFrame::Change TextObjectFrame::Changed() const {
    if (frame_.Changed(1)) return Change::First;
    return frame_.Changed(0) ? Change::Second : Change::None;
}

uint32_t TextObjectFrame::SerializedSize() const {
    return frame_.Changed(0) ? frame_.GetSerializedSize(RichTextObject::kAllSections)
                             : static_cast<uint32_t>(content_.size());
}

void TextObjectFrame::Place(const RECT& box) {
    frame_.SetScrollOrigin(static_cast<int16_t>(box.left), static_cast<int16_t>(box.top));
    frame_.OnSize(box.right - box.left, box.bottom - box.top);
}

void TextObjectFrame::Paint(HDC dc, const RECT& rect) {
    if (dc) frame_.OnPaint(dc, &rect);
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
