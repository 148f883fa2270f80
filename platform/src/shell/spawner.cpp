#include "shell/spawner.h"

#include <spawn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "winplat/base.h"
#include "winplat/process.h"
#include "winplat/refusal.h"

extern char** environ;

namespace winplat::shell {
namespace {

constexpr Refuser refuse("winplat: process start");

DWORD windowsError(int error) {
    switch (error) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM: return ERROR_ACCESS_DENIED;
        case ENOEXEC:
        case ELIBBAD: return ERROR_BAD_FORMAT;
        default: return ERROR_NOT_ENOUGH_MEMORY;
    }
}

// Owners of the spawn attributes and file actions.
struct SpawnSetup {
    posix_spawnattr_t attributes{};
    posix_spawn_file_actions_t actions{};
    SpawnSetup() {
        posix_spawnattr_init(&attributes);
        posix_spawn_file_actions_init(&actions);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> list;
    for (std::string& text : texts) list.push_back(text.data());
    list.push_back(nullptr);
    return list;
}

struct ClassNiceness {
    DWORD priorityClass;
    int niceness;
};
constexpr std::array<ClassNiceness, 6> kNiceness{{{IDLE_PRIORITY_CLASS, 19},
                                                  {BELOW_NORMAL_PRIORITY_CLASS, 10},
                                                  {NORMAL_PRIORITY_CLASS, 0},
                                                  {ABOVE_NORMAL_PRIORITY_CLASS, -5},
                                                  {HIGH_PRIORITY_CLASS, -10},
                                                  {REALTIME_PRIORITY_CLASS, -20}}};

}  // namespace

bool nicenessOf(DWORD priorityClass, int& niceness) {
    for (const ClassNiceness& entry : kNiceness) {
        if (entry.priorityClass == priorityClass) {
            niceness = entry.niceness;
            return true;
        }
    }
    return false;
}

std::vector<std::string> childEnvironment(const host::LaunchRequest& request) {
    const std::string prefix = std::string(kCommandLineVariable) + "=";
    std::vector<std::string> environment;
    for (char** entry = environ; entry && *entry; ++entry) {
        if (std::strncmp(*entry, prefix.c_str(), prefix.size()) != 0) environment.emplace_back(*entry);
    }
    // Only a program of ours reads it, and only when its parent is the one named: a program
    // that inherits it through a program of another kind ignores it.
    if (request.ours) environment.push_back(prefix + std::to_string(::getpid()) + " " + request.commandLine);
    return environment;
}

host::Launched spawn(const host::LaunchRequest& request) {
    SpawnSetup setup;
    // The child starts with no signal blocked, and with the default action for the signals this
    // process may ignore (an ignored signal stays ignored across exec).
    sigset_t none;
    sigemptyset(&none);
    sigset_t reset;
    sigemptyset(&reset);
    for (const int signal : {SIGPIPE, SIGCHLD, SIGINT, SIGQUIT, SIGHUP, SIGTERM}) sigaddset(&reset, signal);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    posix_spawnattr_setsigdefault(&setup.attributes, &reset);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    if (!request.folder.empty()) posix_spawn_file_actions_addchdir_np(&setup.actions, request.folder.c_str());
    std::vector<std::string> arguments = request.arguments;
    std::vector<std::string> environment = childEnvironment(request);
    const std::vector<char*> argv = pointers(arguments);
    const std::vector<char*> envp = pointers(environment);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, request.program.c_str(), &setup.actions, &setup.attributes, argv.data(), envp.data());
    if (error != 0) {
        refuse.log(request.program + ": " + std::strerror(error));
        return {windowsError(error), 0, 0};
    }
    if (request.niceness != 0 && ::setpriority(PRIO_PROCESS, static_cast<id_t>(pid), request.niceness) != 0) {
        // The program runs on at the priority it has; raising one needs a privilege.
        refuse.log("the priority of " + request.program + ": " + std::strerror(errno));
    }
    return {0, pid, 0};
}

host::Launched launch(const host::LaunchRequest& request) {
    if (host::Launcher* installed = host::launcher()) return installed->launch(request);
    return spawn(request);
}

}  // namespace winplat::shell
