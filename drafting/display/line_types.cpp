#include "display/line_types.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "drawing/view_transform.h"

namespace linework {
namespace {

// Lengths in pixels for line types 2..9, dash and gap in turn, ended by 0. Types 6 and 8 begin
// with 0, so their rows are empty too.
constexpr uint8_t kPatternRows[8][8] = {
    {10, 8},                   // 2 dashed
    {2, 4},                    // 3 dotted
    {10, 4, 2, 4},             // 4 dash-dot
    {10, 4, 2, 4, 2, 4},       // 5 dash-dot-dot
    {0, 255, 0, 127},          // 6
    {},                        // 7
    {0, 255, 0, 127},          // 8
    {},                        // 9
};

constexpr double kWidthExponent = 0.707106781173095;

double ScaledLength(uint8_t length, bool gap, double width, int patternScale) {
    if (width < 2 || (!gap && length < 3)) return length;
    if (patternScale >= 1) return length * width;
    double scaled = RoundToPixel(length * std::pow(width, kWidthExponent));
    return gap ? std::max(scaled, 2 * width) : scaled;
}

}  // namespace

int LineTypeToPenStyle(int lineType) { return lineType >= 0 && lineType <= 6 ? lineType : 1; }

winforms::PenStyle SystemPenStyle(int lineType) {
    int style = LineTypeToPenStyle(lineType) - 1;
    return style >= 1 && style <= 4 ? static_cast<winforms::PenStyle>(style) : winforms::PenStyle::Solid;
}

DashPattern BuildDashPattern(int lineType, int width, int patternScale, bool printing) {
    DashPattern pattern;
    if (lineType < 2 || lineType > 9) return pattern;
    double w = printing ? std::max<double>(std::abs(patternScale), width) : width;
    const uint8_t* row = kPatternRows[lineType - 2];
    for (int i = 0; i < 8 && row[i] != 0; ++i) {
        pattern.lengths[static_cast<size_t>(i)] = ScaledLength(row[i], i % 2 == 1, w, patternScale);
        pattern.count = i + 1;
    }
    return pattern;
}

}  // namespace linework
