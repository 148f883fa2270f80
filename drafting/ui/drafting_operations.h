// What the main form asks of the drawing side: command states, view changes, regeneration,
// selection and point acceptance. The issues that build those fill this interface in; until then
// the defaults here keep the form working (no command is ever active, views stay as they are).
// The simple regeneration (SimpleDrafting) is the first real version.
#ifndef LINEWORK_UI_DRAFTING_OPERATIONS_H
#define LINEWORK_UI_DRAFTING_OPERATIONS_H

#include <cstdint>

#include "winforms/types.h"

namespace linework {

class DraftingOperations {
public:
    virtual ~DraftingOperations() = default;

    // --- command states
    // Pops the top command state; at the bottom the idle prompt shows and the idle hook runs.
    virtual void PopCommandState() {}
    virtual bool CommandActive() const { return false; }
    // A command whose code is not 0 is on top (pick-window keys work then).
    virtual bool HasActiveCommandCode() const { return false; }
    virtual bool SelectionStepActive() const { return false; }
    virtual void SetPickWindowMode(int /*kind*/) {}
    virtual int PickWindowMode() const { return 0; }
    // The selection-step keys: keys 1..14 of the hot-key table (see the form's key handler).
    virtual void SelectionKey(int /*index*/, bool /*ctrl*/) {}
    // The window-selection key toggles this tool button.
    virtual void ToggleWindowSelection() {}
    // "null": every waiting step goes, down to the bottom mark.
    virtual void ResetCommandState() {}
    // A script run starts with the bottom mark at the depth of that moment (its own commands
    // stack above what waits) and ends with it at 0.
    virtual int CommandDepth() const { return 0; }
    virtual void SetCommandBottomMark(int /*depth*/) {}

    // --- views
    virtual void ZoomByFactor(double /*factor*/) {}
    virtual void PanByScreenFraction(double /*dx*/, double /*dy*/) {}
    virtual void ZoomExtents() {}
    virtual void PreviousView() {}
    // One step through the view history; false when there is no such entry.
    virtual bool StepViewHistory(int /*step*/) { return false; }
    // Makes stored view n (1..10) current and regenerates.
    virtual void UseStoredView(int /*n*/) {}
    virtual int CurrentStoredView() const { return 0; }
    virtual void CentreViewOnCursor(bool /*movePointer*/) {}
    virtual void StartRealTimePan() {}
    virtual void StopRealTimePan() {}
    virtual bool RealTimePanning() const { return false; }
    virtual void UpdateViewTransform() {}

    // --- drawing on the screen
    virtual void RegenerateDrawing() {}
    virtual void PaintBackground() {}
    virtual bool Regenerating() const { return false; }
    virtual void BlinkInserts(bool /*phase*/) {}
    // Brings the panels of the form (stored views, status panel) up to date.
    virtual void RefreshPanels() {}

    // --- the mouse over the drawing: the cursor follows it
    virtual void TrackMouse(int /*x*/, int /*y*/) {}

    // --- points
    virtual void AcceptPoint(winforms::MouseButton /*button*/, bool /*alt*/) {}
    // A click at pixel (x, y) of the paint box.
    virtual void AcceptPointAt(int /*x*/, int /*y*/, winforms::MouseButton button, bool alt) { AcceptPoint(button, alt); }

    // --- the drawing file
    virtual bool DrawingModified() const { return false; }
    // Saves the drawing; true when it is no longer modified. Nothing writes drawings yet.
    virtual bool SaveDrawing() { return false; }
};

}  // namespace linework

#endif
