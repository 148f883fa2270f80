// The command-state stack at work: pushing and popping steps with their prompts and sounds, the
// one-shot view commands, the object selection's saved drawing modes, the idle hook, and the
// step handlers that act when a step has its points (command_steps.cpp).
#ifndef LINEWORK_UI_COMMAND_STATES_H
#define LINEWORK_UI_COMMAND_STATES_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/entity_adders.h"
#include "drawing/number_input.h"
#include "drawing/system_variable_image.h"
#include "ui/command_state.h"
#include "ui/command_step_ports.h"

namespace linework {

// The buttons the steps press and release.
namespace step_button {
inline constexpr int kZoomWindow = 11;
inline constexpr int kPan = 19;
inline constexpr int kCentre = 22;
inline constexpr int kFirstModeButton = 27;  // 27..30 grid, ortho, angle snap, grid snap
inline constexpr int kWindowSelection = 41;
inline constexpr int kPolyline = 56;
inline constexpr int kRotate = 58;
inline constexpr int kStretch = 59;
inline constexpr int kScale = 60;
inline constexpr int kMove = 61;
inline constexpr int kCopy = 62;
inline constexpr int kErase = 63;
inline constexpr int kWindowMethod = 67;
inline constexpr int kPick = 68;
inline constexpr int kCrossingMethod = 69;
inline constexpr int kFenceMethod = 70;
}  // namespace step_button

// The drawing-mode bytes the object selection saves and clears: ortho, angle snap, grid snap.
inline constexpr int32_t kFirstDrawingModeByte = 66;
inline constexpr int kDrawingModes = 3;
// The object-snap mode the selection leaves on.
inline constexpr int kSelectionKeepsSnapMode = 12;

// What the steps take from the drawing settings.
struct CommandSettings {
    // Segments of a polyline drawn point by point before the next point starts a new one (1:
    // separate lines); never more than a polyline holds.
    int vertexLimit = 255;
    // Commands start again when they end.
    bool repeat = false;
    // The window a pick that finds nothing turns into: crossing, else window.
    bool crossingByDefault = true;
    // Drawing units per rubber-band unit, for the scale factor.
    double unitFactor = 1;
};

// A step's request: kind, which prompt set shows first, points, options and texts.
struct PushRequest {
    uint8_t kind = command_kind::kIdle;
    bool secondSet = false;
    uint8_t pointsNeeded = 1;
    uint8_t option5 = 0, option6 = 0, option7 = 0;
    bool show = true;
    PromptSet set1;
    PromptSet set2;
    std::string idlePrompt;
};

enum class PushResult {
    Pushed,
    // A view command already waiting: the second one does nothing.
    Ignored,
    // No place on the stack.
    Refused,
};

// What the steps that wait on behalf of a script were given: each flag is set when its step
// took input and was popped; the script reads and clears them.
struct ScriptWaitAnswers {
    bool valueEntered = false;
    bool ended = false;
    bool confirmed = false;
};

// What the script's point step was given when it ended; 'given' false when it ended without a
// point (or the value a distance needs).
struct StepPointAnswer {
    bool given = false;
    Point point;
    double distance = 0;
};

// How the last input reached the step.
enum class StepInput { Value = 0, Point = 1, End = 2 };

struct CommandPorts {
    CommandSurface& surface;
    ViewChanges& view;
    CursorTracking& cursor;
    SelectionEngine& selection;
    SelectionEdits& edits;
    AdderContext& adders;
    // The user's angle unit.
    const NumberGrammar& grammar;
};

class CommandStates {
public:
    explicit CommandStates(CommandPorts ports);

    PushResult PushCommandState(const PushRequest& request);
    // Ends the top step; at the bottom mark the idle hook runs. 'mute' silences this pop.
    void PopCommandState(bool mute = false);
    // Shows the current step's prompt anew.
    void RepeatCommandPrompt();
    // A step that takes points is waiting above the bottom mark. The pick-window keys ask this: a
    // step that waits for typed text takes no points, and its letters must reach the command line.
    bool HasActiveCommandCode() const;
    bool CommandActive() const { return stack_.Active(); }
    void ResetSelectionState();
    void ReleaseOneShotButtons();
    // "null" and Esc of a script: every waiting step goes without its handler running.
    void ResetCommandState();
    bool RunScriptFile(std::string_view name);
    void SetWindowSelectionMethod(int method, int button, int32_t sound, int promptMessage);

    // Input for the top step: a point, a typed value, or the end of the input. 'replace' is the
    // pick's replace request (Alt).
    void AcceptPoint(Point at, bool replace = false);
    void AcceptValue(double value);
    void EndStep();
    // The rubber band's free end follows the cursor.
    void MoveCursor(Point at);
    // While the window of a pick that found nothing is dragged, its method follows the cursor
    // (SelectionMethodForDrag), with its button and prompt; true when the method changed.
    bool FollowDragWithWindowMethod(Point cursor);

    CommandStack& Stack() { return stack_; }
    const CommandStack& Stack() const { return stack_; }
    CommandSettings settings;
    bool commandLineResettable = true;
    bool SelectionStepActive() const { return selectionActive_; }
    bool OneShotWaiting(uint8_t kind) const;
    int EditButtonsMode() const { return editButtonsMode_; }
    void SetEditButtonsMode(int mode);
    Point LastPoint() const { return lastPoint_; }
    const std::vector<Point>& PolylineVertices() const { return vertices_; }
    double TypedValue() const { return typedValue_; }
    StepInput LastInput() const { return lastInput_; }
    ScriptWaitAnswers& WaitAnswers() { return waitAnswers_; }
    StepPointAnswer& PointAnswer() { return pointAnswer_; }

private:
    friend struct CommandSteps;

    PushRefusal RaiseSaving();
    void StartSelectionStep(const PushRequest& request, PushRefusal& refusal);
    void FillTop(const PushRequest& request);
    void ShowPromptSet(const PromptSet& set);
    void PopAtBottom(const CommandState& popped);
    void RunStepHandler(bool replace);
    void Refuse(const PushRequest& request, PushRefusal refusal);
    static int OneShotIndex(uint8_t kind) { return kind - command_kind::kZoomWindow; }

    CommandPorts ports_;
    SystemVariableImage& image_;
    CommandStack stack_;
    std::array<bool, 3> oneShot_{};
    bool selectionActive_ = false;
    bool selectionFallback_ = false;
    PromptSet selectionSet_;
    int editButtonsMode_ = 0;
    std::array<uint8_t, kDrawingModes> savedModes_{};
    bool modesSaved_ = false;
    int savedSnapMode_ = 0;
    std::string idleText_;
    Point lastPoint_;
    double typedValue_ = 0;
    StepInput lastInput_ = StepInput::Point;
    bool idleHookRunning_ = false;
    ScriptWaitAnswers waitAnswers_;
    StepPointAnswer pointAnswer_;
    // The polyline being drawn point by point and its version at the head of the drawing list.
    std::vector<Point> vertices_;
    EntityHandle polylineVersion_ = 0;
};

}  // namespace linework

#endif
