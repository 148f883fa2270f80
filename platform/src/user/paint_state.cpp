#include "user/paint_state.h"

namespace winplat::user {
namespace {
size_t waiting = 0;
}  // namespace

PaintState& paintState(WindowObject& window) {
    if (!window.paint) window.paint = std::make_shared<PaintState>();
    return *window.paint;
}

void notePaintChange(PaintState& state) {
    const bool now = needsPaint(state);
    if (now == state.counted) return;
    state.counted = now;
    if (now) {
        ++waiting;
    } else {
        --waiting;
    }
}

size_t windowsWaitingForPaint() { return waiting; }

}  // namespace winplat::user
