#include "ui/command_buttons.h"

#include <array>

namespace linework {
namespace {

constexpr std::array<CommandButton, 4> kCommandButtons{{
    {step_button::kZoomWindow, 1, command_kind::kZoomWindow, 2, 1, 35, 36, 37, true},
    {step_button::kPan, 2, command_kind::kPan, 2, 0, 40, 41, 42, false},
    {step_button::kPolyline, 11, command_kind::kPolyline, 1, 0, 69, 70, 0, false},
    {57, 5, command_kind::kCircle, 2, 0, 75, 76, 0, false},
}};

}  // namespace

std::optional<CommandButton> CommandButtonOf(int n) {
    for (const CommandButton& command : kCommandButtons)
        if (command.button == n) return command;
    return std::nullopt;
}

PushRequest CommandButtonRequest(const CommandButton& command, const std::function<std::string(int)>& message) {
    PushRequest request;
    request.kind = command.kind;
    request.pointsNeeded = command.pointsNeeded;
    request.option5 = command.rubberBand;
    request.set1.prompt = message(command.prompt1);
    request.set2.prompt = message(command.prompt2);
    if (command.idlePrompt != 0) request.idlePrompt = message(command.idlePrompt);
    return request;
}

}  // namespace linework
