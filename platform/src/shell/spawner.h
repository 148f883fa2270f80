// The layer's own way of starting a program: posix_spawn of the argument vector, never a shell.
#ifndef WINPLAT_SRC_SHELL_SPAWNER_H
#define WINPLAT_SRC_SHELL_SPAWNER_H

#include <string>
#include <string_view>
#include <vector>

#include "winplat/host.h"

namespace winplat::shell {

// The environment variable that hands a program of ours the command line it was started with:
// the starter's process id, a blank, then the line (cp1250) as the starter's caller wrote it.
inline constexpr std::string_view kCommandLineVariable = "WINPLAT_COMMAND_LINE";

// Our environment for the child: without a command line of our own, and with the request's for a
// program of ours.
std::vector<std::string> childEnvironment(const host::LaunchRequest& request);

host::Launched spawn(const host::LaunchRequest& request);

// Through the installed launcher, else spawn.
host::Launched launch(const host::LaunchRequest& request);

// The host's niceness for a priority class; false for a value that is no class.
bool nicenessOf(DWORD priorityClass, int& niceness);

}  // namespace winplat::shell

#endif
