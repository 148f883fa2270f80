// The filled and curved shapes of metafiles in device coordinates, drawn with the DC's selected pen
// and brush: interiors through regions (FillRgn with the selected brush), outlines as runs of
// LineTo with the selected pen. The platform's GDI has rectangles and lines but none of these
// shapes as calls of their own; its regions scan polygons, ellipses and rounded rectangles the
// way its shape fills would.
//
// Curves are outlined as polygons of points on the curve, a point every two pixels or so of arc.
// Arcs run counterclockwise on the device from the radial through the start point to the radial
// through the end point; equal radials make the whole ellipse.
#ifndef VEXMILL_SHAPE_DRAWING_H
#define VEXMILL_SHAPE_DRAWING_H

#include <span>

#include "winplat/draw.h"

namespace vexmill {

// fillMode: ALTERNATE or WINDING. 'closed' draws the outline back to the first point.
void drawPolygon(HDC dc, std::span<const POINT> points, int fillMode);
void drawPolyline(HDC dc, std::span<const POINT> points);
// Polygons one after another in 'points', counts[i] points each; filled together (the fill mode
// decides what overlaps are inside), each outlined closed.
void drawPolyPolygon(HDC dc, std::span<const POINT> points, std::span<const int> counts, int fillMode);
void drawEllipse(HDC dc, const RECT& box);
void drawRoundRect(HDC dc, const RECT& box, int cornerWidth, int cornerHeight);

enum class ArcKind { Arc, Pie, Chord };
void drawArc(HDC dc, ArcKind kind, const RECT& box, POINT start, POINT end);

}  // namespace vexmill

#endif
