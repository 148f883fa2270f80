// Controls: components with a place on a parent. A windowed control (WinControl) is a window of
// the platform and may hold other controls; a graphic control (GraphicControl) has no window: its
// parent paints it and hands it the mouse over its bounds.
#ifndef WINFORMS_CONTROL_H
#define WINFORMS_CONTROL_H

#include <string>
#include <vector>

#include "winforms/component.h"
#include "winforms/graphics.h"
#include "winforms/types.h"
#include "winplat/user.h"

namespace winforms {

class Canvas;
class Form;
class WinControl;

class WINFORMS_API Control : public Component {
public:
    explicit Control(Component* owner);
    ~Control() override;

    // The parent lays the control out and shows it; the control joins the end of its children.
    WinControl* Parent() const { return parent_; }
    void SetParent(WinControl* parent);
    // The place among the parent's children (0 first); -1 without a parent.
    int ChildIndex() const;
    // The form the control lies on (itself for a form), or null.
    Form* ParentForm() const;
    virtual bool Windowed() const = 0;

    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
    // In the parent's client coordinates (a form's: on the screen).
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return bounds_; }
    Align GetAlign() const { return align_; }
    void SetAlign(Align align);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so is every parent.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const std::string& Caption() const;
    void SetCaption(const std::string& caption);
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show) { showHint_ = show; }
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    Font& GetFont() { return font_; }
    const Font& GetFont() const { return font_; }
    void SetFont(const Font& font);
    Cursor GetCursor() const { return cursor_; }
    void SetCursor(Cursor cursor) { cursor_ = cursor; }

    // Redraws the control's part of the screen when the program next looks at its messages.
    virtual void Invalidate();
    // Redraws it now.
    void Repaint();
    // A point of the control's client area on the screen, and back.
    POINT ClientToScreen(POINT point) const;
    POINT ScreenToClient(POINT point) const;
    RECT ClientRect() const;

    // What a click does: runs OnClick (buttons add their own part).
    virtual void Click();

    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    MouseEvent OnMouseDown;
    MouseEvent OnMouseUp;
    MouseMoveEvent OnMouseMove;

    // The mouse as the window under it delivers it, in the control's client coordinates.
    virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y);
    virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y);
    virtual void MouseMove(ShiftState shift, int x, int y);
    virtual void DblClick();

protected:
    // The properties' effects on the window or on the parent's painting.
    virtual void BoundsChanged() {}
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    virtual void CaptionChanged() {}
    virtual void ColorChanged() { Invalidate(); }
    virtual void FontChanged() { Invalidate(); }
    virtual void ParentChanged() {}

    RECT bounds_{0, 0, 0, 0};
    std::string caption_;

private:
    friend class WinControl;
    WinControl* parent_ = nullptr;
    Align align_ = Align::None;
    bool visible_ = true;
    bool enabled_ = true;
    bool showHint_ = false;
    std::string hint_;
    COLORREF color_;
    Font font_;
    Cursor cursor_ = Cursor::Default;
};

// A control drawn by its parent into the parent's DC, moved to the control's corner and clipped
// to its bounds.
class WINFORMS_API GraphicControl : public Control {
public:
    explicit GraphicControl(Component* owner) : Control(owner) {}
    bool Windowed() const override { return false; }
    void Invalidate() override;
    // Draws the control; (0, 0) is its top-left corner.
    virtual void Paint(Canvas& canvas) = 0;
    // Whether a point of the parent's client area hits the control (visible and enabled or not).
    bool HitTest(POINT inParent) const;

protected:
    void BoundsChanged() override;
    void VisibleChanged() override { Invalidate(); }
    void CaptionChanged() override { Invalidate(); }
    void EnabledChanged() override { Invalidate(); }
    void ParentChanged() override { Invalidate(); }
};

}  // namespace winforms

#endif
