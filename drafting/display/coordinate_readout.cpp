#include "display/coordinate_readout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "drawing/angles.h"

namespace linework {

namespace {

std::string Fixed(double value, int width, int decimals) {
    char text[400];
    std::snprintf(text, sizeof text, "%*.*f", width, decimals, value);
    return text;
}

void AppendPrefix(std::string& text, int prefix) {
    if (prefix >= 32 && prefix <= 255) text += static_cast<char>(prefix);
}

std::string Polar(const ReadoutSettings& s, Point vector, int prefix) {
    std::string text;
    AppendPrefix(text, prefix);
    text += FormatLength(std::hypot(vector.x, vector.y), s);
    text += s.polarSeparator;
    text += FormatReadoutNumber(s.angleFormat, RadiansToUserAngle(s.angleUnit, DirectionAngle(vector.x, vector.y)));
    if (s.unitNames) {
        text += AngleUnitName(s.angleUnit);
    } else {
        text += ',';
        text += AngleUnitName(s.angleUnit);
    }
    return text;
}

std::string Cartesian(const ReadoutSettings& s, Point vector, int prefix) {
    double x = s.flipX ? -vector.x : vector.x;
    double y = s.flipY ? -vector.y : vector.y;
    if (s.swap) std::swap(x, y);
    std::string text;
    AppendPrefix(text, prefix);
    text += FormatLength(x, s);
    text += ',';
    text += FormatLength(y, s);
    text += ',';
    text += AngleUnitName(s.angleUnit);
    return text;
}

}  // namespace

const char* AngleUnitName(int angleUnit) {
    switch (angleUnit) {
        case 0: return "st";
        case 1: return "gr";
        default: return "rad";
    }
}

std::string FormatReadoutNumber(int formatWord, double value) {
    if (formatWord < 0) {
        char text[64];
        std::snprintf(text, sizeof text, "%.15g", value);
        return text;
    }
    return Fixed(value, (formatWord >> 8) & 0xFF, formatWord & 0xFF);
}

std::string FormatLength(double value, const ReadoutSettings& s) {
    const int decimals = std::clamp(s.lengthDecimals, 0, 15);
    if (s.subUnits == 0 || !std::isfinite(value)) return Fixed(value, 0, decimals);
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole) * s.subUnits;
    // The sign stands before the whole part, also when that part is 0.
    std::string text = (value < 0 ? "-" : "") + Fixed(std::fabs(whole), 0, 0);
    if (s.unitNames) {
        text += s.majorUnit;
        text += Fixed(fraction, 0, decimals);
        text += s.minorUnit;
    } else {
        text += ':';
        text += Fixed(fraction, 0, decimals);
    }
    return text;
}

std::string FormatReadout(const ReadoutState& state, const ReadoutSettings& s) {
    if (state.selecting && s.selectionReadout) return state.selectionText;
    if (state.scaleDrag && !state.rubberBandShown && s.selectionReadout) return FormatReadoutNumber(-1, state.scaleFactor);
    if (!s.display) return {};
    const bool polar = s.alwaysPolar || (state.rubberBandShown && s.polarWhileDragging);
    if (state.rubberBandShown && polar) {
        return Polar(s, {state.cursor.x - state.reference.x, state.cursor.y - state.reference.y}, s.polarPrefix);
    }
    Point vector = state.cursor;
    int prefix = s.absolutePrefix;
    if (s.relative) {
        vector = {state.cursor.x - state.userOrigin.x, state.cursor.y - state.userOrigin.y};
        prefix = s.relativePrefix;
    }
    if (polar) return Polar(s, vector, prefix);
    return Cartesian(s, vector, prefix);
}

}  // namespace linework
