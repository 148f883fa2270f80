#include "winforms/graphic_controls.h"

#include "painting.h"
#include "winforms/application.h"
#include "winforms/win_control.h"
#include "winplat/draw.h"
#include "winplat/owners.h"

namespace winforms {

Label::Label(Component* owner) : GraphicControl(owner) { bounds_ = {0, 0, 32, 13}; }

void Label::SetAlignment(Alignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void Label::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    FitText();
}

void Label::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Invalidate();
}

void Label::CaptionChanged() {
    FitText();
    Invalidate();
}

void Label::FontChanged() {
    FitText();
    Invalidate();
}

void Label::FitText() {
    if (!autoSize_) return;
    const winplat::BorrowedDc screen(nullptr);
    const SIZE size = textExtent(screen.get(), GetFont(), caption_.empty() ? std::string_view(" ") : caption_);
    SetBounds(Left(), Top(), caption_.empty() ? Width() : size.cx, size.cy);
}

void Label::Paint(Canvas& canvas) {
    const RECT r{0, 0, Width(), Height()};
    if (!transparent_) fillRect(canvas.Handle(), r, Color());
    drawText(canvas.Handle(), GetFont(), caption_, r, alignmentFormat(alignment_) | DT_NOPREFIX,
             Enabled() ? CLR_INVALID : GetSysColor(COLOR_GRAYTEXT));
}

Bevel::Bevel(Component* owner) : GraphicControl(owner) { bounds_ = {0, 0, 50, 50}; }

void Bevel::SetShape(BevelShape shape) {
    shape_ = shape;
    Invalidate();
}

void Bevel::SetStyle(BevelStyle style) {
    style_ = style;
    Invalidate();
}

void Bevel::Paint(Canvas& canvas) {
    HDC dc = canvas.Handle();
    RECT r{0, 0, Width(), Height()};
    const UINT sunken = style_ == BevelStyle::Lowered;
    switch (shape_) {
        case BevelShape::Box:
            DrawEdge(dc, &r, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            break;
        case BevelShape::Frame:
            DrawEdge(dc, &r, sunken ? EDGE_ETCHED : EDGE_BUMP, BF_RECT);
            break;
        case BevelShape::TopLine: r.bottom = r.top + 2; DrawEdge(dc, &r, sunken ? EDGE_ETCHED : EDGE_BUMP, BF_TOP); break;
        case BevelShape::BottomLine: r.top = r.bottom - 2; DrawEdge(dc, &r, sunken ? EDGE_ETCHED : EDGE_BUMP, BF_TOP); break;
        case BevelShape::LeftLine: r.right = r.left + 2; DrawEdge(dc, &r, sunken ? EDGE_ETCHED : EDGE_BUMP, BF_LEFT); break;
        case BevelShape::RightLine: r.left = r.right - 2; DrawEdge(dc, &r, sunken ? EDGE_ETCHED : EDGE_BUMP, BF_LEFT); break;
        case BevelShape::Spacer: break;
    }
}

Image::Image(Component* owner) : GraphicControl(owner) { bounds_ = {0, 0, 105, 105}; }

void Image::SetStretch(bool stretch) {
    stretch_ = stretch;
    Invalidate();
}

void Image::SetCenter(bool center) {
    center_ = center;
    Invalidate();
}

void Image::Paint(Canvas& canvas) {
    if (picture_.Empty()) return;
    if (stretch_) {
        canvas.StretchDraw({0, 0, Width(), Height()}, picture_);
        return;
    }
    const int x = center_ ? (Width() - picture_.Width()) / 2 : 0;
    const int y = center_ ? (Height() - picture_.Height()) / 2 : 0;
    canvas.Draw(x, y, picture_);
}

PaintBox::PaintBox(Component* owner) : GraphicControl(owner) { bounds_ = {0, 0, 105, 105}; }

PaintBox::~PaintBox() { ReleaseWindowDc(); }

void PaintBox::ReleaseWindowDc() {
    canvas_.SetHandle(nullptr);
    windowDc_.reset();
}

Canvas& PaintBox::GetCanvas() {
    if (painting_) return *painting_;
    if (!windowDc_ && Parent() && Parent()->Handle()) {
        windowDc_.emplace(Parent()->Handle());
        canvas_.SetHandle(windowDc_->get());
        canvas_.SetFont(GetFont());
    }
    if (windowDc_) {
        // Where the paint box lies now: its corner, and no drawing beyond it.
        // The clip rectangle is in logical units: the origin the last call moved must go first,
        // or the clip lands shifted by it.
        HDC dc = windowDc_->get();
        SetViewportOrgEx(dc, 0, 0, nullptr);
        SelectClipRgn(dc, nullptr);
        IntersectClipRect(dc, bounds_.left, bounds_.top, bounds_.right, bounds_.bottom);
        SetViewportOrgEx(dc, bounds_.left, bounds_.top, nullptr);
    }
    return canvas_;
}

void PaintBox::ParentChanged() {
    ReleaseWindowDc();
    GraphicControl::ParentChanged();
}

void PaintBox::Paint(Canvas& canvas) {
    if (!OnPaint) return;
    painting_ = &canvas;
    // The canvas the program keeps between paints keeps its pen and brush across them.
    canvas.SetPen(canvas_.GetPen());
    canvas.SetBrush(canvas_.GetBrush());
    OnPaint(*this);
    canvas_.SetPen(canvas.GetPen());
    canvas_.SetBrush(canvas.GetBrush());
    painting_ = nullptr;
}

}  // namespace winforms
