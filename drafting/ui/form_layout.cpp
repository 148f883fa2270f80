#include "ui/form_layout.h"

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

}  // namespace linework
