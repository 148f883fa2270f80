// Where a page's objects lie: the layout area taken from the page style, the horizontal placement
// of each object within it, and the page's origin and offset in its owner window.
#include "page/page.h"
#include "page/page_style.h"

namespace lect32 {

void Page::SetLayoutArea(const PageStyle& style) {
    area_.leftMargin = style.LeftMargin();
    area_.rightMargin = style.RightMargin();
    area_.topMargin = style.TopMargin();
    area_.bottomMargin = style.BottomMargin();
    area_.width = style.width;
    area_.height = style.layoutWord;
    area_.backColour = style.backgroundColour;
    area_.backPicture = style.backgroundPicture;
    area_.backPictureMode = style.backgroundPictureMode;
    layoutWidth_ = area_.TextWidth();
    usableWidth_ = layoutWidth_;
    for (uint16_t i = 0; i < GetCount(); ++i) MeasureObject(i);
}

void Page::MeasureObject(uint16_t i) {
    if (!objects_.Contains(i)) return;
    layoutWidth_ = area_.TextWidth();
    PageObject& o = objects_[i];
    const int16_t x = o.PlacedX(layoutWidth_);
    if (x != o.x) {
        o.x = x;
        if (!services_.keepPictures) releaseImages(o);
    }
    if (activeText_ != kNone) {
        if (frame_ && frame_->Changed() != ObjectTextFrame::Change::None) CommitTextObject();
        ActivateTextObject(kNone, true, false);
    }
}

void Page::SetOrigin(int16_t x, int32_t y) {
    if (dragging_) {
        dragged_.x = static_cast<int16_t>(dragged_.x + x - originX_);
        dragged_.y += y - originY_;
    }
    originX_ = x;
    originY_ = y;
    CommitTextObject();
    activeText_ = kNone;
    MoveObjectWindows();
}

void Page::SetViewOffset(int16_t x, int16_t y) {
    viewX_ = x;
    viewY_ = y;
}

void Page::SetOwner(HWND owner, intptr_t value) {
    owner_ = owner;
    ownerValue_ = value;
}

void Page::BeginDrag(int16_t index) {
    if (!objects_.Contains(index)) return;
    dragged_ = objects_[static_cast<uint16_t>(index)];
    draggedIndex_ = index;
    dragging_ = true;
}

void Page::EndDrag() {
    dragging_ = false;
    draggedIndex_ = kNone;
}

RECT Page::ContentBox(uint16_t i) const {
    const PageObject& o = objects_[i];
    RECT box;
    box.left = area_.leftMargin + viewX_ + o.x - originX_;
    box.top = area_.topMargin + viewY_ + o.y - originY_;
    box.right = box.left + o.width;
    box.bottom = box.top + o.height;
    if (o.flow != 2 || o.behindText) {
        box.left += o.spacingLeft;
        box.right -= o.spacingRight;
        box.top += o.spacingTop;
        box.bottom -= o.spacingBottom;
    }
    box.left += o.borderWidth;
    box.top += o.borderWidth;
    box.right -= o.borderWidth;
    box.bottom -= o.borderWidth;
    return box;
}

}  // namespace lect32
