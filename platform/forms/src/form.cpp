#include "winforms/form.h"

#include <algorithm>

#include "window_classes.h"
#include "winforms/application.h"
#include "winforms/canvas.h"
#include "winforms/menus.h"
#include "winplat/host.h"
#include "winplat/refusal.h"

namespace winforms {

namespace {

constexpr winplat::Refuser refuse("winforms: Form");

DWORD styleOf(BorderStyle border) {
    switch (border) {
        case BorderStyle::None: return WS_POPUP;
        case BorderStyle::Single: return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        case BorderStyle::Sizeable: return WS_OVERLAPPEDWINDOW;
        case BorderStyle::Dialog: return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
        case BorderStyle::ToolWindow: return WS_POPUP | WS_CAPTION | WS_SYSMENU;
        case BorderStyle::SizeToolWin: return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    }
    return WS_OVERLAPPEDWINDOW;
}

DWORD exStyleOf(BorderStyle border, FormStyle style) {
    DWORD ex = style == FormStyle::StayOnTop ? WS_EX_TOPMOST : 0;
    if (border == BorderStyle::Dialog) ex |= WS_EX_DLGMODALFRAME;
    if (border == BorderStyle::ToolWindow || border == BorderStyle::SizeToolWin) ex |= WS_EX_TOOLWINDOW;
    return ex;
}

}  // namespace

Form::Form(Component* owner) : WinControl(owner) {
    SetVisible(false);
    bounds_ = {0, 0, 320, 240};
    CreateHandle(kFormClass, styleOf(borderStyle_) | WS_CLIPCHILDREN, exStyleOf(borderStyle_, formStyle_));
}

Form::~Form() {
    if (menu_) {
        menu_->form_ = nullptr;
        if (handle_) ::SetMenu(handle_, nullptr);
    }
    canvas_.reset();
    windowDc_.reset();
}

void Form::ApplyStyles() {
    if (!handle_) return;
    const DWORD keep = GetWindowLongA(handle_, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    SetWindowLongA(handle_, GWL_STYLE, static_cast<LONG>(styleOf(borderStyle_) | WS_CLIPCHILDREN | keep));
    SetWindowLongA(handle_, GWL_EXSTYLE, static_cast<LONG>(exStyleOf(borderStyle_, formStyle_)));
    SetWindowPos(handle_, formStyle_ == FormStyle::StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Form::SetBorderStyle(BorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    ApplyStyles();
}

void Form::SetFormStyle(FormStyle style) {
    if (style == formStyle_) return;
    formStyle_ = style;
    ApplyStyles();
}

WindowState Form::GetWindowState() const {
    if (!Visible()) return shownState_;
    if (IsIconic(handle_)) return WindowState::Minimized;
    if (IsZoomed(handle_)) return WindowState::Maximized;
    return WindowState::Normal;
}

void Form::SetWindowState(WindowState state) {
    shownState_ = state;
    if (!Visible()) return;
    ShowWindow(handle_, state == WindowState::Minimized ? SW_MINIMIZE
                        : state == WindowState::Maximized ? SW_MAXIMIZE : SW_RESTORE);
}

int Form::ClientWidth() const { return ClientRect().right; }
int Form::ClientHeight() const { return ClientRect().bottom; }

void Form::SetClientWidth(int width) { SetWidth(Width() - ClientWidth() + width); }
void Form::SetClientHeight(int height) { SetHeight(Height() - ClientHeight() + height); }

void Form::SetMenu(MainMenu* menu) {
    if (menu == menu_) return;
    if (menu_) menu_->ShowOn(nullptr);
    menu_ = menu;
    if (menu_) {
        if (menu_->form_ && menu_->form_ != this) menu_->form_->SetMenu(nullptr);
        menu_->ShowOn(this);
    } else if (handle_) {
        ::SetMenu(handle_, nullptr);
    }
}

Canvas& Form::GetCanvas() {
    if (!canvas_) canvas_ = std::make_unique<Canvas>();
    if (!canvas_->HandleAllocated()) {
        if (!windowDc_) windowDc_.emplace(handle_);
        canvas_->SetHandle(windowDc_->get());
    }
    return *canvas_;
}

void Form::CentreOnScreen() {
    SetBounds((Screen::Width() - Width()) / 2, (Screen::Height() - Height()) / 2, Width(), Height());
}

void Form::ShowForm() {
    SetVisible(true);
    if (handle_) {
        SetActiveWindow(handle_);
        UpdateWindow(handle_);
    }
}

void Form::VisibleChanged() {
    if (!handle_) return;
    Application::EventScope scope;
    if (Visible()) {
        if (position_ == Position::ScreenCenter) CentreOnScreen();
        if (menu_) menu_->ShowOn(this);  // made afresh with what changed while hidden
        const int show = shownState_ == WindowState::Minimized   ? SW_SHOWMINIMIZED
                         : shownState_ == WindowState::Maximized ? SW_SHOWMAXIMIZED : SW_SHOW;
        ShowWindow(handle_, show);
        if (OnShow) OnShow(*this);
    } else {
        shownState_ = GetWindowState();
        ShowWindow(handle_, SW_HIDE);
        if (OnHide) OnHide(*this);
    }
}

int Form::ShowModal() {
    if (Visible()) return refuse(int{mrNone}, "a form already shown cannot be shown modally");
    Application& app = Application::Current();
    Application::EventScope scope;  // the form outlives its loop, whatever its handlers free
    std::vector<HWND> disabled;
    for (size_t i = 0; i < app.FormCount(); ++i) {
        Form& other = app.Forms(i);
        if (&other != this && other.Visible() && IsWindowEnabled(other.Handle())) {
            EnableWindow(other.Handle(), FALSE);
            disabled.push_back(other.Handle());
        }
    }
    HWND previous = GetActiveWindow();
    modalResult_ = mrNone;
    ++modalLevel_;
    ++app.modalLevel_;
    ShowForm();
    const winplat::host::ModalLoop loop{winplat::host::ModalKind::Form, Name(), handle_, mrCancel};
    while (modalResult_ == mrNone) {
        MSG message{};
        while (modalResult_ == mrNone && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));  // for the loop outside
                modalResult_ = mrCancel;
                break;
            }
            app.Dispatch(message);
        }
        if (modalResult_ != mrNone) break;
        if (Freeing() || !Visible()) {
            modalResult_ = mrCancel;
            break;
        }
        const winplat::host::ModalAnswer answer = winplat::host::modalIdle(loop);
        if (answer.end) {
            modalResult_ = answer.result == mrNone ? int{mrCancel} : static_cast<int>(answer.result);
            break;
        }
        if (!winplat::host::answerer()) WaitMessage();
    }
    --modalLevel_;
    --app.modalLevel_;
    for (HWND window : disabled) EnableWindow(window, TRUE);
    SetVisible(false);
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
    return modalResult_;
}

bool Form::CloseQuery() {
    bool canClose = true;
    Application::EventScope scope;
    if (OnCloseQuery) OnCloseQuery(*this, canClose);
    return canClose;
}

void Form::Close() {
    if (!CloseQuery()) return;
    Application::EventScope scope;
    const bool main = Application::Current().MainForm() == this;
    CloseAction action = Modal() ? CloseAction::Hide : main ? CloseAction::Free : CloseAction::Hide;
    if (OnClose) OnClose(*this, action);
    if (action == CloseAction::None) return;
    if (Modal()) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    if (main) {
        SetVisible(false);
        Application::Current().Terminate();
        return;
    }
    switch (action) {
        case CloseAction::Hide: SetVisible(false); break;
        case CloseAction::Minimize: SetWindowState(WindowState::Minimized); break;
        case CloseAction::Free: Free(); break;
        case CloseAction::None: break;
    }
}

bool Form::Active() const { return handle_ && GetActiveWindow() == handle_; }

void Form::SetActiveControl(WinControl* control) {
    activeControl_ = control;
    if (control && Active() && control->CanFocus()) ::SetFocus(control->Handle());
}

namespace {

// The controls of a container that take part in Tab, in Tab order, those inside containers after
// their container.
void tabStops(const WinControl& container, std::vector<WinControl*>& out) {
    for (WinControl* control : container.TabList()) {
        if (!control->Visible() || !control->Enabled()) continue;
        if (control->TabStop()) out.push_back(control);
        tabStops(*control, out);
    }
}

}  // namespace

bool Form::SelectNext(WinControl* from, bool forward) {
    std::vector<WinControl*> stops;
    tabStops(*this, stops);
    if (stops.empty()) return false;
    const auto found = std::find(stops.begin(), stops.end(), from);
    const int count = static_cast<int>(stops.size());
    int index = found == stops.end() ? (forward ? -1 : count) : static_cast<int>(found - stops.begin());
    index = ((forward ? index + 1 : index - 1) % count + count) % count;
    WinControl* next = stops[static_cast<size_t>(index)];
    activeControl_ = next;
    if (next->Handle()) ::SetFocus(next->Handle());
    return true;
}

bool Form::KeyDown(WORD& key, ShiftState shift) {
    Application::EventScope scope;
    if (OnKeyDown) OnKeyDown(*this, key, shift);
    return key != 0;
}

bool Form::KeyUp(WORD& key, ShiftState shift) {
    Application::EventScope scope;
    if (OnKeyUp) OnKeyUp(*this, key, shift);
    return key != 0;
}

bool Form::KeyPress(char& key) {
    Application::EventScope scope;
    if (OnKeyPress) OnKeyPress(*this, key);
    return key != 0;
}

void Form::MouseWheel(ShiftState shift, int delta, POINT at) {
    Application::EventScope scope;
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(*this, shift, delta, at, handled);
}

void Form::Resized() {
    Application::EventScope scope;
    if (OnResize) OnResize(*this);
}

void Form::PaintWindow(HDC dc) {
    WinControl::PaintWindow(dc);
    Painting(dc);
}

void Form::Painting(HDC dc) {
    if (!OnPaint) return;
    if (!canvas_) canvas_ = std::make_unique<Canvas>();
    canvas_->SetHandle(dc);
    canvas_->SetFont(GetFont());
    OnPaint(*this);
    canvas_->SetHandle(windowDc_ ? windowDc_->get() : nullptr);
}

void Form::CommandFromMenu(WORD id) {
    if (MenuItem* item = Application::Current().FindMenuItem(id)) item->Click();
}

LRESULT Form::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            Close();
            return 0;
        case WM_COMMAND:
            if (lParam == 0) {
                CommandFromMenu(LOWORD(wParam));
                return 0;
            }
            break;
        case WM_ACTIVATE: {
            const LRESULT result = Default(message, wParam, lParam);
            Activated(LOWORD(wParam) != WA_INACTIVE);
            return result;
        }
        case WM_MOVE: {
            const LRESULT result = Default(message, wParam, lParam);
            if (OnMove) OnMove(*this);
            return result;
        }
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

void Form::Activated(bool active) {
    if (active) {
        if (activeControl_ && activeControl_->CanFocus()) ::SetFocus(activeControl_->Handle());
        if (OnActivate) OnActivate(*this);
    } else if (OnDeactivate) {
        OnDeactivate(*this);
    }
}

}  // namespace winforms
