#include "ui/form_script_services.h"

#include <algorithm>
#include <utility>

#include "ui/main_form.h"
#include "ui/picked_segment.h"
#include "ui/simple_drafting.h"
#include "winplat/host.h"

namespace linework {

namespace {
// Bytes that let a stop end the waits of "kbd": messages let through between lines, and the
// script dialog's stop switch.
constexpr int32_t kMessagesBetweenLines = 42;
constexpr int32_t kStopInWaits = 43;
// An alignment below this number is the menu's own: left, right, centre.
constexpr int32_t kAlignments = 3;
}  // namespace

std::string FormScriptServices::ChosenFile(winforms::FileDialog& dialog, std::string_view filter,
                                           std::string_view extension, std::string_view start) {
    // A bare pattern ("*.LKD") names itself in the dialog's list of file kinds.
    std::string pairs(filter);
    if (!pairs.empty() && pairs.find('|') == std::string::npos) pairs += "|" + pairs;
    dialog.SetFilter(pairs);
    dialog.SetFilterIndex(1);
    dialog.SetDefaultExt(std::string(extension));
    // A name without a folder is one of the program folder's, as every relative name of the program.
    dialog.SetInitialDir(form_.ProgramFolder());
    dialog.SetFileName(std::string(start));
    if (!dialog.Execute()) return {};
    return dialog.FileName();
}

std::string FormScriptServices::OpenFileName(std::string_view filter, std::string_view extension,
                                             std::string_view start) {
    return ChosenFile(form_.OpenDialog1(), filter, extension, start);
}

std::string FormScriptServices::SaveFileName(std::string_view filter, std::string_view extension,
                                             std::string_view start) {
    return ChosenFile(form_.SaveDialog1(), filter, extension, start);
}

int32_t FormScriptServices::PopupMenu(int32_t count, int32_t alignment, bool atPoint, int32_t x, int32_t y) {
    bool any = false;
    for (int i = 1; i <= kPopupItems; ++i) {
        winforms::MenuItem& item = form_.PopupItem(i);
        const bool shown = i <= count && !item.Caption().empty();
        item.SetVisible(shown);
        any |= shown;
    }
    form_.ClearPopupAnswer();
    if (!any) return 0;
    winforms::PopupMenu& menu = form_.PopupMenu1();
    if (alignment >= 0 && alignment < kAlignments) menu.SetAlignment(static_cast<winforms::PopupAlignment>(alignment));
    POINT at{x, y};
    if (!atPoint) GetCursorPos(&at);
    menu.Popup(at.x, at.y);
    return form_.PopupAnswer();
}

bool FormScriptServices::StopAsked() const {
    const ScriptEngine& engine = form_.Engine();
    return engine.StopRequested() &&
           (engine.image.Byte(kMessagesBetweenLines) != 0 || engine.image.Byte(kStopInWaits) != 0);
}

void FormScriptServices::WaitForKey(std::span<const int32_t> codes) {
    winforms::Application& application = winforms::Application::Current();
    auto matched = [&] { return std::find(codes.begin(), codes.end(), form_.LastKey()) != codes.end(); };
    const winplat::host::ModalLoop loop{winplat::host::ModalKind::Form, kKeyWaitName, form_.Handle(), 0};
    for (;;) {
        application.ProcessMessages();
        if (matched() || StopAsked() || application.Terminated()) return;
        if (winplat::host::modalIdle(loop).end) return;
        if (!winplat::host::answerer()) WaitMessage();
    }
}

int32_t FormScriptServices::TakeKey(std::span<const int32_t> codes) {
    winforms::Application::Current().ProcessMessages();
    if (!codes.empty()) {
        form_.Drafting().RefreshPanels();
        WaitForKey(codes);
    }
    return form_.TakeLastKey();
}

HWND FormScriptServices::MainWindow() { return form_.Handle(); }

CommandStates* FormScriptServices::Steps() {
    SimpleDrafting* side = form_.SimpleSide();
    return side ? &side->Commands() : nullptr;
}

int32_t FormScriptServices::CommandStepDepth() { return form_.Drafting().CommandDepth(); }

bool FormScriptServices::BeginPointStep(const PointStepRequest& request) {
    CommandStates* steps = Steps();
    if (!steps || StepWaiting()) return false;
    PushRequest push;
    push.kind = command_kind::kScriptPoint;
    push.pointsNeeded = request.distance ? 2 : 1;
    // A distance shows its rubber band from the first point and takes a typed number.
    push.option5 = request.distance ? 1 : 0;
    push.option6 = request.distance ? 1 : 0;
    push.set1.prompt = request.prompt1;
    push.set2.prompt = request.prompt2;
    steps->PointAnswer() = {};
    if (steps->PushCommandState(push) != PushResult::Pushed) return false;
    stepDepth_ = steps->Stack().Depth();
    stepKind_ = command_kind::kScriptPoint;
    return true;
}

// The step waits while its record is still on the stack: a view command stacked above it keeps
// it waiting, its handler's pop or a reset ends it.
bool FormScriptServices::StepWaiting() {
    CommandStates* steps = Steps();
    if (!steps || stepDepth_ == 0) return false;
    const CommandStack& stack = steps->Stack();
    return stack.Depth() >= stepDepth_ && stack.At(stepDepth_).kind == stepKind_;
}

PointStepAnswer FormScriptServices::TakePointAnswer() {
    CommandStates* steps = Steps();
    stepDepth_ = 0;
    if (!steps) return {};
    const StepPointAnswer answer = std::exchange(steps->PointAnswer(), StepPointAnswer{});
    return {answer.given, answer.point, answer.distance};
}

// The single pick: a selection step that ends with the first entity found.
bool FormScriptServices::BeginLinePick(int32_t sound, std::string_view prompt) {
    SimpleDrafting* side = form_.SimpleSide();
    if (!side || StepWaiting()) return false;
    CommandStates& steps = side->Commands();
    side->Selection().SelectPickMethod();
    side->Selection().Core().state.lastHit = 0;
    steps.SetEditButtonsMode(2);
    PushRequest push;
    push.kind = command_kind::kObjectSelection;
    push.set1 = {std::string(prompt), "", sound};
    if (steps.PushCommandState(push) != PushResult::Pushed) return false;
    stepDepth_ = steps.Stack().Depth();
    stepKind_ = command_kind::kObjectSelection;
    return true;
}

// Only a polyline gives its segment under the pick; anything else counts as no line picked.
LinePickAnswer FormScriptServices::TakeLinePick() {
    SimpleDrafting* side = form_.SimpleSide();
    stepDepth_ = 0;
    if (!side) return {};
    const EntityHandle hit = std::exchange(side->Selection().Core().state.lastHit, EntityHandle{0});
    const Drawing& drawing = form_.Engine().drawing;
    const auto segment = NearestPolylineSegment(drawing, hit, side->Commands().LastPoint());
    if (!segment) return {};
    return {hit, EntityKind::Polyline, segment->first, segment->second};
}

bool FormScriptServices::WaitForCommandStep() {
    const ScriptEngine& engine = form_.Engine();
    while (StepWaiting()) {
        if (engine.StopRequested() || !WaitForMessages()) return true;
    }
    return engine.StopRequested();
}

// The block's place is a point step of its own; a stop while it waits takes the step away.
std::optional<Point> FormScriptServices::RunInsertStep() {
    if (!BeginPointStep(PointStepRequest{})) return std::nullopt;
    if (WaitForCommandStep()) {
        CancelStep();
        return std::nullopt;
    }
    const PointStepAnswer answer = TakePointAnswer();
    if (!answer.given) return std::nullopt;
    return answer.point;
}

// The step and whatever stacked above it go, quietly and without their handlers.
void FormScriptServices::CancelStep() {
    CommandStates* steps = Steps();
    if (steps && StepWaiting()) {
        while (steps->Stack().Depth() >= stepDepth_) steps->PopCommandState(true);
    }
    stepDepth_ = 0;
    if (steps) steps->PointAnswer() = {};
}

bool FormScriptServices::WaitForMessages() {
    winforms::Application& application = winforms::Application::Current();
    application.ProcessMessages();
    if (application.Terminated()) return false;
    // What was waiting may have answered the step already.
    if (!StepWaiting()) return true;
    const winplat::host::ModalLoop loop{winplat::host::ModalKind::Form, kStepWaitName, form_.Handle(), 0};
    if (winplat::host::modalIdle(loop).end) return false;
    if (!winplat::host::answerer()) WaitMessage();
    return true;
}

}  // namespace linework
