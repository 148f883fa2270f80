// A form: a top-level window holding controls, with a border style, a place on the screen, a main
// menu, key preview and a modal show that returns its modal result.
#ifndef WINFORMS_FORM_H
#define WINFORMS_FORM_H

#include <functional>
#include <memory>

#include "winforms/win_control.h"

namespace winforms {

class Canvas;
class MainMenu;

enum class BorderStyle : uint8_t { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
enum class FormStyle : uint8_t { Normal, StayOnTop };
enum class Position : uint8_t { Designed, ScreenCenter };
enum class WindowState : uint8_t { Normal, Minimized, Maximized };
enum class CloseAction : uint8_t { None, Hide, Free, Minimize };

using CloseQueryEvent = std::function<void(Component& sender, bool& canClose)>;
using CloseEvent = std::function<void(Component& sender, CloseAction& action)>;

class WINFORMS_API Form : public WinControl {
public:
    // A form made hidden, 320 x 240 at (0, 0). Forms of a program are made by the application
    // (Application::CreateForm), which owns them.
    explicit Form(Component* owner);
    ~Form() override;

    BorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(BorderStyle style);
    FormStyle GetFormStyle() const { return formStyle_; }
    void SetFormStyle(FormStyle style);
    Position GetPosition() const { return position_; }
    void SetPosition(Position position) { position_ = position; }
    WindowState GetWindowState() const;
    void SetWindowState(WindowState state);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool preview) { keyPreview_ = preview; }
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int width);
    void SetClientHeight(int height);

    MainMenu* Menu() const { return menu_; }
    void SetMenu(MainMenu* menu);

    // The canvas over the form's client area: the paint's DC during OnPaint, a DC of the window
    // otherwise.
    Canvas& GetCanvas();

    // Shows the form (centred first when its position says so) and makes it active.
    void ShowForm();
    // Shows the form modally: the other forms are disabled until the modal result is set (by a
    // button with a modal result, Close, or the close box), which is returned. A test answers the
    // loop (kind Form, by the form's name) through the harness.
    int ShowModal();
    bool Modal() const { return modalLevel_ > 0; }
    int GetModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Asks OnCloseQuery, then closes as OnClose says: hidden by default, the application ends when
    // the main form closes; a modal form ends its loop with mrCancel unless a result is set.
    void Close();
    bool Active() const;

    // The control that has, or last had, the focus on the form.
    WinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(WinControl* control);
    // Moves the focus to the next (or previous) control in Tab order that can take it; false
    // when none can.
    bool SelectNext(WinControl* from, bool forward);

    NotifyEvent OnCreate;
    NotifyEvent OnShow;
    NotifyEvent OnHide;
    NotifyEvent OnPaint;
    NotifyEvent OnResize;
    NotifyEvent OnActivate;
    NotifyEvent OnDeactivate;
    NotifyEvent OnMove;
    CloseQueryEvent OnCloseQuery;
    CloseEvent OnClose;
    MouseWheelEvent OnMouseWheel;

    bool KeyDown(WORD& key, ShiftState shift) override;
    bool KeyUp(WORD& key, ShiftState shift) override;
    bool KeyPress(char& key) override;
    // The wheel over the form or any of its controls.
    void MouseWheel(ShiftState shift, int delta, POINT at);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintWindow(HDC dc) override;
    void VisibleChanged() override;
    void Resized() override;
    HWND ParkingParent() const override { return nullptr; }

private:
    friend class WinControl;
    void ApplyStyles();
    void CentreOnScreen();
    bool CloseQuery();
    void Activated(bool active);
    void CommandFromMenu(WORD id);
    void Painting(HDC dc);

    BorderStyle borderStyle_ = BorderStyle::Sizeable;
    FormStyle formStyle_ = FormStyle::Normal;
    Position position_ = Position::Designed;
    bool keyPreview_ = false;
    int modalResult_ = mrNone;
    int modalLevel_ = 0;
    MainMenu* menu_ = nullptr;
    WinControl* activeControl_ = nullptr;
    WindowState shownState_ = WindowState::Normal;  // applied when a hidden form shows
    std::unique_ptr<Canvas> canvas_;
    HDC windowDc_ = nullptr;  // the DC the canvas holds outside a paint
};

}  // namespace winforms

#endif
