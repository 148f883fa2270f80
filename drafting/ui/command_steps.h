// The arithmetic of the view steps, apart from the stack so that it can be checked on its own.
#ifndef LINEWORK_UI_COMMAND_STEPS_H
#define LINEWORK_UI_COMMAND_STEPS_H

#include <optional>

#include "drawing/geometry.h"
#include "drawing/view_transform.h"

namespace linework {

// Sides shorter than this count as none.
inline constexpr double kSmallestWindowSide = 1e-19;

// The view that shows the window with corners a and b in a paint box of 'box' pixels: the
// window's lower-left corner at the view's lower-left, the scale fitting the window's taller or
// wider side. Nothing when both sides are below the smallest side or the paint box is empty.
std::optional<ViewTransform> ZoomWindowView(const ViewTransform& view, Point a, Point b, PixelSize box);

// The view moved so that what lay under 'from' lies under 'to'.
ViewTransform PannedView(const ViewTransform& view, Point from, Point to);

}  // namespace linework

#endif
