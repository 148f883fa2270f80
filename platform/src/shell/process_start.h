// Starting a program named in a Windows command line: found, given its arguments, launched and
// watched.
#ifndef WINPLAT_SRC_SHELL_PROCESS_START_H
#define WINPLAT_SRC_SHELL_PROCESS_START_H

#include <memory>
#include <string>
#include <string_view>

#include "shell/process_object.h"

namespace winplat::shell {

struct StartRequest {
    std::string program;      // Windows name of the program; empty: the command line's first word
    std::string commandLine;  // cp1250, as the caller wrote it
    std::string folder;       // host folder to start in; empty: the current one
    int niceness = 0;
};

struct Started {
    DWORD error = 0;  // 0 when it started
    std::shared_ptr<ProcessRun> run;
};

Started startProgram(const StartRequest& request);

}  // namespace winplat::shell

#endif
