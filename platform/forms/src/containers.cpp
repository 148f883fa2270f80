#include "winforms/containers.h"

#include <algorithm>

#include "painting.h"
#include "window_classes.h"
#include "winforms/application.h"
#include "winplat/controls.h"
#include "winplat/draw.h"

namespace winforms {

namespace {

UINT edgeOf(BevelCut cut, bool outer) {
    if (cut == BevelCut::Raised) return outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
    return outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
}

}  // namespace

Panel::Panel(Component* owner) : WinControl(owner) {
    bounds_ = {0, 0, 185, 41};
    CreateHandle(kContainerClass, WS_CLIPCHILDREN);
}

void Panel::SetBevelOuter(BevelCut cut) {
    bevelOuter_ = cut;
    Invalidate();
    AlignControls();
}

void Panel::SetBevelInner(BevelCut cut) {
    bevelInner_ = cut;
    Invalidate();
    AlignControls();
}

void Panel::SetAlignment(Alignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

int Panel::BevelWidth() const { return (bevelOuter_ != BevelCut::None) + (bevelInner_ != BevelCut::None); }

RECT Panel::AlignArea() const {
    RECT area = ClientRect();
    InflateRect(&area, -BevelWidth(), -BevelWidth());
    return area;
}

void Panel::PaintWindow(HDC dc) {
    RECT r = ClientRect();
    fillRect(dc, r, Color());
    if (bevelOuter_ != BevelCut::None) {
        DrawEdge(dc, &r, edgeOf(bevelOuter_, true), BF_RECT);
        InflateRect(&r, -1, -1);
    }
    if (bevelInner_ != BevelCut::None) {
        DrawEdge(dc, &r, edgeOf(bevelInner_, false), BF_RECT);
        InflateRect(&r, -1, -1);
    }
    if (!caption_.empty()) {
        drawText(dc, GetFont(), caption_, r, alignmentFormat(alignment_) | DT_VCENTER | DT_SINGLELINE,
                 Enabled() ? CLR_INVALID : GetSysColor(COLOR_GRAYTEXT));
    }
}

RadioGroup::RadioGroup(Component* owner) : WinControl(owner) {
    bounds_ = {0, 0, 185, 105};
    SetTabStop(false);
    CreateHandle(kContainerClass, WS_CLIPCHILDREN);
}

void RadioGroup::SetItems(const std::vector<std::string>& items) {
    for (RadioButton* button : buttons_) button->Free();
    buttons_.clear();
    for (size_t i = 0; i < items.size(); ++i) {
        RadioButton& button = Add<RadioButton>();
        button.SetCaption(items[i]);
        button.SetFont(GetFont());
        button.SetColor(Color());
        button.SetParent(this);
        button.OnClick = [this, i](Component&) { Chosen(i); };
        buttons_.push_back(&button);
    }
    itemIndex_ = -1;
    Arrange();
}

void RadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(buttons_.size())) return;
    itemIndex_ = index;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        SendMessageA(buttons_[i]->Handle(), BM_SETCHECK, static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void RadioGroup::SetColumns(int columns) {
    columns_ = std::clamp(columns, 1, 16);
    Arrange();
}

void RadioGroup::Chosen(size_t index) {
    if (static_cast<int>(index) == itemIndex_) return;
    SetItemIndex(static_cast<int>(index));
    Click();
}

void RadioGroup::FontChanged() {
    for (RadioButton* button : buttons_) button->SetFont(GetFont());
    Arrange();
}

// The buttons fill the frame in columns, the first column first, each in a cell of equal height.
void RadioGroup::Arrange() {
    if (buttons_.empty()) return;
    const winplat::BorrowedDc dc(handle_);
    const int captionHeight = textExtent(dc.get(), GetFont(), "Wg").cy;
    const RECT client = ClientRect();
    const int left = 8;
    const int top = captionHeight + 2;
    const int width = std::max(0, static_cast<int>(client.right) - left - 8);
    const int height = std::max(0, static_cast<int>(client.bottom) - top - 4);
    const int count = static_cast<int>(buttons_.size());
    const int rows = (count + columns_ - 1) / columns_;
    const int cellWidth = width / columns_;
    const int cellHeight = rows ? height / rows : 0;
    for (int i = 0; i < count; ++i) {
        const int column = i / rows;
        const int row = i % rows;
        const int buttonHeight = std::min(cellHeight, captionHeight + 4);
        buttons_[static_cast<size_t>(i)]->SetBounds(left + column * cellWidth,
                                                     top + row * cellHeight + (cellHeight - buttonHeight) / 2,
                                                     cellWidth, buttonHeight);
    }
}

void RadioGroup::PaintWindow(HDC dc) {
    const RECT client = ClientRect();
    fillRect(dc, client, Color());
    const SIZE caption = textExtent(dc, GetFont(), caption_.empty() ? "W" : caption_);
    RECT frame = client;
    frame.top = caption.cy / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (caption_.empty()) return;
    const RECT label{6, 0, 6 + caption.cx + 4, caption.cy};
    fillRect(dc, label, Color());
    drawText(dc, GetFont(), caption_, {8, 0, 8 + caption.cx, caption.cy}, DT_LEFT | DT_SINGLELINE);
}

}  // namespace winforms
