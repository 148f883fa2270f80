// The paint box's background: cleared in the background colour, with the backdrop picture over
// it when one is loaded, stretched to the paint box (mode 0) or placed at one of nine places
// (1..9: left, centre, right in the top, middle and bottom row); a negative mode draws no
// picture.
#ifndef LINEWORK_DISPLAY_BACKDROP_H
#define LINEWORK_DISPLAY_BACKDROP_H

#include <optional>

#include "winforms/bitmap.h"
#include "winforms/canvas.h"

namespace linework {

// Where the picture goes in a box of that size; none for a negative mode or one above 9.
std::optional<RECT> BackdropPlace(int mode, SIZE box, SIZE picture);

void PaintBackdrop(winforms::Canvas& canvas, SIZE box, COLORREF background, const winforms::Bitmap* backdrop, int mode);

}  // namespace linework

#endif
