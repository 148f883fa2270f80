#include "ui/command_states.h"

#include <algorithm>

#include "winplat/debug.h"

namespace linework {

namespace {

constexpr std::array<int, 3> kOneShotButtons = {step_button::kZoomWindow, step_button::kPan, step_button::kCentre};
constexpr int kFirstSelectionMethodButton = 67;
constexpr int kLastSelectionMethodButton = 70;

std::string Cut(std::string_view text) { return std::string(text.substr(0, kMaxStepText)); }

PromptSet CutSet(const PromptSet& set) { return {Cut(set.prompt), Cut(set.defaultText), set.sound}; }

}  // namespace

CommandStates::CommandStates(CommandPorts ports) : ports_(ports), image_(ports.adders.variables) {}

bool CommandStates::OneShotWaiting(uint8_t kind) const {
    return command_kind::IsViewCommand(kind) && oneShot_[static_cast<size_t>(OneShotIndex(kind))];
}

void CommandStates::SetEditButtonsMode(int mode) {
    editButtonsMode_ = std::clamp(mode, 0, 3);
    ports_.surface.EnableEditButtons(editButtonsMode_);
}

// Raises the depth, first keeping the command line's text for the step (or idle state) that is
// interrupted, so that it comes back when the new step ends.
PushRefusal CommandStates::RaiseSaving() {
    if (stack_.Full()) return PushRefusal::StackFull;
    const std::string line = Cut(ports_.surface.CommandLineText());
    if (stack_.Depth() == 0) {
        idleText_ = line;
    } else {
        CommandState& top = stack_.Top();
        (top.step == 0 ? top.set1 : top.set2).defaultText = line;
    }
    return stack_.Raise();
}

void CommandStates::Refuse(const PushRequest& request, PushRefusal refusal) {
    const std::string text = "command step of kind " + std::to_string(request.kind) + " refused: " +
                             std::string(PushRefusalText(refusal));
    OutputDebugStringA((text + "\n").c_str());
    ports_.surface.ShowRefusal(text);
}

PushResult CommandStates::PushCommandState(const PushRequest& request) {
    ports_.view.RefreshPanels();
    ports_.surface.CloseScriptDialogWhenDue();
    ports_.cursor.EraseRubberBands();
    if (!request.show) ports_.surface.SetCommandLineText("");
    PushRefusal refusal = PushRefusal::None;
    if (command_kind::IsViewCommand(request.kind)) {
        const size_t index = static_cast<size_t>(OneShotIndex(request.kind));
        if (oneShot_[index]) return PushResult::Ignored;
        refusal = RaiseSaving();
        if (refusal == PushRefusal::None) {
            oneShot_[index] = true;
            ports_.surface.SetButtonDown(kOneShotButtons[index], true);
        }
    } else {
        ReleaseOneShotButtons();
        if (request.kind == command_kind::kObjectSelection) {
            StartSelectionStep(request, refusal);
        } else {
            ResetSelectionState();
            ports_.cursor.PurgeSnapMarkers();
            if (ports_.surface.ScriptRunning()) {
                refusal = RaiseSaving();
            } else {
                stack_.SetDepth(1);
            }
        }
    }
    if (refusal != PushRefusal::None) {
        Refuse(request, refusal);
        return PushResult::Refused;
    }
    FillTop(request);
    ports_.surface.SetButtonDown(step_button::kWindowSelection, false);
    if (stack_.Depth() == 1 && !request.idlePrompt.empty()) ports_.surface.SetPrompt(Cut(request.idlePrompt));
    if (request.show) {
        ShowPromptSet(stack_.Top().CurrentSet());
        ports_.cursor.TrackCursor();
    }
    return PushResult::Pushed;
}

// The object selection pushes once and then keeps updating its record; while it waits, the
// drawing modes and object snapping are off, so that picks land where the user clicks.
void CommandStates::StartSelectionStep(const PushRequest& request, PushRefusal& refusal) {
    selectionSet_ = CutSet(request.set1);
    if (!selectionActive_) {
        refusal = RaiseSaving();
        if (refusal != PushRefusal::None) return;
        selectionActive_ = true;
        if (editButtonsMode_ == 0) SetEditButtonsMode(1);
        for (int k = 0; k < kDrawingModes; ++k) {
            savedModes_[static_cast<size_t>(k)] = image_.Byte(kFirstDrawingModeByte + k);
            image_.SetByte(kFirstDrawingModeByte + k, 0);
        }
        modesSaved_ = true;
        ports_.surface.RefreshModeButtons();
        savedSnapMode_ = ports_.cursor.ObjectSnapMode();
        if (savedSnapMode_ != kSelectionKeepsSnapMode) ports_.cursor.SetObjectSnapMode(0);
    }
    ports_.selection.ShowSelectionCount();
}

void CommandStates::FillTop(const PushRequest& request) {
    CommandState& top = stack_.Top();
    top.kind = request.kind;
    top.step = request.secondSet ? 1 : 0;
    top.pointsNeeded = request.pointsNeeded;
    top.pointGiven = false;
    top.windowButtonDown = false;
    top.cornerPending = false;
    top.option5 = request.option5;
    top.option6 = request.option6;
    top.option7 = request.option7;
    top.valueTyped = false;
    top.set1 = CutSet(request.set1);
    top.set2 = CutSet(request.set2);
    top.first = lastPoint_;
    top.reference = lastPoint_;
}

void CommandStates::ShowPromptSet(const PromptSet& set) {
    ports_.surface.SetCommandPrompt(set.prompt);
    if (commandLineResettable) ports_.surface.SetCommandLineText(set.defaultText);
    ports_.surface.PlaySound(set.sound);
    ports_.surface.FocusCommandLine();
}

void CommandStates::PopCommandState(bool mute) {
    const CommandState popped = stack_.Top();
    stack_.Lower();
    ports_.surface.SetCommandPrompt("");
    if (commandLineResettable) ports_.surface.SetCommandLineText(idleText_);
    ports_.surface.CloseScriptDialogWhenDue();
    const bool soundsWere = ports_.surface.SoundsOn();
    if (mute) ports_.surface.SetSoundsOn(false);
    if (stack_.Depth() <= stack_.BottomMark()) {
        PopAtBottom(popped);
    } else {
        const CommandState& top = stack_.Top();
        ports_.surface.SetButtonDown(step_button::kWindowSelection, top.windowButtonDown);
        if (top.kind == command_kind::kObjectSelection) selectionActive_ = true;
        ShowPromptSet(top.CurrentSet());
    }
    ports_.surface.SetSoundsOn(soundsWere);
    ports_.cursor.TrackCursor();
    ports_.surface.FocusCommandLine();
}

// Back at the bottom: the idle hook runs once. A pop that happens while it runs (the hook ends a
// command of its own) does not start it again.
void CommandStates::PopAtBottom(const CommandState& popped) {
    ports_.surface.SetButtonDown(step_button::kWindowSelection, false);
    if (ports_.surface.ScriptRunning() || idleHookRunning_) return;
    idleHookRunning_ = true;
    RunScriptFile("UCSWAIT");
    idleHookRunning_ = false;
    ports_.surface.ShowIdlePrompt();
    ports_.surface.PlaySound(popped.set1.sound);
}

void CommandStates::RepeatCommandPrompt() {
    if (!stack_.Full()) {
        stack_.Raise();
        PopCommandState();
        return;
    }
    // Raising a full stack would name a seventh entry: the top's prompt is shown directly.
    ShowPromptSet(stack_.Top().CurrentSet());
    ports_.cursor.TrackCursor();
}

bool CommandStates::HasActiveCommandCode() const { return stack_.Active() && stack_.Top().pointsNeeded >= 1; }

void CommandStates::ResetSelectionState() {
    selectionActive_ = false;
    selectionFallback_ = false;
    ports_.selection.ForgetPickedEntity();
    SetEditButtonsMode(0);
    for (int n = kFirstSelectionMethodButton; n <= kLastSelectionMethodButton; ++n) {
        ports_.surface.SetButtonDown(n, false);
    }
    bool anyModeOn = false;
    for (int k = 0; k < kDrawingModes; ++k) anyModeOn |= image_.Byte(kFirstDrawingModeByte + k) != 0;
    if (!anyModeOn && modesSaved_) {
        for (int k = 0; k < kDrawingModes; ++k) image_.SetByte(kFirstDrawingModeByte + k, savedModes_[static_cast<size_t>(k)]);
        ports_.surface.RefreshModeButtons();
    }
    savedModes_ = {};
    modesSaved_ = false;
    if (ports_.cursor.ObjectSnapMode() == 0 && savedSnapMode_ != kSelectionKeepsSnapMode) {
        ports_.cursor.SetObjectSnapMode(savedSnapMode_);
    }
    savedSnapMode_ = 0;
}

void CommandStates::ReleaseOneShotButtons() {
    for (size_t k = 0; k < oneShot_.size(); ++k) {
        if (!oneShot_[k]) continue;
        oneShot_[k] = false;
        ports_.surface.SetButtonDown(kOneShotButtons[k], false);
        stack_.Lower();
    }
}

void CommandStates::ResetCommandState() {
    ports_.cursor.EraseRubberBands();
    ports_.cursor.EndSelectionPreview();
    for (size_t k = 0; k < oneShot_.size(); ++k) {
        if (oneShot_[k]) ports_.surface.SetButtonDown(kOneShotButtons[k], false);
    }
    oneShot_ = {};
    if (selectionActive_) ResetSelectionState();
    vertices_.clear();
    polylineVersion_ = 0;
    stack_.SetDepth(stack_.BottomMark());
    ports_.surface.SetButtonDown(step_button::kWindowSelection, false);
    ports_.surface.SetCommandPrompt("");
}

bool CommandStates::RunScriptFile(std::string_view name) {
    if (ports_.surface.ScriptRunning()) return false;
    return ports_.surface.RunScriptFile(name);
}

bool CommandStates::FollowDragWithWindowMethod(Point cursor) {
    if (!selectionActive_ || !selectionFallback_ || !stack_.Active()) return false;
    const CommandState& top = stack_.Top();
    if (top.kind != command_kind::kObjectSelection || top.step < 1) return false;
    const int before = ports_.selection.Method();
    switch (SelectionMethodForDrag(top.first, cursor, settings.crossingByDefault)) {
        case selection_method::kFence:
            SetWindowSelectionMethod(selection_method::kFence, step_button::kFenceMethod, 34, 111);
            break;
        case selection_method::kCrossing:
            SetWindowSelectionMethod(selection_method::kCrossing, step_button::kCrossingMethod, 32, 109);
            break;
        default:
            SetWindowSelectionMethod(selection_method::kWindow, step_button::kWindowMethod, 29, 106);
            break;
    }
    return ports_.selection.Method() != before;
}

// The method buttons 67..70 are one group: the new method's goes down, the others up.
void CommandStates::SetWindowSelectionMethod(int method, int button, int32_t sound, int promptMessage) {
    if (method == ports_.selection.Method()) return;
    ports_.selection.SetMethod(method);
    for (int n = kFirstSelectionMethodButton; n <= kLastSelectionMethodButton; ++n) {
        if (n != button) ports_.surface.SetButtonDown(n, false);
    }
    ports_.surface.SetButtonDown(button, true);
    CommandState& top = stack_.Top();
    top.pointsNeeded = 2;
    top.pointGiven = false;
    top.option5 = method != selection_method::kFence ? 1 : 0;
    top.set2 = {Cut(ports_.surface.Message(promptMessage)), "", sound};
    ShowPromptSet(top.set2);
}

}  // namespace linework
