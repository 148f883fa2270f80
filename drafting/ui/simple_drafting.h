// The drawing side behind the main form: regeneration of the drawing into the paint box (double
// buffered, over the backdrop, with the foreground cache), zoom, pan, extents and centring with
// their limits and messages, stored views and the view history, the grid, the status panel and
// the stored-view buttons, and the cursor tracking with its snapping, rubber bands and readout;
// a real-time pan follows the mouse. Command states and selection come with their own issues:
// they fill in the tracked step of the tracker.
#ifndef LINEWORK_UI_SIMPLE_DRAFTING_H
#define LINEWORK_UI_SIMPLE_DRAFTING_H

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "display/cursor_tracker.h"
#include "display/display_modes.h"
#include "display/kind_renderers.h"
#include "display/regeneration.h"
#include "drawing/drawing.h"
#include "drawing/entity_adders.h"
#include "drawing/entity_draw_hook.h"
#include "drawing/layer_table.h"
#include "drawing/number_input.h"
#include "drawing/undo_operations.h"
#include "drawing/view_transform.h"
#include "ui/command_states.h"
#include "ui/drafting_operations.h"
#include "ui/status_panel.h"
#include "ui/drawing_selection.h"
#include "ui/real_time_pan.h"
#include "winforms/forms.h"

