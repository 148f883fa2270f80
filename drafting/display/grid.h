// The grid: a dot at every grid point in the visible window, drawn only when its pitch on the
// screen is at least 10 pixels both ways (a finer grid would cover the drawing).
#ifndef LINEWORK_DISPLAY_GRID_H
#define LINEWORK_DISPLAY_GRID_H

#include "drawing/view_transform.h"
#include "winforms/canvas.h"

namespace linework {

inline constexpr double kGridMinimumPixels = 10;

struct GridSettings {
    bool shown = false;
    bool relative = false;  // aligned to the view's edges instead of the origin
    double spacingX = 10, spacingY = 10;
    COLORREF colour = RGB(0, 0, 0);
};

// Whether a grid of these spacings shows at the scale (a spacing that is not a positive finite
// number never shows).
bool GridVisible(const GridSettings& grid, double scale);

// Dots in 'colour' when the grid is on or the colour is the background (erasing); the number of
// dots set.
int DrawGrid(winforms::Canvas& canvas, const ViewState& view, const GridSettings& grid, COLORREF colour,
             COLORREF background);

}  // namespace linework

#endif
