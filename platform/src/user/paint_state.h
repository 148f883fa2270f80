// What painting keeps per window: the update region and its flags, and the visible regions
// worked out for window DCs while the tree stays the same.
#ifndef WINPLAT_SRC_USER_PAINT_STATE_H
#define WINPLAT_SRC_USER_PAINT_STATE_H

#include <cstdint>
#include <memory>
#include <vector>

#include "gdi/region.h"
#include "user/window.h"

namespace winplat::user {

struct PaintState {
    gdi::Region update;          // client coordinates, always inside the client area
    bool erase = false;          // WM_ERASEBKGND is due with the next BeginPaint
    bool internalPaint = false;  // RDW_INTERNALPAINT: one WM_PAINT even with nothing invalid
    bool counted = false;        // counted among the windows waiting for WM_PAINT
    bool painting = false;       // between BeginPaint and EndPaint
    bool frame = false;          // WM_NCPAINT is due: the non-client frame was uncovered or changed

    struct Visible {
        UINT flags;
        uint64_t generation;
        std::shared_ptr<const gdi::Region> region;
    };
    std::vector<Visible> visible;  // a few DCX_ combinations at most
};

PaintState& paintState(WindowObject& window);

// Whether the window waits for WM_PAINT (an update region, a frame to draw or an internal paint
// request).
inline bool needsPaint(const PaintState& state) {
    return !state.update.empty() || state.internalPaint || state.frame;
}

// Keeps the count of windows waiting for WM_PAINT right after the state changed; the paint
// source looks through the tree only while it is not zero.
void notePaintChange(PaintState& state);
size_t windowsWaitingForPaint();

}  // namespace winplat::user

#endif
