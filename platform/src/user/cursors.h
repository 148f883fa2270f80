// Cursor objects behind HCURSOR: a picture with a hot spot, as an AND mask (1: the screen shows
// through) and an XOR colour laid over what the mask leaves, or, for pictures that carry one, an
// alpha channel the colour is blended with instead. The system cursors are made from the layer's
// own art on first use and shared for the life of the process.
#ifndef WINPLAT_SRC_USER_CURSORS_H
#define WINPLAT_SRC_USER_CURSORS_H

#include <memory>
#include <vector>

#include "base/call_refusal.h"
#include "winplat/handles.h"
#include "winplat/user.h"

namespace winplat::user {

struct CursorObject final : HandleObject {
    int width = 0;
    int height = 0;
    POINT hotSpot{};
    std::vector<uint8_t> andMask;     // row by row, one entry a pixel
    std::vector<COLORREF> xorColour;  // row by row
    std::vector<uint8_t> alpha;       // row by row, 255 opaque; empty when the masks alone draw it
    bool shared = false;              // a system or module resource: never destroyed
    bool icon = false;                // made as an icon: its hot spot is the centre
};

std::shared_ptr<CursorObject> findCursor(HCURSOR cursor);

// Puts a made cursor into the handle table; null when the table is full.
HCURSOR addCursor(std::shared_ptr<CursorObject> cursor);

// The shared handle of a system cursor by its IDC_ number; null for a number without one.
HCURSOR systemCursor(WORD id);

// Removes a cursor or icon made for the caller; shared ones stay. False (with the refusal said)
// for a handle that is none or is shared.
bool destroyCursorObject(HCURSOR cursor, const CallRefuser& refuse);

}  // namespace winplat::user

#endif
