// The input of the top step and the handlers that act once a step has its points: the view
// commands, the polyline and circle drawn point by point, the edits of the selection, and the
// object selection itself.
#include "ui/command_steps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "drawing/angles.h"
#include "drawing/entity_copy.h"
#include "ui/command_states.h"

namespace linework {

std::optional<ViewTransform> ZoomWindowView(const ViewTransform& view, Point a, Point b, PixelSize box) {
    const double dx = std::fabs(b.x - a.x);
    const double dy = std::fabs(b.y - a.y);
    if (dx < kSmallestWindowSide && dy < kSmallestWindowSide) return std::nullopt;
    if (box.width <= 0 || box.height <= 0) return std::nullopt;
    const double w = box.width;
    const double h = box.height;
    ViewTransform zoomed = view;
    // The side that is the larger part of the paint box decides the scale.
    zoomed.scale = (dx < kSmallestWindowSide || dy / dx > h / w) ? dy / h : dx / w;
    zoomed.originX = std::min(a.x, b.x);
    zoomed.originY = std::min(a.y, b.y);
    return zoomed;
}

ViewTransform PannedView(const ViewTransform& view, Point from, Point to) {
    ViewTransform panned = view;
    panned.originX += from.x - to.x;
    panned.originY += from.y - to.y;
    return panned;
}

namespace {

// A zoom or pan step needs both corners; every other step the number it asked for.
bool Complete(const CommandState& state) {
    const int needed = command_kind::IsViewCommand(state.kind) && state.kind != command_kind::kCentre
                           ? 2
                           : state.pointsNeeded;
    return state.step >= needed;
}

int EditButton(uint8_t kind) {
    switch (kind) {
        case command_kind::kRotate:
            return step_button::kRotate;
        case command_kind::kStretch:
            return step_button::kStretch;
        case command_kind::kScale:
            return step_button::kScale;
        case command_kind::kMove:
            return step_button::kMove;
        case command_kind::kCopy:
            return step_button::kCopy;
        default:
            return step_button::kErase;
    }
}

}  // namespace

struct CommandSteps {
    static void ViewStep(CommandStates& c, int button);
    static void EndViewStep(CommandStates& c, bool complete, int button);
    static void CentreStep(CommandStates& c);
    static void PolylineStep(CommandStates& c);
    static void CircleStep(CommandStates& c);
    static void EditStep(CommandStates& c);
    static void ApplyEdit(CommandStates& c, const CommandState& state);
    static void SelectionStep(CommandStates& c, bool replace);
    static bool SelectionPass(CommandStates& c, CommandState& state, bool replace);
    static void FinishSelection(CommandStates& c);
    static void AgainOrEnd(CommandStates& c, int button);
    static void ScriptWaitStep(CommandStates& c, bool& answered);
    static void ScriptPointStep(CommandStates& c);
};

void CommandStates::AcceptPoint(Point at, bool replace) {
    if (!stack_.Active()) return;
    ports_.cursor.EraseRubberBands();
    lastInput_ = StepInput::Point;
    CommandState& top = stack_.Top();
    if (top.pointsNeeded > 0) {
        // With the window-selection button down the click is the first corner of a window: it is
        // kept and the step waits on. Once the button is up again, the next click counts the
        // kept corner as the step's point.
        const bool windowDown = ports_.surface.ButtonDown(step_button::kWindowSelection);
        if (!(top.cornerPending && !windowDown)) {
            (top.step == 0 ? top.first : top.second) = at;
            top.reference = at;
            lastPoint_ = at;
        }
        if (windowDown) {
            top.cornerPending = true;
            ShowPromptSet(top.CurrentSet());
            return;
        }
        top.cornerPending = false;
        if (top.step < 2) ++top.step;
        if (top.step >= top.pointsNeeded) {
            top.pointGiven = true;
        } else {
            ShowPromptSet(top.CurrentSet());
        }
    }
    RunStepHandler(replace);
}

void CommandStates::AcceptValue(double value) {
    if (!stack_.Active()) return;
    ports_.cursor.EraseRubberBands();
    lastInput_ = StepInput::Value;
    typedValue_ = value;
    CommandState& top = stack_.Top();
    top.valueTyped = true;
    top.pointGiven = true;
    if (top.step < 2) ++top.step;
    RunStepHandler(false);
}

void CommandStates::EndStep() {
    if (!stack_.Active()) return;
    ports_.cursor.EraseRubberBands();
    lastInput_ = StepInput::End;
    stack_.Top().pointGiven = true;
    RunStepHandler(false);
}

void CommandStates::MoveCursor(Point at) {
    if (stack_.Active()) stack_.Top().bandEnd = at;
}

void CommandStates::RunStepHandler(bool replace) {
    switch (stack_.Top().kind) {
        case command_kind::kZoomWindow:
            CommandSteps::ViewStep(*this, step_button::kZoomWindow);
            break;
        case command_kind::kPan:
            CommandSteps::ViewStep(*this, step_button::kPan);
            break;
        case command_kind::kCentre:
            CommandSteps::CentreStep(*this);
            break;
        case command_kind::kPolyline:
            CommandSteps::PolylineStep(*this);
            break;
        case command_kind::kCircle:
            CommandSteps::CircleStep(*this);
            break;
        case command_kind::kObjectSelection:
            CommandSteps::SelectionStep(*this, replace);
            break;
        case command_kind::kRotate:
        case command_kind::kStretch:
        case command_kind::kScale:
        case command_kind::kMove:
        case command_kind::kCopy:
            CommandSteps::EditStep(*this);
            break;
        case command_kind::kWaitValue:
            CommandSteps::ScriptWaitStep(*this, waitAnswers_.valueEntered);
            break;
        case command_kind::kWaitEnd:
            CommandSteps::ScriptWaitStep(*this, waitAnswers_.ended);
            break;
        case command_kind::kWaitConfirm:
            CommandSteps::ScriptWaitStep(*this, waitAnswers_.confirmed);
            break;
        case command_kind::kScriptPoint:
            CommandSteps::ScriptPointStep(*this);
            break;
        default:
            // Erase acts when its selection ends; the key wait ends at the command line; other
            // kinds belong to the callers' waits.
            break;
    }
}

// Any input ends a script's wait: the step goes and its flag tells the script.
void CommandSteps::ScriptWaitStep(CommandStates& c, bool& answered) {
    c.stack_.Top().pointGiven = false;
    c.PopCommandState();
    answered = true;
}

// A script's point step: the point clicked or typed, or for a distance the length between the two
// points or the number typed. Ending the input gives nothing.
void CommandSteps::ScriptPointStep(CommandStates& c) {
    CommandState& state = c.stack_.Top();
    if (!state.pointGiven) return;
    state.pointGiven = false;
    StepPointAnswer answer;
    if (c.lastInput_ == StepInput::Value) {
        answer = {true, state.first, c.typedValue_};
    } else if (c.lastInput_ == StepInput::Point) {
        answer.given = true;
        answer.point = state.first;
        if (state.pointsNeeded == 2)
            answer.distance = std::hypot(state.second.x - state.first.x, state.second.y - state.first.y);
    }
    c.pointAnswer_ = answer;
    c.PopCommandState();
}

void CommandSteps::ViewStep(CommandStates& c, int button) {
    CommandState& state = c.stack_.Top();
    if (!state.pointGiven) return;
    state.pointGiven = false;
    const bool complete = Complete(state) && c.lastInput_ == StepInput::Point;
    if (complete) {
        ViewChanges& view = c.ports_.view;
        const ViewTransform current = view.CurrentView();
        if (state.kind == command_kind::kZoomWindow) {
            std::optional<ViewTransform> zoomed = ZoomWindowView(current, state.first, state.second, view.PaintBox());
            if (zoomed && view.ScaleAllowed(zoomed->scale)) view.ChangeView(*zoomed);
        } else {
            view.ChangeView(PannedView(current, state.first, state.second));
        }
    }
    EndViewStep(c, complete, button);
}

void CommandSteps::EndViewStep(CommandStates& c, bool complete, int button) {
    CommandState& state = c.stack_.Top();
    if (complete && c.settings.repeat) {
        state.step = 0;
        c.ShowPromptSet(state.set1);
        return;
    }
    c.oneShot_[static_cast<size_t>(CommandStates::OneShotIndex(state.kind))] = false;
    c.ports_.surface.SetButtonDown(button, false);
    c.PopCommandState();
}

void CommandSteps::CentreStep(CommandStates& c) {
    CommandState& state = c.stack_.Top();
    if (!state.pointGiven) return;
    state.pointGiven = false;
    if (c.lastInput_ == StepInput::Point) c.ports_.view.CentreViewOn(state.reference);
    EndViewStep(c, false, step_button::kCentre);
}

// The running polyline is added again at each point, so that what stands in the drawing is
// always a whole polyline: the version before is taken off the head of the list first.
void CommandSteps::PolylineStep(CommandStates& c) {
    CommandState& state = c.stack_.Top();
    if (!state.pointGiven) return;
    state.pointGiven = false;
    Drawing& drawing = c.ports_.adders.drawing;
    if (c.lastInput_ != StepInput::Point) {
        c.vertices_.clear();
        c.polylineVersion_ = 0;
        AgainOrEnd(c, step_button::kPolyline);
        return;
    }
    if (c.polylineVersion_ != 0 && drawing.head == c.polylineVersion_) {
        c.ports_.view.EraseFromScreen(drawing, c.polylineVersion_);
        DeleteFirstEntity(drawing);
    }
    c.polylineVersion_ = 0;
    const Point at = state.reference;
    // The same point twice takes the last vertex back.
    if (!c.vertices_.empty() && c.vertices_.back() == at) {
        c.vertices_.pop_back();
    } else {
        c.vertices_.push_back(at);
    }
    if (!c.vertices_.empty()) {
        c.polylineVersion_ = AddPolyline(c.ports_.adders, c.vertices_, false, true);
        if (c.polylineVersion_ != 0) c.ports_.cursor.AddSnapMarkersOf(drawing, c.polylineVersion_);
    }
    const size_t limit = static_cast<size_t>(std::clamp(c.settings.vertexLimit, 1, 255));
    if (c.vertices_.size() > limit) {
        // The finished polyline stays; its last point begins the next one.
        c.vertices_ = {at};
        c.polylineVersion_ = 0;
    }
    c.ports_.surface.PlaySound(state.set2.sound);
    c.ports_.surface.SetCommandPrompt(state.set2.prompt);
    state.step = 1;
}

void CommandSteps::CircleStep(CommandStates& c) {
    CommandState& state = c.stack_.Top();
    if (!state.pointGiven) return;
    state.pointGiven = false;
    const bool complete = Complete(state) && c.lastInput_ != StepInput::End;
    if (complete) {
        const double radius = state.valueTyped ? c.typedValue_
                                               : std::hypot(state.second.x - state.first.x, state.second.y - state.first.y);
        // A circle needs a radius: zero, a negative or an endless one adds nothing.
        if (std::isfinite(radius) && radius > 0) {
            const Point centre = state.first;
            const Point start{centre.x + radius, centre.y};
            AddArc(c.ports_.adders, centre, start, start);
            char text[32];
            std::snprintf(text, sizeof text, "%.6g", radius);
            c.ports_.surface.ShowReadout(text);
        }
    }
    if (complete && c.settings.repeat) {
        state.step = 0;
        state.valueTyped = false;
        c.ShowPromptSet(state.set1);
        return;
    }
    c.PopCommandState();
}

// The edits share one frame: the base point starts the drag preview; the second point (or a
// typed angle or factor) edits; an input ended early drops the selection.
void CommandSteps::EditStep(CommandStates& c) {
    CommandState& state = c.stack_.Top();
    if (!state.pointGiven) {
        if (state.step >= 1) c.ports_.cursor.StartSelectionPreview(state.first);
        return;
    }
    state.pointGiven = false;
    c.ports_.cursor.EndSelectionPreview();
    if (Complete(state) && c.lastInput_ != StepInput::End) {
        ApplyEdit(c, state);
    } else {
        c.ports_.selection.ClearSelection(false);
    }
    AgainOrEnd(c, EditButton(state.kind));
}

void CommandSteps::ApplyEdit(CommandStates& c, const CommandState& state) {
    const double dx = state.second.x - state.first.x;
    const double dy = state.second.y - state.first.y;
    SelectionEdits& edits = c.ports_.edits;
    switch (state.kind) {
        case command_kind::kRotate: {
            const double angle = state.valueTyped ? UserAngleToRadians(c.ports_.grammar.angleMode, c.typedValue_)
                                                  : DirectionAngle(dx, dy);
            edits.RotateSelection(angle, state.first);
            break;
        }
        case command_kind::kStretch:
            edits.StretchSelection(dx, dy);
            break;
        case command_kind::kScale: {
            const double factor = state.valueTyped ? c.typedValue_ : std::hypot(dx, dy) * c.settings.unitFactor;
            edits.ScaleSelection(factor, factor, state.first);
            break;
        }
        case command_kind::kMove:
            edits.MoveSelection(dx, dy);
            break;
        case command_kind::kCopy:
            AddEntityFromRecord(c.ports_.adders, dx, dy);
            break;
        default:
            break;
    }
}

// With the repeat switch the command starts over (its button clicked again, a new selection
// first); otherwise its button comes up and the step ends.
void CommandSteps::AgainOrEnd(CommandStates& c, int button) {
    if (c.settings.repeat && !c.ports_.surface.ScriptRunning()) {
        if (c.stack_.Top().kind == command_kind::kPolyline) {
            CommandState& state = c.stack_.Top();
            state.step = 0;
            c.ShowPromptSet(state.set1);
            return;
        }
        c.ports_.surface.ClickButton(button);
        return;
    }
    c.ports_.surface.SetButtonDown(button, false);
    c.PopCommandState();
}

bool CommandSteps::SelectionPass(CommandStates& c, CommandState& state, bool replace) {
    SelectionEngine& selection = c.ports_.selection;
    if (selection.Method() == selection_method::kPick) {
        if (replace) {
            selection.SetReplacePick(true);
            selection.SelectPickMethod();
        }
        selection.SetPickBoxAround(state.reference);
    } else {
        selection.SetSelectionBox(state.first, state.second);
    }
    const bool found = selection.SelectEntities();
    c.ports_.cursor.RepaintGridAndCursor();
    return found;
}

void CommandSteps::SelectionStep(CommandStates& c, bool replace) {
    CommandState& state = c.stack_.Top();
    if (!state.pointGiven) return;
    state.pointGiven = false;
    if (c.lastInput_ == StepInput::End) {
        FinishSelection(c);
        return;
    }
    if (c.lastInput_ != StepInput::Point) return;
    SelectionEngine& selection = c.ports_.selection;
    const bool found = SelectionPass(c, state, replace);
    if (c.editButtonsMode_ == 2) {
        // A single pick ends the selection.
        if (found && !selection.ReplacePick()) {
            FinishSelection(c);
            return;
        }
    } else if (c.editButtonsMode_ == 3) {
        c.ports_.edits.SetEditWindow(state.first, state.second);
        c.SetEditButtonsMode(1);
        selection.AcceptPick();
        return;
    }
    const int method = selection.Method();
    if (method == selection_method::kPick && !found && !selection.ReplacePick() && c.editButtonsMode_ == 1) {
        // Nothing under the pick: the click becomes the first corner of a window.
        if (c.settings.crossingByDefault) {
            c.SetWindowSelectionMethod(selection_method::kCrossing, step_button::kCrossingMethod, 32, 109);
        } else {
            c.SetWindowSelectionMethod(selection_method::kWindow, step_button::kWindowMethod, 29, 106);
        }
        c.selectionFallback_ = true;
        c.ports_.cursor.RefreshCursor();
        return;
    }
    if (method == selection_method::kFence && !c.selectionFallback_) {
        // The fence goes on from its last point.
        state.first = state.second;
        state.step = 1;
        c.ports_.surface.PlaySound(state.set2.sound);
        c.ports_.surface.FocusCommandLine();
        return;
    }
    if (c.selectionFallback_) {
        c.selectionFallback_ = false;
        selection.SelectPickMethod();
        PushRequest again;
        again.kind = command_kind::kObjectSelection;
        again.pointsNeeded = 1;
        again.set1 = c.selectionSet_;
        c.PushCommandState(again);
    } else if (state.step != 0) {
        state.step = 0;
        c.ShowPromptSet(state.set1);
    }
    if (selection.ReplacePick() && c.editButtonsMode_ != 2) selection.AcceptPick();
}

void CommandSteps::FinishSelection(CommandStates& c) {
    c.ResetSelectionState();
    CommandStack& stack = c.stack_;
    const int below = stack.Depth() - 1;
    const bool abandon = c.ports_.selection.Count() == 0 && below > stack.BottomMark() &&
                         command_kind::IsEditCommand(stack.At(below).kind);
    if (abandon) {
        // Nothing was selected: the edit waiting below goes too.
        for (int n = step_button::kRotate; n <= step_button::kErase; ++n) c.ports_.surface.SetButtonDown(n, false);
        stack.Lower();
    }
    c.PopCommandState();
    if (abandon || !stack.Active() || stack.Top().kind != command_kind::kErase) return;
    c.ports_.edits.EraseSelection();
    AgainOrEnd(c, step_button::kErase);
}

}  // namespace linework
