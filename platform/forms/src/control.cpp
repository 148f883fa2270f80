#include "winforms/control.h"

#include "winforms/application.h"
#include "winforms/canvas.h"
#include "winforms/form.h"
#include "winforms/win_control.h"

namespace winforms {

Control::Control(Component* owner) : Component(owner), color_(GetSysColor(COLOR_BTNFACE)) {}

Control::~Control() {
    if (parent_) parent_->RemoveChild(*this);
}

void Control::SetParent(WinControl* parent) {
    if (parent == parent_ || parent == this) return;
    if (parent_) parent_->RemoveChild(*this);
    WinControl* old = parent_;
    parent_ = parent;
    if (parent_) parent_->AddChild(*this);
    ParentChanged();
    if (align_ != Align::None) {
        if (old) old->AlignControls();
        if (parent_) parent_->AlignControls();
    }
}

int Control::ChildIndex() const {
    if (!parent_) return -1;
    for (size_t i = 0; i < parent_->children_.size(); ++i) {
        if (parent_->children_[i] == this) return static_cast<int>(i);
    }
    return -1;
}

Form* Control::ParentForm() const {
    const Control* control = this;
    while (control) {
        if (auto* form = dynamic_cast<Form*>(const_cast<Control*>(control))) return form;
        control = control->parent_;
    }
    return nullptr;
}

void Control::SetBounds(int left, int top, int width, int height) {
    const RECT next{left, top, left + std::max(0, width), top + std::max(0, height)};
    if (EqualRect(&next, &bounds_)) return;
    if (!Windowed()) Invalidate();  // the old place
    bounds_ = next;
    BoundsChanged();
    if (align_ != Align::None && parent_) parent_->AlignControls();
}

void Control::SetAlign(Align align) {
    if (align == align_) return;
    align_ = align;
    if (parent_) parent_->AlignControls();
}

void Control::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    VisibleChanged();
    if (align_ != Align::None && parent_) parent_->AlignControls();
}

bool Control::Showing() const {
    for (const Control* c = this; c; c = c->parent_) {
        if (!c->visible_) return false;
        if (!c->parent_ && !c->Windowed()) return false;  // a graphic control needs a parent to show on
    }
    return true;
}

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    EnabledChanged();
}

const std::string& Control::Caption() const { return caption_; }

void Control::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    CaptionChanged();
}

void Control::SetColor(COLORREF color) {
    if (color == color_) return;
    color_ = color;
    ColorChanged();
}

void Control::SetFont(const Font& font) {
    font_ = font;
    FontChanged();
}

void Control::Invalidate() {}

void Control::Repaint() {
    Invalidate();
    const WinControl* window = Windowed() ? static_cast<const WinControl*>(this) : parent_;
    if (window && window->Handle()) UpdateWindow(window->Handle());
}

POINT Control::ClientToScreen(POINT point) const {
    if (Windowed()) {
        ::ClientToScreen(static_cast<const WinControl*>(this)->Handle(), &point);
        return point;
    }
    if (!parent_) return point;
    return parent_->ClientToScreen({point.x + bounds_.left, point.y + bounds_.top});
}

POINT Control::ScreenToClient(POINT point) const {
    const POINT origin = ClientToScreen({0, 0});
    return {point.x - origin.x, point.y - origin.y};
}

RECT Control::ClientRect() const {
    RECT r{0, 0, Width(), Height()};
    if (Windowed() && static_cast<const WinControl*>(this)->Handle()) GetClientRect(static_cast<const WinControl*>(this)->Handle(), &r);
    return r;
}

void Control::Click() {
    Application::EventScope scope;
    if (OnClick) OnClick(*this);
}

void Control::DblClick() {
    Application::EventScope scope;
    if (OnDblClick) OnDblClick(*this);
}

void Control::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    Application::EventScope scope;
    if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void Control::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
    Application::EventScope scope;
    if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

void Control::MouseMove(ShiftState shift, int x, int y) {
    Application::EventScope scope;
    if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void GraphicControl::Invalidate() {
    if (!Parent() || !Parent()->Handle()) return;
    InvalidateRect(Parent()->Handle(), &bounds_, TRUE);
}

void GraphicControl::BoundsChanged() { Invalidate(); }

bool GraphicControl::HitTest(POINT inParent) const { return PtInRect(&bounds_, inParent) != FALSE; }

}  // namespace winforms
