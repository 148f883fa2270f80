// Finding the host program a Windows command line names, and making its arguments host text.
#ifndef WINPLAT_SRC_SHELL_PROGRAM_LOOKUP_H
#define WINPLAT_SRC_SHELL_PROGRAM_LOOKUP_H

#include <string>
#include <string_view>
#include <vector>

#include "winplat/types.h"

namespace winplat::shell {

struct FoundProgram {
    std::string hostPath;  // empty when not found
    DWORD error = 0;       // ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND or ERROR_BAD_FORMAT
    bool ours = false;     // it lies in the running program's folder
};

// The program a Windows name gives: a name with a folder or drive is that file; a bare name is
// looked for in the running program's folder, then the current folder, then the folders of the
// host's PATH. Names are matched without regard to case, and "x.exe" that is missing finds "x".
// A file found that is no program (not a regular file or not executable) gives ERROR_BAD_FORMAT.
FoundProgram findProgram(std::string_view windowsName);

// The host folder of the running program, without a trailing '/'.
std::string programFolder();

// An argument for a host program: one in drive form whose folder is there becomes its host path
// (the file itself may be one the program is to make), any other text UTF-8.
std::string hostArgument(std::string_view windowsArgument);

// The argument vector a host program gets for a Windows command line whose program was found.
std::vector<std::string> hostArguments(const std::vector<std::string>& windowsArguments, const FoundProgram& program);

}  // namespace winplat::shell

#endif
