// What a line typed at the command line means while a command waits for input: a point in
// cartesian ("10,20"), polar ("5<90") or relative ("R10,20") form, a distance along the rubber
// band ("5"), three numbers projected through the view ("1,2,3"), a typed value, or the insertion
// point of a named text ("$DOOR").
#ifndef LINEWORK_UI_COORDINATE_ENTRY_H
#define LINEWORK_UI_COORDINATE_ENTRY_H

#include <functional>
#include <optional>
#include <string_view>

#include "drawing/drawing.h"
#include "drawing/geometry.h"
#include "drawing/layer_table.h"
#include "drawing/number_input.h"
#include "drawing/system_variable_image.h"

namespace linework {

// The entry settings of the system variables.
namespace entry_variable {
inline constexpr int32_t kLastPointX = 2;      // doubles 2, 3: the last point
inline constexpr int32_t kInputPointX = 4;     // doubles 4, 5: the input point
inline constexpr int32_t kNegateX = 10;        // bytes
inline constexpr int32_t kNegateY = 11;
inline constexpr int32_t kSwapXY = 12;
inline constexpr int32_t kRelativeToLast = 13;
inline constexpr int32_t kBeepOnPoint = 24;
inline constexpr int32_t kPointMarkers = 27;
inline constexpr int32_t kPointMarkerColour = 287;  // integer
inline constexpr int32_t kPolarSeparator = 303;  // integers
inline constexpr int32_t kRelativePrefix = 304;
inline constexpr int32_t kObjectPrefix = 305;
inline constexpr int32_t kPointStatus = 6;
}  // namespace entry_variable

// "<", "R" and "$" as the entry's separator and prefixes.
void SetCoordinateEntryDefaults(SystemVariableImage& image);

struct EntryContext {
    char polarSeparator = '<';
    char relativePrefix = 'R';
    char objectPrefix = '$';
    bool swapXY = false;
    bool negateX = false;
    bool negateY = false;
    bool relativeToLast = false;
    Point lastPoint;
    // The waiting step's base point (its last point taken).
    Point basePoint;
    // The step takes a typed number as its value.
    bool acceptsValue = false;
    // The rubber band's direction when one is shown.
    std::optional<double> bandDirection;
    NumberGrammar grammar;
    // A 3-D point into the drawing through the view; false when it cannot be shown.
    std::function<bool(double, double, double, Point&)> project;
    // The insertion point of the first visible text of exactly this text.
    std::function<std::optional<Point>(std::string_view)> findText;
};

// The entry context from the system variables (the step's parts are the caller's).
EntryContext EntryContextFrom(const SystemVariableImage& image);

struct EntryResult {
    enum class Kind { Nothing, Point, Value };
    Kind kind = Kind::Nothing;
    Point point;
    double value = 0;
    bool threeD = false;
};

// The meaning of the typed text; Nothing when it means nothing here.
EntryResult InterpretEntry(std::string_view text, const EntryContext& context);

// The first text entity of the drawing list (not erased, on a layer neither hidden nor out of
// range) whose text is exactly 'text'.
std::optional<Point> FindTextInsertion(const Drawing& drawing, const LayerTable& layers, std::string_view text);

}  // namespace linework

#endif
