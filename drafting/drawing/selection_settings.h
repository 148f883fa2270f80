// The settings a selection pass works with, as scripts and the selection buttons set them: the
// method code, the add mode, the six filters and what they test, the pick-box size and the
// switches, the selection box and the Z range, and the count the newest-n method stops at. The
// pass itself (SelectEntities) belongs to the selection engine behind SelectionEdits.
#ifndef LINEWORK_DRAWING_SELECTION_SETTINGS_H
#define LINEWORK_DRAWING_SELECTION_SETTINGS_H

#include <array>
#include <cstdint>

#include "drawing/geometry.h"

namespace linework {

namespace selection_method {
// The method codes, one character each, as scripts and the selection buttons give them.
inline constexpr uint16_t kWindow = 36;      // "$"
inline constexpr uint16_t kPick = 37;        // "%"
inline constexpr uint16_t kCrossing = 38;    // "&"
inline constexpr uint16_t kFence = 39;       // "'"
inline constexpr uint16_t kZRange = 40;      // "("
inline constexpr uint16_t kKind = 41;        // ")"
inline constexpr uint16_t kLayer = 42;       // "*"
inline constexpr uint16_t kColour = 43;      // "+"
inline constexpr uint16_t kLayerColour = 44; // ","
inline constexpr uint16_t kPrevious = 45;    // "-"
inline constexpr uint16_t kLast = 46;        // "."
inline constexpr uint16_t kNewest = 49;      // "1"
}  // namespace selection_method

// The window method a drag from 'start' to 'cursor' selects with when a pick found nothing: a
// cursor at or below the start point draws a fence; above it, a crossing window when the cursor
// is right of the start point or crossing is the default, else a window.
uint16_t SelectionMethodForDrag(Point start, Point cursor, bool crossingByDefault);

struct SelectionSettings {
    static constexpr int kFilterCount = 6;
    enum Filter : int { ZRange, Kind, SameLayer, SameColour, SameLayerAndColour, Previous };

    uint16_t method = 0;
    uint16_t addMode = 1;  // 1 selecting adds, 0 selecting removes
    std::array<uint16_t, kFilterCount> filters{};
    uint16_t kind = 0;     // kind nibble 1..15 of the kind filter
    uint16_t subKind = 0;  // 0 any
    uint16_t pickBox = 3;  // half-size of the pick box in pixels
    uint16_t replacePick = 0;
    uint16_t allLayers = 0;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // the selection box (the fence's two ends as given)
    float lowerLevel = 0, upperLevel = 0;
    uint16_t countLimit = 0;  // what the newest-n method selects

    // Flips filter n (0..5): after flipping "same layer" or "same colour" the combined filter
    // follows both; flipping the combined one sets both to its value. Other n change nothing.
    void ToggleFilter(int n);
    void EnableAllFilters() { filters.fill(1); }
    bool AnyFilter() const;
};

}  // namespace linework

#endif
