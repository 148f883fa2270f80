// A text frame's size, background and margins: the 15-byte frame style of its page object, the
// size a table cell gives it, and the background it paints on.
#include "page/rich_text_object.h"

namespace lect32 {

void RichTextObject::SetFrameStyle(const FrameRecord& style) {
    style_.SetDefaults();
    style_.width = style.width;
    style_.backgroundColour = style.background;
    style_.backgroundPicture = style.picture;
    style_.backgroundPictureMode = 1;
    style_.margins = ShortRect{style.marginLeft, style.marginRight, style.marginTop, style.marginBottom};
    visibleWidth_ = style.width;
    visibleHeight_ = style.height;
    GetPage().SetLayoutArea(style_);
}

FrameRecord RichTextObject::GetFrameStyle() const {
    FrameRecord out;
    out.width = static_cast<int16_t>(visibleWidth_);
    out.height = static_cast<int16_t>(visibleHeight_);
    out.background = style_.backgroundColour;
    out.picture = style_.backgroundPicture;
    out.marginLeft = style_.LeftMargin();
    out.marginRight = style_.RightMargin();
    out.marginTop = style_.TopMargin();
    out.marginBottom = style_.BottomMargin();
    return out;
}

void RichTextObject::SetSize(int16_t width, int16_t height) {
    visibleWidth_ = width;
    visibleHeight_ = height;
    style_.width = width;
    GetPage().SetLayoutArea(style_);
}

void RichTextObject::SetBackground(uint8_t colour, int16_t picture, uint8_t mode, int16_t scrollX, int32_t scrollY) {
    style_.backgroundColour = colour;
    style_.backgroundPicture = picture;
    style_.backgroundPictureMode = mode;
    Background().SetPicture(Window(), picture, mode, false);
    Background().SetScrollOrigin(scrollX, scrollY);
}

void RichTextObject::SetFirstRowStyle(uint8_t style) {
    if (rows_.empty()) return;
    rows_.front().record.bytes[4] = style;
    layoutChanged_ = true;
}

void RichTextObject::ResetLayoutWidth() {
    laidOutWidth_ = 0;
    GetPage().SetLayoutArea(style_);
}

}  // namespace lect32
