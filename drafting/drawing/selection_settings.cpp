#include "drawing/selection_settings.h"

#include <algorithm>

namespace linework {

void SelectionSettings::ToggleFilter(int n) {
    if (n < 0 || n >= kFilterCount) return;
    auto& f = filters;
    f[static_cast<size_t>(n)] ^= 1;
    if (n == SameLayer || n == SameColour) f[SameLayerAndColour] = f[SameLayer] && f[SameColour] ? 1 : 0;
    if (n == SameLayerAndColour) f[SameLayer] = f[SameColour] = f[SameLayerAndColour];
}

bool SelectionSettings::AnyFilter() const {
    return std::any_of(filters.begin(), filters.end(), [](uint16_t on) { return on != 0; });
}

uint16_t SelectionMethodForDrag(Point start, Point cursor, bool crossingByDefault) {
    if (cursor.y <= start.y) return selection_method::kFence;
    if (cursor.x > start.x || crossingByDefault) return selection_method::kCrossing;
    return selection_method::kWindow;
}

}  // namespace linework
