#include "display/grid.h"

#include <cmath>

namespace linework {

namespace {

// The first grid coordinate at or after 'edge', and how many follow up to 'last'.
struct Axis {
    double first = 0;
    long count = 0;
};

Axis AxisFrom(double edge, double last, double spacing, bool relative) {
    Axis axis;
    axis.first = relative ? edge : std::ceil(edge / spacing) * spacing;
    // Counted rather than stepped: far from the origin adding a small spacing may not move the
    // coordinate at all.
    axis.count = last >= axis.first ? static_cast<long>(std::floor((last - axis.first) / spacing)) + 1 : 0;
    return axis;
}

}  // namespace

bool GridVisible(const GridSettings& grid, double scale) {
    const auto usable = [](double v) { return v > 0 && std::isfinite(v); };
    if (!usable(grid.spacingX) || !usable(grid.spacingY) || !usable(scale)) return false;
    return grid.spacingX >= kGridMinimumPixels * scale && grid.spacingY >= kGridMinimumPixels * scale;
}

int DrawGrid(winforms::Canvas& canvas, const ViewState& view, const GridSettings& grid, COLORREF colour,
             COLORREF background) {
    if (!grid.shown && colour != background) return 0;
    const ViewTransform& v = view.GetViewTransform();
    if (!GridVisible(grid, v.scale)) return 0;
    const Axis xs = AxisFrom(v.originX, view.WorldRight(), grid.spacingX, grid.relative);
    const Axis ys = AxisFrom(v.originY, view.WorldTop(), grid.spacingY, grid.relative);
    int dots = 0;
    for (long i = 0; i < xs.count; ++i) {
        const int32_t column = view.WorldToScreenX(xs.first + static_cast<double>(i) * grid.spacingX);
        for (long j = 0; j < ys.count; ++j) {
            canvas.SetPixel(column, view.WorldToScreenY(ys.first + static_cast<double>(j) * grid.spacingY), colour);
            ++dots;
        }
    }
    return dots;
}

}  // namespace linework
