// The simple drawing side's real-time pan: the pointer, Shift and Ctrl as the platform reports
// them, the view as the drawing side keeps it.
#include "ui/simple_drafting.h"

#include "winforms/application.h"
#include "winplat/user.h"

namespace linework {

void SimpleDrafting::StartRealTimePan() {
    const POINT centre = paintBox_.ClientToScreen({paintBox_.Width() / 2, paintBox_.Height() / 2});
    constexpr int32_t kInputOptions = 365;
    pan_.Run(static_cast<uint32_t>(image_.Integer(kInputOptions)), centre);
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
