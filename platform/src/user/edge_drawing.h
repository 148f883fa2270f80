// The pieces of the classic 3-D look the frame, its buttons and the scroll bars are drawn from:
// 1-pixel edges in the system colours, 3-D buttons and the glyphs on them.
#ifndef WINPLAT_SRC_USER_EDGE_DRAWING_H
#define WINPLAT_SRC_USER_EDGE_DRAWING_H

#include "winplat/user.h"

namespace winplat::user {

// A rectangle filled with a system colour.
void fillWithColour(HDC dc, const RECT& rect, int colourIndex);

// DrawEdge's work, flags already checked: draws the edges, fills the middle with BF_MIDDLE and
// shrinks 'rect' by what was drawn when BF_ADJUST.
void drawEdges(HDC dc, RECT& rect, UINT edge, UINT flags);

// The glyphs DrawFrameControl draws on its buttons.
enum class Glyph { Close, Minimise, Maximise, Restore, Up, Down, Left, Right };

// A raised 3-D button (sunken while pushed) with the glyph centred on it (one pixel further down
// and right while pushed), greyed out when inactive.
void drawButton(HDC dc, const RECT& rect, Glyph glyph, bool pushed, bool inactive);

}  // namespace winplat::user

#endif
