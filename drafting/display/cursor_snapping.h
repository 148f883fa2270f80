// Where the cursor's world point is pulled while it tracks the mouse: onto the grid, onto the
// horizontal or vertical through the reference point (ortho), or onto the nearest direction of
// an angle step from the reference point. A spacing or step of 0 (or one that is not a positive
// finite number) means the mode is off: the point stays as it is.
#ifndef LINEWORK_DISPLAY_CURSOR_SNAPPING_H
#define LINEWORK_DISPLAY_CURSOR_SNAPPING_H

#include "drawing/geometry.h"

namespace linework {

// The multiple of 'spacing' from 'origin' nearest to 'value' (halves away from the origin).
double SnapToGridAxis(double value, double spacing, double origin);

enum class GridSnap {
    Snapped,  // the point lies on the grid
    Off,      // a spacing is not usable: nothing happened
    TooFine,  // the grid's pitch on the screen is below the minimum: grid snapping must go off
};

struct GridSnapRequest {
    double spacingX = 0, spacingY = 0;
    Point origin;             // the grid's origin: (0, 0), or the view's edges for a relative grid
    double scale = 1;         // world units per pixel
    double minimumPitch = 5;  // pixels
};

GridSnap SnapToGrid(Point& point, const GridSnapRequest& request);

// The cursor on the horizontal or vertical through 'reference', whichever is nearer (the
// coordinate with the smaller difference is replaced; a tie keeps the horizontal).
Point OrthoSnap(Point cursor, Point reference);

// The direction from 'reference' to 'cursor' turned to the nearest multiple of 'step' from
// 'origin' (radians), keeping the distance; a difference of exactly half a step stays on the
// multiple nearer the origin.
Point AngleSnap(Point cursor, Point reference, double origin, double step);

}  // namespace linework

#endif
