// Windowed controls: a window of the platform (one of its control classes, or a class of the
// form library for forms and panels) that holds child controls, takes the focus and the keys.
#ifndef WINFORMS_WIN_CONTROL_H
#define WINFORMS_WIN_CONTROL_H

#include <vector>

#include "winforms/control.h"

namespace winforms {

class GraphicControl;

class WINFORMS_API WinControl : public Control {
public:
    ~WinControl() override;
    bool Windowed() const override { return true; }

    HWND Handle() const { return handle_; }
    // The controls this one holds, in child order.
    size_t ControlCount() const { return children_.size(); }
    Control& Controls(size_t index) const { return *children_.at(index); }
    // A child moved to 'index' among its siblings (clamped), the others keeping their order.
    void SetChildIndex(Control& child, int index);
    // Lays out the children with an alignment, in child order, Top and Bottom first.
    void AlignControls();
    // The graphic child on top at a point of the client area, or null.
    GraphicControl* GraphicAt(POINT point) const;

    bool Focused() const;
    // Visible, enabled and on a visible, enabled form.
    bool CanFocus() const;
    void SetFocus();
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
    // The place in its parent's Tab order (0 first): the order the controls were put there,
    // unless changed.
    int TabOrder() const;
    void SetTabOrder(int order);
    const std::vector<WinControl*>& TabList() const { return tabList_; }

    void Invalidate() override;

    KeyEvent OnKeyDown;
    KeyEvent OnKeyUp;
    KeyPressEvent OnKeyPress;
    NotifyEvent OnEnter;
    NotifyEvent OnExit;

    // The keys as the focused window gets them; each runs the form's handler first when the form
    // previews keys. Return whether the key went on (not consumed).
    virtual bool KeyDown(WORD& key, ShiftState shift);
    virtual bool KeyUp(WORD& key, ShiftState shift);
    virtual bool KeyPress(char& key);

    // The window procedure of every control of the library.
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The control of a window of the library, or null.
    static WinControl* FromHandle(HWND window);

protected:
    explicit WinControl(Component* owner) : Control(owner) {}
    // Makes the window: a child of the library's hidden parking window until the control gets a
    // parent. A class of the platform's controls is subclassed, its own procedure kept.
    bool CreateHandle(const char* className, DWORD style, DWORD exStyle = 0);
    // A message of the control's window; the default hands it on.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // A notification (WM_COMMAND) the control's window sent its parent.
    virtual void Notified(WORD /*code*/) {}
    // The parent's background and the graphic children, on a paint of a window of the library.
    virtual void PaintWindow(HDC dc);
    void PaintGraphics(HDC dc, const RECT& update);
    // Where the parent's layout puts children: the client area, less what the control keeps.
    virtual RECT AlignArea() const { return ClientRect(); }
    virtual void Resized() {}

    void BoundsChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void CaptionChanged() override;
    void FontChanged() override;
    void ParentChanged() override;
    // The window's parent when the control has none.
    virtual HWND ParkingParent() const;

    HWND handle_ = nullptr;

private:
    friend class Control;
    friend class Form;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool MouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool KeyMessage(UINT message, WPARAM& wParam);
    void Paint();
    void SyncBoundsFromWindow();
    void AddChild(Control& child);
    void RemoveChild(Control& child);

    WNDPROC original_ = nullptr;  // the platform class's own procedure, for subclassed controls
    std::vector<Control*> children_;
    std::vector<WinControl*> tabList_;
    bool tabStop_ = false;
    bool settingBounds_ = false;
    bool aligning_ = false;
    GraphicControl* mouseTarget_ = nullptr;  // the graphic child that took the button down
    Control* clickTarget_ = nullptr;         // where the left button went down, for its click
};

}  // namespace winforms

#endif
