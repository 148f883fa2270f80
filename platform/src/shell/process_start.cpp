#include "shell/process_start.h"

#include "shell/command_line.h"
#include "shell/program_lookup.h"
#include "shell/spawner.h"
#include "winplat/refusal.h"

namespace winplat::shell {
namespace {
constexpr Refuser refuse("winplat: process start");
}  // namespace

Started startProgram(const StartRequest& request) {
    std::vector<std::string> arguments = splitCommandLine(request.commandLine);
    const std::string name = !request.program.empty() ? request.program : arguments.empty() ? std::string() : arguments[0];
    if (arguments.empty()) arguments.push_back(name);
    const FoundProgram program = findProgram(name);
    if (program.error != 0) {
        refuse.log("no program \"" + name + "\" to start");
        return {program.error, nullptr};
    }
    host::LaunchRequest launch;
    launch.program = program.hostPath;
    launch.arguments = hostArguments(arguments, program);
    launch.commandLine = request.commandLine;
    launch.ours = program.ours;
    launch.folder = request.folder;
    launch.niceness = request.niceness;
    const host::Launched launched = shell::launch(launch);
    if (launched.error != 0) return {launched.error, nullptr};
    return {0, ProcessRun::watch(launched)};
}

}  // namespace winplat::shell
