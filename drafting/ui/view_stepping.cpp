#include "ui/view_stepping.h"

#include <cmath>

namespace linework {

std::optional<int> StepStoredView(int current, int step, const std::array<double, kStoredViews>& scales) {
    const bool valid = current >= 1 && current <= kStoredViews;
    // Without a current view the walk starts just outside the row and sees all ten.
    int at = valid ? current : (step > 0 ? 0 : kStoredViews + 1);
    for (int walked = 0; walked < kStoredViews; ++walked) {
        at += step > 0 ? 1 : -1;
        if (at > kStoredViews) at = 1;
        if (at < 1) at = kStoredViews;
        if (at == current) return std::nullopt;
        if (scales[static_cast<size_t>(at - 1)] > 0) return at;
    }
    return std::nullopt;
}

double WheelZoomFactor(int delta, bool reversed, bool ctrl) {
    if (delta == 0) return 1;
    const bool in = (delta > 0) != reversed;
    const double factor = in ? 2.0 : 0.5;
    return ctrl ? factor : std::pow(factor, 1.0 / 8.0);
}

}  // namespace linework
