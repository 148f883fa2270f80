#include "display/tracking_settings.h"

#include <algorithm>

namespace linework {

using namespace tracking_var;

void WriteTrackingDefaults(SystemVariableImage& image) {
    const OverlaySettings overlay;
    const ReadoutSettings readout;
    const GridSettings grid;
    image.SetByte(kFlipX, readout.flipX);
    image.SetByte(kFlipY, readout.flipY);
    image.SetByte(kSwap, readout.swap);
    image.SetByte(kUnitNames, readout.unitNames);
    image.SetByte(kRelative, readout.relative);
    image.SetByte(kDisplay, readout.display);
    image.SetByte(kPolarDragging, readout.polarWhileDragging);
    image.SetByte(kAlwaysPolar, readout.alwaysPolar);
    image.SetByte(kSelectionReadout, readout.selectionReadout);
    image.SetByte(kGridRelative, grid.relative);
    image.SetByte(kGridShown, grid.shown);
    image.SetInteger(kOverlayColour, static_cast<int32_t>(overlay.overlayColour));
    image.SetInteger(kMarkerColour, static_cast<int32_t>(overlay.markerColour));
    image.SetInteger(kCursorColour, static_cast<int32_t>(overlay.cursorColour));
    image.SetInteger(kGridColour, static_cast<int32_t>(RGB(255, 255, 255)));
    image.SetInteger(kPickBoxHalf, overlay.pickBoxHalf);
    image.SetInteger(kApertureHalf, overlay.apertureHalf);
    image.SetInteger(kSnapApertureHalf, overlay.snapApertureHalf);
    image.SetInteger(kPolarPrefix, readout.polarPrefix);
    image.SetInteger(kRelativePrefix, readout.relativePrefix);
    image.SetInteger(kAbsolutePrefix, readout.absolutePrefix);
    image.SetInteger(kLengthDecimals, readout.lengthDecimals);
    image.SetInteger(kSubUnits, readout.subUnits);
    image.SetInteger(kAngleFormat, readout.angleFormat);
    image.SetDouble(kDrawingScale, 1.0);
    image.SetDouble(kGridSpacingX, grid.spacingX);
    image.SetDouble(kGridSpacingY, grid.spacingY);
    image.SetDouble(kMinimumGridPitch, overlay.minimumGridPitch);
}

void ReadTrackingSettings(const SystemVariableImage& image, int32_t angleUnit, CursorTracker& tracker) {
    auto on = [&](int32_t k) { return image.Byte(k) != 0; };
    auto colour = [&](int32_t k) { return static_cast<COLORREF>(image.Integer(k)) & 0xFFFFFF; };
    ReadoutSettings& r = tracker.readout;
    r.flipX = on(kFlipX);
    r.flipY = on(kFlipY);
    r.swap = on(kSwap);
    r.unitNames = on(kUnitNames);
    r.relative = on(kRelative);
    r.display = on(kDisplay);
    r.polarWhileDragging = on(kPolarDragging);
    r.alwaysPolar = on(kAlwaysPolar);
    r.selectionReadout = on(kSelectionReadout);
    r.polarPrefix = image.Integer(kPolarPrefix);
    r.relativePrefix = image.Integer(kRelativePrefix);
    r.absolutePrefix = image.Integer(kAbsolutePrefix);
    r.lengthDecimals = std::clamp(image.Integer(kLengthDecimals), 0, 15);
    r.subUnits = image.Integer(kSubUnits);
    r.angleFormat = image.Integer(kAngleFormat);
    r.angleUnit = angleUnit;
    OverlaySettings& o = tracker.overlay;
    o.overlayColour = colour(kOverlayColour);
    o.markerColour = colour(kMarkerColour);
    o.cursorColour = colour(kCursorColour);
    o.pickBoxHalf = std::clamp(image.Integer(kPickBoxHalf), 0, 255);
    o.apertureHalf = std::clamp(image.Integer(kApertureHalf), 0, 255);
    o.snapApertureHalf = std::clamp(image.Integer(kSnapApertureHalf), 0, 255);
    o.minimumGridPitch = image.Double(kMinimumGridPitch);
    GridSettings& g = tracker.grid;
    g.shown = on(kGridShown);
    g.relative = on(kGridRelative);
    g.spacingX = image.Double(kGridSpacingX);
    g.spacingY = image.Double(kGridSpacingY);
    g.colour = colour(kGridColour);
    DrawingModes& m = tracker.modes;
    m.ortho = on(kOrtho);
    m.angleSnap = on(kAngleSnap);
    m.gridSnap = on(kGridSnap);
    m.angleOrigin = image.Double(kAngleOrigin);
    m.angleStep = image.Double(kAngleStep);
    tracker.userOrigin = {image.Double(kUserOriginX), image.Double(kUserOriginY)};
}

}  // namespace linework
