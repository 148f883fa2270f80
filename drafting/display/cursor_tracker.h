// Cursor tracking: every mouse move over the paint box becomes a world point, which is pulled
// onto the grid, to the nearest snap marker, and onto the ortho or angle-step direction from the
// reference point; the cross-hair, the pick and aperture boxes, the rubber band of the waiting
// command step, the drag preview and the coordinate readout follow it. Everything it draws goes
// through the inverting overlay, so it is removed by drawing it again.
#ifndef LINEWORK_DISPLAY_CURSOR_TRACKER_H
#define LINEWORK_DISPLAY_CURSOR_TRACKER_H

#include <functional>
#include <string>
#include <string_view>

#include "display/coordinate_readout.h"
#include "display/cursor_snapping.h"
#include "display/drag_preview.h"
#include "display/grid.h"
#include "display/object_snap.h"
#include "display/overlay.h"
#include "display/snap_markers.h"
#include "drawing/drawing.h"
#include "drawing/geometry.h"
#include "drawing/layer_table.h"
#include "drawing/view_transform.h"
#include "winforms/canvas.h"

namespace linework {

// Colours and sizes of the overlay. The colours are NOT-XOR pen colours: a pixel of colour b
// becomes ~(b ^ c), so black inverts.
struct OverlaySettings {
    COLORREF overlayColour = 0x0000FF;  // rubber bands, pick box, previews: cyan over black
    COLORREF markerColour = 0xFF0000;   // snap markers, aperture box: yellow over black
    COLORREF cursorColour = 0x000000;   // the cross-hair: the inverse of what lies under it
    int pickBoxHalf = 3;
    int apertureHalf = 5;
    int snapApertureHalf = 5;
    double minimumGridPitch = 5;  // pixels: a finer grid turns grid snapping off
};

// The three drawing modes with the angle step.
struct DrawingModes {
    bool ortho = false;
    bool angleSnap = false;
    bool gridSnap = false;
    double angleOrigin = 0;  // radians
    double angleStep = 0;    // radians; 0 means angle snap is off
};

// What the command on top of the command-state stack asks of the tracking, and what the
// tracking gives back to it (the rubber-band end and the drag vectors).
struct TrackedStep {
    bool waitingForSecondPoint = false;  // a step waits for its second point, or has its button-41 mark
    bool rectangle = false;              // the rubber band is a rectangle (when the points differ in x and y)
    bool dotted = false;                 // a crossing or fence window
    bool pickSelection = false;          // an object selection with the pick method waits
    bool viewCommand = false;            // a zoom-window, pan or centre step waits
    bool scaleDrag = false;
    std::string selectionText;           // the readout during an object selection
    bool selecting = false;
    Point reference;                     // for ortho, angle snap and the rubber band
    Point first;
    // Written by the tracking.
    Point rubberBandEnd;
    Point fromFirst, fromReference;
};

// What the tracking needs of the form around it.
class TrackingHost {
public:
    virtual ~TrackingHost() = default;
    // Message-table text n shown to the user.
    virtual void ShowMessage(int /*number*/) {}
    // The grid was too fine for grid snapping: its switch goes off and its button up.
    virtual void GridSnapSwitchedOff() {}
    // The paint box's hint: the snapped marker's label, or none.
    virtual void ShowMarkerHint(int /*label*/, bool /*show*/) {}
    virtual void SetReadout(std::string_view /*text*/) {}
    // A sketch's segment from the previous cursor point to the new one.
    virtual void AddSketchSegment(Point /*from*/, Point /*to*/) {}
    // Whether the mouse moved on or Ctrl is held: a preview gives up.
    virtual bool PreviewInterrupted() { return false; }
    // Lets pending window messages through at the end of a move.
    virtual void PumpPending() {}
    // The cursor of a waiting two-point step moved (before its rubber band is drawn): the step
    // follows it and may change what the band looks like (TrackedStep).
    virtual void CursorMoved(Point /*world*/, TrackedStep& /*step*/) {}
};

// The frame of the drawing limits, drawn with a dotted pen while the limits display is on.
struct DrawingLimits {
    bool shown = false;
    Point a, b;
    COLORREF colour = 0x00FFFF;
};

// Object-snap mode 12 gathers the snap points under the pick box as temporary markers; this is
// their label (no hint text).
inline constexpr int32_t kObjectPointLabel = 0;

class CursorTracker {
public:
    CursorTracker(const ViewState& view, TrackingHost& host);

