// What the command steps ask of the rest of the program, in small interfaces by concern: the
// form's buttons, prompts and hook scripts; the view; the cursor tracking with its rubber bands,
// markers and previews; the selection engine; and the edits of the selection (SelectionEdits and
// the method codes, drawing/selection_edits.h, which the script commands call too). Each method has a
// quiet default, so a part not built yet (or not wanted in a test) simply does nothing.
#ifndef LINEWORK_UI_COMMAND_STEP_PORTS_H
#define LINEWORK_UI_COMMAND_STEP_PORTS_H

#include <cstdint>
#include <string>
#include <string_view>

#include "drawing/drawing.h"
#include "drawing/geometry.h"
#include "drawing/selection_edits.h"
#include "drawing/selection_settings.h"
#include "drawing/view_transform.h"

namespace linework {

// The main form as the steps see it.
class CommandSurface {
public:
    virtual ~CommandSurface() = default;
    // Speed button n (1..80) pressed or released; clicked as the user would.
    virtual void SetButtonDown(int /*n*/, bool /*down*/) {}
    virtual bool ButtonDown(int /*n*/) const { return false; }
    virtual void ClickButton(int /*n*/) {}
    // The prompt of the status bar (remembered); the prompt beside the command line.
    virtual void SetPrompt(std::string_view /*text*/) {}
    virtual void SetCommandPrompt(std::string_view /*text*/) {}
    // The idle state's prompt beside the command line.
    virtual void ShowIdlePrompt() {}
    virtual std::string CommandLineText() const { return {}; }
    virtual void SetCommandLineText(std::string_view /*text*/) {}
    virtual void FocusCommandLine() {}
    virtual void PlaySound(int32_t /*n*/) {}
    // The prompt sounds' switch, muted for one pop.
    virtual bool SoundsOn() const { return true; }
    virtual void SetSoundsOn(bool /*on*/) {}
    // Text n of the message table.
    virtual std::string Message(int /*n*/) const { return {}; }
    // The readout field of the status bar.
    virtual void ShowReadout(std::string_view /*text*/) {}
    // Mode buttons 27..30 follow the grid and the three drawing modes.
    virtual void RefreshModeButtons() {}
    // The edit buttons 66..79 follow the edit-buttons mode (0 none, 1 all, 2 and 3 single picks).
    virtual void EnableEditButtons(int /*mode*/) {}
    virtual void CloseScriptDialogWhenDue() {}
    virtual bool ScriptRunning() const { return false; }
    // Loads NAME.LKP from the program folder and runs it; false when a script runs or there is
    // no such file.
    virtual bool RunScriptFile(std::string_view /*name*/) { return false; }
    // A step refused (the stack is full): the user is told why.
    virtual void ShowRefusal(std::string_view /*text*/) {}
};

// The view as the zoom-window and pan steps change it.
class ViewChanges {
public:
    virtual ~ViewChanges() = default;
    virtual ViewTransform CurrentView() const { return {}; }
    virtual PixelSize PaintBox() const { return {}; }
    // Whether the zoom limits allow the view this scale.
    virtual bool ScaleAllowed(double /*scale*/) const { return true; }
    // Puts the current view on the history, makes 'view' current and regenerates the drawing.
    virtual void ChangeView(const ViewTransform& /*view*/) {}
    virtual void CentreViewOn(Point /*at*/) {}
    virtual void RefreshPanels() {}
    // An entity is about to be deleted: it is wiped off the screen first.
    virtual void EraseFromScreen(const Drawing& /*drawing*/, EntityHandle /*entity*/) {}
};

// The cursor tracking of the paint box.
class CursorTracking {
public:
    virtual ~CursorTracking() = default;
    virtual void EraseRubberBands() {}
    virtual void PurgeSnapMarkers() {}
    virtual void AddSnapMarkersOf(const Drawing& /*drawing*/, EntityHandle /*entity*/) {}
    // One pass of the tracking at the cursor's present place.
    virtual void TrackCursor() {}
    virtual void RefreshCursor() {}
    virtual void RepaintGridAndCursor() {}
    // The drag preview of the selected entities from the base point.
    virtual void StartSelectionPreview(Point /*base*/) {}
    virtual void EndSelectionPreview() {}
    // The object-snap mode (0 off; 12 means the selection keeps it).
    virtual int ObjectSnapMode() const { return 0; }
    virtual void SetObjectSnapMode(int /*mode*/) {}
};

// The selection engine.
class SelectionEngine {
public:
    virtual ~SelectionEngine() = default;
    virtual int Method() const { return selection_method::kPick; }
    virtual void SetMethod(int /*code*/) {}
    // Method 37 with its button.
    virtual void SelectPickMethod() {}
    virtual bool ReplacePick() const { return false; }
    virtual void SetReplacePick(bool /*on*/) {}
    // The pick box around the point, from the pick-box size.
    virtual void SetPickBoxAround(Point /*at*/) {}
    virtual void SetSelectionBox(Point /*a*/, Point /*b*/) {}
    // One pass; true when it found (changed) an entity.
    virtual bool SelectEntities() { return false; }
    virtual void ClearSelection(bool /*keepAsPrevious*/) {}
    virtual double Count() const { return 0; }
    virtual void ShowSelectionCount() {}
    // Accepts the picked entity as the pick button (68) does.
    virtual void AcceptPick() {}
    virtual void ForgetPickedEntity() {}
    // Esc in the object selection: the entity picked last goes back out of the selection.
    virtual void UnpickLast() {}
};

}  // namespace linework

#endif
