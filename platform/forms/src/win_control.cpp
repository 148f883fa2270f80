#include "winforms/win_control.h"

#include <algorithm>

#include "window_classes.h"
#include "winforms/application.h"
#include "winforms/canvas.h"
#include "winforms/form.h"
#include "winforms/std_controls.h"
#include "winplat/base.h"
#include "winplat/controls.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"

namespace winforms {

namespace {

constexpr winplat::Refuser refuse("winforms: WinControl");

bool ownClass(const char* className) {
    return lstrcmpiA(className, kFormClass) == 0 || lstrcmpiA(className, kContainerClass) == 0;
}

}  // namespace

WinControl::~WinControl() {
    LeaveParent();
    for (Control* child : children_) child->parent_ = nullptr;  // their windows go with ours
    children_.clear();
    tabList_.clear();
    if (handle_ && IsWindow(handle_)) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        if (original_) SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        DestroyWindow(handle_);
    }
    handle_ = nullptr;
}

WinControl* WinControl::FromHandle(HWND window) {
    if (!window || GetWindowLongPtrA(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&WinControl::Procedure)) {
        return nullptr;
    }
    return reinterpret_cast<WinControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

HWND WinControl::ParkingParent() const {
    return Application::Exists() ? Application::Current().UtilityWindow() : nullptr;
}

bool WinControl::CreateHandle(const char* className, DWORD style, DWORD exStyle) {
    const bool child = ParkingParent() != nullptr || Parent();
    HWND parent = Parent() ? Parent()->Handle() : ParkingParent();
    if (child) style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (child && Visible()) style |= WS_VISIBLE;
    if (!Enabled()) style |= WS_DISABLED;
    handle_ = CreateWindowExA(exStyle, className, caption_.c_str(), style, bounds_.left, bounds_.top, Width(), Height(),
                              parent, nullptr, nullptr, nullptr);
    if (!handle_) return refuse(false, "the platform refused the control's window");
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (!ownClass(className)) {
        original_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WinControl::Procedure)));
        SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont().Handle()), FALSE);
    }
    return true;
}

LRESULT CALLBACK WinControl::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WinControl* self = reinterpret_cast<WinControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || self->handle_ != window) return DefWindowProcA(window, message, wParam, lParam);
    Application::EventScope scope;  // the control lives until this message returns
    return self->Dispatch(message, wParam, lParam);
}

LRESULT WinControl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    if (original_) return CallWindowProcA(original_, handle_, message, wParam, lParam);
    return DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT WinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT WinControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            if (original_) break;
            Paint();
            return 0;
        case WM_ERASEBKGND:
            if (original_) break;
            return 1;  // the paint fills the background
        case WM_COMMAND:
            if (lParam) {
                if (WinControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
                    child->Notified(HIWORD(wParam));
                    return 0;
                }
            }
            break;
        case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN: case WM_CTLCOLORSTATIC:
            if (auto* child = dynamic_cast<ColouredControl*>(FromHandle(reinterpret_cast<HWND>(lParam)))) {
                return reinterpret_cast<LRESULT>(child->ColourFor(reinterpret_cast<HDC>(wParam)));
            }
            break;
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
        case WM_MOUSEMOVE:
            if (MouseMessage(message, wParam, lParam) && !original_) return 0;
            break;
        case WM_MOUSEWHEEL:
            if (Form* form = ParentForm()) {
                form->MouseWheel(ShiftState::ofMouse(LOWORD(wParam)), static_cast<short>(HIWORD(wParam)),
                                 {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
                return 0;
            }
            break;
        case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: case WM_CHAR:
            if (KeyMessage(message, wParam)) return 0;
            return WndProc(message, wParam, lParam);
        case WM_SETFOCUS:
            if (Form* form = ParentForm(); form && form != this) form->activeControl_ = this;
            if (OnEnter) OnEnter(*this);
            break;
        case WM_KILLFOCUS:
            if (OnExit) OnExit(*this);
            break;
        case WM_SIZE:
        case WM_MOVE: {
            if (!settingBounds_) SyncBoundsFromWindow();
            const LRESULT result = WndProc(message, wParam, lParam);
            if (message == WM_SIZE) {
                AlignControls();
                Resized();
            }
            return result;
        }
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == handle_ && LOWORD(lParam) == HTCLIENT) {
                Cursor cursor = Screen::GetCursor();
                if (cursor == Cursor::Default) {
                    POINT at{};
                    GetCursorPos(&at);
                    ::ScreenToClient(handle_, &at);
                    const GraphicControl* graphic = original_ ? nullptr : GraphicAt(at);
                    cursor = graphic ? graphic->GetCursor() : GetCursor();
                }
                if (cursor != Cursor::Default) {
                    ::SetCursor(cursorHandle(cursor));
                    return TRUE;
                }
            }
            break;
        default:
            break;
    }
    return WndProc(message, wParam, lParam);
}

