// The inverting overlay: transient figures (cross-hair, pick box, aperture box, rubber bands,
// snap markers, previews) drawn with a NOT-XOR pen, so that drawing a figure again removes it
// and the picture under it comes back byte for byte without a regeneration.
#ifndef LINEWORK_DISPLAY_OVERLAY_H
#define LINEWORK_DISPLAY_OVERLAY_H

#include "winforms/canvas.h"

namespace linework {

// Pen of the colour in NOT-XOR mode, one pixel wide and solid, and a hollow brush.
void BeginOverlay(winforms::Canvas& canvas, COLORREF colour);
// Back to the copying solid pen and the solid brush.
void RestoreNormalPen(winforms::Canvas& canvas);

// Which transient figures are on the screen now; a background paint clears them all.
struct ShownMarks {
    bool cursor = false;
    bool pickBox = false;
    bool aperture = false;
    bool rubberBand = false;
    bool markers = false;
};

// The figures, in the canvas's current pen. A cross-hair spans the whole paint box through the
// point; a box is the square of 'half' pixels round the point; a marker is a small diamond.
void DrawCrossHair(winforms::Canvas& canvas, POINT at, int width, int height);
void DrawSquareAround(winforms::Canvas& canvas, POINT at, int half);
void DrawMarkerFigure(winforms::Canvas& canvas, POINT at);
// A line from a to b, or the rectangle with these corners.
void DrawBandLine(winforms::Canvas& canvas, POINT a, POINT b);
void DrawBandRectangle(winforms::Canvas& canvas, POINT a, POINT b);

}  // namespace linework

#endif
