// The view steps of the keyboard and the wheel that need no window: the next stored view in
// either direction, and the wheel's zoom factor.
#ifndef LINEWORK_UI_VIEW_STEPPING_H
#define LINEWORK_UI_VIEW_STEPPING_H

#include <array>
#include <optional>

namespace linework {

inline constexpr int kStoredViews = 10;

// From stored view 'current' (1..10; 0 for none, which walks all ten from the first) one step forward (+1) or
// back (-1), wrapping from 10 to 1 and from 1 to 10, passing over views whose scale is not
// positive: the view found, or nothing when the walk comes back to where it started.
std::optional<int> StepStoredView(int current, int step, const std::array<double, kStoredViews>& scales);

// The wheel's zoom factor: 2 for a positive delta, 0.5 for a negative one (the other way round
// when reversed); without Ctrl its eighth root, a finer step. 1 for no movement.
double WheelZoomFactor(int delta, bool reversed, bool ctrl);

}  // namespace linework

#endif