bool WinControl::MouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ShiftState shift = ShiftState::ofMouse(wParam);
    Control* target = this;
    if (mouseTarget_) {
        target = mouseTarget_;
    } else if (!original_) {
        if (GraphicControl* graphic = GraphicAt(at); graphic && graphic->Enabled()) target = graphic;
    }
    const POINT local{at.x - (target == this ? 0 : target->Left()), at.y - (target == this ? 0 : target->Top())};
    MouseButton button = MouseButton::Left;
    bool down = false;
    bool up = false;
    bool dbl = false;
    switch (message) {
        case WM_LBUTTONDOWN: down = true; break;
        case WM_LBUTTONDBLCLK: down = dbl = true; break;
        case WM_LBUTTONUP: up = true; break;
        case WM_RBUTTONDOWN: button = MouseButton::Right; down = true; break;
        case WM_RBUTTONDBLCLK: button = MouseButton::Right; down = dbl = true; break;
        case WM_RBUTTONUP: button = MouseButton::Right; up = true; break;
        case WM_MBUTTONDOWN: button = MouseButton::Middle; down = true; break;
        case WM_MBUTTONDBLCLK: button = MouseButton::Middle; down = dbl = true; break;
        case WM_MBUTTONUP: button = MouseButton::Middle; up = true; break;
        default: break;
    }
    if (!target->Enabled()) return true;
    if (down) {
        if (target != this) mouseTarget_ = static_cast<GraphicControl*>(target);
        if (button == MouseButton::Left) clickTarget_ = dbl ? nullptr : target;
        if (!original_) ::SetCapture(handle_);
        if (dbl) {
            shift |= Shift::Double;
            if (button == MouseButton::Left) target->DblClick();
        }
        target->MouseDown(button, shift, local.x, local.y);
        return true;
    }
    if (up) {
        target->MouseUp(button, shift, local.x, local.y);
        const bool buttonsLeft = (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
        if (!buttonsLeft) {
            mouseTarget_ = nullptr;
            if (!original_ && ::GetCapture() == handle_) ReleaseCapture();
        }
        // A left click of a control drawn by the library: up inside the control it went down on
        // (not the second press of a double click).
        if (button == MouseButton::Left && !original_) {
            const bool clicked = clickTarget_ == target;
            clickTarget_ = nullptr;
            const RECT inside = target->ClientRect();
            if (clicked && PtInRect(&inside, local) && !target->Freeing()) target->Click();
        }
        return true;
    }
    target->MouseMove(shift, local.x, local.y);
    if (Application::Exists() && Application::Current().ShowHint()) {
        Application::Current().SetHint(target->ShowHint() ? target->Hint() : std::string());
    }
    return true;
}

bool WinControl::KeyMessage(UINT message, WPARAM& wParam) {
    if (message == WM_CHAR) {
        char key = static_cast<char>(wParam);
        // Tab moves the focus (on the key's way down); its character has no place in a control.
        if (key == '\t' && !(GetWindowLongA(handle_, GWL_STYLE) & ES_MULTILINE)) return true;
        if (!KeyPress(key) || key == 0) return true;
        wParam = static_cast<unsigned char>(key);
        return false;
    }
    WORD key = static_cast<WORD>(wParam);
    const ShiftState shift = ShiftState::ofKeyboard();
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const bool goesOn = down ? KeyDown(key, shift) : KeyUp(key, shift);
    if (!goesOn || key == 0) return true;
    if (down && key == VK_TAB && !shift.has(Shift::Ctrl) && !shift.has(Shift::Alt)) {
        if (Form* form = ParentForm(); form && form->SelectNext(this, !shift.has(Shift::Shift))) return true;
    }
    wParam = key;
    return false;
}

bool WinControl::KeyDown(WORD& key, ShiftState shift) {
    Form* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyDown(key, shift);
        if (key == 0) return false;
    }
    Application::EventScope scope;
    if (OnKeyDown) OnKeyDown(*this, key, shift);
    return key != 0;
}

bool WinControl::KeyUp(WORD& key, ShiftState shift) {
    Form* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyUp(key, shift);
        if (key == 0) return false;
    }
    Application::EventScope scope;
    if (OnKeyUp) OnKeyUp(*this, key, shift);
    return key != 0;
}

bool WinControl::KeyPress(char& key) {
    Form* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyPress(key);
        if (key == 0) return false;
    }
    Application::EventScope scope;
    if (OnKeyPress) OnKeyPress(*this, key);
    return key != 0;
}

void WinControl::Paint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(handle_, &paint);
    if (!dc) return;
    PaintWindow(dc);
    PaintGraphics(dc, paint.rcPaint);
    EndPaint(handle_, &paint);
}

void WinControl::PaintWindow(HDC dc) {
    const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(Color()));
    const RECT client = ClientRect();
    ::FillRect(dc, &client, brush.get());
}

