#include "ui/real_time_pan.h"

namespace linework {

PanDivisors PanDivisorsFrom(uint32_t options) {
    PanDivisors d;
    d.pan = static_cast<double>(options & 0xFF) + 1;
    if ((options & (1u << 28)) != 0) d.pan = -d.pan;
    d.zoom = (static_cast<double>((options >> 8) & 0xFF) + 1) * 256;
    if ((options & (1u << 29)) != 0) d.zoom = -d.zoom;
    return d;
}

void PanDisplaySwitches::Suspend(SystemVariableImage& image) {
    if (suspended_ || image.Byte(kKeepSwitches) != 0) return;
    for (size_t k = 0; k < kSwitches.size(); ++k) {
        saved_[k] = image.Byte(kSwitches[k]);
        image.SetByte(kSwitches[k], 0);
    }
    suspended_ = true;
}

bool PanDisplaySwitches::Restore(SystemVariableImage& image) {
    if (!suspended_) return false;
    for (size_t k = 0; k < kSwitches.size(); ++k) image.SetByte(kSwitches[k], saved_[k]);
    suspended_ = false;
    return true;
}

bool RealTimePan::Move(int dx, int dy, bool ctrl) {
    if (dx == 0 && dy == 0) return false;
    if (!moved_) {
        surface_.PushViewHistory();
        moved_ = true;
    }
    if (ctrl) {
        if (dy == 0) return false;
        surface_.ZoomByFactor(1 - dy / divisors_.zoom);
        return true;
    }
    ViewTransform view = surface_.CurrentView();
    view.originX += dx * view.scale / divisors_.pan;
    view.originY -= dy * view.scale / divisors_.pan;
    surface_.ShowView(view);
    return true;
}

void RealTimePan::Begin(uint32_t options) {
    running_ = true;
    moved_ = false;
    divisors_ = PanDivisorsFrom(options);
}

void RealTimePan::Run(uint32_t options, POINT centre) {
    if (running_) return;
    Begin(options);
    const bool whileShift = (options & pan_option::kWhileShiftHeld) != 0;
    surface_.HideCursor();
    if ((options & pan_option::kPointerToCentre) != 0) surface_.MovePointer(centre);
    POINT last = surface_.Pointer();
    while (running_ && (!whileShift || surface_.ShiftHeld())) {
        if (!surface_.PumpMessages()) break;
        POINT now = surface_.Pointer();
        const bool ctrl = surface_.CtrlHeld();
        Move(now.x - last.x, now.y - last.y, ctrl);
        if (ctrl) {
            // The pointer goes back to the centre so that zooming never runs out of screen.
            surface_.MovePointer(centre);
            now = centre;
        }
        last = now;
    }
    running_ = false;
    surface_.RepaintGrid();
    surface_.ShowCursor();
}

}  // namespace linework
