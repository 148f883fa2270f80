// Line types and the program's own dash patterns.
//
// Line types: 1 solid, 2 dashed, 3 dotted, 4 dash-dot, 5 dash-dot-dot, 6 invisible, 7 no pattern
// of its own (drawn solid), 0 the layer's. A pattern is a list of lengths in pixels, dash and gap
// in turn; it grows with the pen width so that wide dashed lines keep their look, and its state
// runs on from one segment to the next so that the pattern flows around the corners of a polyline.
#ifndef LINEWORK_DISPLAY_LINE_TYPES_H
#define LINEWORK_DISPLAY_LINE_TYPES_H

#include <array>
#include <cstdint>

#include "winforms/graphics.h"

namespace linework {

namespace line_type {
inline constexpr uint8_t kByLayer = 0;
inline constexpr uint8_t kSolid = 1;
inline constexpr uint8_t kInvisible = 6;
inline constexpr uint8_t kNoPattern = 7;
}  // namespace line_type

// 0..6 stay, anything else becomes 1 (solid).
int LineTypeToPenStyle(int lineType);
// The system pen style that stands for a line type when patterns are off: solid, dash, dot,
// dash-dot, dash-dot-dot.
winforms::PenStyle SystemPenStyle(int lineType);

// The pattern of a line type at a pen width, ready to walk: up to eight lengths, even indices
// dashes. Empty for the solid and invisible types and for 7, which has no pattern row.
struct DashPattern {
    std::array<double, 8> lengths{};
    int count = 0;
};

// 'patternScale' is the drawing's pattern-scale setting: below 1 the lengths grow with
// width^(1/sqrt 2) and gaps are at least twice the width; 1 or more they grow with the width.
// Dashes shorter than 3 pixels (dots) never grow. While printing the width is at least
// |patternScale|.
DashPattern BuildDashPattern(int lineType, int width, int patternScale, bool printing);

// Where a pattern stands between segments.
struct DashState {
    DashPattern pattern;
    int index = 0;
    double remainder = 0;  // what is left of the current element from the previous segment
};

// Walks a segment of 'length' pixels through the pattern from its state, calling dash(from, to)
// with the distances along the segment of every dash piece it covers, and leaves the state where
// the segment ends. An empty pattern gives one dash over the whole segment.
template <class Dash>
void WalkDashes(DashState& state, double length, Dash&& dash) {
    const DashPattern& pattern = state.pattern;
    if (length <= 0) return;
    if (pattern.count == 0) {
        dash(0.0, length);
        return;
    }
    auto advance = [&] { state.index = state.index + 1 < pattern.count ? state.index + 1 : 0; };
    auto drawn = [&] { return state.index % 2 == 0; };
    double at = 0;
    if (state.remainder > 0) {
        if (state.remainder > length) {
            if (drawn()) dash(0.0, length);
            state.remainder -= length;
            return;
        }
        if (drawn()) dash(0.0, state.remainder);
        at = state.remainder;
        state.remainder = 0;
        advance();
    }
    while (pattern.lengths[static_cast<size_t>(state.index)] <= length - at) {
        double element = pattern.lengths[static_cast<size_t>(state.index)];
        if (drawn()) dash(at, at + element);
        at += element;
        advance();
    }
    double rest = length - at;
    if (rest > 0 && drawn()) dash(at, length);
    state.remainder = pattern.lengths[static_cast<size_t>(state.index)] - rest;
}

}  // namespace linework

#endif
