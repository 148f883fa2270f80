// The first version of the drawing side behind the main form: the paint box cleared to the
// background and every shown entity drawn; zoom and pan by the keyboard and the wheel about the
// paint box's centre; stored views and the view history. Command states, selection and the grid
// come with their own issues.
#ifndef LINEWORK_UI_SIMPLE_DRAFTING_H
#define LINEWORK_UI_SIMPLE_DRAFTING_H

#include <memory>

#include "display/display_modes.h"
#include "display/kind_renderers.h"
#include "drawing/drawing.h"
#include "drawing/entity_adders.h"
#include "drawing/layer_table.h"
#include "drawing/number_input.h"
#include "drawing/undo_operations.h"
#include "drawing/view_transform.h"
#include "ui/command_states.h"
#include "ui/drafting_operations.h"
#include "ui/drawing_selection.h"
#include "ui/real_time_pan.h"
#include "winforms/forms.h"

namespace linework {

class SimpleDrafting : public DraftingOperations, private ViewChanges, private PanSurface {
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

    void ZoomByFactor(double factor) override;
    void PanByScreenFraction(double dx, double dy) override;
    void ZoomExtents() override;
    void PreviousView() override;
    bool StepViewHistory(int step) override;
    void UseStoredView(int n) override;
    int CurrentStoredView() const override { return storedView_; }
    void UpdateViewTransform() override;
    void RegenerateDrawing() override;
    void PaintBackground() override;
    bool Regenerating() const override { return regenerating_; }

    ViewState& View() { return view_; }

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
    int storedView_ = 0;
    bool regenerating_ = false;
    UndoRecorder undo_;
    AdderContext adders_;
    CursorTracking quietCursor_;
    DrawingSelection selection_;
    SelectionEdits quietEdits_;
    CommandStates commands_;
    RealTimePan pan_{*this};
};

}  // namespace linework

#endif
