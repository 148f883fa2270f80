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

#include "display/cursor_tracker.h"
#include "display/display_modes.h"
#include "display/kind_renderers.h"
#include "display/regeneration.h"
#include "drawing/drawing.h"
#include "drawing/entity_adders.h"
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
};

class SimpleDrafting : public DraftingOperations, private ViewChanges, private TrackingHost, private PanSurface {
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

    ViewState& View() { return view_; }
    CursorTracker& Tracker() { return tracker_; }
    Regenerator& Regeneration() { return regenerator_; }
    // The backdrop picture (empty: none) and its placement mode.
    winforms::Bitmap& Backdrop() { return backdrop_; }
    // Whether zoom to extents still asks about entities on hidden layers.
    bool hiddenEntityWarning = true;

    // The real-time pan (simple_drafting_pan.cpp).
    void StartRealTimePan() override;
    void StopRealTimePan() override { pan_.Stop(); }
    bool RealTimePanning() const override { return pan_.Running(); }

private:
    void SetView(const ViewTransform& view);
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
    void PumpPending() override {}
    // PanSurface.
    void PushViewHistory() override { view_.PushViewHistory(); }
    void ShowView(const ViewTransform& view) override;
    POINT Pointer() const override;
    void MovePointer(POINT at) override;
    bool ShiftHeld() const override;
    bool CtrlHeld() const override;
    bool PumpMessages() override;

    winforms::PaintBox& paintBox_;
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
    CursorTracking quietCursor_;
    DrawingSelection selection_;
    SelectionEdits quietEdits_;
    CommandStates commands_;
    POINT panFrom_{0, 0};
    RealTimePan pan_{*this};
};

}  // namespace linework

#endif