namespace linework {

// What the drawing side asks of the form around it.
struct DraftingFormHooks {
    std::function<void(int)> showMessage;          // message-table text n in the message box
    std::function<int(int)> askQuestion;           // message n as a question: the button answered
    std::function<std::string(int)> messageText;   // message-table text n
    std::function<void(std::string_view)> setReadout;
    std::function<int()> angleUnit;                // the user's angle unit mode
    std::function<void(int)> releaseButton;        // speed button n goes up
    // A clicked point for the waiting step through the command line's point entry (the input
    // point, the beep, the last point, the point marker); 'replace' is the pick's Alt.
    std::function<void(Point, bool)> acceptPoint;
};

class SimpleDrafting : public DraftingOperations,
                       private ViewChanges,
                       private TrackingHost,
                       private PanSurface,
                       private CursorTracking {
public:
    // The command steps take their prompts and buttons from 'surface' and the user's angle unit
    // from 'grammar'; the selection's edits and the cursor tracking are still quiet.
    SimpleDrafting(winforms::PaintBox& paintBox, SystemVariableImage& image, Drawing& drawing, CommandSurface& surface,
                   const NumberGrammar& grammar);

    void PopCommandState() override { commands_.PopCommandState(); }
    bool CommandActive() const override { return commands_.CommandActive(); }
    bool HasActiveCommandCode() const override { return commands_.HasActiveCommandCode(); }
    bool SelectionStepActive() const override { return commands_.SelectionStepActive(); }
    void ResetCommandState() override { commands_.ResetCommandState(); }
    int CommandDepth() const override { return commands_.Stack().Depth(); }
    void SetCommandBottomMark(int depth) override { commands_.Stack().SetBottomMark(depth); }
    void AcceptPointAt(int x, int y, winforms::MouseButton button, bool alt) override;
    CommandStates& Commands() { return commands_; }
    // What scripts add or erase reaches the screen with the next paint of the paint box.
    EntityDrawHook& ScreenDrawHook() { return screenHook_; }
    DrawingSelection& Selection() { return selection_; }

    DraftingFormHooks hooks;
    // The top panel's parts and the stored-view buttons, refreshed after each regeneration.
    void SetPanels(StatusPanelParts parts, ViewButtons buttons);

    void ZoomByFactor(double factor) override;
    void PanByScreenFraction(double dx, double dy) override;
    void ZoomExtents() override;
    void PreviousView() override;
    bool StepViewHistory(int step) override;
    void UseStoredView(int n) override;
    int CurrentStoredView() const override { return storedView_; }
    void CentreViewOnCursor(bool movePointer) override;
    void UpdateViewTransform() override;
    void RegenerateDrawing() override;
    void PaintBackground() override;
    bool Regenerating() const override { return regenerating_; }
    void TrackMouse(int x, int y) override;
    // The cursor point the tracking makes of pixel (x, y): snapped as a move there would snap it.
    Point TrackedPointAt(int x, int y);
    bool RubberBandShown() const { return tracker_.Shown().rubberBand; }
    // A cross of 3 pixels each way, 1 pixel wide, drawn over the picture (gone with the next
    // regeneration).
    void DrawPointMarker(Point at, COLORREF colour);

    ViewState& View() { return view_; }
    CursorTracker& Tracker() { return tracker_; }
    Regenerator& Regeneration() { return regenerator_; }
    // The backdrop picture (empty: none) and its placement mode.
    winforms::Bitmap& Backdrop() { return backdrop_; }
    // Whether zoom to extents still asks about entities on hidden layers.
    bool hiddenEntityWarning = true;

    // The real-time pan (simple_drafting_pan.cpp).
    void StartRealTimePan() override;
    void StopRealTimePan() override;
    bool RealTimePanning() const override { return pan_.Running(); }

private:
    void SetView(const ViewTransform& view);
    void TrackMouseAt(int x, int y, bool pump);
    // Each entity drawn or erased asks for a paint; the paints coalesce into one regeneration.
    class RepaintHook final : public EntityDrawHook {
    public:
        explicit RepaintHook(winforms::PaintBox& box) : box_(box) {}
        void DrawEntity(const Drawing&, const EntityRecord&, int) override { box_.Invalidate(); }

    private:
        winforms::PaintBox& box_;
    };
    std::vector<uint8_t> HeadBytes() const;
    // ViewChanges.
    ViewTransform CurrentView() const override { return view_.GetViewTransform(); }
    PixelSize PaintBox() const override { return {paintBox_.Width(), paintBox_.Height()}; }
    bool ScaleAllowed(double scale) const override;
    void ChangeView(const ViewTransform& view) override { SetView(view); }
    void CentreViewOn(Point at) override;
    COLORREF Background() const;
    PixelSize PaintBoxSize() const { return {paintBox_.Width(), paintBox_.Height()}; }
    KindRenderers Renderers() { return KindRenderers::AllOf(placeholders_); }
    void Report(int message);
    void RefreshPanels();

    // TrackingHost.
    void ShowMessage(int number) override { Report(number); }
    void GridSnapSwitchedOff() override;
    void ShowMarkerHint(int label, bool show) override;
    void SetReadout(std::string_view text) override;
    bool PreviewInterrupted() override;
    void PumpPending() override;
    void CursorMoved(Point world, TrackedStep& step) override;
    bool BindTrackerCanvas();
    // What the command on top asks of the tracking.
    void SyncTrackedStep(TrackedStep& step) const;
    // CursorTracking (simple_drafting_tracking.cpp).
    void EraseRubberBands() override;
    void PurgeSnapMarkers() override;
    void AddSnapMarkersOf(const Drawing& drawing, EntityHandle entity) override;
    void TrackCursor() override;
    void RefreshCursor() override { TrackCursor(); }
    void RepaintGridAndCursor() override { TrackCursor(); }
    void StartSelectionPreview(Point base) override;
    void EndSelectionPreview() override;
    int ObjectSnapMode() const override { return tracker_.ObjectSnapMode(); }
    void SetObjectSnapMode(int mode) override { tracker_.SetObjectSnapMode(mode); }
    // PanSurface.
    void PushViewHistory() override { view_.PushViewHistory(); }
    void ShowView(const ViewTransform& view) override;
    POINT Pointer() const override;
    void MovePointer(POINT at) override;
    bool ShiftHeld() const override;
    bool CtrlHeld() const override;
    bool PumpMessages() override;

    winforms::PaintBox& paintBox_;
    RepaintHook screenHook_{paintBox_};
    SystemVariableImage& image_;
    Drawing& drawing_;
    LayerTable layers_;
    LayerScaleRanges ranges_;
    ViewState view_;
    DisplaySettings settings_;
    PlaceholderRenderers placeholders_;
    Regenerator regenerator_;
    CursorTracker tracker_;
    winforms::Bitmap backdrop_;
    StatusPanelParts panelParts_;
    ViewButtons viewButtons_{};
    StatusPanelState panelState_;
    int storedView_ = 0;
    bool regenerating_ = false;
    UndoRecorder undo_;
    AdderContext adders_;
    // The lines and circles entered during the running command, for the intersection markers.
    std::vector<CursorTracker::Construction> constructions_;
    std::unique_ptr<DragPreview> preview_;
    DrawingSelection selection_;
    SelectionEdits quietEdits_;
    CommandStates commands_;
    POINT panFrom_{0, 0};
    RealTimePan pan_{*this};
    PanDisplaySwitches panSwitches_;
    // Only a move of the mouse itself lets the newer moves through at its end: a tracking pass
    // that a click or a command step asks for must finish at the place it was asked for.
    bool pumpAllowed_ = false;
    bool pumping_ = false;
    // The drag preview gave up for a mouse move that waits in the queue.
    bool movePending_ = false;
};

}  // namespace linework

#endif
