// Where the cursor tracking, the grid and the readout keep their settings among the numbered
// system variables (scripts set them there and drawing files carry them), and the defaults a
// new session starts with.
//
//   bytes     9 unit names, 10 flip x, 11 flip y, 12 swap x and y, 13 relative (the coordinate
//             entry's own switches, so what is typed and what is shown agree), 14 coordinate display, 15 polar while dragging, 16 always polar,
//             17 selection readout, 64 grid relative to the view, 65 grid shown, 66 ortho,
//             67 angle snap, 68 grid snap
//   integers  288 overlay colour, 289 marker colour, 290 cursor colour, 291 grid colour,
//             292 pick-box half-size, 293 aperture half-size, 294 snap-aperture half-size,
//             296..298 polar, relative and absolute prefix characters, 374 length decimals,
//             631 sub-units of a unit, 632 angle format word
//   doubles   2, 3 user origin, 566 angle origin, 580 drawing scale, 581, 582 grid spacing,
//             583 minimum grid pitch for snapping (pixels), 584 angle step
#ifndef LINEWORK_DISPLAY_TRACKING_SETTINGS_H
#define LINEWORK_DISPLAY_TRACKING_SETTINGS_H

#include "display/cursor_tracker.h"
#include "drawing/system_variable_image.h"

namespace linework {

namespace tracking_var {
inline constexpr int32_t kUnitNames = 9, kFlipX = 10, kFlipY = 11, kSwap = 12, kRelative = 13, kDisplay = 14,
                         kPolarDragging = 15, kAlwaysPolar = 16, kSelectionReadout = 17, kGridRelative = 64,
                         kGridShown = 65, kOrtho = 66, kAngleSnap = 67, kGridSnap = 68;
inline constexpr int32_t kOverlayColour = 288, kMarkerColour = 289, kCursorColour = 290, kGridColour = 291,
                         kPickBoxHalf = 292, kApertureHalf = 293, kSnapApertureHalf = 294, kPolarPrefix = 296,
                         kRelativePrefix = 297, kAbsolutePrefix = 298, kLengthDecimals = 374, kSubUnits = 631,
                         kAngleFormat = 632;
inline constexpr int32_t kUserOriginX = 2, kUserOriginY = 3, kAngleOrigin = 566, kDrawingScale = 580,
                         kGridSpacingX = 581, kGridSpacingY = 582, kMinimumGridPitch = 583, kAngleStep = 584;
}  // namespace tracking_var

// Writes the defaults of every setting named above.
void WriteTrackingDefaults(SystemVariableImage& image);
// Takes the settings into the tracker; the angle unit comes from the angle mode.
void ReadTrackingSettings(const SystemVariableImage& image, int32_t angleUnit, CursorTracker& tracker);

}  // namespace linework

#endif
