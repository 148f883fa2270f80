#include "ui/command_line.h"

#include <array>
#include <utility>

#include "drawing/angles.h"
#include "drawing/text_helpers.h"

namespace linework {
namespace {

constexpr char kCommandHook[] = "COMMAND";

// The tool button an empty Enter clicks again, by the last command code.
constexpr std::array<std::pair<uint8_t, int>, 10> kRepeatButtons{{
    {1, 11}, {2, 19}, {5, 57}, {11, 56}, {20, 62}, {25, 63}, {29, 61}, {30, 58}, {31, 60}, {32, 59},
}};

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && static_cast<uint8_t>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<uint8_t>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

bool TypedCommandNamesHook(std::string_view line) {
    if (line.empty()) return false;
    for (char c : line) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                           c == '-';
        if (!plain) return false;
    }
    return true;
}

CommandLine::CommandLine(CommandLinePorts parts) : p_(parts), layers_(parts.image) {}

void CommandLine::EnterCommandLine(char key) {
    if (key != '\r' && key != '\x1b') return;
    const std::string text = p_.surface.CommandLineText();
    p_.surface.FocusCommandLine();
    if (!p_.commands.CommandActive()) {
        if (key != '\r') return;  // Esc with nothing waiting does nothing
        if (!p_.hooks.CommandEntryOn()) {
            p_.hooks.NoteEnterPressed();
            return;
        }
        if (p_.surface.ScriptRunning()) return;
        IdleEnter(text);
        return;
    }
    const CommandState& top = p_.commands.Stack().Top();
    if (top.kind == script_wait_kind::kKey) {
        p_.hooks.AnswerKeyWait(key != '\r');
        return;
    }
    if (key != '\r') {
        Escape();
        return;
    }
    std::string_view typed = Trimmed(text);
    if (typed.empty()) {
        EndInput();
        return;
    }
    CoordinateEntry(typed);
}

void CommandLine::IdleEnter(const std::string& text) {
    std::string cleaned = NormalizeProgramLine(text);
    if (cleaned.size() > ProgramStore::kMaxLine) {
        p_.surface.ShowRefusal(kTypedLineTooLong);
        return;
    }
    if (cleaned.empty()) {
        RepeatLastCommand();
        return;
    }
    lastTyped_ = std::move(cleaned);
    lastCode_ = last_command::kTyped;
    RunTypedCommand();
}

void CommandLine::RepeatLastCommand() {
    if (lastCode_ == last_command::kTyped) {
        p_.surface.SetCommandLineText(lastTyped_);
        RunTypedCommand();
        return;
    }
    if (lastCode_ == last_command::kMenuLine) {
        p_.hooks.RepeatMenuLine();
        return;
    }
    for (auto [code, button] : kRepeatButtons)
        if (code == lastCode_) p_.surface.ClickButton(button);
}

void CommandLine::RunTypedCommand() {
    if (lastTyped_.empty()) return;
    p_.hooks.SetTypedLine(lastTyped_);
    if (TypedCommandNamesHook(lastTyped_) && p_.surface.RunScriptFile(lastTyped_)) return;
    p_.surface.RunScriptFile(kCommandHook);
}

void CommandLine::Escape() {
    if (p_.commands.SelectionStepActive()) {
        if (p_.drawing.picked == 0) {
            if (p_.commands.Stack().Top().step == 0) p_.selection.ClearSelection(false);
        } else {
            p_.selection.UnpickLast();
        }
    }
    EndInput();
}

bool CommandLine::StepAcceptsValue(const CommandState& step) const {
    // Option byte 6 bit 0 asks for a typed value; the circle, rotate and scale steps take one in
    // place of their second point (a radius, an angle, a factor).
    if ((step.option6 & 1) != 0) return true;
    const bool secondPointValue = step.kind == command_kind::kCircle || step.kind == command_kind::kRotate ||
                                  step.kind == command_kind::kScale;
    return secondPointValue && step.step >= 1;
}

void CommandLine::CoordinateEntry(std::string_view text) {
    const CommandState& top = p_.commands.Stack().Top();
    EntryContext context = EntryContextFrom(p_.image);
    context.grammar = p_.grammar;
    context.basePoint = top.reference;
    context.acceptsValue = StepAcceptsValue(top);
    if (top.option5 != 0 && top.step >= 1)
        context.bandDirection = DirectionAngle(top.bandEnd.x - top.reference.x, top.bandEnd.y - top.reference.y);
    context.project = [this](double x, double y, double z, Point& out) { return p_.hooks.ProjectPoint3D(x, y, z, out); };
    context.findText = [this](std::string_view name) { return FindTextInsertion(p_.drawing, layers_, name); };
    const EntryResult result = InterpretEntry(text, context);
    switch (result.kind) {
        case EntryResult::Kind::Nothing: return;
        case EntryResult::Kind::Value:
            p_.surface.SetCommandLineText("");
            AcceptValue(result.value);
            return;
        case EntryResult::Kind::Point:
            p_.surface.SetCommandLineText("");
            AcceptPoint(result.point);
            return;
    }
}

void CommandLine::AcceptPoint(Point at, bool replace) {
    using namespace entry_variable;
    p_.image.SetDouble(kInputPointX, at.x);
    p_.image.SetDouble(kInputPointX + 1, at.y);
    if (p_.image.Byte(kBeepOnPoint) != 0) p_.hooks.Beep();
    p_.image.SetDouble(kLastPointX, at.x);
    p_.image.SetDouble(kLastPointX + 1, at.y);
    p_.image.SetInteger(kPointStatus, 1);
    if (p_.image.Byte(kPointMarkers) != 0 && !p_.hooks.RubberBandShown()) {
        p_.hooks.DrawPointMarker(at, static_cast<uint32_t>(p_.image.Integer(kPointMarkerColour)) & 0xFFFFFFu);
    }
    p_.commands.AcceptPoint(at, replace);
}

void CommandLine::AcceptValue(double value) {
    p_.image.SetInteger(entry_variable::kPointStatus, 0);
    p_.commands.AcceptValue(value);
}

void CommandLine::EndInput() {
    p_.image.SetInteger(entry_variable::kPointStatus, 2);
    p_.commands.EndStep();
}

}  // namespace linework
