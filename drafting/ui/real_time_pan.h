// The real-time pan: while the user holds the pan going, each move of the mouse pointer drags the
// view by a fraction of the move (the pan divisor); with Ctrl held, vertical moves zoom instead.
// The view is put on the history once, at the first move.
#ifndef LINEWORK_UI_REAL_TIME_PAN_H
#define LINEWORK_UI_REAL_TIME_PAN_H

#include <array>
#include <cstdint>

#include "drawing/system_variable_image.h"
#include "drawing/view_transform.h"
#include "winplat/draw.h"

namespace linework {

// The divisors of input option bits (integer 365): pan (bits 0..7) + 1, negated by bit 28; zoom
// ((bits 8..15) + 1) x 256, negated by bit 29.
struct PanDivisors {
    double pan = 5;
    double zoom = 1280;
};
PanDivisors PanDivisorsFrom(uint32_t options);

// Input option bits the pan reads.
namespace pan_option {
inline constexpr uint32_t kPointerToCentre = 1u << 2;
inline constexpr uint32_t kWhileShiftHeld = 1u << 27;
}  // namespace pan_option

// The display switches (bytes 30, 31, 32 and 38) a pan turns off so that each regeneration
// while dragging is quick, unless byte 46 keeps them on; they come back when the pan ends.
class PanDisplaySwitches {
public:
    static constexpr std::array<int32_t, 4> kSwitches{30, 31, 32, 38};
    static constexpr int32_t kKeepSwitches = 46;
    void Suspend(SystemVariableImage& image);
    // True when switches were given back (the drawing must be drawn with them again).
    bool Restore(SystemVariableImage& image);

private:
    std::array<uint8_t, kSwitches.size()> saved_{};
    bool suspended_ = false;
};

// What the pan moves and polls.
class PanSurface {
public:
    virtual ~PanSurface() = default;
    virtual ViewTransform CurrentView() const = 0;
    virtual void PushViewHistory() = 0;
    // Makes the view current and regenerates the drawing.
    virtual void ShowView(const ViewTransform& view) = 0;
    virtual void ZoomByFactor(double factor) = 0;
    virtual POINT Pointer() const = 0;
    virtual void MovePointer(POINT at) = 0;
    virtual bool ShiftHeld() const = 0;
    virtual bool CtrlHeld() const = 0;
    // Lets window messages through (the mouse-up ends the pan there); false when the program ends.
    virtual bool PumpMessages() = 0;
    virtual void HideCursor() {}
    virtual void ShowCursor() {}
    virtual void RepaintGrid() {}
};

class RealTimePan {
public:
    explicit RealTimePan(PanSurface& surface) : surface_(surface) {}

    // Runs the pan from the click until it ends; nothing when one runs already.
    void Run(uint32_t options, POINT centre);
    // Starts a pan that the window's own mouse moves drive (Move), until Stop.
    void Begin(uint32_t options);
    // The mouse-up: the pan ends at its next poll.
    void Stop() { running_ = false; }
    bool Running() const { return running_; }
    // Whether the view moved since the pan began.
    bool Moved() const { return moved_; }
    // One move of the pointer by (dx, dy) pixels; true when the view changed.
    bool Move(int dx, int dy, bool ctrl);

private:
    PanSurface& surface_;
    PanDivisors divisors_;
    bool running_ = false;
    bool moved_ = false;
};

}  // namespace linework

#endif
