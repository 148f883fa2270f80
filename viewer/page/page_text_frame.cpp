// The one text frame of a page: made on first need, loaded with a text object's content when that
// object is activated, and its content copied back when the page commits it.
#include "page/page.h"

namespace lect32 {

namespace {

bool isTextObject(const PageObject& o) { return o.Is(ObjectKind::TextFrame); }

}  // namespace

ObjectTextFrame* Page::GetTextFrame() {
    if (!frame_) frame_ = services_.makeFrame ? services_.makeFrame(owner_) : std::make_unique<ObjectTextFrame>();
    return frame_.get();
}

// The frame sits inside the object's border and spacing, at the object's place in the owner's
// client area.
void Page::placeFrameOn(uint16_t i) {
    const PageObject& o = objects_[i];
    const int border = o.borderWidth;
    RECT box;
    box.left = area_.leftMargin + border + o.spacingLeft + viewX_ + o.x - originX_;
    box.top = area_.topMargin + o.spacingTop + border + viewY_ + o.y - originY_;
    box.right = box.left + o.width - o.spacingLeft - o.spacingRight - 2 * border;
    box.bottom = box.top + o.height - o.spacingTop - o.spacingBottom - 2 * border;
    frame_->Place(box);
}

void Page::ActivateTextObject(int i, bool position, bool keepStyle) {
    if (i == activeText_) return;
    ObjectTextFrame* frame = GetTextFrame();
    if (!frame) return;
    if (activeText_ != kNone && frame->Changed() != ObjectTextFrame::Change::None) CommitTextObject();
    if (!objects_.Contains(i)) {
        activeText_ = kNone;
        return;
    }
    const auto index = static_cast<uint16_t>(i);
    frame->Load(CopySecondText(index));
    if (!keepStyle) frame->ApplyFrameRecord(GetFrame(index));
    if (position) placeFrameOn(index);
    activeText_ = static_cast<int16_t>(i);
}

void Page::CommitTextObject() {
    if (!frame_ || !objects_.Contains(activeText_)) return;
    switch (frame_->Changed()) {
    case ObjectTextFrame::Change::First: firstChange_ = 1; break;
    case ObjectTextFrame::Change::Second: secondChange_ = 1; break;
    case ObjectTextFrame::Change::None: break;
    }
    SetSecondText(static_cast<uint16_t>(activeText_), frame_->Content());
}

uint32_t Page::GetTextFramesSize() {
    uint32_t total = 0;
    eachTextFrame([&](ObjectTextFrame& frame) {
        total += frame.SerializedSize();
        return false;
    });
    return total;
}

void Page::WheelTextFrame(int step) {
    eachTextFrame([&](ObjectTextFrame& frame) {
        frame.Wheel(step);
        CommitTextObject();
        return true;
    });
}

void Page::ScrollTextFrame(int code) {
    eachTextFrame([&](ObjectTextFrame& frame) {
        frame.ScrollByCode(code);
        CommitTextObject();
        return true;
    });
}

int Page::LayoutTextObject(int i) {
    ActivateTextObject(i, true, false);
    return frame_ && activeText_ == i && objects_.Contains(i) ? frame_->Layout() : 0;
}

void Page::CollapseFrameSelections() {
    eachTextFrame([](ObjectTextFrame& frame) {
        frame.CollapseSelection();
        return false;
    });
}

void Page::LayOutTextFrames() {
    eachTextFrame([&](ObjectTextFrame& frame) {
        frame.Layout();
        CommitTextObject();
        return false;
    });
}

bool Page::FindInTextFrames(const FrameSearch& search) {
    return eachTextFrame([&](ObjectTextFrame& frame) { return frame.FindText(search); });
}

void Page::MarkFoundWordsInFrames(const FrameSearch& search) {
    eachTextFrame([&](ObjectTextFrame& frame) {
        frame.MarkFoundWords(search);
        CommitTextObject();
        return false;
    });
}

bool Page::ShowFirstFoundWordInFrames() {
    return eachTextFrame([](ObjectTextFrame& frame) { return frame.ShowFirstFoundWord(); });
}

bool Page::ShowFrameTooltip(POINT point) {
    bool shown = false;
    eachTextFrame([&](ObjectTextFrame& frame) {
        const RECT box = ContentBox(static_cast<uint16_t>(activeText_));
        shown = frame.ShowTooltip(POINT{point.x - box.left, point.y - box.top});
        return true;
    });
    return shown;
}

// Keys and link steps reach the frame of the current object while a text frame is being edited.
bool Page::FrameKeyDown(WPARAM key) {
    if (selectionMode_ != 1 || !objects_.Contains(current_) || !isTextObject(objects_[static_cast<uint16_t>(current_)]))
        return false;
    ActivateTextObject(current_, true, false);
    return frame_ && frame_->OnKeyDown(key);
}

bool Page::FrameCommand(int command) {
    constexpr int kNextLink = 1024;
    constexpr int kPreviousLink = 1025;
    if (command != kNextLink && command != kPreviousLink) return false;
    if (selectionMode_ != 1 || !objects_.Contains(current_) || !isTextObject(objects_[static_cast<uint16_t>(current_)]))
        return false;
    ActivateTextObject(current_, true, false);
    return frame_ && frame_->StepLink(command == kNextLink);
}

}  // namespace lect32
