#include "ui/form_layout.h"

#include <algorithm>
#include <cmath>

namespace linework {

namespace {
constexpr int kMinimumDrawing = 128;
constexpr int kDesignWidth = 640;
}  // namespace

ClientSize MinimumClientSize(const PanelExtents& panels) {
    return {panels.left + panels.right + kMinimumDrawing,
            panels.top + panels.commandLine + kMinimumDrawing + panels.statusBar + 3};
}

std::array<int, 3> StatusPanelWidths(int formWidth, bool maximised, double screenFactor) {
    const int w = formWidth - kDesignWidth;
    const int g = static_cast<int>(std::nearbyint(static_cast<double>(w) * 400.0 / 575.0));
    const int second = static_cast<int>(std::nearbyint(42.0 * screenFactor));
    return {400 + g, second, 175 + (w - g) + (maximised ? 15 : 0)};
}

ButtonGrid FitButtons(int count, int width, int height) {
    constexpr int kLargest = 24;
    constexpr int kSmallest = 12;
    for (int pitch = kLargest; pitch > kSmallest; --pitch) {
        const int columns = width / pitch;
        if (columns == 0) continue;
        const int rows = (count + columns - 1) / columns;
        if (rows * pitch <= height) return {pitch, columns};
    }
    return {kSmallest, std::max(1, width / kSmallest)};
}

}  // namespace linework