    // The canvas of the paint box and its size; null draws nothing.
    void SetCanvas(winforms::Canvas* canvas, SIZE box);

    OverlaySettings overlay;
    DrawingModes modes;
    GridSettings grid;
    ReadoutSettings readout;
    Point userOrigin;
    TrackedStep step;
    bool sketching = false;
    bool markerSnapSuspended = false;
    DragPreview* preview = nullptr;  // the drag preview of the running edit, when there is one
    const Drawing* drawing = nullptr;
    // The layers the object snaps look at; none: object snapping finds nothing.
    const LayerTable* layers = nullptr;

    // The object-snap mode (0 off, 1..12); leaving mode 12 frees the markers it gathered.
    void SetObjectSnapMode(int mode);
    int ObjectSnapMode() const { return objectSnapMode_; }
    // Sketching: each move adds a segment from the previous cursor point, which starts here.
    void SetSketching(bool on);
    // The limits frame follows the cursor's drawing (shown or removed with it).
    void SetDrawingLimits(const DrawingLimits& limits);

    // The tracking of one mouse move to pixel 'at'; 'forced' redraws even when the pixel is the
    // one before.
    void HandleMouseMove(POINT at, bool forced = false);

    // Draws (show) or removes the cross-hair, the pick box and the aperture box, each only when
    // its shown state differs from what is asked; the snap markers with them.
    void DrawCursor(bool show);
    void DrawRubberBand(bool show);
    void ShowSnapMarkers(bool show);
    // The marker list's addition, drawn or erased at once when the markers are shown.
    MarkerChange AddSnapMarker(int32_t label, int32_t count, Point at, bool removal = false);
    void PurgeSnapMarkers();
    // The temporary markers where the construction elements meet the current one (lines and
    // circles: a circle is a centre and a point on it).
    struct Construction {
        bool circle = false;
        Point a, b;  // the two defining points; a circle: centre and a point on it
    };
    void AddSnapMarkersOfList(const std::vector<Construction>& list, const Construction& current);
    // The nearest marker within the snap aperture becomes the cursor point; its label the hint.
    bool SnapToNearestMarker();
    // Removes every transient figure from the screen (before the picture under them changes).
    void HideAll();
    // The screen was painted over: nothing of the overlay is on it any more.
    void ForgetScreen();
    // Draws every figure shown now on 'canvas' (a new picture about to replace the screen's),
    // at the places they have on the screen; what is shown stays as it is.
    void ReplayShown(winforms::Canvas& canvas);

    POINT Pixel() const { return pixel_; }
    Point World() const { return world_; }
    const ShownMarks& Shown() const { return shown_; }
    const SnapMarkerList& Markers() const { return markers_; }
    std::string Readout() const;
    // Intersection labels of the construction markers.
    static constexpr int32_t kLineLineLabel = 172, kLineCircleLabel = 173, kCircleCircleLabel = 174;

private:
    bool SnapCursor(Point& world);
    bool SnapToObject(Point& world);
    void DrawLimitsFrame();
    void DrawMarkers();
    void DrawOneMarker(const SnapMarker& marker);
    void ShowReadout();
    bool Drawable() const { return canvas_ != nullptr; }

    const ViewState& view_;
    TrackingHost& host_;
    winforms::Canvas* canvas_ = nullptr;
    SIZE box_{0, 0};
    SnapMarkerList markers_;
    ShownMarks shown_;
    POINT pixel_{-1, -1};
    Point world_;
    Point sketchPrevious_;
    int objectSnapMode_ = 0;
    DrawingLimits limits_;
    bool limitsShown_ = false;
    // What is on the screen, so that erasing draws exactly it again.
    POINT cursorAt_{0, 0};
    POINT bandFrom_{0, 0}, bandTo_{0, 0};
    bool bandRectangle_ = false, bandDotted_ = false;
};

}  // namespace linework

#endif
