// The simple drawing side's real-time pan: the pointer, Shift and Ctrl as the platform reports
// them, the view as the drawing side keeps it.
#include "ui/simple_drafting.h"

#include "winforms/application.h"
#include "winplat/user.h"

namespace linework {

// The window's mouse moves drive the pan (TrackMouse) until the button or Shift lets it go, so
// the program never waits in a loop of its own while the user drags.
void SimpleDrafting::StartRealTimePan() {
    constexpr int32_t kInputOptions = 365;
    if (pan_.Running()) return;
    pan_.Begin(static_cast<uint32_t>(image_.Integer(kInputOptions)));
    panSwitches_.Suspend(image_);
    panFrom_ = tracker_.Pixel();
}

// The switches come back and the drawing is drawn with them once more when the view moved.
void SimpleDrafting::StopRealTimePan() {
    if (!pan_.Running()) return;
    pan_.Stop();
    const bool restored = panSwitches_.Restore(image_);
    if (restored && pan_.Moved()) RegenerateDrawing();
}

void SimpleDrafting::ShowView(const ViewTransform& view) {
    if (!view_.SetViewTransform(view)) return;
    UpdateViewTransform();
    RegenerateDrawing();
}

POINT SimpleDrafting::Pointer() const {
    POINT at{};
    GetCursorPos(&at);
    return at;
}

void SimpleDrafting::MovePointer(POINT at) { SetCursorPos(at.x, at.y); }
bool SimpleDrafting::ShiftHeld() const { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }
bool SimpleDrafting::CtrlHeld() const { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }

bool SimpleDrafting::PumpMessages() {
    if (!winforms::Application::Exists()) return false;
    winforms::Application& app = winforms::Application::Current();
    app.ProcessMessages();
    return !app.Terminated();
}

}  // namespace linework