void WinControl::PaintGraphics(HDC dc, const RECT& update) {
    for (Control* child : children_) {
        if (child->Windowed() || !child->Visible()) continue;
        RECT overlap{};
        const RECT bounds = child->BoundsRect();
        if (!IntersectRect(&overlap, &bounds, &update)) continue;
        const winplat::SavedDc saved(dc);
        IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        POINT viewport{};
        GetViewportOrgEx(dc, &viewport);
        SetViewportOrgEx(dc, viewport.x + bounds.left, viewport.y + bounds.top, nullptr);
        Canvas canvas(dc);
        canvas.SetFont(child->GetFont());
        static_cast<GraphicControl*>(child)->Paint(canvas);
    }
}

GraphicControl* WinControl::GraphicAt(POINT point) const {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        Control* child = *it;
        if (child->Windowed() || !child->Visible()) continue;
        auto* graphic = static_cast<GraphicControl*>(child);
        if (graphic->HitTest(point)) return graphic;
    }
    return nullptr;
}

void WinControl::AddChild(Control& child) {
    children_.push_back(&child);
    if (child.Windowed()) tabList_.push_back(static_cast<WinControl*>(&child));
}

void WinControl::RemoveChild(Control& child) {
    children_.erase(std::remove(children_.begin(), children_.end(), &child), children_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), &child), tabList_.end());
    if (mouseTarget_ == &child) mouseTarget_ = nullptr;
    if (clickTarget_ == &child) clickTarget_ = nullptr;
    if (Form* form = ParentForm(); form && form->activeControl_ == &child) form->activeControl_ = nullptr;
    if (!child.Windowed() && handle_) InvalidateRect(handle_, &child.bounds_, TRUE);
}

void WinControl::SetChildIndex(Control& child, int index) {
    auto found = std::find(children_.begin(), children_.end(), &child);
    if (found == children_.end()) return;
    children_.erase(found);
    index = std::clamp(index, 0, static_cast<int>(children_.size()));
    children_.insert(children_.begin() + index, &child);
    if (!child.Windowed()) child.Invalidate();
}

void WinControl::AlignControls() {
    if (aligning_ || !handle_) return;
    aligning_ = true;
    RECT area = AlignArea();
    for (Align kind : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
        for (Control* child : children_) {
            if (child->GetAlign() != kind || !child->Visible()) continue;
            const int w = area.right - area.left;
            const int h = area.bottom - area.top;
            switch (kind) {
                case Align::Top:
                    child->SetBounds(area.left, area.top, w, child->Height());
                    area.top += child->Height();
                    break;
                case Align::Bottom:
                    child->SetBounds(area.left, area.bottom - child->Height(), w, child->Height());
                    area.bottom -= child->Height();
                    break;
                case Align::Left:
                    child->SetBounds(area.left, area.top, child->Width(), h);
                    area.left += child->Width();
                    break;
                case Align::Right:
                    child->SetBounds(area.right - child->Width(), area.top, child->Width(), h);
                    area.right -= child->Width();
                    break;
                case Align::Client:
                    child->SetBounds(area.left, area.top, w, h);
                    break;
                case Align::None:
                    break;
            }
        }
    }
    aligning_ = false;
}

bool WinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool WinControl::CanFocus() const {
    for (const Control* c = this; c; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled()) return false;
    }
    const Form* form = ParentForm();
    return form && form->Visible();
}

void WinControl::SetFocus() {
    if (!handle_) return;
    if (!CanFocus()) {
        refuse.log("the control cannot take the focus: it or a parent is hidden or disabled");
        return;
    }
    ::SetFocus(handle_);
}

int WinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->tabList_;
    const auto found = std::find(list.begin(), list.end(), this);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

void WinControl::SetTabOrder(int order) {
    if (!Parent()) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

void WinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void WinControl::SyncBoundsFromWindow() {
    RECT r{};
    GetWindowRect(handle_, &r);
    HWND parent = GetParent(handle_);
    if (parent && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD)) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    bounds_ = r;
}

void WinControl::BoundsChanged() {
    if (!handle_) return;
    settingBounds_ = true;
    MoveWindow(handle_, bounds_.left, bounds_.top, Width(), Height(), TRUE);
    settingBounds_ = false;
}

void WinControl::VisibleChanged() {
    if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void WinControl::EnabledChanged() {
    if (handle_) EnableWindow(handle_, Enabled());
    Invalidate();
}

void WinControl::CaptionChanged() {
    if (handle_) SetWindowTextA(handle_, caption_.c_str());
    if (!original_) Invalidate();
}

void WinControl::FontChanged() {
    if (handle_ && original_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont().Handle()), TRUE);
    Invalidate();
}

void WinControl::ParentChanged() {
    if (!handle_) return;
    ::SetParent(handle_, Parent() ? Parent()->Handle() : ParkingParent());
    settingBounds_ = true;
    MoveWindow(handle_, bounds_.left, bounds_.top, Width(), Height(), TRUE);
    settingBounds_ = false;
}

}  // namespace winforms
